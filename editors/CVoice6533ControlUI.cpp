#include "editors/CVoice6533ControlUI.h"

#include "toolkit/ResourceManager.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace q407::editors {
namespace {

QString Numbered(const char* prefix, int n) {
    return QString::fromLatin1(prefix) + QString::number(n);
}

} // namespace

CVoice6533ControlUI::CVoice6533ControlUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/Voice6533Control.xml"), parent) {
    if (auto* edit = Control<QLineEdit>(QStringLiteral("custom_eq_name_edit"))) {
        edit->setPlaceholderText(toolkit::ResourceManager::Instance().Text(
            QStringLiteral(QT_TRID_NOOP("eq_name_hint"))));
    }
}

void CVoice6533ControlUI::ShowEqPreset(int t) {
    for (int n = 1; n <= kCurveOptions; ++n) {
        SetSelected(Control<QAbstractButton>(Numbered("6533_eq_option_", n)), false);
    }
    if (t >= 1 && t <= kCurveOptions) {
        SetSelected(Control<QAbstractButton>(Numbered("6533_eq_option_", t)), true);
    }
}

void CVoice6533ControlUI::SetEqBand(int i, int value) {
    if (auto* slider = Control<QAbstractSlider>(Numbered("6533_eq_hz_slider_", i))) {
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    }
    if (auto* label = Control<QLabel>(Numbered("6533_eq_hz_value_", i))) {
        label->setText(QString::number(value));
    }
}

int CVoice6533ControlUI::GetEqBand(int i) const {
    const auto* slider = Control<QAbstractSlider>(Numbered("6533_eq_hz_slider_", i));
    return slider == nullptr ? -1 : slider->value();
}

void CVoice6533ControlUI::SetCustomEqEnabled(bool enabled) {
    if (QWidget* layout = Lookup(QStringLiteral("custom_eq_option_layout"))) {
        layout->setEnabled(enabled);
    }
}

void CVoice6533ControlUI::SetMicInOption(bool selected) {
    SetSelected(Control<QAbstractButton>(QStringLiteral("6533_MicIn_option")), selected);
}

void CVoice6533ControlUI::SetMicMonitorOption(bool selected) {
    SetSelected(Control<QAbstractButton>(QStringLiteral("6533_MicMoniter_option")), selected);
}

void CVoice6533ControlUI::ShowLevel(const char* slider, const char* valueLabel, int value) {
    if (auto* control = Control<QAbstractSlider>(QLatin1String(slider))) {
        const QSignalBlocker quiet(control);
        control->setValue(value);
    }
    if (auto* label = Control<QLabel>(QLatin1String(valueLabel))) {
        label->setText(QString::number(value));
    }
}

int CVoice6533ControlUI::Level(const char* slider) const {
    const auto* control = Control<QAbstractSlider>(QLatin1String(slider));
    return control == nullptr ? -1 : control->value();
}

void CVoice6533ControlUI::SetMicInLevel(int value) {
    ShowLevel("6533_MicIn_slider", "6533_MicIn_value", value);
}

int CVoice6533ControlUI::GetMicInLevel() const {
    return Level("6533_MicIn_slider");
}

void CVoice6533ControlUI::SetMonitorLevel(int value) {
    ShowLevel("6533_MicMoniter_slider", "6533_MicMoniter_value", value);
}

int CVoice6533ControlUI::GetMonitorLevel() const {
    return Level("6533_MicMoniter_slider");
}

void CVoice6533ControlUI::SetCustomEqName(const QString& text) {
    if (auto* edit = Control<QLineEdit>(QStringLiteral("custom_eq_name_edit"))) {
        const QSignalBlocker quiet(edit);
        edit->setText(text);
    }
}

QString CVoice6533ControlUI::GetCustomEqName() const {
    const auto* edit = Control<QLineEdit>(QStringLiteral("custom_eq_name_edit"));
    return edit == nullptr ? QString() : edit->text();
}

void CVoice6533ControlUI::AddCustomEqName(const QString& name) {
    if (auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"))) {
        const QSignalBlocker quiet(combo);
        AddPlainRow(combo, name);
    }
}

void CVoice6533ControlUI::RemoveCustomEq(int i) {
    if (auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"))) {
        const QSignalBlocker quiet(combo);
        combo->removeItem(i);
    }
}

void CVoice6533ControlUI::ClearCustomEqs() {
    if (auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"))) {
        const QSignalBlocker quiet(combo);
        combo->clear();
    }
}

int CVoice6533ControlUI::GetCustomEqCount() const {
    const auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"));
    return combo == nullptr ? 0 : combo->count();
}

QString CVoice6533ControlUI::GetCustomEqNameAt(int i) const {
    const auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"));
    return combo == nullptr ? QString() : combo->itemData(i).toString();
}

int CVoice6533ControlUI::GetCustomEqSelection() const {
    const auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"));
    return combo == nullptr ? -1 : combo->currentIndex();
}

void CVoice6533ControlUI::SelectCustomEq(int i) {
    if (auto* combo = Control<QComboBox>(QStringLiteral("custom_eq_name_combo"))) {
        const QSignalBlocker quiet(combo);
        combo->setCurrentIndex(i >= 0 && i < combo->count() ? i : -1);
        combo->setProperty("_q407_previous_index", combo->currentIndex());
    }
    SetCustomEqName(QString());
}

void CVoice6533ControlUI::SetMicrophoneAvailable(bool available) {
    if (QWidget* row = Lookup(QStringLiteral("mic_row"))) {
        row->setEnabled(available);
    }
}

void CVoice6533ControlUI::SetMonitorAvailable(bool available) {
    if (QWidget* row = Lookup(QStringLiteral("monitor_row"))) {
        row->setEnabled(available);
    }
}

} // namespace q407::editors
