#include "app/CMainWnd.h"

#include "app/AudioCaptureProtocol.h"
#include "app/CSetWnd.h"
#include "app/CSkinFrame.h"
#include "app/Languages.h"
#include "app/OldFirmwareNotice.h"
#include "app/OpenRgbSdkServer.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "editors/MusicWnd.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaMouseDevice.h"
#include "pages/CKestravaUSBDevice.h"
#include "pages/PictureControls.h"
#include "profiles/DeviceKinds.h"
#include "toolkit/CMsgWnd.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <array>
#include <cstring>

namespace q407::app {
namespace diag = q407::diag;

namespace {

bool IsGameEvent(RegisteredMessage message) {
    return message == RegisteredMessage::GameStart || message == RegisteredMessage::GameEnd ||
           message == RegisteredMessage::GameKill || message == RegisteredMessage::GameDeath;
}

} // namespace

int DpiForScreen(QSize screen) {
    return screen.width() > 1500 && screen.height() > 960 ? 144 : 96;
}

QByteArray DeviceInformationBlock() {
    QByteArray block(1024, '\0');
    int offset = 0;
    const auto put = [&](std::uint32_t value) {
        if (offset + 4 > block.size()) {
            return; // more option rows than the block holds: the rest is left out
        }
        for (int i = 0; i < 4; ++i) {
            block[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        offset += 4;
    };
    for (std::uint32_t value : {2u, 3u, 0u, 2u}) {
        put(value);
    }
    const auto options = q407::hid::DeviceOptions();
    put(static_cast<std::uint32_t>(options.size()));
    for (const auto& option : options) {
        put(static_cast<std::uint32_t>(option.i[4]));
        put(static_cast<std::uint32_t>(option.i[5]));
        put(static_cast<std::uint32_t>(option.i[6]));
    }
    return block;
}

// Hands discovery's notifications to the UI thread and waits for them to be handled there, but
// gives up as soon as discovery is told to stop: the UI thread may be waiting for it.
class CMainWnd::DiscoveryBridge : public q407::hid::DiscoveryListener {
public:
    explicit DiscoveryBridge(CMainWnd& window) : m_window(window) {}
    void OnDeviceArrived(int slot) override { Send(q407::hid::kWmDeviceArrived, slot); }
    void OnDeviceRemoved(int slot) override { Send(q407::hid::kWmDeviceRemoved, slot); }
    void OnFirstPassComplete() override {
        m_window.PostMessage(MessageNumber(RegisteredMessage::ShowInstance), 0, 0);
    }

private:
    void Send(uint message, int slot) {
        const q407::Event& stop = m_window.m_discovery->StopEvent();
        m_window.SendMessage(message, slot, 0, [&stop] { return stop.IsSet(); });
    }
    CMainWnd& m_window;
};

CMainWnd::CMainWnd(InstanceBus* bus, q407::hid::HidBackend* backend)
    : m_bus(bus), m_backend(backend), m_pageActions(std::make_unique<PageActions>(*this)),
      m_keyMacroActions(std::make_unique<KeyMacroActions>(*this)),
      m_audioFile(q407::paths::UserDir() / "AudioFile.json",
                  profiles::DefaultDataFolder() / "AudioFile.json") {
    const auto rows = q407::hid::SupportedDevices();
    m_deviceSlots.assign(rows.begin(), rows.end());
}

CMainWnd::~CMainWnd() {
    // Clients' lights are handed back while the devices are still attached.
    m_sdkServer.reset();
    ExitRoutine();
    m_deviceBus.reset();
    m_devicePages.reset(); // pages stop their threads before the controls around them go
}

void CMainWnd::InitWindow() {
    diag::Line("InitWindow");
    auto& resources = toolkit::ResourceManager::Instance();
    // The main window answers text queries but supplies no texts of its own: the language
    // file does.
    resources.SetTextQuery([](const QString&) { return QString(); });
    ApplyLanguage(GetSavedLanguageIndex());
    SkinChanges().AddReceiver(this);

    const QIcon icon(resources.ResolveFile(QStringLiteral("common/logo.png")));
    setWindowIcon(icon);
    m_tray.Create(icon, QStringLiteral("Q407"), [this](toolkit::TrayClick click) {
        qint64 result = 0;
        HandleMessage(kTrayCallbackMessage, 0,
                      click == toolkit::TrayClick::Right ? kTrayRightUp : kTrayLeftUp, result);
    });
    m_folderNotice = std::make_unique<UnwritableFolderNotice>(this);
    m_audioFile.Load();
    if (m_bus != nullptr && m_bus->HasBus()) {
        m_audioCapture = std::make_unique<AudioCaptureLink>(m_bus->Connection(),
                                                            AudioCaptureLink::InstalledProgram());
        connect(m_audioCapture.get(), &AudioCaptureLink::OnBusChanged, this, [this](bool onBus) {
            for (std::size_t c = 0; onBus && c < m_colourInput.size(); ++c) {
                m_audioCapture->SendCommand(kCaptureRed + static_cast<qint64>(c), m_colourInput[c]);
            }
        });
        connect(m_audioCapture.get(), &AudioCaptureLink::ProblemChanged, this,
                [this](AudioCaptureLink::Problem problem) {
                    if (m_devicePages == nullptr) {
                        return;
                    }
                    m_devicePages->SetAudioStatus(problem ==
                                                          AudioCaptureLink::Problem::NoSoundServer
                                                      ? QStringLiteral("audio_no_sound_server_text")
                                                  : problem == AudioCaptureLink::Problem::NotStarted
                                                      ? QStringLiteral("audio_capture_missing_text")
                                                      : QString());
                });
    }
    // At start this program drives the lighting; tell the others.
    if (m_bus != nullptr) {
        m_bus->Broadcast(RegisteredMessage::LightOwnerNotify, 1, 1);
    }
    m_sleepWatch = std::make_unique<SleepWatch>([this](bool goingToSleep) {
        qint64 result = 0;
        HandleMessage(kPowerBroadcastMessage, goingToSleep ? kPowerSuspend : kPowerResume, 0,
                      result);
    });
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] {
            qint64 result = 0;
            HandleMessage(kDisplayChangeMessage, 0, 0, result);
        });
    }
    // Hidden until the first device scan has finished.
    hide();
    if (m_backend != nullptr) {
        m_devicePages = std::make_unique<DevicePages>(*this, m_backend);
        m_devicePages->SetSharedLighting(&m_sharedLighting);
        // The two mouse products' pages are made in advance; the others on first arrival.
        m_devicePages->CreatePage(0);
        m_devicePages->CreatePage(1);
        m_sharedLighting.SetPages(m_devicePages->SharedLightingOrder());
        if (m_bus != nullptr && m_bus->HasBus()) {
            m_deviceBus = std::make_unique<DeviceBus>(*m_bus, *m_devicePages);
            m_deviceBus->SetPageResetHook([this] { OnPageReset(); });
        }
        m_discoveryBridge = std::make_unique<DiscoveryBridge>(*this);
        m_discovery = std::make_unique<q407::hid::CDeviceDiscovery>(*m_backend, *m_discoveryBridge);
        if (m_discovery->Start()) {
            m_threads.Adopt(
                kSlotDiscovery, [this] { m_discovery->RequestStop(); },
                [this](std::chrono::milliseconds bound) { return m_discovery->Stop(bound); });
        }
    } else {
        // Nothing to scan: the first pass is over at once.
        PostMessage(MessageNumber(RegisteredMessage::ShowInstance), 0, 0);
    }
    m_threads.Start(kSlotSynchronisedLighting,
                    [this](const q407::Event& stop) { m_sharedLighting.Run(stop); });
    SetTimer(Root(), kTimerDpiFit, 100);
}

