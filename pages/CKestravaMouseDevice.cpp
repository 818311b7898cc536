#include "pages/CKestravaMouseDevice.h"

#include "devices/PageEventTable.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "editors/CShootControlUI.h"
#include "editors/EditorPanel.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>

namespace q407::pages {
namespace devices = q407::devices;
namespace profiles = q407::profiles;
using devices::MouseField;

namespace {

// The feature the page opens on: its keys.
constexpr int kFirstFeature = 2;

QString Numbered(const char* prefix, int n) {
    return QString::fromLatin1(prefix) + QString::number(n);
}

QColor ArgbColour(std::uint32_t argb) {
    return QColor::fromRgba(argb);
}

void Repolish(QWidget* control) {
    control->style()->unpolish(control);
    control->style()->polish(control);
    control->update();
}

QString Text(const char* id) {
    return toolkit::ResourceManager::Instance().Text(QString::fromLatin1(id));
}

} // namespace

CKestravaMouseDevice::CKestravaMouseDevice(QWidget* parent) : CKestravaUSBDevice(parent) {}

CKestravaMouseDevice::~CKestravaMouseDevice() {
    // The threads call the mouse's own frames: stop them while the mouse part still exists.
    if (HasModel()) {
        Model().StopPageThreads();
    }
}

std::unique_ptr<devices::DeviceModel>
CKestravaMouseDevice::MakeModel(q407::hid::HidBackend& backend) {
    return std::make_unique<devices::MouseModel>(backend);
}

devices::MouseModel& CKestravaMouseDevice::Mouse() {
    return static_cast<devices::MouseModel&>(Model());
}

const devices::MouseModel& CKestravaMouseDevice::Mouse() const {
    return static_cast<const devices::MouseModel&>(Model());
}

// --- Building ------------------------------------------------------------------------------------

void CKestravaMouseDevice::InitPage() {
    BuildPage();
}

void CKestravaMouseDevice::BuildPage() {
    // The picture's keys and LEDs as every page binds them, then the mouse's extra buttons.
    CKestravaUSBDevice::InitPage();
    if (!HasModel() || Model().PageXml().empty()) {
        return;
    }
    m_logoIndex = Model().KindExtra();
    BindExtraPictureButtons();
    ShowLayoutTexts();

    devices::MouseModel& mouse = Mouse();
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        profiles->SetDeviceKind(devices::kKindMouse);
        profiles->SetProfilePaths(mouse.GetProfileFolder(), mouse.GetDefaultProfilePath());
        profiles->InitProfiles();
        profiles->SelectFeatureTab(kFirstFeature);
        SelectFeaturePage(kFirstFeature);
        mouse.SetProfileUuid(profiles->GetSelectedUUID());
    }
    LoadNameLists();
    m_panels.Bind(this, mouse, mouse, devices::kKindMouse,
                  {[this] { ShowKeyTexts(); }, [this](int selected) { MarkKeys(selected); }});
    SelectKeyPanel(0);
    m_pollingOption4 = PageControl<QWidget>(QStringLiteral("polling_rate_option_4"));
    m_pollingOption5 = PageControl<QWidget>(QStringLiteral("polling_rate_option_5"));
    SelectSettingsTab(0);
    // Until the mouse has been read, the page shows the selected profile.
    mouse.UpdateProfilePaths();
    mouse.LoadProfile();
    RefreshPage();
    ShowLightSettings();
}

void CKestravaMouseDevice::ShowLayoutTexts() {
    // Combo rows and tool tips of the layout are text ids, like its other texts. The panels
    // look after their own.
    auto& resources = toolkit::ResourceManager::Instance();
    for (auto* combo : findChildren<QComboBox*>()) {
        if (combo->objectName() == QLatin1String("device_profile_combo") ||
            combo->objectName().startsWith(QLatin1String("light_combo_"))) {
            continue;
        }
        toolkit::ShowComboRowTexts(combo, true);
    }
    for (auto* control : findChildren<QWidget*>()) {
        const QVariant tip = control->property("tiptextid");
        if (tip.isValid()) {
            control->setToolTip(resources.Text(tip.toString()));
        }
    }
}

