// The effect every device can follow together: which light modes have a shared equivalent, how
// often the effect moves at each speed, and the frames of its five modes, worked out by hand
// from the light tables.

#include "devices/SharedLightEffect.h"

#include "devices/PageEventTable.h"

#include <gtest/gtest.h>
#include <vector>

namespace q407::devices {
namespace {

TEST(SharedLighting, EachKindsModesMapBothWays) {
    struct Row {
        int kind;
        std::array<int, kSharedModeCount> modes; // breathing, steady, flashing, cycle, off
    };
    const Row rows[] = {{kKindKeyboard, {5, 6, 23, 4, 28}},
                        {kKindMouse, {2, 3, 4, 1, 10}},
                        {kKindMousePad, {2, 3, 4, 1, 8}},
                        {kKindHeadset, {2, 3, 4, 1, 8}}};
    for (const Row& row : rows) {
        for (int shared = 0; shared < kSharedModeCount; ++shared) {
            const auto mode = static_cast<SharedMode>(shared);
            EXPECT_EQ(SharedModeOf(row.kind, row.modes[static_cast<std::size_t>(shared)]), mode)
                << "kind " << row.kind << " shared " << shared;
            EXPECT_EQ(LightModeFor(row.kind, mode), row.modes[static_cast<std::size_t>(shared)]);
        }
    }
    // Modes without an equivalent, and kinds that have none.
    for (const auto& [kind, mode] : std::vector<std::pair<int, int>>{{kKindKeyboard, 29},
                                                                     {kKindKeyboard, 2},
                                                                     {kKindMouse, 11},
                                                                     {kKindMousePad, 0},
                                                                     {9, 5}}) {
        EXPECT_FALSE(SharedModeOf(kind, mode)) << "kind " << kind << " mode " << mode;
    }
    EXPECT_FALSE(LightModeFor(9, SharedMode::Steady));
}

TEST(SharedLighting, SettingsComeFromTheCopiedRecordAndOnlyTheirBytesChange) {
    profiles::LightInfo keyboard;
    keyboard.mode = 23; // flashing
    keyboard.brightness = 3;
    keyboard.speed = 1;
    keyboard.direction = 1;
    keyboard.multiColor = 1;
    keyboard.red = 10;
    keyboard.green = 20;
    keyboard.blue = 30;
    const auto settings = SharedSettingsOf(kKindKeyboard, keyboard);
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->mode, SharedMode::Flashing);
    EXPECT_TRUE(settings->colourful);
    EXPECT_EQ(settings->colour, (Rgb{10, 20, 30}));
    keyboard.mode = 29;
    EXPECT_FALSE(SharedSettingsOf(kKindKeyboard, keyboard)) << "music has no shared equivalent";