void CMainWnd::Notify(toolkit::TNotifyUI& msg) {
    // Whatever a notification does may change what the device API shows.
    if (m_deviceBus != nullptr) {
        m_deviceBus->ScheduleUpdate();
    }
    if (msg.sType == QLatin1String(pages::kShownChangedNotify)) {
        return;
    }
    if (msg.sType != QLatin1String("timer") && diag::Enabled()) {
        diag::Line(QString(msg.sType + QLatin1Char(' ') + msg.SenderName()).toStdString());
    }
    if (msg.sType == QLatin1String("timer")) {
        // Every timer of the main window is one-shot unless re-armed.
        KillTimer(msg.pSender, static_cast<int>(msg.wParam));
        if (msg.wParam == kTimerTrayMenu) {
            toolkit::ShowPopupMenu(QStringLiteral("menu.xml"), this, QCursor::pos(),
                                   [this](const QString& item) { OnMenuItem(item); });
        } else if (msg.wParam == kTimerDpiFit) {
            DpiFit();
            update();
        } else if (msg.wParam == kTimerProfileAgain) {
            m_pageActions->ApplySelectedProfile();
        } else if (msg.wParam == kTimerGameLight) {
            if (pages::CKestravaUSBDevice* page = SelectedPage()) {
                page->RestoreLighting();
            }
        }
        return;
    }
    if (msg.sType == QLatin1String("windowsize")) {
        if (msg.SenderName() == QLatin1String("root") && m_displayChanged) {
            m_displayChanged = false;
            DpiFit();
        }
        return;
    }
    if (msg.sType == QLatin1String("selectchanged") &&
        msg.SenderName() == QLatin1String("device_select") && msg.wParam == 1 &&
        m_devicePages != nullptr) {
        m_devicePages->Select(m_devicePages->PageIndexOf(msg.pSender));
        return;
    }
    if (msg.sType == QLatin1String("click") && OnClick(msg.SenderName())) {
        return;
    }
    if (msg.sType == QLatin1String("valuechanged") &&
        OnColourInputSlider(msg.pSender, static_cast<int>(msg.wParam))) {
        return;
    }
    // The controls of the device pages and their panels.
    if (!m_keyMacroActions->Handle(msg)) {
        m_pageActions->Handle(msg);
    }
    // A light mode chosen, a profile applied or a page reset may start or end the listening.
    UpdateAudioCapture();
}