void CKestravaMouseDevice::BindExtraPictureButtons() {
    m_extraLightButtons.clear();
    m_logoButton = nullptr;
    m_pictureForRepaint = nullptr;
    for (QWidget* panel : findChildren<QWidget*>()) {
        if (SkinClassOf(panel) != QLatin1String(kSelectPanelClass)) {
            continue;
        }
        bool extras = false;
        for (QWidget* button : panel->findChildren<QWidget*>()) {
            if (SkinClassOf(button) != QLatin1String(kKeyButtonClass)) {
                continue;
            }
            const QString name = button->objectName();
            if (name.startsWith(QLatin1String("light_0_"))) {
                bool ok = false;
                const int n = name.mid(8).toInt(&ok);
                if (!ok || n < 0) {
                    continue;
                }
                if (n < m_extraLightButtons.size()) {
                    m_extraLightButtons[n] = button;
                } else {
                    m_extraLightButtons.append(button);
                }
                SetLightColour(button, QColor(255, 255, 255, 255));
                extras = true;
            }
            if (const auto* labelled = qobject_cast<QAbstractButton*>(button);
                labelled != nullptr && labelled->text() == QLatin1String("logo")) {
                m_logoButton = button;
            }
        }
        if (extras && m_pictureForRepaint == nullptr) {
            m_pictureForRepaint = panel;
        }
    }
}

void CKestravaMouseDevice::LoadNameLists() {
    if (!HasModel()) {
        return;
    }
    const devices::MouseModel::NameLists lists = Mouse().LoadNameLists();
    if (editors::CLightControlUI* light = LightPanel()) {
        light->SetDeviceKind(devices::kKindMouse);
        light->InitModeList(lists.lightNames, lists.lightVisible, 4, 4);
    }
}

// --- Device interface ----------------------------------------------------------------------------

void CKestravaMouseDevice::Activate() {
    if (!HasModel()) {
        return;
    }
    devices::MouseModel& mouse = Mouse();
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        mouse.SetProfileUuid(profiles->GetSelectedUUID());
    }
    mouse.UpdateProfilePaths();
    toolkit::WindowImplBase* window = MainWindow();
    if (mouse.NeedsOldFirmwareNotice()) {
        mouse.MarkOldFirmwareNoticeSent();
        if (window != nullptr) {
            window->PostMessage(kMouseOldFirmwareMessage, mouse.Identity().productId,
                                mouse.FirmwareVersion());
        }
    }
    int read = 0;
    if (mouse.IsOpen()) {
        read = mouse.ReadDevice([window](bool flag) {
            if (window != nullptr) {
                window->PostMessage(flag ? kDeviceFlagSetMessage : kDeviceFlagClearMessage);
            }
        });
    }
    for (int i = 0; i < devices::kDpiStageCount; ++i) {
        if (auto* slider = PageControl<QAbstractSlider>(Numbered("DPI_slider_", i))) {
            const QSignalBlocker quiet(slider);
            slider->setRange(devices::kDpiMin, devices::kDpiMax);
        }
    }
    mouse.LoadProfile();
    if (read == 1) {
        mouse.ReadDeviceConfig();
    }
    RefreshPage();
    ShowLightSettings();
    ShowAbout();
    if (mouse.IsOpen() && !mouse.IsLightThreadRunning()) {
        mouse.StartLightThread();
    }
}

void CKestravaMouseDevice::OnProfileSelected() {
    if (!HasModel()) {
        return;
    }
    Mouse().ReadDeviceConfig();
    RefreshPage();
    ShowLightSettings();
}

void CKestravaMouseDevice::OnDeviceButtons(int slot, int stage) {
    if (!HasModel()) {
        return;
    }
    // The mouse now uses another slot or stage: the ones the event names.
    Mouse().ApplyDeviceButtons(slot, stage);
    RefreshPage();
    ShowLightSettings();
}

void CKestravaMouseDevice::PollPower() {
    if (!HasModel() || !Model().HasPower()) {
        return;
    }
    const auto state = Mouse().PollPowerState();
    if (!state) {
        return;
    }
    if (CMpDevicePowerUI* indicator = PowerIndicator()) {
        indicator->SetPowerState(*state, devices::kKindMouse);
    }
    if (toolkit::WindowImplBase* window = MainWindow()) {
        window->PostMessage(kPowerShownMessage);
    }
}

void CKestravaMouseDevice::ResetToDefault() {
    if (!HasModel()) {
        return;
    }
    Mouse().ResetProfileToDefault();
    RefreshPage();
    ShowLightSettings();
}

