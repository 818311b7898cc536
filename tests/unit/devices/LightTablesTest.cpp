// The shared light tables and helpers, checked against values worked out by hand from the rules
// (runs of the breathing curve, ramps of the hue wheel, fade steps by level bits).

#include "devices/LightTables.h"

#include "devices/LightSources.h"

#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace q407::devices::light {
namespace {

TEST(LightTables, BrightnessLevelsAndBlinkPeriods) {
    EXPECT_EQ(BrightnessLevel(0), 0);
    EXPECT_EQ(BrightnessLevel(1), 80);
    EXPECT_EQ(BrightnessLevel(2), 135);
    EXPECT_EQ(BrightnessLevel(3), 195);
    EXPECT_EQ(BrightnessLevel(4), 255);
    EXPECT_EQ(BrightnessLevel(9), 255) << "a level past the table is not read off its end";
    EXPECT_EQ(BlinkPeriodMs(0), 1600u);
    EXPECT_EQ(BlinkPeriodMs(4), 200u);
    EXPECT_EQ(BlinkPeriodMs(5), 0u);
}

TEST(LightTables, BreathingCurveRunsAndMirror) {
    const auto& curve = BreathingCurve();
    // Run boundaries: 0–10 by 1 (entries 0–10), 12–24 by 2 (11–17), 27–45 by 3 (18–24),
    // 49–89 by 4 (25–35), 94–134 by 5 (36–44), 140–206 by 6 (45–56), 213–255 by 7 (57–63).
    const std::vector<std::pair<int, int>> points{
        {0, 0},    {10, 10},  {11, 12},  {17, 24},  {18, 27},  {24, 45},  {25, 49},
        {35, 89},  {36, 94},  {44, 134}, {45, 140}, {56, 206}, {57, 213}, {63, 255},
        {64, 255}, {70, 213}, {117, 10}, {126, 1},  {127, 0}};
    for (const auto& [index, value] : points) {
        EXPECT_EQ(curve[static_cast<std::size_t>(index)], value) << "entry " << index;
    }
}

TEST(LightTables, HueWheelSegmentsAndRepeat) {
    const auto& wheel = HueWheel();
    EXPECT_EQ(wheel[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(wheel[8], (Rgb{255, 26, 0}));
    EXPECT_EQ(wheel[16], (Rgb{255, 81, 0}));
    EXPECT_EQ(wheel[24], (Rgb{255, 164, 0}));
    EXPECT_EQ(wheel[31], (Rgb{255, 255, 0}));
    EXPECT_EQ(wheel[32], (Rgb{248, 255, 0}));
    EXPECT_EQ(wheel[63], (Rgb{0, 255, 0}));
    EXPECT_EQ(wheel[64], (Rgb{0, 255, 1}));
    EXPECT_EQ(wheel[96], (Rgb{0, 248, 255}));
    EXPECT_EQ(wheel[128], (Rgb{1, 0, 255}));
    EXPECT_EQ(wheel[160], (Rgb{255, 0, 248}));
    EXPECT_EQ(wheel[174], (Rgb{255, 0, 85}));
    EXPECT_EQ(wheel[191], (Rgb{255, 0, 0}));
    // Entries 192–255 repeat 0–63, so any byte reads a colour of the wheel.
    EXPECT_EQ(wheel[192], wheel[0]);
    EXPECT_EQ(wheel[255], (Rgb{0, 255, 0}));
}

TEST(LightTables, StepWrapsForwardsAndBackwards) {
    EXPECT_EQ(Step(1, 192, 0, 1), 1);
    EXPECT_EQ(Step(1, 192, 191, 1), 0);
    EXPECT_EQ(Step(1, 192, 185, 7), 0) << "reaching the limit wraps to 0, not to the remainder";
    EXPECT_EQ(Step(1, 52, 51, 1), 0);
    EXPECT_EQ(Step(0, 192, 5, 1), 4);
    EXPECT_EQ(Step(0, 192, 0, 1), 191);
    EXPECT_EQ(Step(0, 96, 3, 5), 91);
    EXPECT_EQ(Step(0, 192, 200, 1), 191) << "a phase left above the limit comes back inside";
    EXPECT_EQ(Step(1, 25, 250, 1), 0);
    EXPECT_EQ(Step(7, 10, 3, 2), 5) << "any non-zero direction steps forwards";
}

TEST(LightTables, FadeStepsByLevelBits) {
    // Every other mode: bit 7 −40, bit 6 −30, bit 5 −10, above 16 −8, 1–16 −1.
    EXPECT_EQ(FadeLevel(255, 8), 215);
    EXPECT_EQ(FadeLevel(128, 8), 88);
    EXPECT_EQ(FadeLevel(100, 8), 70);
    EXPECT_EQ(FadeLevel(40, 8), 30);
    EXPECT_EQ(FadeLevel(20, 8), 12);
    EXPECT_EQ(FadeLevel(16, 8), 15);
    EXPECT_EQ(FadeLevel(1, 8), 0);
    EXPECT_EQ(FadeLevel(0, 8), 0);
    // Mode 0 differs only for bit 5.
    EXPECT_EQ(FadeLevel(40, 0), 25);
    EXPECT_EQ(FadeLevel(200, 0), 160);
    EXPECT_EQ(FadeLevel(17, 0), 9);
    // Mode 29: bit 7 −45, bits 6 and 5 −35, bit 4 −45, else −1.
    EXPECT_EQ(FadeLevel(255, 29), 210);
    EXPECT_EQ(FadeLevel(100, 29), 65);
    EXPECT_EQ(FadeLevel(50, 29), 15);
    EXPECT_EQ(FadeLevel(15, 29), 14);
}

TEST(LightTables, MusicFadeNeverWrapsALowLevelToABrightOne) {
    // 32 − 35 and 20 − 45 would wrap round to 253 and 231 as bytes.
    EXPECT_EQ(FadeLevel(32, 29), 0);
    EXPECT_EQ(FadeLevel(20, 29), 0);
    EXPECT_EQ(FadeLevel(16, 29), 0);
    for (int level = 0; level < 256; ++level) {
        for (unsigned mode : {0u, 8u, 29u}) {
            EXPECT_LE(FadeLevel(static_cast<std::uint8_t>(level), mode), level)
                << "level " << level << " mode " << mode;
        }
    }
}

TEST(LightTables, FadeLedStepActsOnOneLevelInsideTheList) {
    std::array<std::uint8_t, 3> levels{255, 100, 7};
    FadeLedStep(levels, 1, 8);
    FadeLedStep(levels, 3, 8); // past the end: ignored
    FadeLedStep(levels, 2, 29);
    EXPECT_EQ(levels, (std::array<std::uint8_t, 3>{255, 70, 6}));
}

class PreviewFrames : public ::testing::Test {
protected:
    std::array<LedColour, 5> leds{};
    PreviewState state;
    PreviewParams params{4, 0, 1, false, {10, 20, 30}};
};

TEST_F(PreviewFrames, SpectrumAndSteady) {
    PreviewSpectrum(leds, state, params);
    for (const LedColour& led : leds) {
        EXPECT_EQ(led, (LedColour{255, 3, 0, 255}));
    }
    params.direction = 0;
    state.phase = 0;
    PreviewSpectrum(leds, state, params);
    EXPECT_EQ(leds[4], (LedColour{255, 0, 0, 255}));
    params.brightness = 2;
    PreviewSteady(leds, params);
    EXPECT_EQ(leds[0], (LedColour{10, 20, 30, 135}));
}

TEST_F(PreviewFrames, BreathingFixedWalksTheFourColours) {
    PreviewBreathingFixed(leds, state, params);
    EXPECT_EQ(leds[0], (LedColour{0, 255, 180, 0})); // curve[1] × 255 / 256 = 0
    for (int i = 1; i < 64; ++i) {
        PreviewBreathingFixed(leds, state, params);
    }
    EXPECT_EQ(leds[2], (LedColour{0, 255, 180, 254})); // phase 64: 255 × 255 / 256
    for (int i = 64; i < 128; ++i) {
        PreviewBreathingFixed(leds, state, params);
    }
    EXPECT_EQ(state.phase, 0);
    EXPECT_EQ(leds[0], (LedColour{0, 255, 0, 0})) << "a new breath takes the next colour";
}

TEST_F(PreviewFrames, FixedColourFramesMendAForeignIndex) {
    // Another frame may have left a colour index far past the four fixed colours.
    state.colourIndex = 24;
    PreviewBreathingFixed(leds, state, params);
    EXPECT_EQ(leds[0].green, 255);
    EXPECT_EQ(leds[0].blue, 180);
    state = {};
    state.phase = 174;
    PreviewBlinkFixed(leds, state, params, 5000);
    EXPECT_TRUE(state.blinkOn);
    EXPECT_LT(state.phase, kFixedColours.size());
}

TEST_F(PreviewFrames, BlinkTogglesByItsPeriod) {
    params.multiColour = true;
    PreviewBlink(leds, state, params, 1599);
    EXPECT_EQ(leds[0], LedColour{}) << "speed 0 waits 1600 ms";
    PreviewBlink(leds, state, params, 1600);
    EXPECT_EQ(leds[0], (LedColour{255, 81, 0, 255})) << "phase 16 of the wheel";
    PreviewBlink(leds, state, params, 3199);
    EXPECT_TRUE(state.blinkOn);
    PreviewBlink(leds, state, params, 3200);
    EXPECT_EQ(leds[3], LedColour{});
    params.speed = 4;
    PreviewBlink(leds, state, params, 3400);
    EXPECT_TRUE(state.blinkOn) << "speed 4 toggles every 200 ms";
    PreviewBlinkFixed(leds, state, params, 3600);
    EXPECT_FALSE(state.blinkOn);
    PreviewBlinkFixed(leds, state, params, 3800);
    EXPECT_EQ(leds[0], (LedColour{0, 255, 0, 255})) << "fixed colour 1";
    PreviewOff(leds);
    EXPECT_EQ(leds[0], LedColour{});
}

} // namespace
} // namespace q407::devices::light

namespace q407::devices {
namespace {

TEST(LightSources, SeededRandomRepeatsItsSequenceWithinRange) {
    SeededLightRandom a(42);
    SeededLightRandom b(42);
    SeededLightRandom other(43);
    bool differs = false;
    for (int i = 0; i < 200; ++i) {
        const std::uint32_t v = a.Below(192);
        EXPECT_LT(v, 192u);
        EXPECT_EQ(v, b.Below(192));
        differs = differs || v != other.Below(192);
    }
    EXPECT_TRUE(differs) << "another seed gives another sequence";
    EXPECT_EQ(a.Below(0), 0u);
}

TEST(LightSources, SteadyClockDoesNotGoBack) {
    SteadyLightClock clock;
    const std::uint32_t first = clock.NowMs();
    const std::uint32_t second = clock.NowMs();
    EXPECT_LT(second - first, 1000u) << "two reads in a row are close and in order";
}

} // namespace
} // namespace q407::devices