void CMainWnd::UpdateAudioCapture() {
    if (m_audioCapture != nullptr && !m_exiting) {
        m_audioCapture->SetNeeded(m_devicePages != nullptr &&
                                  m_devicePages->AnyConnectedPageListens());
    }
}

std::pair<QString, int> SplitNumberedName(const QString& name) {
    qsizetype digits = 0;
    while (digits < name.size() && name.at(name.size() - 1 - digits).isDigit()) {
        ++digits;
    }
    if (digits == 0 || digits == name.size() || digits > 6) {
        return {name, -1};
    }
    return {name.left(name.size() - digits), name.right(digits).toInt()};
}

QStringList SystemDeviceSettingsCommand(const QString& desktops, int page) {
    if (page != 0 && page != 1) {
        return {};
    }
    const bool keyboard = page == 0;
    for (const QString& desktop : desktops.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (desktop.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0 ||
            desktop.compare(QLatin1String("Unity"), Qt::CaseInsensitive) == 0) {
            return {QStringLiteral("gnome-control-center"),
                    keyboard ? QStringLiteral("keyboard") : QStringLiteral("mouse")};
        }
        if (desktop.compare(QLatin1String("KDE"), Qt::CaseInsensitive) == 0) {
            return {QStringLiteral("systemsettings"),
                    keyboard ? QStringLiteral("kcm_keyboard") : QStringLiteral("kcm_mouse")};
        }
        if (desktop.compare(QLatin1String("XFCE"), Qt::CaseInsensitive) == 0) {
            return {keyboard ? QStringLiteral("xfce4-keyboard-settings")
                             : QStringLiteral("xfce4-mouse-settings")};
        }
    }
    return {};
}

bool CMainWnd::OnClick(const QString& name) {
    // The click table: a row names a control, or a prefix that a number follows ("key_" + n).
    struct ClickRow {
        const char* name;
        bool numbered;
        void (CMainWnd::*action)(int n);
    };
    static constexpr ClickRow kClickTable[] = {
        {"closebtn", false, &CMainWnd::OnCloseButton},
        {"control_light_status", false, &CMainWnd::OnLightStatusButton},
        {"setbtn", false, &CMainWnd::OnSettingsButton},
        {"music_setting_btn", false, &CMainWnd::OnMusicSettingButton},
        {"skinbtn", false, &CMainWnd::OnSkinButton},
        {"device_select_prev", false, &CMainWnd::OnSelectPrevious},
        {"device_select_next", false, &CMainWnd::OnSelectNext},
        {"network_btn", false, &CMainWnd::OnNetworkButton},
        {"windowdeviceset_", true, &CMainWnd::OpenSystemDeviceSettings},
    };
    if (HandleCaptionButton(name)) {
        return true;
    }
    const auto [prefix, number] = SplitNumberedName(name);
    for (const ClickRow& row : kClickTable) {
        if (!row.numbered && name == QLatin1String(row.name)) {
            (this->*row.action)(-1);
            return true;
        }
        if (row.numbered && number >= 0 && prefix == QLatin1String(row.name)) {
            (this->*row.action)(number);
            return true;
        }
    }
    return false;
}

void CMainWnd::OnMusicSettingButton(int) {
    if (editors::MusicWnd::IsOpen()) {
        return;
    }
    const auto styles = editors::MusicWnd::Edit(this, m_uiDpi, m_audioFile.Styles());
    if (!styles) {
        return; // cancelled: the file stays as it was
    }
    if (m_audioCapture != nullptr) {
        m_audioCapture->SendStyleColour(styles->colours[static_cast<std::size_t>(styles->index)]);
    }
    m_audioFile.Save(*styles);
}

void CMainWnd::OnPageReset() {
    m_audioFile.Reset();
}