int CKestravaMouseDevice::ApplySelectedProfile() {
    if (!HasModel()) {
        return 0;
    }
    devices::MouseModel& mouse = Mouse();
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        profiles->SelectProfile(profiles->GetSelectedIndex());
        mouse.SetProfileUuid(profiles->GetSelectedUUID());
    }
    mouse.UpdateProfilePaths();
    mouse.LoadProfile();
    RefreshPage();
    ShowLightSettings();
    if (!mouse.IsOpen()) {
        return 0; // nothing to write to; the profile is used when the mouse comes back
    }
    if (mouse.WriteConfig(0, 0, 1, 0, 0) != 1) {
        return -1;
    }
    const devices::KeyEntries keys = mouse.CurrentKeyEntries();
    if (mouse.WriteMacroImage(mouse.UsedMacros(keys)) < 0 ||
        mouse.WriteCurrentKeyTable(&mouse.Profile()) != 1) {
        return -1;
    }
    return 0;
}

void CKestravaMouseDevice::RenderPreview() {
    if (!HasModel() || !Model().LightOutput()) {
        return;
    }
    const std::vector<devices::LedColour> colours = Model().LedColours();
    const auto colourOf = [&colours](qsizetype led) {
        const devices::LedColour& c = colours[static_cast<std::size_t>(led)];
        return QColor(c.red, c.green, c.blue, c.level);
    };
    for (qsizetype i = 0; i < m_extraLightButtons.size(); ++i) {
        QWidget* button = m_extraLightButtons[i];
        if (button != nullptr && !button->isHidden() && i < qsizetype(colours.size())) {
            SetLightColour(button, colourOf(i));
        }
    }
    if (m_pictureForRepaint != nullptr && Model().PreviewVisible()) {
        m_pictureForRepaint->update();
    }
    if (m_logoButton != nullptr && m_logoIndex >= 0 && m_logoIndex < qsizetype(colours.size())) {
        SetLightColour(m_logoButton, colourOf(m_logoIndex));
    }
    CKestravaUSBDevice::RenderPreview();
}

// --- Showing the settings ------------------------------------------------------------------------

void CKestravaMouseDevice::RefreshPage() {
    if (!HasModel()) {
        return;
    }
    const devices::MouseModel& mouse = Mouse();
    const std::vector<profiles::DpiStage> stages = mouse.GetDpiStages();
    for (int i = 0; i < devices::kDpiStageCount; ++i) {
        const bool present = i < static_cast<int>(stages.size());
        if (QWidget* row = PageControl<QWidget>(Numbered("DPI_layout_", i))) {
            row->setVisible(present);
        }
        if (auto* enable = PageControl<QAbstractButton>(Numbered("DPI_enable_check_", i))) {
            const QSignalBlocker quiet(enable);
            enable->setChecked(present && stages[static_cast<std::size_t>(i)].enabled != 0);
        }
        ShowDpiStage(i, mouse.ShownDpi(i));
        if (QWidget* swatch = PageControl<QWidget>(Numbered("DPI_color_option_", i))) {
            swatch->setProperty("bkcolor", ArgbColour(mouse.GetDpiColour(i)));
            swatch->setStyleSheet(QStringLiteral("background-color: %1;")
                                      .arg(ArgbColour(mouse.GetDpiColour(i)).name()));
        }
    }

    const profiles::MouseSystemSettings settings = mouse.GetSettings();
    const bool wireless = mouse.ReportRateWireless();
    ShowNumberedOption(QStringLiteral("polling_rate_option_"),
                       wireless ? settings.reportRateWireless : settings.reportRateWired);
    if (!wireless) {
        ShowSlider("polling_rate_slider", settings.reportRateWired);
    }
    // The two fastest rates exist only on the wireless link.
    for (QWidget* option : {m_pollingOption4.data(), m_pollingOption5.data()}) {
        if (option != nullptr) {
            option->setVisible(wireless);
        }
    }
    ShowNumberedOption(QStringLiteral("Linear_Calibration_option_"), settings.angleSnapping);
    ShowCombo("Key_Delay_combo_timeSelect", settings.keyDebounce);
    ShowSlider("Key_Delay_slider", settings.keyDebounce, "Key_Delay_value",
               Text(QT_TRID_NOOP("unit_ms")));
    ShowCombo("Dormancy_combo_timeSelect", settings.dormancyTime);
    ShowSlider("Dormancy_slider", settings.dormancyTime, "Dormancy_value",
               Text(QT_TRID_NOOP("unit_minutes")));
    ShowCombo("Anti_Shake_combo_timeSelect", settings.antiShake);
    ShowNumberedOption(QStringLiteral("deep_sleep_option_"), settings.deepSleepOff);
    ShowNumberedOption(QStringLiteral("Silent_Altitude_option_"), settings.liftOffDistance);
    ShowNumberedOption(QStringLiteral("motion_sync_option_"), settings.motionSync);
    ShowNumberedOption(QStringLiteral("sensor_lif_option_"), settings.sensorLift);

    ShowSlider("pointer_speed_slider", settings.pointerSpeed, "pointer_speed_value");
    ShowSlider("scroll_speed_slider", settings.wheelLines, "scroll_speed_value");
    ShowSlider("double_click_slider", settings.doubleClickTime, "double_click_value",
               Text(QT_TRID_NOOP("unit_ms")));
    for (const auto& [name, on] : {std::pair{"pointer_precision_check", settings.pointerPrecision},
                                   std::pair{"scrolls_page_check", settings.scrollByPage}}) {
        if (auto* check = PageControl<QAbstractButton>(QString::fromLatin1(name))) {
            const QSignalBlocker quiet(check);
            check->setChecked(on != 0);
        }
    }
    if (QWidget* tip = PageControl<QWidget>(QStringLiteral("device_tishi_info"))) {
        toolkit::SetControlText(
            tip, mouse.IsOpen() ? QString() : QStringLiteral(QT_TRID_NOOP("mouse_not_connected")));
    }
    ShowKeyTexts();
    MarkKeys(m_panels.SelectedKey());
}

