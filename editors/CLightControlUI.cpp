#include "editors/CLightControlUI.h"

#include "editors/CColorPaletteUI.h"
#include "editors/LightRules.h"
#include "profiles/ProfileRecords.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <array>
#include <cstring>

namespace q407::editors {
namespace {

const std::array<const char*, 3> kColourEdits{"deng_edit_R", "deng_edit_G", "deng_edit_B"};

std::uint32_t Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}

void SelectRow(QComboBox* combo, int row) {
    if (combo != nullptr) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(row >= 0 && row < combo->count() ? row : -1);
    }
}

int SelectedRow(const QComboBox* combo) {
    return combo != nullptr ? combo->currentIndex() : -1;
}

void SetChecked(QAbstractButton* button, bool checked) {
    if (button != nullptr) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
}

void SetSliderValue(QAbstractSlider* slider, int value) {
    if (slider != nullptr) {
        const QSignalBlocker blocker(slider);
        slider->setValue(value);
    }
}

} // namespace

std::uint32_t BackgroundColour(const QWidget* control) {
    if (control == nullptr) {
        return 0;
    }
    const auto colour = toolkit::ParseColor(control->property("bkcolor").toString());
    return colour ? colour->rgba() : 0;
}

void SetBackgroundColour(QWidget* control, std::uint32_t colour) {
    toolkit::SetAttribute(control, QStringLiteral("bkcolor"),
                          QStringLiteral("0x%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper());
}

CLightControlUI::CLightControlUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/LightControl.xml"), parent) {}

void CLightControlUI::InitModeList(const std::vector<std::string>& names,
                                   const std::vector<int>& visibility, int maxBrightness,
                                   int maxSpeed) {
    if (auto* combo = Control<QComboBox>(QStringLiteral("light_combo_modeSelect"))) {
        const QSignalBlocker blocker(combo);
        combo->clear();
        auto* view = qobject_cast<QListView*>(combo->view());
        for (std::size_t i = 0; i < names.size(); ++i) {
            AddTextRow(combo, QString::fromStdString(names[i]));
            const bool visible = i >= visibility.size() || visibility[i] != 0;
            if (view != nullptr) {
                view->setRowHidden(static_cast<int>(i), !visible);
            }
            // A hidden mode cannot be reached with the wheel or the arrow keys either.
            if (auto* model = qobject_cast<QStandardItemModel*>(combo->model())) {
                model->item(static_cast<int>(i))->setEnabled(visible);
            }
        }
    }
    if (auto* slider = Control<QAbstractSlider>(QStringLiteral("deng_light_slider"))) {
        const QSignalBlocker blocker(slider);
        slider->setMaximum(maxBrightness);
    }
    if (auto* slider = Control<QAbstractSlider>(QStringLiteral("deng_speed_slider"))) {
        const QSignalBlocker blocker(slider);
        slider->setMaximum(maxSpeed);
    }
}

void CLightControlUI::ShowLightInfo(const q407::profiles::LightInfo& info) {
    SelectMode(info.mode);
    SetBrightness(info.brightness);
    SetSpeed(info.speed);
    const std::array<std::uint8_t, 3> components{info.red, info.green, info.blue};
    for (int component = 0; component < 3; ++component) {
        SetColourText(component, QString::number(components[static_cast<std::size_t>(component)]));
    }
    SetPaletteColour(Rgb(info.red, info.green, info.blue));
    SetMultiColour(info.multiColor != 0);
    SelectZzccMode(info.secondaryMode);
    SetDirection(info.direction != 0);
    UpdateLightLayout(m_kind, info.mode);
}

void CLightControlUI::SelectMode(int row) {
    auto* combo = Control<QComboBox>(QStringLiteral("light_combo_modeSelect"));
    if (combo == nullptr) {
        return;
    }
    SelectRow(combo, row);
    UpdateLightLayout(m_kind, row);
}

int CLightControlUI::GetSelectedMode() const {
    return SelectedRow(Control<QComboBox>(QStringLiteral("light_combo_modeSelect")));
}

void CLightControlUI::SelectZzccMode(int row) {
    SelectRow(Control<QComboBox>(QStringLiteral("light_combo_ZZCCmodeSelect")), row);
}

int CLightControlUI::GetSelectedZzccMode() const {
    return SelectedRow(Control<QComboBox>(QStringLiteral("light_combo_ZZCCmodeSelect")));
}

void CLightControlUI::SelectCustomMode(int row) {
    SelectRow(Control<QComboBox>(QStringLiteral("light_combo_custommodeSelect")), row);
}

int CLightControlUI::GetSelectedCustomMode() const {
    return SelectedRow(Control<QComboBox>(QStringLiteral("light_combo_custommodeSelect")));
}

void CLightControlUI::SetBrightness(int value) {
    SetSliderValue(Control<QAbstractSlider>(QStringLiteral("deng_light_slider")), value);
}

int CLightControlUI::GetBrightness() const {
    const auto* slider = Control<QAbstractSlider>(QStringLiteral("deng_light_slider"));
    return slider != nullptr ? slider->value() : 0;
}

void CLightControlUI::SetSpeed(int value) {
    SetSliderValue(Control<QAbstractSlider>(QStringLiteral("deng_speed_slider")), value);
}

int CLightControlUI::GetSpeed() const {
    const auto* slider = Control<QAbstractSlider>(QStringLiteral("deng_speed_slider"));
    return slider != nullptr ? slider->value() : 0;
}

QLineEdit* CLightControlUI::ColourEdit(int component) const {
    if (component < 0 || component >= static_cast<int>(kColourEdits.size())) {
        return nullptr;
    }
    return Control<QLineEdit>(QLatin1String(kColourEdits[static_cast<std::size_t>(component)]));
}

void CLightControlUI::SetColourText(int component, const QString& text) {
    if (QLineEdit* edit = ColourEdit(component)) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

QString CLightControlUI::GetColourText(int component) const {
    const QLineEdit* edit = ColourEdit(component);
    return edit != nullptr ? edit->text() : QString();
}

int CLightControlUI::CommitColourText(int component) {
    QLineEdit* edit = ColourEdit(component);
    if (edit == nullptr) {
        return -1;
    }
    const ColourComponentEdit parsed = ParseColourComponent(edit->text().toStdString());
    SetColourText(component, QString::fromStdString(parsed.shown));
    return parsed.value;
}

void CLightControlUI::SetPaletteColour(std::uint32_t colour) {
    colour |= 0xFF000000u;
    if (auto* palette = Control<CColorPaletteUI>(QStringLiteral("deng_Color_Pallet"))) {
        palette->SetColour(colour);
    }
    SetColourButton(colour);
}

std::uint32_t CLightControlUI::GetPaletteColour() const {
    const auto* palette = Control<CColorPaletteUI>(QStringLiteral("deng_Color_Pallet"));
    return palette != nullptr ? palette->GetColour() : 0xFF000000u;
}

void CLightControlUI::SetColourButton(std::uint32_t colour) {
    if (QWidget* button = Lookup(QStringLiteral("deng_colordp_btn"))) {
        SetBackgroundColour(button, colour | 0xFF000000u);
    }
}

std::uint32_t CLightControlUI::GetColourButton() const {
    return BackgroundColour(Lookup(QStringLiteral("deng_colordp_btn")));
}

std::uint32_t CLightControlUI::GetPresetColour(int n) const {
    return BackgroundColour(Lookup(QStringLiteral("color_option_%1").arg(n)));
}

void CLightControlUI::SetMultiColour(bool on) {
    SetChecked(Control<QAbstractButton>(QStringLiteral("deng_7color_check")), on);
}

bool CLightControlUI::GetMultiColour() const {
    const auto* check = Control<QAbstractButton>(QStringLiteral("deng_7color_check"));
    return check != nullptr && check->isChecked();
}

void CLightControlUI::SetDirection(bool left) {
    SetChecked(Control<QAbstractButton>(QStringLiteral("deng_FXL_check")), left);
    SetChecked(Control<QAbstractButton>(QStringLiteral("deng_FXR_check")), !left);
}

void CLightControlUI::ShowSameModeButton(bool show) {
    if (QWidget* button = Lookup(QStringLiteral("deng_same_mode"))) {
        button->setVisible(show && m_sameModeAvailable);
    }
}

void CLightControlUI::SetSameModeAvailable(bool available) {
    m_sameModeAvailable = available;
    UpdateLightLayout(m_kind, GetSelectedMode());
}

void CLightControlUI::EnableGroup(const char* name, bool enabled) {
    if (QWidget* group = Lookup(QLatin1String(name))) {
        group->setEnabled(enabled);
    }
}

void CLightControlUI::ShowGroup(const char* name, bool shown) {
    if (QWidget* group = Lookup(QLatin1String(name))) {
        group->setVisible(shown);
    }
}

void CLightControlUI::UpdateLightLayout(int kind, int row) {
    const std::optional<LightLayout> layout = LightLayoutFor(kind, row);
    if (!layout) {
        return;
    }
    EnableGroup("lighteffect_layout", layout->effect);
    EnableGroup("deng_7color_check", layout->multiColour);
    EnableGroup("deng_color_layout", layout->colour);
    EnableGroup("colorpallet_layout", layout->palette);
    EnableGroup("deng_light_layout", layout->brightness);
    EnableGroup("deng_speed_layout", layout->speed);
    EnableGroup("deng_fx_layout", layout->direction);
    if (layout->colourGroup) {
        EnableGroup("light_color_layout", *layout->colourGroup);
    }
    const std::pair<const char*, const std::optional<bool>&> shown[] = {
        {"deng_speed_layout", layout->speedShown},
        {"light_combo_ZZCCmodeSelectLayout", layout->zzccShown},
        {"lightcustom_layout", layout->customShown},
        {"light_combo_AudiomodeSelectLayout", layout->audioShown},
    };
    for (const auto& [name, flag] : shown) {
        if (flag) {
            ShowGroup(name, *flag);
        }
    }
    ShowGroup("light_colourinput_layout", layout->colourInputShown);
    if (layout->colourPage) {
        if (auto* tabs = Control<QStackedWidget>(QStringLiteral("light_color_tablayout"))) {
            const QSignalBlocker blocker(tabs);
            tabs->setCurrentIndex(*layout->colourPage);
        }
    }
    if (layout->labels) {
        toolkit::SetControlText(Lookup(QStringLiteral("deng_FXL_check")),
                                QLatin1String(layout->labels->left));
        toolkit::SetControlText(Lookup(QStringLiteral("deng_FXR_check")),
                                QLatin1String(layout->labels->right));
    }
    ShowSameModeButton(layout->sameMode);
}

void CLightControlUI::ShowStatus(const QString& labelName, const QString& textOrId) {
    if (QWidget* label = Lookup(labelName)) {
        toolkit::SetControlText(label, textOrId);
        label->setVisible(!textOrId.isEmpty());
    }
}

QString CLightControlUI::StatusOf(const QString& labelName) const {
    const QWidget* label = Lookup(labelName);
    return label != nullptr && !label->isHidden() ? toolkit::ControlText(label) : QString();
}

void CLightControlUI::SetAudioStatus(const QString& textOrId) {
    ShowStatus(QStringLiteral("light_audio_status_label"), textOrId);
}

QString CLightControlUI::GetAudioStatus() const {
    return StatusOf(QStringLiteral("light_audio_status_label"));
}

void CLightControlUI::SetClientStatus(const QString& textOrId) {
    ShowStatus(QStringLiteral("light_client_status_label"), textOrId);
}

QString CLightControlUI::GetClientStatus() const {
    return StatusOf(QStringLiteral("light_client_status_label"));
}

namespace {

constexpr std::array<const char*, 3> kAudioEdits{"deng_audioedit_R", "deng_audioedit_G",
                                                 "deng_audioedit_B"};
constexpr int kAudioModeWithoutColours = 3;

std::uint32_t Argb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}

void SetOption(QWidget* control, bool checked) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
}

bool OptionChecked(const QWidget* control) {
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return button != nullptr && button->isChecked();
}

profiles::AudioLightInfo FromBytes(const std::array<std::uint8_t, 9>& bytes) {
    profiles::AudioLightInfo info;
    std::memcpy(&info, bytes.data(), sizeof info);
    return info;
}

} // namespace

void CLightControlUI::SetAudioLightInfo(const profiles::AudioLightInfo& info) {
    std::memcpy(m_audioRecord.data(), &info, sizeof info);
    if (auto* combo = Control<QComboBox>(QStringLiteral("light_combo_AudiomodeSelect"))) {
        const QSignalBlocker blocker(combo);
        combo->setCurrentIndex(info.audioMode < combo->count() ? info.audioMode : -1);
    }
    const bool foreground = info.colourType != 0;
    SetOption(Lookup(QStringLiteral("audio_BkColor_check")), !foreground);
    SetOption(Lookup(QStringLiteral("audio_FgColor_check")), foreground);
    if (QWidget* seven = Lookup(QStringLiteral("deng_7audiocolor_check"))) {
        seven->setEnabled(foreground);
        SetOption(seven, foreground && info.sevenColours != 0);
    }
    const std::array<std::uint8_t, 3> shown =
        foreground ? std::array{info.foregroundRed, info.foregroundGreen, info.foregroundBlue}
                   : std::array{info.backgroundRed, info.backgroundGreen, info.backgroundBlue};
    for (std::size_t c = 0; c < kAudioEdits.size(); ++c) {
        if (auto* edit = Control<QLineEdit>(QLatin1String(kAudioEdits[c]))) {
            const QSignalBlocker blocker(edit);
            edit->setText(QString::number(shown[c]));
        }
    }
    const std::uint32_t colour = Argb(shown[0], shown[1], shown[2]);
    if (auto* palette = Control<CColorPaletteUI>(QStringLiteral("deng_audioColor_Pallet"))) {
        palette->SetColour(colour);
    }
    SetBackgroundColour(Lookup(QStringLiteral("deng_audiocolordp_btn")), colour);
    const bool colours = info.audioMode != kAudioModeWithoutColours;
    EnableGroup("light_audiocolor_layout", colours);
    EnableGroup("audiocolorpallet_layout", colours);
}

profiles::AudioLightInfo CLightControlUI::GetAudioLightInfo(bool takeColour) const {
    profiles::AudioLightInfo info = FromBytes(m_audioRecord);
    if (const auto* combo = Control<QComboBox>(QStringLiteral("light_combo_AudiomodeSelect"));
        combo != nullptr && combo->currentIndex() >= 0) {
        info.audioMode = static_cast<std::uint8_t>(combo->currentIndex());
    }
    info.sevenColours = OptionChecked(Lookup(QStringLiteral("deng_7audiocolor_check"))) ? 1 : 0;
    const bool background = OptionChecked(Lookup(QStringLiteral("audio_BkColor_check")));
    const bool foreground = OptionChecked(Lookup(QStringLiteral("audio_FgColor_check")));
    // Choosing the other option leaves both chosen for a moment: that is a switch of sides.
    if (background && foreground) {
        info.colourType = info.colourType != 0 ? 0 : 1;
    } else {
        info.colourType = background ? 0 : 1;
    }
    if (takeColour) {
        const std::uint32_t colour =
            BackgroundColour(Lookup(QStringLiteral("deng_audiocolordp_btn")));
        const auto red = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
        const auto green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
        const auto blue = static_cast<std::uint8_t>(colour & 0xFF);
        if (info.colourType != 0) {
            info.foregroundRed = red;
            info.foregroundGreen = green;
            info.foregroundBlue = blue;
        } else {
            info.backgroundRed = red;
            info.backgroundGreen = green;
            info.backgroundBlue = blue;
        }
    }
    return info;
}

std::uint32_t CLightControlUI::GetPresetAudioColour(int n) const {
    return BackgroundColour(Lookup(QStringLiteral("audiocolor_option_") + QString::number(n)));
}

std::uint32_t CLightControlUI::GetAudioPaletteColour() const {
    const auto* palette = Control<CColorPaletteUI>(QStringLiteral("deng_audioColor_Pallet"));
    return palette != nullptr ? palette->GetColour() : 0xFF000000u;
}

QString CLightControlUI::GetAudioColourText(int component) const {
    if (component < 0 || component >= static_cast<int>(kAudioEdits.size())) {
        return {};
    }
    const auto* edit =
        Control<QLineEdit>(QLatin1String(kAudioEdits[static_cast<std::size_t>(component)]));
    return edit != nullptr ? edit->text() : QString();
}

void CLightControlUI::SetAudioColourText(int component, const QString& text) {
    if (component < 0 || component >= static_cast<int>(kAudioEdits.size())) {
        return;
    }
    if (auto* edit =
            Control<QLineEdit>(QLatin1String(kAudioEdits[static_cast<std::size_t>(component)]))) {
        const QSignalBlocker blocker(edit);
        edit->setText(text);
    }
}

int CLightControlUI::AudioColourValue(int component) const {
    if (component < 0 || component >= static_cast<int>(kAudioEdits.size()) ||
        Lookup(QLatin1String(kAudioEdits[static_cast<std::size_t>(component)])) == nullptr) {
        return -1;
    }
    return ParseColourComponent(GetAudioColourText(component).toStdString()).value;
}

} // namespace q407::editors
