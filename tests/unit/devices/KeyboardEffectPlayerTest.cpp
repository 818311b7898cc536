// The user-defined effect player (mode 19 and modes without a step) and the per-LED overrides of
// the profile's light list. Times are set by hand; expected colours come from the tables.

#include "devices/KeyboardLightEngine.h"
#include "unit/devices/LightTestSupport.h"

#include <gtest/gtest.h>

namespace q407::devices {
namespace {

using test::Led;
using test::ManualClock;
using test::ScriptedRandom;

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};

EffectStep Effect(std::uint8_t mode, Rgb colour, std::int32_t timeMs, std::uint8_t speed = 4,
                  bool multi = false, std::uint8_t direction = 0) {
    EffectStep step;
    step.mode = mode;
    step.brightness = 4;
    step.speed = speed;
    step.direction = direction;
    step.multiColour = multi;
    step.colour = colour;
    step.timeMs = timeMs;
    return step;
}

KeyboardLight Light(std::uint8_t mode, std::uint8_t speed = 0) {
    return test::TestLight(mode, false, 1, 4, speed);
}

LedOverride Override(std::uint8_t mode, Rgb colour, std::uint8_t speed = 0, bool multi = false,
                     std::uint8_t brightness = 4) {
    LedOverride entry;
    entry.mode = mode;
    entry.brightness = brightness;
    entry.speed = speed;
    entry.multiColour = multi;
    entry.colour = colour;
    entry.valid = true;
    return entry;
}

// An engine on a hand-moved clock that starts at 1000 ms.
class EngineOnAClock : public ::testing::Test {
protected:
    LedColour At(unsigned k) const { return engine.GetFrame()[k]; }
    void WakeAt(std::uint32_t ms) {
        clock.Set(ms);
        engine.Wake();
    }