void CKestravaMouseDevice::ShowDpiStage(int stage, int value) {
    if (!HasModel()) {
        return;
    }
    const bool active = stage == Mouse().ActiveStage();
    if (auto* slider = PageControl<QAbstractSlider>(Numbered("DPI_slider_", stage))) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
        if (slider->property("active").toBool() != active) {
            slider->setProperty("active", active);
            Repolish(slider);
        }
    }
    if (auto* edit = PageControl<QLineEdit>(Numbered("DPI_edit_", stage))) {
        const QSignalBlocker quiet(edit);
        edit->setText(QString::number(value));
        const std::uint32_t border = active ? kActiveStageBorder : kStageBorder;
        edit->setProperty("bordercolor", QColor::fromRgba(border));
        edit->setStyleSheet(QStringLiteral("border-color: %1;").arg(ArgbColour(border).name()));
    }
    if (auto* select = PageControl<QAbstractButton>(Numbered("DPI_select_check_", stage))) {
        const QSignalBlocker quiet(select);
        select->setChecked(active);
    }
    // The active stage cannot be switched off.
    if (QWidget* enable = PageControl<QWidget>(Numbered("DPI_enable_check_", stage))) {
        enable->setEnabled(!active);
    }
}

int CKestravaMouseDevice::ReadDpiSlider(int stage) const {
    const auto* slider = PageControl<QAbstractSlider>(Numbered("DPI_slider_", stage));
    return slider == nullptr ? 0 : devices::ClampDpi(slider->value());
}

int CKestravaMouseDevice::ReadDpiEdit(int stage) const {
    const auto* edit = PageControl<QLineEdit>(Numbered("DPI_edit_", stage));
    return edit == nullptr ? 0 : devices::ParseDpiText(edit->text().toStdString());
}

void CKestravaMouseDevice::SetDpiColour(int stage, std::uint32_t argb) {
    ChangeDpiColour(stage, argb);
}

std::uint32_t CKestravaMouseDevice::GetDpiColour(int stage) const {
    return HasModel() ? Mouse().GetDpiColour(stage) : 0;
}

profiles::MouseSystemSettings CKestravaMouseDevice::GetSettings() const {
    return HasModel() ? Mouse().GetSettings() : profiles::MouseSystemSettings{};
}

void CKestravaMouseDevice::SetSettings(const profiles::MouseSystemSettings& settings) {
    if (HasModel()) {
        Mouse().SetSettings(settings);
    }
}