bool CMainWnd::OnColourInputSlider(QWidget* slider, int value) {
    static constexpr std::array<std::pair<const char*, const char*>, 3> kSliders{{
        {"R_light_slider", "R_light_label"},
        {"G_light_slider", "G_light_label"},
        {"B_light_slider", "B_light_label"},
    }};
    const QString name = slider != nullptr ? slider->objectName() : QString();
    for (std::size_t c = 0; c < kSliders.size(); ++c) {
        if (name != QLatin1String(kSliders[c].first)) {
            continue;
        }
        // Every page's panel has its own sliders: the label is the one beside this slider.
        if (QWidget* row = slider->parentWidget()) {
            toolkit::SetControlText(row->findChild<QWidget*>(QLatin1String(kSliders[c].second)),
                                    QStringLiteral("%1 %2").arg(QLatin1Char("RGB"[c])).arg(value));
        }
        m_colourInput[c] = std::clamp(value, 0, 255);
        if (m_audioCapture != nullptr) {
            m_audioCapture->SendCommand(kCaptureRed + static_cast<qint64>(c), m_colourInput[c]);
        }
        return true;
    }
    return false;
}

void CMainWnd::OnCloseButton(int) {
    CSetWnd::RequestClose();
    hide();
}

void CMainWnd::OnLightStatusButton(int) {
    SetLightControl(!m_lightControl);
    if (m_bus != nullptr) {
        m_bus->Broadcast(RegisteredMessage::LightOwnerNotify, 1, m_lightControl ? 1 : 0);
    }
}

void CMainWnd::OnSettingsButton(int) {
    OpenSettingsWindow(false);
}

void CMainWnd::OnSkinButton(int) {
    if (m_skinFrame != nullptr) {
        m_skinFrame->close();
    }
    m_skinFrame = CSkinFrame::Open(this, FindControl(QStringLiteral("skinbtn")));
}

int CMainWnd::Receive(SkinChangedParam param) {
    QWidget* root = FindControl(QStringLiteral("root"));
    if (root == nullptr) {
        return 0;
    }
    const QString colour =
        QStringLiteral("0x%1").arg(param.useColour ? param.colour : 0u, 8, 16, QLatin1Char('0'));
    toolkit::SetAttribute(root, QStringLiteral("bkcolor"), colour);
    toolkit::SetAttribute(root, QStringLiteral("bkimage"),
                          param.useColour ? QString() : param.image);
    root->update();
    return 1;
}

void CMainWnd::OnSelectPrevious(int) {
    if (m_devicePages != nullptr) {
        m_devicePages->SelectNeighbour(-1);
    }
}

void CMainWnd::OnSelectNext(int) {
    if (m_devicePages != nullptr) {
        m_devicePages->SelectNeighbour(1);
    }
}

void CMainWnd::OnNetworkButton(int) {
    // The address is the project's home page of the AppStream metainfo (see app/CMakeLists.txt).
    if (!QDesktopServices::openUrl(QUrl(QStringLiteral(Q407_HOMEPAGE_URL)))) {
        diag::Line("the web page could not be opened: " Q407_HOMEPAGE_URL);
    }
}

void CMainWnd::OpenSystemDeviceSettings(int page) {
    if (page != 0 && page != 1) {
        // Only the keyboard (0) and the mouse (1) have settings to open.
        diag::Printf("no keyboard or mouse settings of this desktop to open (page %d)", page);
        return;
    }
    const QStringList command =
        SystemDeviceSettingsCommand(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), page);
    const auto& resources = toolkit::ResourceManager::Instance();
    QString problem;
    if (command.isEmpty()) {
        problem =
            resources.Text(page == 0 ? QStringLiteral(QT_TRID_NOOP("device_settings_unknown_0"))
                                     : QStringLiteral(QT_TRID_NOOP("device_settings_unknown_1")));
    } else if (QStandardPaths::findExecutable(command.front()).isEmpty() ||
               !QProcess::startDetached(command.front(), command.mid(1))) {
        problem = resources.Text(QStringLiteral(QT_TRID_NOOP("device_settings_missing")))
                      .arg(command.front());
    }
    if (!problem.isEmpty()) {
        diag::Printf("no keyboard or mouse settings of this desktop to open (page %d)", page);
        toolkit::GetDialogs().MessageBox(this, QString(), problem, false, 0);
    }
}