    profiles::LightInfo pad;
    pad.mode = 0;
    pad.secondaryMode = 7;
    pad.customGroup = 2;
    const profiles::LightInfo following = FollowingRecord(kKindMousePad, pad, *settings);
    EXPECT_EQ(following.mode, 4) << "the pad's flashing";
    EXPECT_EQ(following.brightness, 3);
    EXPECT_EQ(following.speed, 1);
    EXPECT_EQ(following.direction, 1);
    EXPECT_EQ(following.multiColor, 1);
    EXPECT_EQ(following.red, 10);
    EXPECT_EQ(following.secondaryMode, 7) << "bytes the effect does not set stay";
    EXPECT_EQ(following.customGroup, 2);
    EXPECT_EQ(FollowingRecord(9, pad, *settings), pad) << "an unknown kind keeps its record";
}

// Ticks 1 ... `ticks` at one millisecond each; the ticks that made a frame.
std::vector<int> FrameTicks(SharedLightEffect& effect, int ticks) {
    std::vector<int> made;
    for (int t = 1; t <= ticks; ++t) {
        if (effect.Tick(static_cast<std::uint32_t>(t))) {
            made.push_back(t);
        }
    }
    return made;
}

TEST(SharedLighting, SpeedSetsTheTicksBetweenFrames) {
    const std::pair<int, int> speeds[] = {{0, 8}, {1, 6}, {2, 4}, {3, 2}, {4, 1}, {7, 1}};
    for (const auto& [speed, every] : speeds) {
        SharedLightEffect effect;
        SharedSettings settings;
        settings.speed = static_cast<std::uint8_t>(speed);
        effect.SetSettings(settings);
        const std::vector<int> made = FrameTicks(effect, 48);
        ASSERT_EQ(made.size(), static_cast<std::size_t>(48 / every)) << "speed " << speed;
        for (std::size_t i = 0; i < made.size(); ++i) {
            EXPECT_EQ(made[i], every * static_cast<int>(i + 1)) << "speed " << speed;
        }
    }
}

TEST(SharedLighting, ColourCycleWalksTheWheelAtTheLevelsBrightness) {
    const std::array<int, 5> levels{0, 80, 135, 195, 255};
    for (std::uint8_t level = 0; level < 5; ++level) {
        SharedLightEffect effect;
        SharedSettings settings;
        settings.mode = SharedMode::ColourCycle;
        settings.brightness = level;
        effect.SetSettings(settings);
        const SharedFrame first = effect.NextFrame(0);
        EXPECT_EQ(first, (SharedFrame{255, 3, 0, static_cast<std::uint8_t>(levels[level])}))
            << "hue 1 of the wheel, level " << int{level};
    }
    SharedLightEffect effect;
    SharedSettings settings;
    settings.mode = SharedMode::ColourCycle;
    effect.SetSettings(settings);
    for (int i = 0; i < 191; ++i) {
        effect.NextFrame(0);
    }
    EXPECT_EQ(effect.Hue(), 191);
    EXPECT_EQ(effect.NextFrame(0), (SharedFrame{255, 1, 0, 0})) << "wraps to the wheel's start";
}

TEST(SharedLighting, BreathingFollowsTheCurveAndChangesHueAtTheTurn) {
    SharedLightEffect effect;
    SharedSettings settings;
    settings.mode = SharedMode::Breathing;
    settings.brightness = 2; // 135
    settings.direction = 1;
    settings.colour = {9, 8, 7};
    effect.SetSettings(settings);
    // Phase 1, 2, ... 63: level 135 x curve / 256.
    EXPECT_EQ(effect.NextFrame(0), (SharedFrame{9, 8, 7, 0})) << "curve[1] = 1";
    for (int i = 2; i < 63; ++i) {
        effect.NextFrame(0);
    }
    EXPECT_EQ(effect.NextFrame(0), (SharedFrame{9, 8, 7, 134})) << "curve[63] = 255";
    EXPECT_EQ(effect.Hue(), 0) << "a fixed colour leaves the hue";

    // Colourful, backwards from phase 0: 127, 126, ..., and the hue moves by 16 below phase 2.
    settings.colourful = true;
    settings.direction = 0;
    effect = SharedLightEffect();
    effect.SetSettings(settings);
    EXPECT_EQ(effect.NextFrame(0).red, 255);
    EXPECT_EQ(effect.Phase(), 127);
    for (int i = 0; i < 126; ++i) {
        effect.NextFrame(0);
    }
    EXPECT_EQ(effect.Phase(), 1);
    EXPECT_EQ(effect.Hue(), 16) << "phase 1 is below 2";
    effect.NextFrame(0);
    EXPECT_EQ(effect.Phase(), 0);
    EXPECT_EQ(effect.Hue(), 32);
}

TEST(SharedLighting, FlashingTogglesOnItsOwnClock) {
    SharedLightEffect effect;
    SharedSettings settings;
    settings.mode = SharedMode::Flashing;
    settings.speed = 0;
    settings.brightness = 4;
    settings.colour = {1, 2, 3};
    effect.SetSettings(settings);
    std::vector<int> toggles;
    bool on = false;
    for (int t = 1; t <= 5000; ++t) {
        if (const auto frame = effect.Tick(static_cast<std::uint32_t>(t))) {
            const bool lit = frame->brightness != 0;
            if (lit != on) {
                toggles.push_back(t);
                on = lit;
            }
            EXPECT_EQ(*frame, lit ? (SharedFrame{1, 2, 3, 255}) : SharedFrame{});
        }
    }
    EXPECT_EQ(toggles, (std::vector<int>{1600, 3200, 4800})) << "8 x 200 ms at speed 0";
    EXPECT_EQ(effect.Hue(), 42) << "each toggle moves the hue by 14";

    settings.colourful = true;
    effect.SetSettings(settings);
    EXPECT_EQ(effect.NextFrame(6400), SharedFrame{}) << "toggled off at 6400";
    const auto& wheel = light::HueWheel()[70];
    EXPECT_EQ(effect.NextFrame(8000), (SharedFrame{wheel.red, wheel.green, wheel.blue, 255}))
        << "on again, in the wheel's colour of the hue it moved to";
}

TEST(SharedLighting, SteadyAndOffFrames) {
    SharedLightEffect effect;
    SharedSettings settings;
    settings.mode = SharedMode::Steady;
    settings.brightness = 3;
    settings.colour = {200, 100, 50};
    effect.SetSettings(settings);
    EXPECT_EQ(effect.NextFrame(0), (SharedFrame{200, 100, 50, 195}));
    settings.mode = SharedMode::Off;
    effect.SetSettings(settings);
    EXPECT_EQ(effect.NextFrame(0), SharedFrame{});
}

} // namespace
} // namespace q407::devices