void CKestravaMouseDevice::SelectSettingsTab(int tab) {
    if (auto* stack = PageControl<QStackedWidget>(QStringLiteral("mouse_device_seting_layout"))) {
        stack->setCurrentIndex(tab);
    }
    if (QWidget* options = PageControl<QWidget>(QStringLiteral("mouse_option_layout"))) {
        if (auto* option = qobject_cast<QAbstractButton*>(toolkit::FindSubControlByName(
                options, Numbered("mouse_device_seting_option_", tab)))) {
            const QSignalBlocker quiet(option);
            option->setChecked(true);
        }
    }
}

void CKestravaMouseDevice::ShowSlider(const char* name, int value, const char* valueLabel,
                                      const QString& unit) {
    if (auto* slider = PageControl<QAbstractSlider>(QString::fromLatin1(name))) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    }
    if (valueLabel != nullptr) {
        if (auto* label = PageControl<QLabel>(QString::fromLatin1(valueLabel))) {
            label->setText(unit.isEmpty() ? QString::number(value)
                                          : QString::number(value) + QLatin1Char(' ') + unit);
        }
    }
}

void CKestravaMouseDevice::ShowCombo(const char* name, int row) {
    if (auto* combo = PageControl<QComboBox>(QString::fromLatin1(name))) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
        combo->setProperty("_q407_previous_index", combo->currentIndex());
    }
}

QString CKestravaMouseDevice::FirmwareVersionText() const {
    if (!HasModel()) {
        return {};
    }
    const std::uint16_t version = Mouse().FirmwareVersion();
    return QStringLiteral("%1.%2").arg(version >> 8).arg(version & 0xFF, 2, 16, QLatin1Char('0'));
}

void CKestravaMouseDevice::ShowAbout() {
    const devices::MouseModel& mouse = Mouse();
    const auto show = [this](const char* name, const QString& text) {
        if (auto* label = PageControl<QLabel>(QString::fromLatin1(name))) {
            label->setText(text);
        }
    };
    if (const auto* title = PageControl<QLabel>(QStringLiteral("device_page_title"))) {
        show("about_product_value", title->text());
    }
    show("about_connection_value", Text(mouse.IsWireless() ? QT_TRID_NOOP("connection_receiver")
                                                           : QT_TRID_NOOP("connection_cable")));
    show("about_firmware_value", FirmwareVersionText());
    const devices::SensorInfo sensor = mouse.Sensor();
    show("about_sensor_value", sensor.model == 0 ? QStringLiteral("-")
                                                 : QStringLiteral("%1")
                                                       .arg(sensor.model, 4, 16, QLatin1Char('0'))
                                                       .toUpper()
                                                       .prepend(QStringLiteral("0x")));
}

// --- Keys and recoil -----------------------------------------------------------------------------

void CKestravaMouseDevice::ShowKeyTexts() {
    if (!HasModel()) {
        return;
    }
    const std::vector<profiles::KeyAssignmentEntry> keys = Mouse().GetKeyList();
    const std::vector<std::string> macros = m_panels.MacroNames();
    auto& resources = toolkit::ResourceManager::Instance();
    const QString keySet = resources.Text(QStringLiteral(QT_TRID_NOOP("Key_Set")));
    for (qsizetype i = 0; i < KeyButtons().size(); ++i) {
        QWidget* button = KeyButtons()[i];
        if (button == nullptr || static_cast<std::size_t>(i) >= keys.size()) {
            continue;
        }
        const auto& entry = keys[static_cast<std::size_t>(i)];
        const auto chosenOf = [&macros](const profiles::KeyFunctionBytes& code) {
            return ChooseKeyText({code[0], code[1], code[2]}, macros);
        };
        const KeyTextChoice chosen = chosenOf(entry.assignment);
        if (chosen.keep) {
            continue;
        }
        // The mouse's keys are named by where they sit; their factory function is the default.
        const QVariant place = button->property("tiptextid");
        const QString title = place.isValid() ? resources.Text(place.toString())
                                              : chosenOf(entry.defaultAssignment).text;
        button->setToolTip(
            QStringLiteral("<b>%1</b><br>%2 %3")
                .arg(title.toHtmlEscaped(), keySet.toHtmlEscaped(), chosen.text.toHtmlEscaped()));
        if (auto* key = qobject_cast<CDeviceKeyButtonUI*>(button)) {
            key->SetFactoryFunction(chosen.text.compare(chosenOf(entry.defaultAssignment).text,
                                                        Qt::CaseInsensitive) == 0);
        }
    }
}

