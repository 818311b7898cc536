#pragma once

// The headset's audio panel (control "Voice6533ControlItem", content from
// "XML/CustomControlXML/Voice6533Control.xml"): the ten-band equaliser with its thirteen curve
// options (1-12 built in, 13 custom) and the named custom curves, the microphone level and mute,
// and the monitor (side tone) level and mute. The panel only finds and sets its controls; what a
// change does is done by the headset page. Its set operations raise no notifications.
//
// Controls: "6533_eq_option_" + 1-13, "6533_eq_hz_slider_" + 0-9 (slider n is band n + 1) with
// their value labels "6533_eq_hz_value_" + n, "custom_eq_option_layout", "custom_eq_name_combo",
// "custom_eq_name_edit", "6533_MicIn_option" / "6533_MicIn_slider" (selected = not muted),
// "6533_MicMoniter_option" / "6533_MicMoniter_slider", the value labels "6533_MicIn_value" and
// "6533_MicMoniter_value", and the rows "mic_row" and "monitor_row".

#include "editors/EditorPanel.h"

#include <QString>

namespace q407::editors {

class CVoice6533ControlUI : public CEditorPanel {
    Q_OBJECT
public:
    static constexpr int kBands = 10;
    static constexpr int kCurveOptions = 13;

    explicit CVoice6533ControlUI(QWidget* parent = nullptr);

    // Unselects options 1-13, then selects option t when 1 <= t <= 13.
    void ShowEqPreset(int t);
    // Slider i's value (and its label); -1 when the slider is missing.
    void SetEqBand(int i, int value);
    int GetEqBand(int i) const;
    void SetCustomEqEnabled(bool enabled);
    void SetMicInOption(bool selected);
    void SetMicMonitorOption(bool selected);
    void SetMicInLevel(int value);
    int GetMicInLevel() const;
    void SetMonitorLevel(int value);
    int GetMonitorLevel() const;
    void SetCustomEqName(const QString& text);
    QString GetCustomEqName() const; // empty without the edit
    void AddCustomEqName(const QString& name);
    void RemoveCustomEq(int i);
    void ClearCustomEqs();
    int GetCustomEqCount() const;
    QString GetCustomEqNameAt(int i) const;
    int GetCustomEqSelection() const; // -1: none
    // Selects combo item i (-1: none), then empties the name edit.
    void SelectCustomEq(int i);

    // The microphone and monitor rows work only when the headset's sound card has them.
    void SetMicrophoneAvailable(bool available);
    void SetMonitorAvailable(bool available);

private:
    void ShowLevel(const char* slider, const char* valueLabel, int value);
    int Level(const char* slider) const;
};

} // namespace q407::editors
