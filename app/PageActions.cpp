#include "app/PageActions.h"

#include "app/CMainWnd.h"
#include "common/Diag.h"
#include "devices/SharedLightEffect.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "pages/CKestravaHS6533Device.h"
#include "pages/CKestravaKeyboardDevice.h"
#include "pages/CKestravaMouseDevice.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QLineEdit>

namespace q407::app {
namespace {

using q407::devices::MouseField;

// Settings that a numbered option group or a slider or combo sets, by control name.
struct SettingRow {
    const char* name;
    MouseField field;
};

constexpr SettingRow kOptionSettings[] = {
    {"Silent_Altitude_option_", MouseField::LiftOff},
    {"deep_sleep_option_", MouseField::DeepSleep},
    {"Linear_Calibration_option_", MouseField::AngleSnapping},
    {"motion_sync_option_", MouseField::MotionSync},
    {"sensor_lif_option_", MouseField::SensorLift},
};

constexpr SettingRow kSliderSettings[] = {
    {"Dormancy_slider", MouseField::Dormancy},
    {"Key_Delay_slider", MouseField::Debounce},
    {"pointer_speed_slider", MouseField::PointerSpeed},
    {"scroll_speed_slider", MouseField::WheelLines},
    {"double_click_slider", MouseField::DoubleClickTime},
};

constexpr SettingRow kComboSettings[] = {
    {"Dormancy_combo_timeSelect", MouseField::Dormancy},
    {"Key_Delay_combo_timeSelect", MouseField::Debounce},
    {"Anti_Shake_combo_timeSelect", MouseField::AntiShake},
};

// The feature tabs and the feature page each one shows.
struct FeatureTabRow {
    const char* name;
    int feature;
};
constexpr FeatureTabRow kFeatureTabs[] = {
    {"deng_Op_tab", 1},   {"key_Op_tab", 2},         {"macro_Op_tab", 3}, {"system_Op_tab", 4},
    {"cursor_Op_tab", 5}, {"6533_voice_Op_tab", 6},  {"magic_Op_tab", 7}, {"performance_Op_tab", 8},
    {"About_Op_tab", 9},  {"Virtual7.1_Op_tab", 10},
};

const char* const kColourEdits[] = {"deng_edit_R", "deng_edit_G", "deng_edit_B"};
const char* const kAudioColourEdits[] = {"deng_audioedit_R", "deng_audioedit_G",
                                         "deng_audioedit_B"};

// The keyboard's three switches by option name.
struct SwitchRow {
    const char* name;
    q407::devices::KeyboardSwitch which;
};
constexpr SwitchRow kKeyboardSwitches[] = {
    {"winlockflag_option", q407::devices::KeyboardSwitch::WinLock},
    {"wflag_option", q407::devices::KeyboardSwitch::WFlag},
    {"6flag_option", q407::devices::KeyboardSwitch::Key6},
};

bool Is(const QString& name, const char* row) {
    return name == QLatin1String(row);
}

} // namespace

pages::CKestravaUSBDevice* PageActions::Page() const {
    return m_window.SelectedPage();
}

editors::CDeviceProfileUI* PageActions::ProfilePanel() const {
    pages::CKestravaUSBDevice* page = Page();
    return page != nullptr ? page->ProfilePanel() : nullptr;
}

editors::CLightControlUI* PageActions::LightPanel() const {
    pages::CKestravaUSBDevice* page = Page();
    return page != nullptr ? page->LightPanel() : nullptr;
}

pages::CKestravaHS6533Device* PageActions::Headset() const {
    return qobject_cast<pages::CKestravaHS6533Device*>(Page());
}

pages::CKestravaMouseDevice* PageActions::Mouse() const {
    return qobject_cast<pages::CKestravaMouseDevice*>(Page());
}

pages::CKestravaKeyboardDevice* PageActions::Keyboard() const {
    return qobject_cast<pages::CKestravaKeyboardDevice*>(Page());
}

bool ConfirmText(QWidget& owner, const char* textId) {
    return toolkit::GetDialogs().MessageBox(&owner, QString(), QString::fromLatin1(textId), true,
                                            1) == 1;
}

void TellText(QWidget& owner, const QString& textId, int value) {
    QString text = toolkit::ResourceManager::Instance().Text(textId);
    if (text.contains(QLatin1String("%d"))) {
        text.replace(QLatin1String("%d"), QString::number(value));
    }
    toolkit::GetDialogs().MessageBox(&owner, QString(), text, false, 0);
}

bool PageActions::Confirm(const char* textId) const {
    return ConfirmText(m_window, textId);
}

void PageActions::Tell(const QString& textId, int value) const {
    TellText(m_window, textId, value);
}

bool PageActions::Handle(const toolkit::TNotifyUI& msg) {
    const QString name = msg.SenderName();
    const auto [prefix, n] = SplitNumberedName(name);
    if (OnAudioLight(msg.sType, prefix, n)) {
        return true;
    }
    if (msg.sType == QLatin1String("click")) {
        return OnClick(prefix, n);
    }
    if (msg.sType == QLatin1String("selectchanged")) {
        return OnSelect(prefix, n, msg.wParam != 0);
    }
    if (msg.sType == QLatin1String("valuechanged") ||
        msg.sType == QLatin1String("movevaluechanged")) {
        return OnValue(prefix, n, static_cast<int>(msg.wParam),
                       msg.sType == QLatin1String("movevaluechanged"));
    }
    if (msg.sType == QLatin1String("itemselect")) {
        // A profile deleted through the device API on a page not shown: the API applies it.
        if (Is(name, "device_profile_combo") &&
            (Page() == nullptr || !Page()->isAncestorOf(msg.pSender))) {
            return true;
        }
        return OnItem(name, static_cast<int>(msg.wParam));
    }
    if (msg.sType == QLatin1String("killfocus")) {
        return OnKillFocus(prefix, n);
    }
    if (msg.sType == QLatin1String("colorchanged")) {
        return OnColour(name);
    }
    if (msg.sType == QLatin1String("click_select_end")) {
        return OnSelectEnd(name);
    }
    return false;
}

// --- The audio page ----------------------------------------------------------------------------

bool PageActions::OnAudioLight(const QString& type, const QString& prefix, int n) {
    const auto is = [&](const char* notification, const char* control) {
        return type == QLatin1String(notification) && Is(prefix, control);
    };
    const bool modeOrSeven = n < 0 && (is("itemselect", "light_combo_AudiomodeSelect") ||
                                       is("selectchanged", "deng_7audiocolor_check"));
    const bool side = n < 0 && (is("selectchanged", "audio_BkColor_check") ||
                                is("selectchanged", "audio_FgColor_check"));
    const bool palette = n < 0 && is("colorchanged", "deng_audioColor_Pallet");
    const bool preset = n >= 0 && is("click", "audiocolor_option_");
    const bool noBackground = n < 0 && is("click", "Close_bkColor_btn");
    int edited = -1;
    for (int component = 0; component < 3 && n < 0; ++component) {
        if (is("killfocus", kAudioColourEdits[component])) {
            edited = component;
        }
    }
    if (!modeOrSeven && !side && !palette && !preset && !noBackground && edited < 0) {
        return false;
    }
    pages::CKestravaUSBDevice* page = Page();
    editors::CLightControlUI* light = page != nullptr ? page->LightPanel() : nullptr;
    if (light == nullptr) {
        return true;
    }
    // Choosing a side keeps both colours; typing reads the edit, not the button.
    const bool takeColour = !side && edited < 0;
    q407::profiles::AudioLightInfo record = light->GetAudioLightInfo(takeColour);
    const bool foreground = record.colourType != 0;
    std::uint8_t* shown[] = {foreground ? &record.foregroundRed : &record.backgroundRed,
                             foreground ? &record.foregroundGreen : &record.backgroundGreen,
                             foreground ? &record.foregroundBlue : &record.backgroundBlue};
    const auto setShown = [&](std::uint32_t argb) {
        const std::uint8_t components[] = {static_cast<std::uint8_t>((argb >> 16) & 0xFF),
                                           static_cast<std::uint8_t>((argb >> 8) & 0xFF),
                                           static_cast<std::uint8_t>(argb & 0xFF)};
        bool changed = false;
        for (int c = 0; c < 3; ++c) {
            changed = changed || *shown[c] != components[c];
            *shown[c] = components[c];
        }
        return changed;
    };
    if (palette) {
        // The seven colours stay only while the foreground keeps its colour.
        if (setShown(light->GetAudioPaletteColour()) && foreground) {
            record.sevenColours = 0;
        }
    } else if (preset) {
        setShown(light->GetPresetAudioColour(n));
        if (foreground) {
            record.sevenColours = 0;
        }
    } else if (edited >= 0) {
        *shown[edited] = static_cast<std::uint8_t>(std::max(0, light->AudioColourValue(edited)));
        if (foreground) {
            record.sevenColours = 0;
        }
    } else if (noBackground) {
        record.backgroundRed = record.backgroundGreen = record.backgroundBlue = 0;
    }
    // A typed value above 255 is stored as 255, but the edit keeps what was typed.
    const QString typed = edited >= 0 ? light->GetAudioColourText(edited) : QString();
    page->ApplyAudioLightRecord(record);
    if (edited >= 0) {
        light->SetAudioColourText(edited, typed);
    }
    return true;
}

// --- Click table ---------------------------------------------------------------------------------

bool PageActions::OnClick(const QString& prefix, int n) {
    pages::CKestravaUSBDevice* page = Page();
    if (n >= 0) {
        if (Is(prefix, "key_")) {
            if (pages::CKestravaKeyboardDevice* keyboard = Keyboard()) {
                keyboard->OnKeyClicked(n);
            } else if (page != nullptr && page->HasModel()) {
                page->Model().SelectKey(n);
            }
            return true;
        }
        if (Is(prefix, "color_option_")) {
            if (editors::CLightControlUI* light = LightPanel()) {
                ApplyColour(light->GetPresetColour(n), true);
            }
            return true;
        }
        if (Is(prefix, "DPI_color_option_")) {
            if (pages::CKestravaMouseDevice* mouse = Mouse()) {
                const auto chosen = toolkit::GetDialogs().PickColor(
                    &m_window, QColor::fromRgba(mouse->GetDpiColour(n)));
                if (chosen) {
                    mouse->ChangeDpiColour(n, chosen->rgba() | 0xFF000000u);
                }
            }
            return true;
        }
        if (Is(prefix, "DPI_edit_")) {
            return true; // typing is committed when the box loses focus
        }
        return false;
    }
    const QString& name = prefix;
    if (Is(name, "default_btn")) {
        if (page != nullptr && page->HasModel() && Confirm(QT_TRID_NOOP("message_text_22"))) {
            page->ResetToDefault();
            page->Model().WriteConfig(0, 0, 1, 0, 0);
        }
    } else if (Is(name, "device_add_btn")) {
        AddProfile();
    } else if (Is(name, "device_sub_btn")) {
        DeleteProfile();
    } else if (Is(name, "device_copy_btn")) {
        CopyProfile();
    } else if (Is(name, "device_import_btn")) {
        ImportProfile();
    } else if (Is(name, "device_export_btn")) {
        ExportProfile();
    } else if (Is(name, "device_reset_btn")) {
        ResetProfile();
    } else if (Is(name, "device_profile_edit_save_btn")) {
        RenameProfile();
    } else if (Is(name, "reset_repeat_btn")) {
        if (pages::CKestravaKeyboardDevice* keyboard = Keyboard()) {
            keyboard->ResetRepeatTest();
        }
    } else if (Is(name, "custom_bright_color_btn") || Is(name, "custom_off_color_btn")) {
        if (pages::CKestravaKeyboardDevice* keyboard = Keyboard()) {
            keyboard->FillCustomColours(Is(name, "custom_bright_color_btn"));
        }
    } else if (Is(name, "hs_EQ_btn_save")) {
        if (pages::CKestravaHS6533Device* headset = Headset();
            headset != nullptr && headset->SaveCustomEq() == 0) {
            Tell(QStringLiteral(QT_TRID_NOOP("message_text_5")));
        }
    } else if (Is(name, "hs_EQ_btn_delete")) {
        if (pages::CKestravaHS6533Device* headset = Headset()) {
            headset->DeleteCustomEq();
        }
    } else if (Is(name, "deng_same_mode")) {
        ShareSelectedLighting();
    } else if (Is(name, "profile_fun_spread_btn")) {
        if (editors::CDeviceProfileUI* panel = ProfilePanel()) {
            panel->ShowProfileMenu(!panel->IsProfileMenuVisible());
        }
    } else {
        return false;
    }
    return true;
}

// --- Select table --------------------------------------------------------------------------------

bool PageActions::OnHeadsetSelect(const QString& prefix, int n, bool checked) {
    pages::CKestravaHS6533Device* headset = Headset();
    if (n >= 0 && (Is(prefix, "6533_eq_option_") || Is(prefix, "magic_option_"))) {
        // Choosing one option unselects the one before; only the chosen one acts.
        if (headset != nullptr && checked) {
            Is(prefix, "magic_option_") ? headset->ChangeMagicType(n) : headset->SelectEqPreset(n);
        }
        return true;
    }
    if (n >= 0) {
        return false;
    }
    if (Is(prefix, "magic_enable_option")) {
        if (headset != nullptr) {
            headset->ChangeMagicEnable();
        }
    } else if (Is(prefix, "6533_MicIn_option")) {
        if (headset != nullptr) {
            headset->ToggleMicMute();
        }
    } else if (Is(prefix, "6533_MicMoniter_option")) {
        if (headset != nullptr) {
            headset->ToggleMonitorMute();
        }
    } else {
        return false;
    }
    return true;
}

bool PageActions::OnSelect(const QString& prefix, int n, bool checked) {
    if (OnHeadsetSelect(prefix, n, checked)) {
        return true;
    }
    for (const FeatureTabRow& tab : kFeatureTabs) {
        if (n < 0 && Is(prefix, tab.name)) {
            if (checked) {
                ShowFeature(tab.feature);
            }
            return true;
        }
    }
    pages::CKestravaUSBDevice* page = Page();
    editors::CLightControlUI* light = page != nullptr ? page->LightPanel() : nullptr;
    if (n < 0 && (Is(prefix, "deng_FXL_check") || Is(prefix, "deng_FXR_check") ||
                  Is(prefix, "deng_7color_check"))) {
        if (light == nullptr || (!checked && !Is(prefix, "deng_7color_check"))) {
            return true;
        }
        StopFollowing(page);
        q407::profiles::LightInfo record = page->LightRecord();
        if (Is(prefix, "deng_7color_check")) {
            record.multiColor = light->GetMultiColour() ? 1 : 0;
        } else {
            const bool left = Is(prefix, "deng_FXL_check");
            light->SetDirection(left);
            record.direction = left ? 1 : 0;
        }
        page->ApplyLightRecord(record);
        return true;
    }

    pages::CKestravaMouseDevice* mouse = Mouse();
    pages::CKestravaKeyboardDevice* keyboard = Keyboard();
    if (n < 0) {
        for (const SwitchRow& row : kKeyboardSwitches) {
            if (Is(prefix, row.name)) {
                if (keyboard != nullptr) {
                    keyboard->ChangeSwitch(row.which, checked);
                }
                return true;
            }
        }
    }
    if (n >= 0) {
        if (Is(prefix, "repeat_delay_check_")) {
            if (keyboard != nullptr && checked) {
                keyboard->ChangeRepeatDelay(n);
            }
            return true;
        }
        if (Is(prefix, "DPI_enable_check_")) {
            if (mouse != nullptr) {
                mouse->ChangeStageEnabled(n, checked);
            }
            return true;
        }
        if (Is(prefix, "DPI_select_check_")) {
            if (mouse != nullptr) {
                if (checked) {
                    mouse->ChangeActiveStage(n);
                } else {
                    mouse->RefreshPage(); // the active stage stays selected
                }
            }
            return true;
        }
        if (Is(prefix, "mouse_device_seting_option_")) {
            if (mouse != nullptr && checked) {
                mouse->SelectSettingsTab(n);
            }
            return true;
        }
        if (Is(prefix, "polling_rate_option_")) {
            if (mouse != nullptr && checked) {
                mouse->ChangeReportRate(n);
            } else if (keyboard != nullptr) {
                keyboard->ShowSystemSettings(); // the keyboard's report rate is shown only
            }
            return true;
        }
        for (const SettingRow& row : kOptionSettings) {
            if (Is(prefix, row.name)) {
                if (mouse != nullptr && checked) {
                    mouse->ChangeSetting(row.field, n);
                }
                return true;
            }
        }
        return false;
    }
    if (Is(prefix, "scrolls_page_check")) {
        if (mouse != nullptr) {
            mouse->ChangeSetting(MouseField::ScrollByPage, checked ? 1 : 0);
        }
        return true;
    }
    if (Is(prefix, "pointer_precision_check")) {
        if (mouse != nullptr) {
            q407::profiles::MouseSystemSettings settings = mouse->GetSettings();
            settings.pointerPrecision = checked ? 1 : 0;
            mouse->SetSettings(settings);
            mouse->Model().SaveProfile();
        }
        return true;
    }
    return false;
}

// --- Value table ---------------------------------------------------------------------------------

bool PageActions::OnValue(const QString& prefix, int n, int value, bool moving) {
    pages::CKestravaMouseDevice* mouse = Mouse();
    if (n >= 0 && Is(prefix, "DPI_slider_")) {
        if (mouse == nullptr) {
            return true;
        }
        if (moving) {
            // While the slider is dragged the box follows; the mouse is written on release.
            if (auto* edit =
                    toolkit::FindSubControlByName(mouse, QStringLiteral("DPI_edit_%1").arg(n))) {
                if (auto* box = qobject_cast<QLineEdit*>(edit)) {
                    box->setText(QString::number(mouse->ReadDpiSlider(n)));
                }
            }
        } else {
            mouse->ChangeDpiFromSlider(n);
        }
        return true;
    }
    if (n >= 0 && Is(prefix, "6533_eq_hz_slider_")) {
        if (pages::CKestravaHS6533Device* headset = Headset(); headset != nullptr && !moving) {
            headset->ChangeEqBand(n);
        }
        return true;
    }
    if (moving || n >= 0) {
        return false;
    }
    if (Is(prefix, "repeat_rate_slider")) {
        if (pages::CKestravaKeyboardDevice* keyboard = Keyboard()) {
            keyboard->ChangeRepeatRate(value);
        }
        return true;
    }
    if (Is(prefix, "6533_MicIn_slider") || Is(prefix, "6533_MicMoniter_slider")) {
        if (pages::CKestravaHS6533Device* headset = Headset()) {
            Is(prefix, "6533_MicIn_slider") ? headset->ChangeMicLevel()
                                            : headset->ChangeMonitorLevel();
        }
        return true;
    }
    if (Is(prefix, "polling_rate_slider")) {
        if (mouse != nullptr) {
            mouse->ChangeReportRate(value);
        }
        return true;
    }
    for (const SettingRow& row : kSliderSettings) {
        if (Is(prefix, row.name)) {
            if (mouse != nullptr) {
                mouse->ChangeSetting(row.field, value);
            }
            return true;
        }
    }
    if (Is(prefix, "deng_light_slider") || Is(prefix, "deng_speed_slider")) {
        pages::CKestravaUSBDevice* page = Page();
        if (page != nullptr && page->LightPanel() != nullptr) {
            StopFollowing(page);
            q407::profiles::LightInfo record = page->LightRecord();
            if (Is(prefix, "deng_light_slider")) {
                record.brightness = static_cast<std::uint8_t>(page->LightPanel()->GetBrightness());
            } else {
                record.speed = static_cast<std::uint8_t>(page->LightPanel()->GetSpeed());
            }
            page->ApplyLightRecord(record);
        }
        return true;
    }
    return false;
}

// --- Item table ----------------------------------------------------------------------------------

bool PageActions::OnItem(const QString& name, int row) {
    pages::CKestravaUSBDevice* page = Page();
    if (Is(name, "custom_eq_name_combo")) {
        if (pages::CKestravaHS6533Device* headset = Headset()) {
            headset->ApplyCustomEq();
        }
        return true;
    }
    if (Is(name, "device_profile_combo")) {
        if (page != nullptr && page->ProfilePanel() != nullptr) {
            ApplySelectedProfile();
            // Applied once more shortly after, when the device has settled on the new profile.
            m_window.SetTimer(m_window.Root(), kTimerProfileAgain, 400);
        }
        return true;
    }
    if (Is(name, "light_combo_modeSelect")) {
        if (page != nullptr && page->LightPanel() != nullptr) {
            const int mode = page->LightPanel()->GetSelectedMode();
            if (mode >= 0 && mode <= 0xFF) {
                StopFollowing(page);
                page->LightPanel()->SelectMode(mode);
                q407::profiles::LightInfo record = page->LightRecord();
                record.mode = static_cast<std::uint8_t>(mode);
                page->ApplyLightRecord(record);
            }
        }
        return true;
    }
    if (Is(name, "light_combo_ZZCCmodeSelect")) {
        if (Keyboard() != nullptr && row >= 0 && row <= 0xFF) {
            q407::profiles::LightInfo record = page->LightRecord();
            record.secondaryMode = static_cast<std::uint8_t>(row);
            page->ApplyLightRecord(record);
        }
        return true;
    }
    if (Is(name, "light_combo_custommodeSelect")) {
        if (pages::CKestravaKeyboardDevice* keyboard = Keyboard(); keyboard && row >= 0) {
            keyboard->ChangeCustomGroup(row);
        }
        return true;
    }
    for (const SettingRow& setting : kComboSettings) {
        if (Is(name, setting.name)) {
            if (pages::CKestravaMouseDevice* mouse = Mouse(); mouse != nullptr && row >= 0) {
                mouse->ChangeSetting(setting.field, row);
            }
            return true;
        }
    }
    return false;
}

// --- Edit table ----------------------------------------------------------------------------------

bool PageActions::OnKillFocus(const QString& prefix, int n) {
    if (n >= 0 && (Is(prefix, "DPI_edit_") || Is(prefix, "ravik_DPI_edit_"))) {
        if (pages::CKestravaMouseDevice* mouse = Mouse()) {
            mouse->CommitDpiEdit(n);
        }
        return true;
    }
    for (int component = 0; component < 3; ++component) {
        if (n < 0 && Is(prefix, kColourEdits[component])) {
            pages::CKestravaUSBDevice* page = Page();
            editors::CLightControlUI* light = page != nullptr ? page->LightPanel() : nullptr;
            if (light == nullptr) {
                return true;
            }
            const int value = light->CommitColourText(component);
            if (value < 0) {
                return true;
            }
            StopFollowing(page);
            q407::profiles::LightInfo record = page->LightRecord();
            std::uint8_t* bytes[] = {&record.red, &record.green, &record.blue};
            *bytes[component] = static_cast<std::uint8_t>(value & 0xFF);
            record.multiColor = 0;
            page->ApplyLightRecord(record);
            light->SetMultiColour(false);
            light->SetPaletteColour(0xFF000000u | (std::uint32_t{record.red} << 16) |
                                    (std::uint32_t{record.green} << 8) | record.blue);
            return true;
        }
    }
    return false;
}

bool PageActions::OnColour(const QString& name) {
    if (!Is(name, "deng_Color_Pallet")) {
        return false;
    }
    if (editors::CLightControlUI* light = LightPanel()) {
        StopFollowing(Page());
        ApplyColour(light->GetPaletteColour(), false);
    }
    return true;
}

bool PageActions::OnSelectEnd(const QString& name) {
    if (Is(name, "device_key_light")) {
        // The keys the rubber band met take the panel's colour in the custom colour mode.
        if (pages::CKestravaKeyboardDevice* keyboard = Keyboard()) {
            keyboard->PaintSelectedKeys();
        }
        return true;
    }
    // The mouse's keys keep their selection marks for the key panel.
    return Is(name, "mouse_device_key_light");
}

void PageActions::ApplyColour(std::uint32_t argb, bool setPalette) {
    pages::CKestravaUSBDevice* page = Page();
    editors::CLightControlUI* light = LightPanel();
    if (light == nullptr) {
        return;
    }
    q407::profiles::LightInfo record = page->LightRecord();
    record.red = static_cast<std::uint8_t>((argb >> 16) & 0xFF);
    record.green = static_cast<std::uint8_t>((argb >> 8) & 0xFF);
    record.blue = static_cast<std::uint8_t>(argb & 0xFF);
    record.multiColor = 0;
    page->ApplyLightRecord(record);
    light->SetColourText(0, QString::number(record.red));
    light->SetColourText(1, QString::number(record.green));
    light->SetColourText(2, QString::number(record.blue));
    light->SetMultiColour(false);
    if (setPalette) {
        light->SetPaletteColour(argb | 0xFF000000u);
    } else {
        light->SetColourButton(argb | 0xFF000000u);
    }
}

void PageActions::StopFollowing(pages::CKestravaUSBDevice* page) {
    if (page != nullptr && page->HasModel()) {
        page->Model().SetFollowsSharedLighting(false);
    }
}

void PageActions::ShareSelectedLighting() {
    pages::CKestravaUSBDevice* selected = Page();
    DevicePages* pages = m_window.Pages();
    if (selected == nullptr || !selected->HasModel() || pages == nullptr) {
        return;
    }
    const auto settings =
        q407::devices::SharedSettingsOf(selected->Model().Kind(), selected->LightRecord());
    if (!settings) {
        return;
    }
    m_window.SharedLighting().SetSettings(*settings);
    for (int i = 0; i < pages->PageCount(); ++i) {
        pages::CKestravaUSBDevice* page = pages->Page(i);
        if (page == nullptr || !page->HasModel() || !page->Model().IsOpen() ||
            !q407::devices::LightModeFor(page->Model().Kind(), settings->mode)) {
            continue;
        }
        const auto record =
            q407::devices::FollowingRecord(page->Model().Kind(), page->LightRecord(), *settings);
        if (editors::CLightControlUI* light = page->LightPanel()) {
            light->ShowLightInfo(record);
        }
        page->ApplyLightRecord(record);
        page->Model().SetFollowsSharedLighting(true);
    }
    m_window.SharedLighting().Wake();
}

void PageActions::ShowFeature(int n) {
    pages::CKestravaUSBDevice* selected = Page();
    if (selected != nullptr) {
        selected->SelectFeaturePage(n);
    }
    DevicePages* pages = m_window.Pages();
    if (pages == nullptr) {
        return;
    }
    for (int i = 0; i < pages->PageCount(); ++i) {
        auto* mouse = qobject_cast<pages::CKestravaMouseDevice*>(pages->Page(i));
        if (mouse != nullptr && mouse != selected) {
            mouse->SelectFeaturePage(n);
            if (editors::CDeviceProfileUI* panel = mouse->ProfilePanel()) {
                panel->SelectFeatureTab(n);
            }
        }
    }
}

// --- Profiles ------------------------------------------------------------------------------------

int PageActions::ApplySelectedProfile() {
    pages::CKestravaUSBDevice* page = Page();
    if (page == nullptr || page->ProfilePanel() == nullptr) {
        return 0;
    }
    const int result = page->ApplySelectedProfile();
    if (result == -1) {
        Tell(QStringLiteral(QT_TRID_NOOP("message_text_7")));
    } else if (result != 0) {
        Tell(QStringLiteral(QT_TRID_NOOP("message_text_16")), result);
    }
    return result;
}

void PageActions::AddProfile() {
    editors::CDeviceProfileUI* panel = ProfilePanel();
    if (panel == nullptr || !Confirm(QT_TRID_NOOP("message_text_27"))) {
        return;
    }
    panel->AddProfile();
    if (DevicePages* pages = m_window.Pages()) {
        pages->ReloadProfileLists();
    }
}

void PageActions::DeleteProfile() {
    if (editors::CDeviceProfileUI* panel = ProfilePanel();
        panel && Confirm(QT_TRID_NOOP("message_text_29"))) {
        panel->DeleteProfile(); // the combo's new selection arrives as itemselect
    }
}

void PageActions::CopyProfile() {
    if (editors::CDeviceProfileUI* panel = ProfilePanel();
        panel && Confirm(QT_TRID_NOOP("message_text_26"))) {
        panel->CopyProfile();
    }
}

void PageActions::ImportProfile() {
    editors::CDeviceProfileUI* panel = ProfilePanel();
    if (panel == nullptr || panel->GetSelectedIndex() < 0) {
        return;
    }
    toolkit::FileDialogOptions options;
    options.title = QStringLiteral("Import");
    options.defaultExtension = QStringLiteral("json");
    options.initialName = QStringLiteral("*.json");
    options.filter = QStringLiteral("Profile Files(*.json)");
    const auto path = toolkit::GetDialogs().OpenFile(&m_window, options);
    if (!path || path->isEmpty()) {
        return;
    }
    const std::filesystem::path file = path->toStdString();
    if (editors::ImportableProfileFile(file)) {
        panel->ImportProfile(file);
    } else {
        q407::diag::Line("not a profile file: " + file.string());
    }
    panel->SelectProfile(panel->GetProfileItemCount() - 1);
    ApplySelectedProfile();
}

void PageActions::ExportProfile() {
    editors::CDeviceProfileUI* panel = ProfilePanel();
    if (panel == nullptr || panel->GetSelectedIndex() < 0) {
        return;
    }
    toolkit::FileDialogOptions options;
    options.title = QStringLiteral("Export");
    options.defaultExtension = QStringLiteral("json");
    options.initialName = panel->GetComboEditText() + QStringLiteral(".json");
    options.filter = QStringLiteral("Profile Files(*.json)");
    const auto path = toolkit::GetDialogs().SaveFile(&m_window, options);
    if (path && !path->isEmpty()) {
        panel->ExportProfile(path->toStdString());
    }
}

void PageActions::ResetProfile() {
    if (editors::CDeviceProfileUI* panel = ProfilePanel();
        panel && Confirm(QT_TRID_NOOP("message_text_22"))) {
        panel->ResetProfileFile();
        m_window.OnPageReset();
        ApplySelectedProfile();
    }
}

void PageActions::RenameProfile() {
    editors::CDeviceProfileUI* panel = ProfilePanel();
    if (panel == nullptr) {
        return;
    }
    const QString name = panel->GetComboEditText();
    if (name.isEmpty()) {
        return;
    }
    const int result = panel->RenameProfile(name);
    if (result == 0) {
        Tell(QStringLiteral(QT_TRID_NOOP("message_text_5")));
    } else if (result == 2) {
        Tell(QStringLiteral(QT_TRID_NOOP("message_text_25")));
    }
}

} // namespace q407::app