void CKestravaMouseDevice::MarkKeys(int selected) {
    if (!HasModel()) {
        return;
    }
    for (qsizetype i = 0; i < KeyButtons().size(); ++i) {
        QWidget* button = KeyButtons()[i];
        if (button == nullptr) {
            continue;
        }
        if (auto* key = qobject_cast<CDeviceKeyButtonUI*>(button)) {
            key->SetMarked(Mouse().IsKeyChanged(static_cast<int>(i)));
            key->SetSelectedForEdit(i == selected);
        }
    }
}

void CKestravaMouseDevice::SelectKeyPanel(int panel) {
    if (auto* stack = PageControl<QStackedWidget>(QStringLiteral("mouse_key_panel_switch"))) {
        stack->setCurrentIndex(panel);
        toolkit::SizeStackToCurrentPage(stack);
    }
    for (int n = 0; n < 2; ++n) {
        if (auto* option = PageControl<QAbstractButton>(Numbered("mouse_key_panel_option_", n))) {
            editors::SetOptionSelected(option, n == panel);
        }
    }
}

int CKestravaMouseDevice::WriteRecoilTables() {
    editors::CShootControlUI* recoil = m_panels.ShootPanel();
    if (!HasModel() || recoil == nullptr) {
        return 0;
    }
    return Mouse().WriteRecoilImage(recoil->Tables().BuildImage());
}

// --- Setting changes -----------------------------------------------------------------------------

int CKestravaMouseDevice::ChangeDpiFromSlider(int stage) {
    if (!HasModel()) {
        return 0;
    }
    const int result = Mouse().SetDpiValue(stage, ReadDpiSlider(stage));
    ShowDpiStage(stage, Mouse().ShownDpi(stage));
    return result;
}

int CKestravaMouseDevice::CommitDpiEdit(int stage) {
    return ChangeDpiValue(stage, ReadDpiEdit(stage));
}

int CKestravaMouseDevice::ChangeDpiValue(int stage, int dpi) {
    if (!HasModel()) {
        return 0;
    }
    if (editors::CDeviceProfileUI* profiles = ProfilePanel()) {
        profiles->RefreshSelectedUUID();
    }
    const int result = Mouse().SetDpiValue(stage, dpi);
    RefreshPage();
    return result;
}

int CKestravaMouseDevice::ChangeStageEnabled(int stage, bool enabled) {
    const int result = HasModel() ? Mouse().SetStageEnabled(stage, enabled) : 0;
    RefreshPage();
    return result;
}

int CKestravaMouseDevice::ChangeActiveStage(int stage) {
    const int result = HasModel() ? Mouse().SelectActiveStage(stage) : 0;
    RefreshPage();
    return result;
}

int CKestravaMouseDevice::ChangeDpiColour(int stage, std::uint32_t argb) {
    const int result = HasModel() ? Mouse().SetDpiColour(stage, argb) : 0;
    RefreshPage();
    return result;
}

int CKestravaMouseDevice::ChangeReportRate(int choice) {
    const int result = HasModel() ? Mouse().SetReportRate(choice) : 0;
    RefreshPage();
    return result;
}

int CKestravaMouseDevice::ChangeSetting(MouseField field, int value) {
    const int result = HasModel() ? Mouse().SetSettingField(field, value) : 0;
    RefreshPage();
    return result;
}

int CKestravaMouseDevice::SliderValue(const char* name) const {
    const auto* slider = PageControl<QAbstractSlider>(QString::fromLatin1(name));
    return slider == nullptr ? -1 : slider->value();
}

int CKestravaMouseDevice::ComboRow(const char* name) const {
    const auto* combo = PageControl<QComboBox>(QString::fromLatin1(name));
    return combo == nullptr ? -1 : combo->currentIndex();
}

int CKestravaMouseDevice::PointerSpeedValue() const {
    return SliderValue("pointer_speed_slider");
}

int CKestravaMouseDevice::ScrollSpeedValue() const {
    return SliderValue("scroll_speed_slider");
}

int CKestravaMouseDevice::DoubleClickValue() const {
    return SliderValue("double_click_slider");
}

} // namespace q407::pages
