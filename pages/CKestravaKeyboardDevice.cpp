#include "pages/CKestravaKeyboardDevice.h"

#include "devices/KeyNames.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "pages/CMpDevicePowerUI.h"
#include "pages/PictureControls.h"
#include "profiles/CMacroLibrary.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"
#include "toolkit/WindowImplBase.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTextEdit>

namespace q407::pages {
namespace devices = q407::devices;
namespace profiles = q407::profiles;
using devices::KeyboardSwitch;

namespace {

constexpr unsigned kPowerShownMessage = 0x0D01;

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The key table's names of a code joined with "+", each in the current language.
QString JoinedText(const std::string& ids, CKestravaKeyboardDevice& page) {
    QStringList parts;
    for (const QString& id : FromUtf8(ids).split(QLatin1Char('+'), Qt::SkipEmptyParts)) {
        parts.append(page.TextOf(id));
    }
    return parts.join(QLatin1Char('+'));
}

} // namespace

CKestravaKeyboardDevice::CKestravaKeyboardDevice(QWidget* parent) : CKestravaUSBDevice(parent) {}

CKestravaKeyboardDevice::~CKestravaKeyboardDevice() {
    // The threads run the keyboard's engine: stop them while the keyboard part still exists.
    if (HasModel()) {
        Model().StopPageThreads();
    }
}

std::unique_ptr<devices::DeviceModel>
CKestravaKeyboardDevice::MakeModel(q407::hid::HidBackend& backend) {
    return std::make_unique<devices::KeyboardModel>(backend);
}

devices::KeyboardModel& CKestravaKeyboardDevice::Keyboard() {
    return static_cast<devices::KeyboardModel&>(Model());
}

const devices::KeyboardModel& CKestravaKeyboardDevice::Keyboard() const {
    return static_cast<const devices::KeyboardModel&>(Model());
}

QString CKestravaKeyboardDevice::TextOf(const QString& id) {
    if (auto* label = PageControl<QLabel>(QStringLiteral("text_test"))) {
        toolkit::SetControlText(label, id);
        return label->text();
    }
    return toolkit::ResourceManager::Instance().Text(id);
}

CDeviceKeyButtonUI* CKestravaKeyboardDevice::KeyButton(int key) const {
    return key >= 0 && key < KeyButtons().size()
               ? qobject_cast<CDeviceKeyButtonUI*>(KeyButtons()[key].data())
               : nullptr;
}

CDeviceKeyButtonUI* CKestravaKeyboardDevice::LightButton(int key) const {
    return key >= 0 && key < LightButtons().size()
               ? qobject_cast<CDeviceKeyButtonUI*>(LightButtons()[key].data())
               : nullptr;
}

// --- Building ------------------------------------------------------------------------------------

void CKestravaKeyboardDevice::InitPage() {
    BuildPage();
}

void CKestravaKeyboardDevice::BuildPage() {
    if (!HasModel()) {
        return;
    }
    if (Model().PageXml().empty()) {
        CKestravaUSBDevice::InitPage();
        return;
    }
    // The keys and lights of the picture, white until the engine has a frame.
    m_picture = PageControl<QWidget>(QStringLiteral("keyboard_device_key_light"));
    BindPictureButtons(m_picture);

    devices::KeyboardModel& keyboard = Keyboard();
    if (editors::CDeviceProfileUI* panel = ProfilePanel()) {
        panel->SetDeviceKind(devices::kKindKeyboard);
        panel->SetProfilePaths(keyboard.GetProfileFolder(), keyboard.GetDefaultProfilePath());
        panel->InitProfiles();
        panel->SelectFeatureTab(kFirstFeature);
        keyboard.SetProfileUuid(panel->GetSelectedUUID());
    }
    SelectFeaturePage(kFirstFeature);
    LoadNameLists();
    // Under the wide picture the lighting panel's two groups stand side by side,
    if (editors::CLightControlUI* light = LightPanel()) {
        if (QWidget* root =
                toolkit::FindSubControlByName(light, QStringLiteral("light_control_root"))) {
            if (auto* box = qobject_cast<QBoxLayout*>(root->layout())) {
                box->setDirection(QBoxLayout::LeftToRight);
            }
        }
        // and keep their rows close, so every mode's settings fit under the picture.
        for (const char* group : {"lighteffect_layout", "light_color_layout"}) {
            if (QWidget* frame = toolkit::FindSubControlByName(light, QString::fromLatin1(group))) {
                if (QLayout* rows = frame->layout()) {
                    rows->setSpacing(6);
                    rows->setContentsMargins(10, 8, 10, 8);
                }
            }
        }
    }
    // The key assignment panel waits hidden until a key is chosen.
    if (QWidget* keys = PageControl<QWidget>(QStringLiteral("KeySetControlItem"))) {
        keys->hide();
    }
    if (auto* test = PageControl<QWidget>(QStringLiteral("repeat_input_richedit"))) {
        test->setToolTip(TextOf(QStringLiteral(QT_TRID_NOOP("Repeat_input_text"))));
        if (auto* plain = qobject_cast<QPlainTextEdit*>(test)) {
            plain->setPlaceholderText(TextOf(QStringLiteral(QT_TRID_NOOP("Repeat_input_text"))));
        } else if (auto* edit = qobject_cast<QLineEdit*>(test)) {
            edit->setPlaceholderText(TextOf(QStringLiteral(QT_TRID_NOOP("Repeat_input_text"))));
        }
    }
    // Until the keyboard has been read, the page shows the selected profile.
    keyboard.UpdateProfilePaths();
    keyboard.LoadProfile();
    RefreshPage();
    ShowLightSettings();
}

void CKestravaKeyboardDevice::LoadNameLists() {
    if (!HasModel()) {
        return;
    }
    const devices::NameLists lists = Keyboard().LoadNameLists();
    if (editors::CLightControlUI* light = LightPanel()) {
        light->SetDeviceKind(devices::kKindKeyboard);
        light->InitModeList(lists.lightNames, lists.lightVisible, 4, 4);
    }
}

// --- Device interface ----------------------------------------------------------------------------

void CKestravaKeyboardDevice::Activate() {
    if (!HasModel()) {
        return;
    }
    devices::KeyboardModel& keyboard = Keyboard();
    if (editors::CDeviceProfileUI* panel = ProfilePanel()) {
        keyboard.SetProfileUuid(panel->GetSelectedUUID());
    }
    keyboard.UpdateProfilePaths();
    const int read = keyboard.IsOpen() ? keyboard.ReadKeyTables() : 0;
    keyboard.LoadProfile();
    if (read == 1) {
        keyboard.ReadSettingsBlock();
    }
    RefreshPage();
    ShowLightSettings();
    ShowAbout();
    if (keyboard.IsOpen() && !keyboard.IsLightThreadRunning()) {
        keyboard.StartLightThread();
    }
}

void CKestravaKeyboardDevice::OnProfileSelected() {
    if (!HasModel()) {
        return;
    }
    // The keyboard switched profile by itself, or asks to be read again: the list may have
    // changed, so the profile is taken afresh before the keyboard's block.
    devices::KeyboardModel& keyboard = Keyboard();
    if (editors::CDeviceProfileUI* panel = ProfilePanel()) {
        panel->ReloadProfileCombo();
        keyboard.SetProfileUuid(panel->GetSelectedUUID());
    }
    keyboard.LoadProfile();
    ClearKeyMarks();
    keyboard.ReadSettingsBlock();
    RefreshPage();
    ShowLightSettings();
}

void CKestravaKeyboardDevice::OnDeviceButtons(int slot, int stage) {
    (void)slot;
    (void)stage;
    OnProfileSelected();
}

void CKestravaKeyboardDevice::PollPower() {
    if (!HasModel()) {
        return;
    }
    const auto state = Keyboard().PollPowerState();
    if (!state) {
        return;
    }
    if (CMpDevicePowerUI* indicator = PowerIndicator()) {
        indicator->SetPowerState(*state, devices::kKindKeyboard);
    }
    if (toolkit::WindowImplBase* window = MainWindow()) {
        window->PostMessage(kPowerShownMessage, (*state)[4]);
    }
}

void CKestravaKeyboardDevice::ResetToDefault() {
    if (!HasModel()) {
        return;
    }
    Keyboard().ResetProfileToDefault();
    RefreshPage();
    ShowLightSettings();
}

int CKestravaKeyboardDevice::ApplySelectedProfile() {
    if (!HasModel()) {
        return 0;
    }
    devices::KeyboardModel& keyboard = Keyboard();
    if (editors::CDeviceProfileUI* panel = ProfilePanel()) {
        panel->SelectProfile(panel->GetSelectedIndex());
        keyboard.SetProfileUuid(panel->GetSelectedUUID());
    }
    keyboard.UpdateProfilePaths();
    keyboard.LoadProfile();
    RefreshPage();
    ShowLightSettings();
    if (!keyboard.IsOpen()) {
        return 0; // nothing to write to; the profile is used when the keyboard comes back
    }
    if (keyboard.WriteSettingsBlock(0, 0) != 1) {
        return -1;
    }
    if (QWidget* keys = PageControl<QWidget>(QStringLiteral("KeySetControlItem"))) {
        keys->hide();
    }
    const int image = keyboard.WriteMacroImage(keyboard.CollectUsedMacros());
    if (image != 0) {
        return image < 0 ? -1 : image;
    }
    if (keyboard.WriteCurrentKeyTable(&keyboard.Profile()) != 1) {
        return -1;
    }
    keyboard.ReloadCustomGroup();
    ClearKeyMarks();
    RebuildKeyTexts();
    return 0;
}

void CKestravaKeyboardDevice::SelectFeaturePage(int page) {
    CKestravaUSBDevice::SelectFeaturePage(page);
    // Only the page shown counts for the room the feature area asks: a page not shown (and not
    // yet styled) never widens the window.
    for (const char* name : {"device_function_switch", "device_key_function_switch"}) {
        if (auto* stack = PageControl<QStackedWidget>(QString::fromLatin1(name))) {
            for (int i = 0; i < stack->count(); ++i) {
                const auto policy =
                    i == stack->currentIndex() ? QSizePolicy::Preferred : QSizePolicy::Ignored;
                stack->widget(i)->setSizePolicy(policy, policy);
            }
        }
    }
    // FN switches the keyboard's own layer: it can be pressed on the lighting tab, never
    // reassigned on the keys tab.
    if (CDeviceKeyButtonUI* fn = KeyButton(devices::kFnKey)) {
        if (page == kLightingFeature) {
            fn->setEnabled(true);
        } else if (page == kKeysFeature) {
            fn->setEnabled(false);
        }
    }
    RenderPreview();
}

void CKestravaKeyboardDevice::RenderPreview() {
    if (!HasModel()) {
        return;
    }
    // The lights show the engine's frame on the lighting tab; elsewhere the caps stay dark so
    // their texts read well.
    const bool shown = Model().GetFeaturePage() == kLightingFeature && Model().LightOutput();
    const devices::KeyboardLightEngine::Frame frame = Keyboard().Frame();
    const qsizetype count = std::min<qsizetype>(LightButtons().size(), qsizetype(frame.size()));
    for (qsizetype i = 0; i < count; ++i) {
        CDeviceKeyButtonUI* button = LightButton(static_cast<int>(i));
        if (button == nullptr) {
            continue;
        }
        const devices::LedColour& led = frame[static_cast<std::size_t>(i)];
        if (shown && !button->isHidden()) {
            button->SetLight(led.red | static_cast<std::uint32_t>(led.blue) << 8 |
                                 static_cast<std::uint32_t>(led.green) << 16,
                             led.level, true);
        } else {
            button->SetLight(0, 0, true);
        }
    }
}

// --- Showing the settings ------------------------------------------------------------------------

void CKestravaKeyboardDevice::RefreshPage() {
    if (!HasModel()) {
        return;
    }
    LoadNameLists();
    RebuildKeyTexts();
    ShowLightSettings();
    ShowSystemSettings();
    if (QWidget* tip = PageControl<QWidget>(QStringLiteral("device_tishi_info"))) {
        toolkit::SetControlText(tip, Keyboard().IsOpen()
                                         ? QString()
                                         : QStringLiteral(QT_TRID_NOOP("keyboard_not_connected")));
        tip->setVisible(!Keyboard().IsOpen());
    }
}

void CKestravaKeyboardDevice::RefreshKeyAssignments() {
    if (HasModel() && Keyboard().ResetOrphanMacroKeys()) {
        RebuildKeyTexts();
    }
    LoadNameLists();
}

void CKestravaKeyboardDevice::ShowSystemSettings() {
    const profiles::KeyboardSystemSettings settings = Keyboard().GetSystemSettings();
    for (const auto& [name, on] : {std::pair{"winlockflag_option", settings.winFlag},
                                   std::pair{"wflag_option", settings.wFlag},
                                   std::pair{"6flag_option", settings.key6Flag}}) {
        if (auto* option = PageControl<QAbstractButton>(QString::fromLatin1(name))) {
            const QSignalBlocker quiet(option);
            option->setChecked(on != 0);
        }
    }
    const int delay = devices::ShownOption(settings.repeatDelay, 3);
    ShowNumberedOption(QStringLiteral("repeat_delay_check_"), delay, 3);
    if (auto* label = PageControl<QLabel>(QStringLiteral("repeat_delay_time_label1"))) {
        label->setText(TextOf(QStringLiteral(QT_TRID_NOOP("Repeat_Delay_Time"))) +
                       QLatin1Char(' ') + QString::number(devices::RepeatDelayMs(delay)) +
                       QStringLiteral("ms"));
    }
    if (auto* slider = PageControl<QAbstractSlider>(QStringLiteral("repeat_rate_slider"))) {
        const QSignalBlocker quiet(slider);
        slider->setValue(settings.repeat);
    }
    if (auto* value = PageControl<QLabel>(QStringLiteral("repeat_rate_value"))) {
        value->setText(QString::number(settings.repeat));
    }
    ShowNumberedOption(QStringLiteral("polling_rate_option_"),
                       devices::ShownOption(settings.pollingRate, 4), 4);
}

void CKestravaKeyboardDevice::ShowLightSettings() {
    CKestravaUSBDevice::ShowLightSettings();
    if (editors::CLightControlUI* light = LightPanel(); light != nullptr && HasModel()) {
        light->SelectCustomMode(LightRecord().customGroup);
    }
}

void CKestravaKeyboardDevice::ShowAbout() {
    const devices::KeyboardModel& keyboard = Keyboard();
    const auto show = [this](const char* name, const QString& text) {
        if (auto* label = PageControl<QLabel>(QString::fromLatin1(name))) {
            label->setText(text);
        }
    };
    if (const auto* title = PageControl<QLabel>(QStringLiteral("device_page_title"))) {
        show("about_product_value", title->text());
    }
    show("about_connection_value",
         TextOf(QString::fromLatin1(keyboard.IsWireless() ? QT_TRID_NOOP("connection_receiver")
                                                          : QT_TRID_NOOP("connection_cable"))));
    const auto& info = keyboard.Tables().deviceInfo;
    show("about_firmware_value",
         QStringLiteral("%1.%2").arg(info[0]).arg(info[1], 2, 16, QLatin1Char('0')));
    show("about_keys_value", QString::number(keyboard.KeyPositions()));
}

// --- Keys ----------------------------------------------------------------------------------------

void CKestravaKeyboardDevice::RebuildKeyTexts() {
    if (!HasModel()) {
        return;
    }
    const devices::KeyboardModel& keyboard = Keyboard();
    const std::vector<profiles::KeyAssignmentEntry> keys = keyboard.GetKeyList();
    std::vector<profiles::MacroInfo> macros;
    if (const std::filesystem::path folder = keyboard.GetProfileFolder(); !folder.empty()) {
        macros = profiles::CMacroLibrary(folder).Load();
    }
    const QString keySet = TextOf(QStringLiteral(QT_TRID_NOOP("Key_Set")));
    for (int i = 0; i < static_cast<int>(devices::kb::kUsedKeys); ++i) {
        CDeviceKeyButtonUI* button = KeyButton(i);
        if (button == nullptr) {
            continue;
        }
        const QString factory = JoinedText(devices::LogicalKeyNameId(i), *this);
        QString chosen = factory;
        if (static_cast<std::size_t>(i) < keys.size()) {
            const auto& code = keys[static_cast<std::size_t>(i)].assignment;
            const devices::KeyFunctionCode function{code[0], code[1], code[2]};
            if (function.category == 0x70 || function.category == 0x71) {
                chosen = function.param1 < macros.size() ? FromUtf8(macros[function.param1].name)
                                                         : QString();
            } else if (const std::string ids = devices::KeyFunctionTextIds(function);
                       !ids.empty()) {
                chosen = JoinedText(ids, *this);
            } else if (const std::string id = devices::KeyNameId(function); !id.empty()) {
                chosen = TextOf(FromUtf8(id));
            }
        }
        button->setToolTip(
            QStringLiteral("<b>%1</b><br>%2 %3")
                .arg(factory.toHtmlEscaped(), keySet.toHtmlEscaped(), chosen.toHtmlEscaped()));
        button->SetFactoryFunction(chosen.compare(factory, Qt::CaseInsensitive) == 0);
    }
    // The picture draws its keys itself: their texts may have changed with the language.
    if (m_picture != nullptr) {
        m_picture->update();
    }
    // The texts of the system settings follow the language too.
    ShowSystemSettings();
}

void CKestravaKeyboardDevice::OnKeyClicked(int key) {
    if (!HasModel()) {
        return;
    }
    if (Model().GetFeaturePage() == kLightingFeature) {
        if (Keyboard().GetLightParams().mode == devices::kCustomColourMode) {
            Keyboard().PaintCustomKey(key, PanelColour());
        }
        return;
    }
    SelectKey(key);
}

void CKestravaKeyboardDevice::SelectKey(int key) {
    if (!HasModel()) {
        return;
    }
    m_selectedKey = key;
    Model().SelectKey(key);
    if (QWidget* keys = PageControl<QWidget>(QStringLiteral("KeySetControlItem"))) {
        keys->show();
    }
    for (int i = 0; i < KeyButtons().size(); ++i) {
        if (CDeviceKeyButtonUI* button = KeyButton(i)) {
            button->SetMarked(Keyboard().IsKeyChanged(i));
            button->SetSelectedForEdit(i == key);
        }
    }
}

void CKestravaKeyboardDevice::ClearKeyMarks() {
    m_selectedKey = -1;
    for (int i = 0; i < KeyButtons().size(); ++i) {
        if (CDeviceKeyButtonUI* button = KeyButton(i)) {
            button->SetMarked(true);
            button->SetSelectedForEdit(false);
            button->SetRubberBandSelected(false);
        }
    }
}

int CKestravaKeyboardDevice::PaintSelectedKeys() {
    if (!HasModel() || Keyboard().GetLightParams().mode != devices::kCustomColourMode) {
        return 0;
    }
    std::vector<int> selected;
    for (int i = 0; i < KeyButtons().size(); ++i) {
        CDeviceKeyButtonUI* button = KeyButton(i);
        if (button != nullptr && button->IsRubberBandSelected()) {
            selected.push_back(i);
            button->SetRubberBandSelected(false);
        }
    }
    Keyboard().PaintCustomKeys(selected, PanelColour());
    return static_cast<int>(selected.size());
}

q407::devices::Rgb CKestravaKeyboardDevice::PanelColour() {
    const editors::CLightControlUI* light = LightPanel();
    const std::uint32_t argb = light != nullptr ? light->GetPaletteColour() : 0xFFFFFFFFu;
    return {static_cast<std::uint8_t>((argb >> 16) & 0xFF),
            static_cast<std::uint8_t>((argb >> 8) & 0xFF), static_cast<std::uint8_t>(argb & 0xFF)};
}

// --- System settings -----------------------------------------------------------------------------

int CKestravaKeyboardDevice::ChangeSwitch(KeyboardSwitch which, bool on) {
    const int result = HasModel() ? Keyboard().SetSwitch(which, on) : 0;
    ShowSystemSettings();
    return result;
}

int CKestravaKeyboardDevice::ChangeRepeatDelay(int option) {
    const int result = HasModel() ? Keyboard().SetRepeatDelay(option) : 0;
    ShowSystemSettings();
    return result;
}

int CKestravaKeyboardDevice::ChangeRepeatRate(int rate) {
    const int result = HasModel() ? Keyboard().SetRepeatRate(rate) : 0;
    ShowSystemSettings();
    return result;
}

void CKestravaKeyboardDevice::ResetRepeatTest() {
    QWidget* test = PageControl<QWidget>(QStringLiteral("repeat_input_richedit"));
    if (auto* plain = qobject_cast<QPlainTextEdit*>(test)) {
        plain->clear();
    } else if (auto* rich = qobject_cast<QTextEdit*>(test)) {
        rich->clear();
    } else if (auto* edit = qobject_cast<QLineEdit*>(test)) {
        edit->clear();
    }
}

// --- Lighting panel actions ----------------------------------------------------------------------

int CKestravaKeyboardDevice::ChangeCustomGroup(int group) {
    if (!HasModel() || group < 0 || group > 0xFF) {
        return 0;
    }
    devices::KeyboardModel& keyboard = Keyboard();
    keyboard.SelectCustomGroup(group);
    const int written = keyboard.WriteConfig(0, 0, 1, 0, 0);
    keyboard.ReloadCustomGroup();
    return written;
}

int CKestravaKeyboardDevice::FillCustomColours(bool withPanelColour) {
    if (!HasModel()) {
        return 0;
    }
    return Keyboard().FillCustomColours(withPanelColour ? PanelColour() : devices::Rgb{});
}

// --- Music-mode inputs ---------------------------------------------------------------------------

void CKestravaKeyboardDevice::SetMusicLevels(std::span<const std::int32_t> levels) {
    if (HasModel()) {
        Keyboard().SetMusicLevels(levels);
    }
}

void CKestravaKeyboardDevice::SetColourInput(std::span<const std::int32_t> values) {
    if (HasModel()) {
        Keyboard().SetColourInput(values);
    }
}

} // namespace q407::pages
