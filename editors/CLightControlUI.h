#pragma once

// The lighting panel of a device page (control "LightControlItem", content from
// "XML/CustomControlXML/LightControl.xml"). It shows a page's light settings and enables only the
// setting groups the chosen mode uses. It handles no notifications: the main window reads it and
// changes the page. Its own select operations raise no notifications, so showing a record never
// writes to the device.
//
// Colours are 0xAARRGGBB; the panel always builds them with alpha 0xFF.

#include "editors/EditorPanel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QLineEdit;

namespace q407::profiles {
struct LightInfo;
struct AudioLightInfo;
} // namespace q407::profiles

namespace q407::editors {

class CLightControlUI : public CEditorPanel {
    Q_OBJECT
public:
    static constexpr int kPresetCount = 8;

    explicit CLightControlUI(QWidget* parent = nullptr);

    void SetDeviceKind(int kind) { m_kind = kind; }
    int GetDeviceKind() const { return m_kind; }

    // Empties the mode list and adds one row per name (a text id), hidden where its visibility
    // flag is 0 (missing flags count as visible); then sets the maxima of the brightness and
    // speed sliders.
    void InitModeList(const std::vector<std::string>& names, const std::vector<int>& visibility,
                      int maxBrightness, int maxSpeed);
    // Shows a light record: mode (and its layout), brightness, speed, colour, multi-colour,
    // keyboard sub-mode and direction.
    void ShowLightInfo(const q407::profiles::LightInfo& info);

    // Selects a mode row, then lays the panel out for it.
    void SelectMode(int row);
    int GetSelectedMode() const; // -1 without a combo
    void SelectZzccMode(int row);
    int GetSelectedZzccMode() const;
    void SelectCustomMode(int row);
    int GetSelectedCustomMode() const;

    void SetBrightness(int value);
    int GetBrightness() const; // 0 without a slider
    void SetSpeed(int value);
    int GetSpeed() const;

    // The colour edits: component 0 red, 1 green, 2 blue.
    void SetColourText(int component, const QString& text);
    QString GetColourText(int component) const;
    // Applies the rule for a colour edit the user left: the edit shows the value it stands for
    // (at most 255, 0 for empty or unreadable text), which is returned; -1 without the edit.
    int CommitColourText(int component);

    // Palette selection and the colour button.
    void SetPaletteColour(std::uint32_t colour);
    std::uint32_t GetPaletteColour() const; // 0xFF000000 without a palette
    // The colour button's background.
    void SetColourButton(std::uint32_t colour);
    std::uint32_t GetColourButton() const; // 0 when it has none
    // The background colour of "color_option_" + n; 0 when there is no such button.
    std::uint32_t GetPresetColour(int n) const;

    void SetMultiColour(bool on);
    bool GetMultiColour() const;
    // On: "deng_FXL_check" selected and "deng_FXR_check" not; off: the reverse.
    void SetDirection(bool left);

    // The same-mode button is shown exactly when the mode offers it and more than one device is
    // shown.
    void ShowSameModeButton(bool show);
    void SetSameModeAvailable(bool available);
    bool IsSameModeAvailable() const { return m_sameModeAvailable; }

    // Enables and shows the setting groups of a mode; kinds without a table change nothing.
    void UpdateLightLayout(int kind, int row);

    // --- The audio page (light modes that follow the sound) ------------------------------------
    // Shows an audio light record: its audio mode, which colour is edited (foreground for colour
    // type 1, background for 0; the seven-colour option only with the foreground), that colour in
    // the edits, the palette and the button. Audio mode 3 disables both colour groups. Nothing
    // is notified.
    void SetAudioLightInfo(const profiles::AudioLightInfo& info);
    // The shown record as the controls now read: the audio mode, the seven-colour option, the
    // colour type (0 when only the background option is chosen, 1 when it is not, and the other
    // type when both are), and with `takeColour` the button's colour as the edited colour.
    profiles::AudioLightInfo GetAudioLightInfo(bool takeColour) const;
    // The background colour of "audiocolor_option_" + n; 0 when there is no such button.
    std::uint32_t GetPresetAudioColour(int n) const;
    std::uint32_t GetAudioPaletteColour() const; // 0xFF000000 without a palette
    // The text of an audio colour edit (component 0, 1, 2); empty for any other component.
    QString GetAudioColourText(int component) const;
    void SetAudioColourText(int component, const QString& text);
    // The value an audio colour edit stands for (above 255 is 255, empty or unreadable is 0);
    // the edit keeps what was typed. -1 without the edit.
    int AudioColourValue(int component) const;

    // A line on the audio page about the sound the audio modes listen to (why there is none);
    // hidden when empty. The text is a text id or plain text.
    void SetAudioStatus(const QString& textOrId);
    QString GetAudioStatus() const;

    // A line above the mode row while another program drives the lights; hidden when empty.
    void SetClientStatus(const QString& textOrId);
    QString GetClientStatus() const;

private:
    // A status line: shown with its text, hidden when the text is empty.
    void ShowStatus(const QString& labelName, const QString& textOrId);
    QString StatusOf(const QString& labelName) const;
    QLineEdit* ColourEdit(int component) const;
    void EnableGroup(const char* name, bool enabled);
    void ShowGroup(const char* name, bool shown);

    int m_kind = 0;
    bool m_sameModeAvailable = false;
    std::array<std::uint8_t, 9> m_audioRecord{}; // the audio light record last shown
};

// The control that carries a background colour as its "bkcolor" attribute: the colour, or 0 when
// it has none.
std::uint32_t BackgroundColour(const QWidget* control);
void SetBackgroundColour(QWidget* control, std::uint32_t colour);

} // namespace q407::editors
