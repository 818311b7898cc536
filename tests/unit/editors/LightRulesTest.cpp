// Which setting groups each light mode uses, per device kind, and the colour edit rule.

#include "editors/LightRules.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace q407::editors {
namespace {

constexpr int kKeyboard = 1;
constexpr int kMouse = 2;
constexpr int kMousePad = 3;
constexpr int kHeadset = 7;

// The enabled groups as "MCPLSF", the way the design tables list them.
std::string Groups(const LightLayout& layout) {
    std::string groups;
    for (bool on : {layout.multiColour, layout.colour, layout.palette, layout.brightness,
                    layout.speed, layout.direction}) {
        groups += on ? '1' : '0';
    }
    return groups;
}

LightLayout Layout(int kind, int row) {
    const auto layout = LightLayoutFor(kind, row);
    EXPECT_TRUE(layout.has_value()) << "kind " << kind << " row " << row;
    return layout.value_or(LightLayout{});
}

TEST(LightLayoutTest, KeyboardRowsEnableTheirGroups) {
    const std::pair<std::vector<int>, const char*> table[] = {
        {{1, 2, 3, 21, 24}, "111111"},
        {{4, 11, 17, 26, 27}, "000110"},
        {{5, 7, 8, 9, 10, 13, 14, 15, 22, 23, 25}, "111110"},
        {{6, 16}, "111100"},
        {{12}, "000111"},
        {{18}, "000101"},
        {{20}, "011100"},
        {{29}, "111101"},
        {{30}, "000100"},
        {{0, 19, 28, 31, 40, -1}, "000000"},
    };
    for (const auto& [rows, groups] : table) {
        for (int row : rows) {
            const LightLayout layout = Layout(kKeyboard, row);
            EXPECT_EQ(Groups(layout), groups) << "row " << row;
            EXPECT_TRUE(layout.effect) << "row " << row;
        }
    }
}

TEST(LightLayoutTest, KeyboardColourGroupIsOffOnlyForSingleColourlessModes) {
    for (int row = 0; row < 35; ++row) {
        const bool off = row == 4 || row == 11 || row == 26 || row == 17 || row == 18 || row == 30;
        EXPECT_EQ(Layout(kKeyboard, row).colourGroup, std::optional<bool>(!off)) << "row " << row;
    }
}

TEST(LightLayoutTest, KeyboardSelectorsAndPagesFollowTheMode) {
    const LightLayout plain = Layout(kKeyboard, 1);
    EXPECT_EQ(plain.speedShown, true);
    EXPECT_EQ(plain.zzccShown, false);
    EXPECT_EQ(plain.customShown, false);
    EXPECT_EQ(plain.audioShown, false);
    EXPECT_EQ(plain.colourPage, 0);

    // The reactive mode trades its speed for the trigger selector.
    const LightLayout reactive = Layout(kKeyboard, 17);
    EXPECT_EQ(reactive.speedShown, false);
    EXPECT_EQ(reactive.zzccShown, true);
    EXPECT_EQ(reactive.colourPage, 0);

    const LightLayout custom = Layout(kKeyboard, 20);
    EXPECT_EQ(custom.speedShown, false);
    EXPECT_EQ(custom.customShown, true);
    EXPECT_EQ(custom.zzccShown, false);

    const LightLayout audio = Layout(kKeyboard, 29);
    EXPECT_EQ(audio.speedShown, false);
    EXPECT_EQ(audio.audioShown, true);
    EXPECT_EQ(audio.colourPage, 1);
}

TEST(LightLayoutTest, ColourSlidersShowOnlyWhereTheCaptureProgramsColourLights) {
    for (const int kind : {kKeyboard, kMouse, kMousePad, kHeadset}) {
        for (int row = 0; row < 35; ++row) {
            const std::optional<LightLayout> layout = LightLayoutFor(kind, row);
            EXPECT_EQ(layout && layout->colourInputShown, kind == kKeyboard && row == 30)
                << "kind " << kind << ", row " << row;
        }
    }
}

TEST(LightLayoutTest, DirectionLabelsNameTheMovementOfTheMode) {
    const DirectionLabels rightLeft{"light_set_right_to_left_text", "light_set_left_to_right_text"};
    const DirectionLabels downUp{"light_set_down_to_up_text", "light_set_up_to_down_text"};
    EXPECT_EQ(Layout(kKeyboard, 1).labels, rightLeft);
    EXPECT_EQ(Layout(kKeyboard, 0).labels, rightLeft);
    EXPECT_EQ(Layout(kKeyboard, 3).labels,
              (DirectionLabels{"light_set_clockwise_text", "light_set_anticlockwise_text"}));
    EXPECT_EQ(Layout(kKeyboard, 24).labels, Layout(kKeyboard, 3).labels);
    EXPECT_EQ(Layout(kKeyboard, 12).labels, downUp);
    EXPECT_EQ(Layout(kKeyboard, 21).labels,
              (DirectionLabels{"light_set_up_to_down_text", "light_set_down_to_up_text"}));
    EXPECT_EQ(Layout(kKeyboard, 18).labels, (DirectionLabels{"light_set_outside_to_inside_text",
                                                             "light_set_inside_to_outside_text"}));
    // Every mouse mode moves along the mouse's length; the pad and headset keep their labels.
    EXPECT_EQ(Layout(kMouse, 0).labels, downUp);
    EXPECT_EQ(Layout(kMouse, 11).labels, downUp);
    EXPECT_FALSE(Layout(kMousePad, 0).labels);
    EXPECT_FALSE(Layout(kHeadset, 0).labels);
}

TEST(LightLayoutTest, MouseRowsEnableTheirGroups) {
    const std::pair<std::vector<int>, const char*> table[] = {
        {{0, 5}, "111111"}, {{1, 7, 8}, "000110"}, {{2, 4, 6}, "111110"},
        {{3}, "011100"},    {{11}, "111101"},      {{9, 10, 12, 20, -1}, "000000"},
    };
    for (const auto& [rows, groups] : table) {
        for (int row : rows) {
            EXPECT_EQ(Groups(Layout(kMouse, row)), groups) << "row " << row;
        }
    }
    const LightLayout audio = Layout(kMouse, 11);
    EXPECT_EQ(audio.speedShown, false);
    EXPECT_EQ(audio.audioShown, true);
    EXPECT_EQ(audio.colourPage, 1);
    const LightLayout plain = Layout(kMouse, 3);
    EXPECT_EQ(plain.speedShown, true);
    EXPECT_EQ(plain.audioShown, false);
    EXPECT_EQ(plain.colourPage, 0);
    // The keyboard's own selectors are no business of the mouse.
    EXPECT_FALSE(plain.zzccShown);
    EXPECT_FALSE(plain.customShown);
    EXPECT_FALSE(plain.colourGroup);
}

TEST(LightLayoutTest, PadAndHeadsetShareOneTable) {
    const std::pair<std::vector<int>, const char*> table[] = {
        {{0}, "111111"},
        {{1}, "000110"},
        {{2, 4}, "111110"},
        {{3}, "011100"},
        {{5, 6, 7, 8, 9, 15}, "000000"},
    };
    for (int kind : {kMousePad, kHeadset}) {
        for (const auto& [rows, groups] : table) {
            for (int row : rows) {
                EXPECT_EQ(Groups(Layout(kind, row)), groups) << "kind " << kind << " row " << row;
            }
        }
        const LightLayout layout = Layout(kind, 1);
        EXPECT_FALSE(layout.speedShown);
        EXPECT_FALSE(layout.audioShown);
        EXPECT_FALSE(layout.colourPage);
    }
}

TEST(LightLayoutTest, SameModeIsOfferedOnlyWhereOtherDevicesCanFollow) {
    for (int row = -1; row < 40; ++row) {
        const bool keyboard = row == 4 || row == 5 || row == 6 || row == 23 || row == 28;
        const bool pad = (row >= 1 && row <= 4) || row == 8;
        EXPECT_EQ(Layout(kKeyboard, row).sameMode, keyboard) << "row " << row;
        EXPECT_EQ(Layout(kMousePad, row).sameMode, pad) << "row " << row;
        EXPECT_EQ(Layout(kHeadset, row).sameMode, pad) << "row " << row;
        EXPECT_FALSE(Layout(kMouse, row).sameMode) << "row " << row;
    }
}

TEST(LightLayoutTest, UnknownKindsHaveNoTable) {
    for (int kind : {0, 4, 5, 6, 8, 9, -1}) {
        EXPECT_FALSE(LightLayoutFor(kind, 1)) << "kind " << kind;
    }
}

TEST(LightLayoutTest, OnlyTheMusicAndColourInputModesListenToTheSound) {
    struct Case {
        int kind;
        int row;
        bool listens;
    };
    const Case cases[] = {{1, 29, true},  {1, 28, false}, {1, 30, true},  {2, 11, true},
                          {2, 10, false}, {3, 11, false}, {7, 29, false}, {5, 29, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsAudioLightMode(c.kind, c.row), c.listens) << c.kind << " row " << c.row;
    }
}

TEST(ColourComponentTest, TypedTextBecomesAByteAndTheTextItStandsFor) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0},      {"128", 128},
        {"255", 255},  {"256", 255},
        {"300", 255},  {"", 0},
        {"  ", 0},     {"abc", 0},
        {"12abc", 12}, {" 7", 7},
        {"007", 7},    {"+9", 9},
        {"-5", 0},     {"99999999999999999999", 255},
    };
    for (const auto& [text, value] : cases) {
        const ColourComponentEdit edit = ParseColourComponent(text);
        EXPECT_EQ(edit.value, value) << '"' << text << '"';
        EXPECT_EQ(edit.shown, std::to_string(value)) << '"' << text << '"';
    }
}

} // namespace
} // namespace q407::editors
