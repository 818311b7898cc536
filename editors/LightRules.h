#pragma once

// The rules of the lighting panel that need no widgets: which setting groups each light mode of
// each device kind uses, and how a colour component typed into an edit becomes a byte.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace q407::editors {

// The two texts the direction options show, as text ids (first `deng_FXL_check`, then
// `deng_FXR_check`).
struct DirectionLabels {
    const char* left = "";
    const char* right = "";

    bool operator==(const DirectionLabels& other) const;
};

// The setting groups of a light mode. Enabled flags are always given; the layout switches that a
// kind leaves alone are empty optionals, so the panel keeps what it shows.
struct LightLayout {
    bool effect = true;              // lighteffect_layout
    bool multiColour = false;        // deng_7color_check
    bool colour = false;             // deng_color_layout
    bool palette = false;            // colorpallet_layout
    bool brightness = false;         // deng_light_layout
    bool speed = false;              // deng_speed_layout
    bool direction = false;          // deng_fx_layout
    std::optional<bool> colourGroup; // light_color_layout enabled
    std::optional<bool> speedShown;  // deng_speed_layout visible
    std::optional<bool> zzccShown;   // light_combo_ZZCCmodeSelectLayout visible
    std::optional<bool> customShown; // lightcustom_layout visible
    std::optional<bool> audioShown;  // light_combo_AudiomodeSelectLayout visible
    std::optional<int> colourPage;   // light_color_tablayout page (0 colours, 1 audio colours)
    // light_colourinput_layout visible: the colour the audio capture program paints with, in
    // the mode that shows it.
    bool colourInputShown = false;
    std::optional<DirectionLabels> labels;
    // The mode can be copied to the other devices (the button also needs a second device).
    bool sameMode = false;
};

// The layout of light mode `row` on a page of device kind `kind` (1 keyboard, 2 mouse, 3 mouse
// pad, 7 headset). Nothing for other kinds: their panels keep what they show.
std::optional<LightLayout> LightLayoutFor(int kind, int row);

// Whether light mode `row` of device kind `kind` follows the sound the computer plays: the
// modes with the audio page, and the keyboard's colour input (row 30), whose colour the audio
// capture program sends dimmed by how loud the sound is.
bool IsAudioLightMode(int kind, int row);

// A colour component typed into one of the colour edits, once the edit loses focus.
struct ColourComponentEdit {
    std::uint8_t value = 0;
    std::string shown; // what the edit shows afterwards
};

// Reads the text as a decimal number (leading blanks and a sign allowed, reading stops at the
// first other character). Above 255 gives 255, below 0, empty or no number at all gives 0; the
// edit then shows the value it stands for.
ColourComponentEdit ParseColourComponent(std::string_view text);

} // namespace q407::editors