bool CMainWnd::HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) {
    result = 0;
    if (message == MessageNumber(RegisteredMessage::AppControl) && wParam == 4) {
        ExitRoutine();
        return true;
    }
    if (message == MessageNumber(RegisteredMessage::AppControl) ||
        message == MessageNumber(RegisteredMessage::ExternalRelay)) {
        // Installer reports go to the settings window when it is open.
        CSetWnd::OnRelayedMessage(wParam, lParam);
        return false;
    }
    if (message == MessageNumber(RegisteredMessage::ShowInstance)) {
        diag::Printf("软件标示 %u，%llxd%llxd", message, static_cast<unsigned long long>(wParam),
                     static_cast<unsigned long long>(lParam));
        ShowAndRaise();
        return false;
    }
    if (message == MessageNumber(RegisteredMessage::LightOwnerSet) && wParam == 1 &&
        (lParam == 0 || lParam == 1)) {
        SetLightControl(lParam == 1);
        return false;
    }
    if (message == MessageNumber(RegisteredMessage::DeviceInfoRequest)) {
        // The service tool that asks gets the block on the bus (the request's answer has it too).
        if (m_bus != nullptr && !m_bus->SendDeviceInformation(DeviceInformationBlock())) {
            diag::Line("device information: no service tool on the bus");
        }
        return false;
    }
    if (message == kPowerBroadcastMessage) {
        if (wParam == kPowerSuspend || wParam == kPowerResume) {
            m_running = wParam == kPowerResume;
            ApplyLightControl();
        }
        return false;
    }
    // While the machine sleeps, nothing below is handled.
    if (!m_running) {
        return false;
    }
    if (m_keyMacroActions->HandleMessage(message, wParam)) {
        return true;
    }
    if (const auto registered = FromNumber(message); registered && IsGameEvent(*registered)) {
        // A game integration asks for a light effect: the selected device shows it for a while.
        pages::CKestravaUSBDevice* page = SelectedPage();
        if (page != nullptr && lParam >= 0 && lParam <= 0xFF) {
            page->PreviewLightMode(static_cast<std::uint8_t>(lParam));
            SetTimer(Root(), kTimerGameLight, kGameLightMs);
        }
        return false;
    }
    if (message == q407::hid::kWmDeviceArrived) {
        OnDeviceArrived(static_cast<int>(wParam));
        return true;
    }
    if (message == q407::hid::kWmDeviceRemoved) {
        OnDeviceRemoved(static_cast<int>(wParam));
        return true;
    }
    if (message == kOldFirmwareNoticeMessage) {
        // Mouse A's cable model is the one whose old firmware cannot be driven.
        const OldFirmwareNotice notice = DefaultOldFirmwareNotice(q407::hid::kProductMouseA);
        if (!NeedsOldFirmwareNotice(notice, wParam, lParam)) {
            m_noticeFlag = true;
            return false;
        }
        m_noticeFlag = false;
        if (QWidget* hint = FindControl(QStringLiteral("No_device_Link"))) {
            hint->show();
        }
        if (AskOldFirmwareUpgrade(this, notice, 0) == OldFirmwareAnswer::Declined) {
            ExitRoutine();
        }
        return false;
    }
    if (message == pages::kDeviceFlagClearMessage) {
        if (QWidget* hint = FindControl(QStringLiteral("No_device_Link"))) {
            hint->hide();
        }
        return false;
    }
    if (message == kLanguageChangedMessage) {
        // The user chose a language in the settings window: show it and keep the choice.
        const LanguageCatalogue catalogue = ReadLanguageCatalogue(DefaultLanguageCatalogueFile());
        if (wParam >= 0 && wParam < static_cast<qint64>(catalogue.size())) {
            ApplyLanguage(static_cast<int>(wParam));
            SaveLanguageId(catalogue[static_cast<std::size_t>(wParam)].id);
        }
        return false;
    }
    if (message == kOpenSettingsWindowMessage) {
        OpenSettingsWindow(true);
        return false;
    }
    if (message == kClearSettingsMarkMessage) {
        toolkit::SetAttribute(FindControl(QStringLiteral("setbtn")), QStringLiteral("foreimage"),
                              QString());
        return false;
    }
    if (message == kShowEntryMessage) {
        if (m_devicePages != nullptr) {
            if (lParam == 0) {
                diag::Line("2.4gcesvdfherhue 1");
            }
            m_devicePages->ShowEntry(static_cast<int>(wParam), lParam == 1);
        }
        if (m_deviceBus != nullptr) {
            m_deviceBus->ScheduleUpdate();
        }
        return false;
    }
    if (message == kDisplayChangeMessage) {
        diag::Line("显示器分辨率发生变化");
        m_displayChanged = true;
        DpiFit();
        return false;
    }
    if (message == kTrayCallbackMessage) {
        if (lParam == kTrayLeftUp) {
            ToggleFromTray();
        } else if (lParam == kTrayRightUp) {
            SetTimer(Root(), kTimerTrayMenu, 10);
        }
        return false;
    }
    return false;
}

int CMainWnd::GetSavedLanguageIndex() const {
    return ChooseLanguageIndex(ReadLanguageCatalogue(DefaultLanguageCatalogueFile()),
                               StoredLanguageId(), QLocale::system());
}

