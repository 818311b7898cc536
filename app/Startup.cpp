#include "app/Startup.h"

#include "app/CMainWnd.h"
#include "app/CUpdateInfoListItemUI.h"
#include "app/InstanceBus.h"
#include "app/Languages.h"
#include "app/OpenRgbSdkServer.h"
#include "app/PrivateFonts.h"
#include "common/AtomicFile.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "devices/OpenRgbSdk.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/CMagicControlUI.h"
#include "editors/CVoice6533ControlUI.h"
#include "editors/EditorControls.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaMousePadDevice.h"
#include "pages/CKestravaUSBDevice.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/ResourceManager.h"

#include <QApplication>
#include <QMessageBox>
#include <functional>
#include <memory>

namespace q407::app {
namespace diag = q407::diag;
namespace {

struct CustomControl {
    const char* className;
    toolkit::ControlFactory::Creator creator; // empty until the class is built
};

template <typename Control>
toolkit::ControlFactory::Creator Creates() {
    return [](QWidget* parent) { return new Control(parent); };
}

// Layouts may name these classes as elements. The mouse and keyboard pages are created by the
// main window's builder callback instead.
const std::vector<CustomControl>& CustomControls() {
    static const std::vector<CustomControl> controls{
        {"CCircleProgressUI", {}},
        {"CChartViewUI", {}},
        {"CWndUI", {}},
        {"CSelectPanelUI", Creates<pages::CSelectPanelUI>()},
        {"CDeviceKeyButtonUI", Creates<pages::CDeviceKeyButtonUI>()},
        {"CCloudShareListItemUI", {}},
        {"CUpdateInfoListItemUI", Creates<CUpdateInfoListItemUI>()},
        {"CDeviceOptionUI", Creates<pages::CDeviceOptionUI>()},
        {"CMpDevicePowerUI", Creates<pages::CMpDevicePowerUI>()},
        {"CComboEditContainerElementUI", {}},
        {"CHandImgButtonUI", Creates<pages::CHandImgButtonUI>()},
        {"CHandImgSelectButtonUI", Creates<pages::CHandImgSelectButtonUI>()},
        {"CRedioMacroButtonUI", {}},
        {"CAudioRecordUI", {}},
        {"CLightControlUI", Creates<editors::CLightControlUI>()},
        {"CMacroControlUI", {}},
        {"CKeySetControlUI", {}},
        {"CDeviceProfileUI", Creates<editors::CDeviceProfileUI>()},
        {"CShootControlUI", {}},
        {"CMagicControlUI", Creates<editors::CMagicControlUI>()},
        {"CVoice6533ControlUI", Creates<editors::CVoice6533ControlUI>()},
        {"CDPIEditUI", {}},
        {"CKestravaUSBDevice", Creates<pages::CKestravaUSBDevice>()},
        {"CKestravaMousePadDevice", Creates<pages::CKestravaMousePadDevice>()},
        {"CKestravaHS6533Device", Creates<pages::CKestravaHS6533Device>()},
    };
    return controls;
}

} // namespace

QList<CustomControlEntry> CustomControlTable() {
    QList<CustomControlEntry> table;
    for (const auto& control : CustomControls()) {
        table.append({control.className, static_cast<bool>(control.creator)});
    }
    return table;
}

bool SetupUiResources(const QString& skinFolder) {
    auto& resources = toolkit::ResourceManager::Instance();
    resources.SetResourcePath(skinFolder);
    const bool indexed = resources.LoadResource(QStringLiteral("res.xml"));
    for (const auto& control : CustomControls()) {
        if (control.creator) {
            toolkit::ControlFactory::Instance().RegistControl(
                QString::fromLatin1(control.className), control.creator);
        }
    }
    // The panels' own controls (the colour palette) and the device pictures' controls under
    // the class names the layouts use, besides the classes above.
    editors::RegisterEditorControls();
    pages::RegisterPictureControls();
    InstallUiFaceSubstitutions();
    return indexed;
}

std::optional<quint16> SdkServerPort(const QStringList& arguments) {
    const QString option = QStringLiteral("--sdk-server");
    std::optional<quint16> port;
    for (const QString& argument : arguments) {
        if (argument == option) {
            port = q407::devices::sdk::kDefaultPort;
        } else if (argument.startsWith(option + QLatin1Char('='))) {
            bool ok = false;
            const uint value = argument.mid(option.size() + 1).toUInt(&ok);
            port = ok && value <= 65535 ? std::optional<quint16>(static_cast<quint16>(value))
                                        : std::nullopt;
        }
    }
    return port;
}

int RunQ407(int argc, char** argv, const StartupOptions& options) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Q407"));
    QApplication::setApplicationVersion(QStringLiteral(Q407_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("q407"));
    // Closing the main window hides it to the tray; only the exit routine ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString dataFolder = QString::fromStdString(q407::paths::DataDir().string());
    PrivateFonts fonts;
    fonts.LoadAll(dataFolder + QStringLiteral("/Font"));

    diag::Printf("软件标示：%u", MessageNumber(RegisteredMessage::ShowInstance));

    InstanceBus bus;
    if (bus.Acquire() == InstanceBus::Role::Second) {
        diag::Line("another instance runs: asking it to show itself");
        bus.AskRunningToShow();
        fonts.UnloadAll();
        return 0;
    }

    // Only the one instance clears what a crash left of its writes, before anything is read.
    if (const int removed = RemoveInterruptedWrites(q407::paths::UserDir()); removed > 0) {
        diag::Printf("removed %d temporary files of interrupted writes", removed);
    }

    if (!SetupUiResources(dataFolder + QStringLiteral("/skin/"))) {
        diag::Line("resource index res.xml missing in " + dataFolder.toStdString() + "/skin");
    }

    const std::shared_ptr<q407::hid::HidBackend> backend =
        options.makeBackend ? options.makeBackend() : nullptr;
    // The headset pages bind the audio library when they are built.
    q407::devices::SetAudioLibrary(options.makeAudioLibrary ? options.makeAudioLibrary() : nullptr);
    auto mainWindow = std::make_unique<CMainWnd>(&bus, backend.get());
    if (!mainWindow->Create(QStringLiteral("Q407"), QSize(800, 572))) {
        QMessageBox::critical(nullptr, QStringLiteral("Q407"),
                              QStringLiteral("The program's skin could not be loaded from %1. "
                                             "Please reinstall Q407.")
                                  .arg(dataFolder));
        toolkit::ResourceManager::Instance().Release();
        bus.Release();
        fonts.UnloadAll();
        return 0;
    }
    mainWindow->CenterWindow();
    // The command line's port, else the settings window's choice.
    std::optional<quint16> port = SdkServerPort(QApplication::arguments());
    if (!port && StoredSdkServerOn()) {
        port = q407::devices::sdk::kDefaultPort;
    }
    if (port) {
        if (!mainWindow->StartSdkServer(*port)) {
            diag::Line("the OpenRGB SDK server could not start");
        }
    }
    bus.SetHandler([window = mainWindow.get()](RegisteredMessage message, qint64 w, qint64 l) {
        return window->OnRegisteredMessage(message, w, l);
    });
    bus.SetDataHandler([window = mainWindow.get()](qint64 kind, const QByteArray& data) {
        window->OnDataBlock(kind, data);
    });

    QApplication::exec();

    bus.SetHandler({});
    bus.SetDataHandler({});
    mainWindow.reset();
    q407::devices::SetAudioLibrary(nullptr);
    toolkit::ResourceManager::Instance().Release();
    bus.Release();
    fonts.UnloadAll();
    return 0;
}

} // namespace q407::app
