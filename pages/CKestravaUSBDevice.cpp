#include "pages/CKestravaUSBDevice.h"

#include "common/Diag.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "pages/CDeviceOptionUI.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QAbstractButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>

namespace q407::pages {
namespace devices = q407::devices;
namespace diag = q407::diag;

namespace {

// The device folder and default profile file of each kind of page.
std::string FolderNameOfKind(int kind) {
    switch (kind) {
    case devices::kKindKeyboard:
        return "Keyboard";
    case devices::kKindMouse:
        return "Mouse";
    case devices::kKindMousePad:
        return "MousePad";
    case devices::kKindHeadset:
        return "Headset";
    default:
        return {};
    }
}

// Splits "light_12" into "light_" and 12; false without "_" or without a decimal number after it.
bool SplitIndexedName(const QString& name, QString& prefix, int& number) {
    const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
    if (cut < 0) {
        return false;
    }
    bool ok = false;
    const QString digits = name.mid(cut + 1);
    number = digits.toInt(&ok, 10);
    if (!ok || digits.isEmpty() || !digits.front().isDigit()) {
        return false;
    }
    prefix = name.left(cut + 1);
    return true;
}

void SelectTab(QWidget* tabs, int index) {
    if (index < 0) {
        return;
    }
    if (auto* stacked = qobject_cast<QStackedWidget*>(tabs)) {
        stacked->setCurrentIndex(index);
    } else if (auto* tabWidget = qobject_cast<QTabWidget*>(tabs)) {
        tabWidget->setCurrentIndex(index);
    }
}

} // namespace

void RegisterDevicePageControls() {
    toolkit::RegistControl<CKestravaUSBDevice>(QStringLiteral("CKestravaUSBDevice"));
    toolkit::RegistControl<CDeviceOptionUI>(QStringLiteral("CDeviceOptionUI"));
    toolkit::RegistControl<CMpDevicePowerUI>(QStringLiteral("CMpDevicePowerUI"));
    RegisterPictureControls();
}

CKestravaUSBDevice::CKestravaUSBDevice(QWidget* parent) : QWidget(parent) {}

CKestravaUSBDevice::~CKestravaUSBDevice() {
    if (m_model) {
        m_model->StopPageThreads();
        m_model->SetPageEvents(nullptr);
    }
}

std::unique_ptr<devices::DeviceModel>
CKestravaUSBDevice::MakeModel(q407::hid::HidBackend& backend) {
    return std::make_unique<devices::DeviceModel>(backend);
}

bool CKestravaUSBDevice::SetUp(q407::hid::HidBackend& backend,
                               const q407::hid::DeviceOption& option,
                               const q407::hid::DeviceLayout& layout, int row,
                               const q407::hid::DeviceIdentity& identity,
                               toolkit::WindowImplBase* mainWindow) {
    if (m_model) {
        return false;
    }
    m_model = MakeModel(backend);
    devices::DeviceModel& model = *m_model;
    model.SetPageXml(std::string(layout.pageLayout));
    SetMainWindow(mainWindow);
    model.SetKeyCount(layout.keyCount);
    model.SetLedCount(layout.ledCount);
    model.SetLayoutIndex(row);
    model.SetHasPower(layout.flag != 0);
    model.SetKindExtra(layout.fourth);
    model.SetIdentity(identity);
    model.SetDeviceFolderName(FolderNameOfKind(model.Kind()));
    model.SetDeviceIndex(option.i[3]);
    model.SetLightConfigName(std::string(layout.lightName));
    model.SetPageEvents(this);
    InitPage();
    return true;
}

void CKestravaUSBDevice::SetMainWindow(toolkit::WindowImplBase* window) {
    m_mainWindow = window;
}

toolkit::WindowImplBase* CKestravaUSBDevice::MainWindow() const {
    return m_mainWindow;
}

void CKestravaUSBDevice::SetSelectorEntry(CDeviceOptionUI* entry) {
    m_selectorEntry = entry;
}

CDeviceOptionUI* CKestravaUSBDevice::SelectorEntry() const {
    return m_selectorEntry;
}

void CKestravaUSBDevice::SetPowerIndicator(CMpDevicePowerUI* indicator) {
    m_powerIndicator = indicator;
}

CMpDevicePowerUI* CKestravaUSBDevice::PowerIndicator() const {
    return m_powerIndicator;
}

// --- Attach and detach ---------------------------------------------------------------------------

bool CKestravaUSBDevice::AttachCommand(int mode, const std::string& path) {
    return m_model && m_model->AttachCommand(mode, path);
}

void CKestravaUSBDevice::DetachCommand() {
    if (!m_model) {
        return;
    }
    m_model->DetachCommand();
    if (m_selectorEntry) {
        m_selectorEntry->StopDeviceTimers();
    }
}

bool CKestravaUSBDevice::AttachEvents(const std::string& path, int channel) {
    if (!m_model) {
        return false;
    }
    m_model->SetPageEvents(this);
    return m_model->RestartListening(path, channel);
}

void CKestravaUSBDevice::DetachEvents(int channel) {
    if (m_model) {
        m_model->StopListening(channel);
    }
}

// --- Picture buttons -----------------------------------------------------------------------------

void CKestravaUSBDevice::InitPage() {
    m_keyButtons.clear();
    m_lightButtons.clear();
    if (!m_model) {
        return;
    }
    if (m_model->PageXml().empty()) {
        m_model->SetKeyCount(0);
        m_model->SetLedCount(0);
        return;
    }
    const QList<QWidget*> children = findChildren<QWidget*>();
    const auto panel = std::find_if(children.begin(), children.end(), [](const QWidget* child) {
        return SkinClassOf(child) == QLatin1String(kSelectPanelClass);
    });
    m_picturePanel = panel == children.end() ? nullptr : *panel;
    BindPictureButtons(m_picturePanel);
}

void CKestravaUSBDevice::BindPictureButtons(QWidget* panel) {
    m_keyButtons.fill(nullptr, m_model->KeyCount());
    m_lightButtons.fill(nullptr, m_model->LedCount());
    if (panel == nullptr) {
        return;
    }
    for (QWidget* button : panel->findChildren<QWidget*>()) {
        if (SkinClassOf(button) != QLatin1String(kKeyButtonClass)) {
            continue;
        }
        QString prefix;
        int number = 0;
        if (!SplitIndexedName(button->objectName(), prefix, number)) {
            continue;
        }
        if (prefix.compare(QLatin1String("key_"), Qt::CaseInsensitive) == 0) {
            if (number < m_keyButtons.size()) {
                m_keyButtons[number] = button;
            }
        } else if (prefix == QLatin1String("light_")) {
            if (number < m_lightButtons.size()) {
                m_lightButtons[number] = button;
                SetLightColour(button, QColor(255, 255, 255, 255));
            }
        }
    }
}

void CKestravaUSBDevice::RenderPreview() {
    if (!m_model || !m_model->LightOutput()) {
        return;
    }
    const std::vector<devices::LedColour> colours = m_model->LedColours();
    const qsizetype count = std::min<qsizetype>(m_lightButtons.size(), qsizetype(colours.size()));
    for (qsizetype i = 0; i < count; ++i) {
        QWidget* button = m_lightButtons[i];
        if (button == nullptr || button->isHidden()) {
            continue;
        }
        const devices::LedColour& led = colours[static_cast<std::size_t>(i)];
        SetLightColour(button, QColor(led.red, led.green, led.blue, led.level));
    }
}

void CKestravaUSBDevice::SelectFeaturePage(int page) {
    if (!m_model) {
        return;
    }
    const devices::FeatureTabs tabs = m_model->SelectFeaturePage(page);
    if (m_functionSwitch == nullptr || m_keyFunctionSwitch == nullptr) {
        m_functionSwitch =
            toolkit::FindSubControlByName(this, QStringLiteral("device_function_switch"));
        m_keyFunctionSwitch =
            toolkit::FindSubControlByName(this, QStringLiteral("device_key_function_switch"));
        if (m_functionSwitch == nullptr || m_keyFunctionSwitch == nullptr) {
            return;
        }
    }
    SelectTab(m_functionSwitch, tabs.function);
    SelectTab(m_keyFunctionSwitch, tabs.keyFunction);
    toolkit::SizeStackToCurrentPage(qobject_cast<QStackedWidget*>(m_functionSwitch.data()));
    toolkit::SizeStackToCurrentPage(qobject_cast<QStackedWidget*>(m_keyFunctionSwitch.data()));
}

// --- Panels --------------------------------------------------------------------------------------

editors::CDeviceProfileUI* CKestravaUSBDevice::ProfilePanel() {
    if (m_profilePanel == nullptr) {
        m_profilePanel = qobject_cast<editors::CDeviceProfileUI*>(
            toolkit::FindSubControlByName(this, QStringLiteral("DeviceProfileItem")));
    }
    return m_profilePanel;
}

editors::CLightControlUI* CKestravaUSBDevice::LightPanel() {
    if (m_lightPanel == nullptr) {
        m_lightPanel = qobject_cast<editors::CLightControlUI*>(
            toolkit::FindSubControlByName(this, QStringLiteral("LightControlItem")));
    }
    return m_lightPanel;
}

q407::profiles::LightInfo CKestravaUSBDevice::LightRecord() const {
    if (m_lightBeforeGameEvent) {
        return *m_lightBeforeGameEvent;
    }
    return m_model ? m_model->GetLightParams() : q407::profiles::LightInfo{};
}

int CKestravaUSBDevice::ApplyLightRecord(const q407::profiles::LightInfo& record) {
    if (!m_model) {
        return 0;
    }
    m_lightBeforeGameEvent.reset();
    const int result = m_model->ApplyLightParams(record);
    TellShownChanged(); // also edited by other programs (the SDK server), not only the window
    return result;
}

void CKestravaUSBDevice::ApplyAudioLightRecord(const q407::profiles::AudioLightInfo& record) {
    if (!m_model) {
        return;
    }
    m_model->SetAudioLightParams(record);
    if (editors::CLightControlUI* light = LightPanel()) {
        light->SetAudioLightInfo(record);
    }
    m_model->SaveProfile();
    m_model->LoadLighting();
}

// --- Game events ---------------------------------------------------------------------------------

void CKestravaUSBDevice::PreviewLightMode(std::uint8_t mode) {
    if (!m_model) {
        return;
    }
    if (!m_lightBeforeGameEvent) {
        m_lightBeforeGameEvent = m_model->GetLightParams();
    }
    m_model->ShowPreviewMode(mode);
}

int CKestravaUSBDevice::RestoreLighting() {
    if (!m_model) {
        return 0;
    }
    if (m_lightBeforeGameEvent) {
        // The base operation only: the page's stored settings are not to be rewritten.
        m_model->DeviceModel::SetLightParams(*m_lightBeforeGameEvent);
        m_lightBeforeGameEvent.reset();
    }
    m_model->LoadLighting();
    const int result = m_model->WriteConfig(0, 0, 1, 0, 0);
    ShowLightSettings();
    return result;
}

void CKestravaUSBDevice::ShowLightSettings() {
    if (editors::CLightControlUI* light = LightPanel(); light != nullptr && m_model) {
        light->ShowLightInfo(LightRecord());
        light->SetAudioLightInfo(m_model->GetAudioLightParams());
    }
}

void CKestravaUSBDevice::ShowNumberedOption(const QString& prefix, int value, int last) {
    for (int n = 0; n <= last; ++n) {
        auto* option = PageControl<QAbstractButton>(prefix + QString::number(n));
        if (option == nullptr) {
            continue;
        }
        const QSignalBlocker quiet(option);
        if (n == value) {
            option->setChecked(true);
        } else if (option->isChecked()) {
            // Exclusive groups refuse to uncheck their checked member directly.
            const bool exclusive = option->autoExclusive();
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(exclusive);
        }
    }
}

// --- Notifications -------------------------------------------------------------------------------

void CKestravaUSBDevice::Notify(toolkit::TNotifyUI& msg) {
    QWidget* sender = msg.pSender;
    if (sender == nullptr) {
        return;
    }
    QWidget* own = sender == this ? this : toolkit::FindSubControlByName(this, msg.SenderName());
    if (own != sender) {
        return;
    }
    diag::Line("测试成功   、n");
    HandlePageNotify(msg);
}

// --- Hand-off from the worker threads ------------------------------------------------------------

void CKestravaUSBDevice::RequestResync(int delayMs) {
    QMetaObject::invokeMethod(
        this,
        [this, delayMs] {
            if (m_selectorEntry) {
                m_selectorEntry->StartTimer(CDeviceOptionUI::kTimerResync, delayMs);
            }
        },
        Qt::QueuedConnection);
}

void CKestravaUSBDevice::ProfileSlotChanged(int slot, int stage) {
    QMetaObject::invokeMethod(
        this,
        [this, slot, stage] {
            OnDeviceButtons(slot, stage);
            TellShownChanged();
        },
        Qt::QueuedConnection);
}

void CKestravaUSBDevice::TellShownChanged() {
    toolkit::SendNotify(this, QString::fromLatin1(kShownChangedNotify));
}

void CKestravaUSBDevice::OnDeviceButtons(int slot, int stage) {
    (void)slot;
    (void)stage;
    RefreshPage();
}

} // namespace q407::pages