void CMainWnd::ApplyLanguage(int index) {
    if (index == m_languageIndex) {
        return;
    }
    SetUiFonts(UiFaceForLanguage(index));
    m_languageIndex = index;
    const LanguageCatalogue catalogue = ReadLanguageCatalogue(DefaultLanguageCatalogueFile());
    // Without a usable catalogue the toolkit gets an empty language and keeps its texts.
    const LanguageEntry language = index >= 0 && index < static_cast<int>(catalogue.size())
                                       ? catalogue[static_cast<std::size_t>(index)]
                                       : LanguageEntry{};
    auto& resources = toolkit::ResourceManager::Instance();
    resources.SetLanguage(language.name);
    if (!resources.LoadLanguage(language.file)) {
        diag::Line("language file missing: " + language.file.toStdString());
    }
    diag::Printf("language %d %s", index, language.name.toUtf8().constData());
    resources.ReloadText();
    // Texts the pages and other windows put together themselves are redone by them.
    if (m_devicePages != nullptr) {
        for (int page = 0; page < m_devicePages->PageCount(); ++page) {
            if (pages::CKestravaUSBDevice* device = m_devicePages->Page(page)) {
                device->RefreshKeyAssignments();
                device->RefreshPage();
            }
        }
    }
    for (toolkit::WindowImplBase* window : toolkit::WindowImplBase::AllWindows()) {
        if (window != this) {
            qint64 result = 0;
            window->HandleMessage(kLanguageChangedMessage, 0, 0, result);
        }
    }
    update();
}

bool CMainWnd::SaveLanguageId(int id) {
    if (!StoreLanguageId(id)) {
        diag::Line("language choice not stored: " + LanguageSettingsFile().string());
        return false;
    }
    diag::Line("写成功！");
    return true;
}

void CMainWnd::SetLightControl(bool on) {
    m_lightControl = on;
    toolkit::SetControlText(FindControl(QStringLiteral("control_light_status")),
                            on ? QStringLiteral(QT_TRID_NOOP("control_light_on"))
                               : QStringLiteral(QT_TRID_NOOP("control_light_off")));
    ApplyLightControl();
}

void CMainWnd::ApplyLightControl() {
    // Every lit device page takes the effective value: off while the machine sleeps.
    const bool effective = m_running && m_lightControl;
    diag::Printf("light control %d", effective ? 1 : 0);
    if (m_devicePages != nullptr) {
        m_devicePages->ApplyLightControl(effective);
    }
}

void CMainWnd::DpiFit() {
    const bool wasVisible = isVisible();
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    m_uiDpi = toolkit::ValidDpiOr96(
        screen != nullptr ? DpiForScreen(screen->geometry().size()) : 96, "MAIN_WND DPI SET ERROR");
    auto& resources = toolkit::ResourceManager::Instance();
    resources.SetAllDPI(96);
    resize(1000, 640);
    resources.SetAllDPI(m_uiDpi);
    CenterWindow();
    if (wasVisible) {
        show();
    } else {
        hide();
    }
}

QByteArray CMainWnd::OnRegisteredMessage(RegisteredMessage message, qint64 wParam, qint64 lParam) {
    qint64 result = 0;
    HandleMessage(MessageNumber(message), wParam, lParam, result);
    return message == RegisteredMessage::DeviceInfoRequest ? DeviceInformationBlock()
                                                           : QByteArray();
}

bool CMainWnd::OnDataBlock(qint64 kind, const QByteArray& block) {
    QByteArray* buffer = kind == 1 ? &m_spectrum : kind == 2 ? &m_effect : nullptr;
    if (buffer == nullptr || block.isEmpty() || block.size() > buffer->size()) {
        diag::Printf("data block of kind %lld with %lld bytes refused",
                     static_cast<long long>(kind), static_cast<long long>(block.size()));
        return false;
    }
    std::copy(block.begin(), block.end(), buffer->begin());
    if (kind == 1) {
        OnSpectrumBlock(block);
    }
    if (kind == 2) {
        // The first keyboard page takes the first six values as its colour input.
        std::array<std::int32_t, 6> values{};
        std::memcpy(
            values.data(), m_effect.constData(),
            std::min<std::size_t>(sizeof(values), static_cast<std::size_t>(m_effect.size())));
        if (pages::CKestravaKeyboardDevice* keyboard = FirstKeyboardPage()) {
            keyboard->SetColourInput(values);
        }
    }
    return true;
}

int CMainWnd::KeyboardSlots() const {
    return static_cast<int>(
        std::count_if(m_deviceSlots.begin(), m_deviceSlots.end(), [](const auto& slot) {
            return slot.occupied != 0 && (slot.deviceType == q407::hid::kDeviceKeyboard ||
                                          slot.deviceType == q407::hid::kDeviceKeyboardReceiver);
        }));
}

