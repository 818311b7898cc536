#include "editors/LightRules.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

// Marks the text ids below as Qt's translation tools and the language check know them; this
// file stays free of Qt.
#ifndef QT_TRID_NOOP
#define QT_TRID_NOOP(id) id
#endif

namespace q407::editors {
namespace {

constexpr int kKindKeyboard = 1;
constexpr int kKindMouse = 2;
constexpr int kKindMousePad = 3;
constexpr int kKindHeadset = 7;

constexpr DirectionLabels kRightLeft{QT_TRID_NOOP("light_set_right_to_left_text"),
                                     QT_TRID_NOOP("light_set_left_to_right_text")};
constexpr DirectionLabels kClockwise{QT_TRID_NOOP("light_set_clockwise_text"),
                                     QT_TRID_NOOP("light_set_anticlockwise_text")};
constexpr DirectionLabels kDownUp{QT_TRID_NOOP("light_set_down_to_up_text"),
                                  QT_TRID_NOOP("light_set_up_to_down_text")};
constexpr DirectionLabels kUpDown{QT_TRID_NOOP("light_set_up_to_down_text"),
                                  QT_TRID_NOOP("light_set_down_to_up_text")};
constexpr DirectionLabels kOutsideIn{QT_TRID_NOOP("light_set_outside_to_inside_text"),
                                     QT_TRID_NOOP("light_set_inside_to_outside_text")};

// The enabled groups of one table line, in the order M C P L S F, written as a string of
// '1' and '0' so the tables below read like the design tables they come from.
void SetGroups(LightLayout& layout, const char (&groups)[7]) {
    layout.multiColour = groups[0] == '1';
    layout.colour = groups[1] == '1';
    layout.palette = groups[2] == '1';
    layout.brightness = groups[3] == '1';
    layout.speed = groups[4] == '1';
    layout.direction = groups[5] == '1';
}

bool In(int row, std::initializer_list<int> rows) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
}

// The audio-reactive mode: colours come from the audio page, speed follows the music.
void AudioMode(LightLayout& layout) {
    layout.speedShown = false;
    layout.audioShown = true;
    layout.colourPage = 1;
}

LightLayout KeyboardLayout(int row) {
    LightLayout layout;
    layout.customShown = false;
    layout.speedShown = true;
    layout.zzccShown = false;
    layout.colourGroup = true;
    layout.labels = kRightLeft;
    layout.audioShown = false;
    layout.colourPage = 0;

    if (In(row, {1, 2})) {
        SetGroups(layout, "111111");
    } else if (In(row, {3, 24})) {
        SetGroups(layout, "111111");
        layout.labels = kClockwise;
    } else if (row == 4) {
        SetGroups(layout, "000110");
        layout.colourGroup = false;
        layout.sameMode = true;
    } else if (In(row, {5, 23})) {
        SetGroups(layout, "111110");
        layout.sameMode = true;
    } else if (row == 6) {
        SetGroups(layout, "111100");
        layout.sameMode = true;
    } else if (In(row, {7, 8, 9, 10, 13, 14, 15, 22, 25})) {
        SetGroups(layout, "111110");
    } else if (In(row, {11, 26})) {
        SetGroups(layout, "000110");
        layout.colourGroup = false;
    } else if (row == 12) {
        SetGroups(layout, "000111");
        layout.labels = kDownUp;
    } else if (row == 16) {
        SetGroups(layout, "111100");
    } else if (row == 17) {
        SetGroups(layout, "000110");
        layout.colourGroup = false;
        layout.speedShown = false;
        layout.zzccShown = true;
    } else if (row == 18) {
        SetGroups(layout, "000101");
        layout.colourGroup = false;
        layout.labels = kOutsideIn;
    } else if (row == 20) {
        SetGroups(layout, "011100");
        layout.speedShown = false;
        layout.customShown = true;
    } else if (row == 21) {
        SetGroups(layout, "111111");
        layout.labels = kUpDown;
    } else if (row == 27) {
        SetGroups(layout, "000110");
    } else if (row == 28) {
        SetGroups(layout, "000000");
        layout.sameMode = true;
    } else if (row == 29) {
        SetGroups(layout, "111101");
        AudioMode(layout);
    } else if (row == 30) {
        SetGroups(layout, "000100");
        layout.colourGroup = false;
        layout.colourInputShown = true;
    } else {
        SetGroups(layout, "000000");
    }
    return layout;
}

LightLayout MouseLayout(int row) {
    LightLayout layout;
    layout.audioShown = false;
    layout.colourPage = 0;
    layout.speedShown = true;
    layout.labels = kDownUp;

    if (In(row, {0, 5})) {
        SetGroups(layout, "111111");
    } else if (row == 1 || In(row, {7, 8})) {
        SetGroups(layout, "000110");
    } else if (In(row, {2, 4, 6})) {
        SetGroups(layout, "111110");
    } else if (row == 3) {
        SetGroups(layout, "011100");
    } else if (row == 11) {
        SetGroups(layout, "111101");
        AudioMode(layout);
    } else {
        SetGroups(layout, "000000");
    }
    return layout;
}

// The mouse pad and the headset share one table.
LightLayout PadLayout(int row) {
    LightLayout layout;
    if (row == 0) {
        SetGroups(layout, "111111");
    } else if (row == 1) {
        SetGroups(layout, "000110");
    } else if (In(row, {2, 4})) {
        SetGroups(layout, "111110");
    } else if (row == 3) {
        SetGroups(layout, "011100");
    } else {
        SetGroups(layout, "000000");
    }
    layout.sameMode = In(row, {1, 2, 3, 4, 8});
    return layout;
}

} // namespace

bool DirectionLabels::operator==(const DirectionLabels& other) const {
    return std::strcmp(left, other.left) == 0 && std::strcmp(right, other.right) == 0;
}

std::optional<LightLayout> LightLayoutFor(int kind, int row) {
    switch (kind) {
    case kKindKeyboard:
        return KeyboardLayout(row);
    case kKindMouse:
        return MouseLayout(row);
    case kKindMousePad:
    case kKindHeadset:
        return PadLayout(row);
    default:
        return std::nullopt;
    }
}

bool IsAudioLightMode(int kind, int row) {
    constexpr int kColourInputRow = 30;
    if (kind == kKindKeyboard && row == kColourInputRow) {
        return true;
    }
    const std::optional<LightLayout> layout = LightLayoutFor(kind, row);
    return layout && layout->audioShown.value_or(false);
}

ColourComponentEdit ParseColourComponent(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Reading stops growing once past 255, so any number of digits is safe.
    int value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min(value * 10 + (text[at] - '0'), 256);
    }
    if (negative) {
        value = 0;
    }
    const auto component = static_cast<std::uint8_t>(std::min(value, 255));
    return {component, std::to_string(component)};
}

} // namespace q407::editors