    ManualClock clock{1000};
    ScriptedRandom random;
    KeyboardLightEngine engine{clock, random};
};

class EffectPlayer : public EngineOnAClock {
protected:
    void Play(std::vector<EffectStep> steps, std::uint8_t lightSpeed = 0) {
        engine.LoadLighting(Light(19, lightSpeed), {}, {}, std::move(steps));
    }
    std::size_t Index() const { return engine.GetState().effectStepIndex; }
};

TEST_F(EffectPlayer, EmptyEffectDarkensEveryKey) {
    engine.LoadLighting(Light(17), {}, {}, {});
    engine.StepOnce();
    ASSERT_NE(At(0), LedColour{});
    Play({});
    engine.Wake();
    for (const LedColour& led : engine.GetFrame()) {
        ASSERT_EQ(led, LedColour{});
    }
}

TEST_F(EffectPlayer, StepsLastTheirTimeAndCycle) {
    Play({Effect(1, kRed, 100), Effect(1, kBlue, 50)});
    WakeAt(1000);
    EXPECT_EQ(At(7), Led(kRed, 255));
    WakeAt(1100);
    EXPECT_EQ(Index(), 0u) << "100 ms is not more than the step's 100 ms";
    WakeAt(1101);
    EXPECT_EQ(At(7), Led(kRed, 255));
    EXPECT_EQ(Index(), 1u);
    WakeAt(1101);
    EXPECT_EQ(At(7), Led(kBlue, 255));
    WakeAt(1151);
    EXPECT_EQ(Index(), 1u);
    WakeAt(1152);
    EXPECT_EQ(Index(), 0u) << "after the last step the effect starts again";
    WakeAt(1152);
    EXPECT_EQ(At(7), Led(kRed, 255));
}

TEST_F(EffectPlayer, SpeedSetsTheWakesBetweenFrames) {
    Play({Effect(1, kRed, 100000, 0)}); // speed 0: every 8th wake
    for (int i = 0; i < 7; ++i) {
        WakeAt(1000);
    }
    EXPECT_EQ(At(0), LedColour{});
    WakeAt(1000);
    EXPECT_EQ(At(0), Led(kRed, 255));
}

TEST_F(EffectPlayer, BreathingFollowsTheCurve) {
    Play({Effect(0, kRed, 100000, 4, true)});
    WakeAt(1000);
    EXPECT_EQ(At(0), Led({255, 1, 0}, 0)); // wheel[0], curve[1] = 1
    for (int i = 1; i < 64; ++i) {
        WakeAt(1000);
    }
    EXPECT_EQ(At(0), Led({255, 1, 0}, 254)); // curve[64] = 255
}

TEST_F(EffectPlayer, WaveRunsAlongTheLeds) {
    Play({Effect(4, kRed, 100000, 4, true, 0)});
    WakeAt(1000);
    // sub 1, start d = 2; each LED 12 further round the wheel.
    EXPECT_EQ(At(0), Led({255, 5, 0}, 255));
    EXPECT_EQ(At(1), Led({255, 65, 0}, 255));
    EXPECT_EQ(At(2), Led({255, 188, 0}, 255));
    EXPECT_EQ(At(16), Led({255, 5, 0}, 255)); // 2 + 192 wraps to 2

    ManualClock c{1000};
    ScriptedRandom r;
    KeyboardLightEngine single(c, r);
    single.LoadLighting(Light(19), {}, {}, {Effect(4, kRed, 100000, 4, false, 0)});
    single.Wake();
    // Without multi-colour: d = 14, 26, …: wave levels 69 and 124.
    EXPECT_EQ(single.GetFrame()[0], Led(kRed, 68));
    EXPECT_EQ(single.GetFrame()[1], Led(kRed, 123));

    KeyboardLightEngine reverse(c, r);
    reverse.LoadLighting(Light(19), {}, {}, {Effect(4, kRed, 100000, 4, true, 1)});
    reverse.Wake();
    EXPECT_EQ(reverse.GetFrame()[0], Led({255, 0, 0}, 255));  // d = 192 − 1
    EXPECT_EQ(reverse.GetFrame()[1], Led({255, 44, 0}, 255)); // (191 + 12) mod 192 = 11
}

TEST_F(EffectPlayer, SpectrumUsesTheModeOneInterval) {
    Play({Effect(5, kRed, 100000, 4)}); // interval 0: every wake
    WakeAt(1000);
    EXPECT_EQ(At(3), Led({255, 3, 0}, 255));
    WakeAt(1000);
    EXPECT_EQ(At(3), Led({255, 5, 0}, 255));
}

TEST_F(EffectPlayer, BlinkUsesTheLightRecordsSpeedForItsPeriod) {
    Play({Effect(2, kRed, 100000, 4, true)}, 4); // light speed 4: 200 ms
    WakeAt(1000);
    EXPECT_EQ(At(0), Led({255, 73, 0}, 255)) << "on, hue = sub 1 + 14";
    WakeAt(1100);
    EXPECT_EQ(At(0).level, 255);
    WakeAt(1200);
    EXPECT_EQ(At(0), LedColour{});
    WakeAt(1400);
    EXPECT_EQ(At(0), Led({255, 99, 0}, 255)) << "sub 4 + 14 = 18";
}

TEST_F(EffectPlayer, UnknownStepModesAndModesWithoutAStepLeaveOrPlay) {
    Play({Effect(3, kRed, 100000)});
    WakeAt(1000);
    EXPECT_EQ(At(0), LedColour{}) << "step mode 3 draws nothing";
    engine.LoadLighting(Light(31), {}, {}, {Effect(1, kBlue, 100000)});
    WakeAt(1001);
    EXPECT_EQ(At(0), Led(kBlue, 255)) << "a mode without a step plays the effect";
}

// ---- Per-LED overrides
// -----------------------------------------------------------------------------

class LedOverrides : public EngineOnAClock {
protected:
    void Load(std::vector<LedOverride> list, std::uint8_t mode = 17) {
        engine.LoadLighting(Light(mode), {}, std::move(list), {});
    }
};

TEST_F(LedOverrides, SteadyOffAndMissingEntries) {
    std::vector<LedOverride> list(6);
    list[3] = Override(1, {9, 8, 7}, 0, false, 2);
    list[4] = Override(4, {9, 8, 7});
    Load(list);
    engine.StepOnce(); // mode 17: wheel[174] everywhere
    WakeAt(1000);
    EXPECT_EQ(At(3), Led({9, 8, 7}, 135));
    EXPECT_EQ(At(4), LedColour{});
    EXPECT_EQ(At(5), Led({255, 0, 85}, 255)) << "a missing entry overrides nothing";
    EXPECT_EQ(At(6), Led({255, 0, 85}, 255));
}

TEST_F(LedOverrides, BreathingAdvancesItsHueOncePerBreath) {
    std::vector<LedOverride> list(2);
    list[0] = Override(0, kRed, 0, true);   // counter + 4 per wake
    list[1] = Override(0, kRed, 124, true); // counter + 128: a breath every wake
    Load(list);
    // The load runs once: counter 4 (curve 4 × 255 / 256 = 3), hue 0.
    EXPECT_EQ(At(0), Led({255, 1, 0}, 3));
    EXPECT_EQ(At(1), Led({255, 3, 0}, 0)) << "hue 1 after one breath";
    for (int i = 0; i < 31; ++i) {
        WakeAt(1000);
    }
    EXPECT_EQ(At(0), Led({255, 3, 0}, 0)) << "the 32nd pass ends the first breath";
    for (int i = 31; i < 191; ++i) {
        WakeAt(1000);
    }
    EXPECT_EQ(At(1), Led({255, 1, 0}, 0)) << "hue 192 shows entry 0";
    WakeAt(1000);
    EXPECT_EQ(At(1), Led({255, 0, 0}, 0)) << "past 192 it falls back to 191";
    WakeAt(1000);
    EXPECT_EQ(At(1), Led({255, 1, 0}, 0)) << "and alternates";
}

TEST_F(LedOverrides, SpectrumStepsItsHueByTheInterval) {
    Load({Override(3, kRed, 0)}); // limit 8
    EXPECT_EQ(At(0), Led({255, 1, 0}, 255));
    for (int i = 0; i < 6; ++i) {
        WakeAt(1000);
    }
    EXPECT_EQ(At(0), Led({255, 1, 0}, 255));
    WakeAt(1000);
    EXPECT_EQ(At(0), Led({255, 3, 0}, 255));
}

TEST_F(LedOverrides, BlinkTogglesByItsOwnPeriodAndLeavesOtherHuesAlone) {
    std::vector<LedOverride> list;
    list.push_back(Override(2, kRed, 4, true));  // 200 ms
    list.push_back(Override(3, kRed, 4, false)); // spectrum: hue + 1 per wake
    Load(list);
    EXPECT_EQ(At(0), Led({255, 65, 0}, 255)) << "1000 ms since time 0: on, hue 14";
    EXPECT_EQ(At(1), Led({255, 3, 0}, 255));
    WakeAt(1100);
    EXPECT_EQ(At(0).level, 255);
    WakeAt(1200);
    EXPECT_EQ(At(0), LedColour{});
    EXPECT_EQ(At(1), Led({255, 7, 0}, 255)) << "hue 3: the blink timer never touched it";
    WakeAt(1400);
    EXPECT_EQ(At(0), Led({124, 255, 0}, 255)) << "every toggle moves the hue: 42";
}

TEST_F(LedOverrides, ListLongerThanTheKeysIsCut) {
    Load(std::vector<LedOverride>(400, Override(1, kBlue)));
    WakeAt(1000);
    for (const LedColour& led : engine.GetFrame()) {
        ASSERT_EQ(led, Led(kBlue, 255));
    }
}

} // namespace
} // namespace q407::devices