void CMainWnd::OnSpectrumBlock(const QByteArray& block) {
    // At most 500 values are read; the rest of the buffer is not the audio capture's.
    std::array<std::int32_t, q407::devices::kSpectrumValues> values{};
    const auto count =
        std::min<std::size_t>(static_cast<std::size_t>(block.size()) / 4, values.size());
    std::memcpy(values.data(), block.constData(), count * 4);
    ++m_spectrumBlocks;
    const auto levels = m_musicBands.OnBlock(std::span(values.data(), count), KeyboardSlots());
    if (levels) {
        if (pages::CKestravaKeyboardDevice* keyboard = FirstKeyboardPage()) {
            keyboard->SetMusicLevels(*levels);
        }
    }
}

pages::CKestravaKeyboardDevice* CMainWnd::FirstKeyboardPage() const {
    if (m_devicePages == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < m_devicePages->PageCount(); ++i) {
        if (auto* keyboard =
                qobject_cast<pages::CKestravaKeyboardDevice*>(m_devicePages->Page(i))) {
            return keyboard;
        }
    }
    return nullptr;
}

pages::CKestravaUSBDevice* CMainWnd::SelectedPage() const {
    if (m_devicePages == nullptr) {
        return nullptr;
    }
    const int selected = m_devicePages->SelectedPage();
    return selected < 0 ? nullptr : m_devicePages->Page(selected);
}

void CMainWnd::OnDeviceArrived(int slot) {
    if (slot < 0 || slot >= static_cast<int>(m_deviceSlots.size()) || m_discovery == nullptr) {
        return;
    }
    m_deviceSlots[static_cast<std::size_t>(slot)] = m_discovery->Slot(slot);
    diag::Line("device arrived in slot " + std::to_string(slot) + ": " +
               m_deviceSlots[static_cast<std::size_t>(slot)].devicePath);
    if (m_devicePages != nullptr) {
        m_devicePages->OnArrival(slot, m_deviceSlots);
        // A page made for this arrival may follow the shared lighting effect too.
        m_sharedLighting.SetPages(m_devicePages->SharedLightingOrder());
    }
    if (m_deviceBus != nullptr) {
        m_deviceBus->ScheduleUpdate();
    }
    UpdateAudioCapture();
    ShowAndRaise();
}

void CMainWnd::OnDeviceRemoved(int slot) {
    if (slot < 0 || slot >= static_cast<int>(m_deviceSlots.size()) || m_discovery == nullptr) {
        return;
    }
    diag::Line("device removed from slot " + std::to_string(slot) + ": " +
               m_deviceSlots[static_cast<std::size_t>(slot)].devicePath);
    const q407::hid::DeviceIdentity before = m_deviceSlots[static_cast<std::size_t>(slot)];
    m_deviceSlots[static_cast<std::size_t>(slot)] = m_discovery->Slot(slot);
    m_keyMacroActions->StopRecording();
    if (m_devicePages != nullptr) {
        m_devicePages->OnRemoval(slot, before, m_deviceSlots);
    }
    if (m_deviceBus != nullptr) {
        m_deviceBus->ScheduleUpdate();
    }
    UpdateAudioCapture();
}

QWidget* CMainWnd::CreateControl(const QString& className, QWidget* parent) {
    return pages::DevicePageControl(className, parent);
}

void CMainWnd::showEvent(QShowEvent* event) {
    toolkit::WindowImplBase::showEvent(event);
    if (m_devicePages != nullptr) {
        m_devicePages->SetPreviewsPaused(false);
    }
}

void CMainWnd::hideEvent(QHideEvent* event) {
    toolkit::WindowImplBase::hideEvent(event);
    if (m_devicePages != nullptr) {
        m_devicePages->SetPreviewsPaused(true);
    }
}

void CMainWnd::changeEvent(QEvent* event) {
    toolkit::WindowImplBase::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        m_active = isActiveWindow();
        SetForeground(m_active);
    }
}

void CMainWnd::enterEvent(QEnterEvent* event) {
    toolkit::WindowImplBase::enterEvent(event);
    diag::Line("鼠标移入");
    if (!m_active) {
        SetForeground(true);
    }
}

void CMainWnd::leaveEvent(QEvent* event) {
    toolkit::WindowImplBase::leaveEvent(event);
    diag::Line("鼠标移出");
    if (!m_active) {
        SetForeground(false);
    }
}

void CMainWnd::SetForeground(bool foreground) {
    m_foreground = foreground;
    for (int page = 0; m_devicePages != nullptr && page < m_devicePages->PageCount(); ++page) {
        if (pages::CKestravaUSBDevice* device = m_devicePages->Page(page)) {
            device->SetForeground(foreground);
        }
    }
}

void CMainWnd::ShowAndRaise() {
    if (m_devicePages != nullptr) {
        m_devicePages->UpdateNoDeviceHint();
    }
    BringToFront();
}

void CMainWnd::BringToFront() {
    if (m_exiting) {
        return;
    }
    if (isMinimized() || isHidden()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void CMainWnd::ToggleFromTray() {
    // While an old-firmware notice is pending the hint stays as the notice left it.
    if (m_noticeFlag && m_devicePages != nullptr) {
        m_devicePages->UpdateNoDeviceHint();
    }
    if (isVisible() && !isMinimized()) {
        hide();
    } else {
        ShowFitted();
    }
}

void CMainWnd::ShowFitted() {
    show();
    DpiFit();
    // The "No_device_Link" hint is the tray's business here (the notice flag), not refreshed.
    BringToFront();
}

void CMainWnd::OnMenuItem(const QString& item) {
    if (item == QLatin1String("exit")) {
        ExitRoutine();
    } else if (item == QLatin1String("show")) {
        ShowFitted();
    }
}

void CMainWnd::OpenSettingsWindow(bool centred) {
    SetWndRequest request;
    const auto options = q407::hid::DeviceOptions();
    request.selectorEntries.resize(options.size());
    for (int pageIndex = 0; m_devicePages != nullptr && pageIndex < m_devicePages->PageCount();
         ++pageIndex) {
        const int row = m_devicePages->OptionRowOf(pageIndex);
        pages::CKestravaUSBDevice* page = m_devicePages->Page(pageIndex);
        if (row < 0 || static_cast<std::size_t>(row) >= options.size() || page == nullptr) {
            continue;
        }
        auto& protocol = page->Model().Protocol();
        auto& state = request.selectorEntries[static_cast<std::size_t>(row)];
        state.open = page->Model().IsOpen();
        state.shown = m_devicePages->Entry(pageIndex) != nullptr &&
                      !m_devicePages->Entry(pageIndex)->isHidden();
        state.wirelessReachable = state.open && protocol.IsWireless() && state.shown;
        state.receiverVersion = protocol.ReceiverRecord().Attributes().versionNumber;
        state.cableVersion = protocol.CableRecord().Attributes().versionNumber;
    }
    request.applicationVersion = q407::update::ApplicationVersionNumber(Q407_VERSION);
    request.dpi = m_uiDpi;
    request.centred = centred;
    request.languageIndex = m_languageIndex;
    request.languageChosen = [this](int index) { PostMessage(kLanguageChangedMessage, index, 0); };
    request.upToDate = [this] { PostMessage(kClearSettingsMarkMessage, 0, 0); };
    request.sdkServerOn = m_sdkServer != nullptr;
    request.sdkServerChosen = [this](bool on) {
        StoreSdkServerOn(on);
        if (!on) {
            m_sdkServer.reset(); // every client's lights are handed back
        } else if (m_sdkServer == nullptr) {
            StartSdkServer(q407::devices::sdk::kDefaultPort);
        }
    };
    CSetWnd::Open(this, std::move(request));
}

bool CMainWnd::StartSdkServer(quint16 port) {
    if (m_devicePages == nullptr || m_exiting) {
        return false;
    }
    auto server = std::make_unique<OpenRgbSdkServer>(*m_devicePages);
    if (!server->Listen(port)) {
        return false;
    }
    // Other lighting tools hear that our own lighting gave way while a client holds the lights,
    // and that it is back (if the user lets it drive) when the last client lets go.
    server->SetDrivingHandler([this](bool clientDrives) {
        if (m_bus != nullptr) {
            m_bus->Broadcast(RegisteredMessage::LightOwnerNotify, 1,
                             !clientDrives && m_lightControl ? 1 : 0);
        }
    });
    m_sdkServer = std::move(server);
    return true;
}

void CMainWnd::ExitRoutine() {
    if (m_exiting) {
        return;
    }
    m_exiting = true;
    if (m_sdkServer != nullptr) {
        m_sdkServer->SetDrivingHandler({}); // nothing is handed back to a program that ends
    }
    m_sdkServer.reset();
    m_keyMacroActions->StopRecording();
    m_keyMacroActions->Hook().Remove();
    CSetWnd::RequestClose();
    hide();
    m_deviceBus.reset(); // scripts are told no more, and their calls are refused
    m_threads.StopAll(std::chrono::milliseconds(1000));
    if (m_audioCapture != nullptr) {
        // The audio capture program stops its capture, its analysis and itself.
        m_audioCapture->Stop();
    }
    m_tray.Delete();
    QApplication::quit();
}

} // namespace q407::app
