// The music mode (29): bars, ripples, rings and peaks driven by band levels. Level 2000 scales to
// 600 and gives a bar height of 0 (full bar); level 0 gives height 600 (no bar).

#include "devices/KeyboardLightEngine.h"
#include "unit/devices/LightTestSupport.h"

#include <array>
#include <gtest/gtest.h>

namespace q407::devices {
namespace {

using test::Led;
using test::ManualClock;
using test::ScriptedRandom;

constexpr Rgb kBg{1, 2, 3};
constexpr Rgb kFg{200, 100, 50};
constexpr std::int32_t kLoud = 2000;

class KeyboardMusic : public ::testing::Test {
protected:
    void Start(std::uint8_t audioMode, bool sevenColour = false) {
        const KeyboardLight light = test::TestLight(29);
        KeyboardAudioLight audio;
        audio.audioMode = audioMode;
        audio.background = kBg;
        audio.foreground = kFg;
        audio.sevenColour = sevenColour;
        engine.LoadLighting(light, audio, {}, {});
    }
    void Feed(std::initializer_list<std::pair<int, std::int32_t>> bands) {
        std::array<std::int32_t, 25> levels{};
        for (const auto& [band, level] : bands) {
            levels[static_cast<std::size_t>(band)] = level;
        }
        engine.SetMusicLevels(levels);
    }
    void FeedAll(std::int32_t level, int count = 25) {
        std::array<std::int32_t, 25> levels{};
        for (int i = 0; i < count; ++i) {
            levels[static_cast<std::size_t>(i)] = level;
        }
        engine.SetMusicLevels(levels);
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            engine.StepOnce();
        }
    }
    LedColour At(unsigned k) const { return engine.GetFrame()[k]; }
    int Level(unsigned k) const { return engine.GetState().ledLevels[k]; }
    void ExpectWholeGrid(LedColour expected) const {
        const auto frame = engine.GetFrame();
        for (int c = 0; c < 23; ++c) {
            for (int r = 0; r < 6; ++r) {
                const auto k = kb::GridKey(c, r);
                if (kb::IsKey(k)) {
                    ASSERT_EQ(frame[k], expected) << "cell " << c << "," << r;
                }
            }
        }
    }

    ManualClock clock;
    ScriptedRandom random;
    KeyboardLightEngine engine{clock, random};
};

TEST_F(KeyboardMusic, WithoutInputEveryModeShowsTheBackground) {
    for (std::uint8_t mode = 0; mode <= 6; ++mode) {
        ManualClock c;
        ScriptedRandom r;
        KeyboardLightEngine fresh(c, r);
        const KeyboardLight light = test::TestLight(29);
        KeyboardAudioLight audio{mode, kBg, kFg, false};
        fresh.LoadLighting(light, audio, {}, {});
        for (int i = 0; i < 5; ++i) {
            fresh.StepOnce();
        }
        const auto frame = fresh.GetFrame();
        const auto levels = fresh.GetState().ledLevels;
        for (int col = 0; col < 23; ++col) {
            for (int row = 0; row < 6; ++row) {
                const auto k = kb::GridKey(col, row);
                if (!kb::IsKey(k) || mode == 3) {
                    continue; // rings have no background
                }
                EXPECT_EQ(frame[k], Led(kBg, 255))
                    << "audio mode " << int(mode) << " key " << int(k);
                EXPECT_EQ(levels[k], 0) << "audio mode " << int(mode) << " key " << int(k);
            }
        }
        if (mode == 3) {
            EXPECT_EQ(frame[51], LedColour{}) << "quiet rings stay dark";
        }
        if (mode != 2) { // the ripple mode paints every entry
            EXPECT_EQ(frame[150], LedColour{}) << "no grid cell, no write";
        }
    }
}

TEST_F(KeyboardMusic, ColumnsRiseThenFallAwayFromTheTop) {
    Start(0);
    Feed({{1, kLoud}}); // column 0 reads band 1
    Steps(1);
    // n = (0 + 100) × 6 / 600 = 1: rows 1–5 of column 0 lit.
    for (unsigned k : {120u, 121u, 122u, 123u, 124u}) {
        EXPECT_EQ(At(k), Led(kFg, 254)) << k;
    }
    EXPECT_EQ(At(21), Led(kBg, 255)) << "column 1 reads the quiet band 2";
    Steps(1);
    // The top of the bar fades (nothing lit above it); the rest is held by the key above.
    EXPECT_EQ(Level(120), 210);
    EXPECT_EQ(At(120), Led(kFg, 209));
    EXPECT_EQ(At(121), Led(kFg, 254));
    EXPECT_EQ(Level(124), 255);
    Steps(100);
    ExpectWholeGrid(Led(kBg, 255));
}

TEST_F(KeyboardMusic, ColumnsInSevenColoursAndTheBandOffsetMoves) {
    Start(0, true);
    Feed({{1, kLoud}, {24, kLoud}});
    Steps(1);
    EXPECT_EQ(At(120), Led({255, 44, 0}, 254)) << "cursor 1 + 10: wheel[11]";
    EXPECT_EQ(Level(131), 0) << "columns read bands 1–23 while the offset is 0";
    Steps(31);
    EXPECT_EQ(engine.GetState().colourIndex, 1) << "the 32nd step moves the band offset";
    Feed({{24, kLoud}}); // column 22 now reads band 24
    Steps(1);
    EXPECT_EQ(Level(131), 255);
}

TEST_F(KeyboardMusic, RowsGrowOutwardsFromTheMiddle) {
    Start(1);
    FeedAll(kLoud);
    Steps(1);
    // nL = nR = 100 × 12 / 600 = 2: columns 0–1 and 20–22 stay unlit, 2–19 light.
    EXPECT_EQ(At(120), Led(kBg, 255));
    EXPECT_EQ(At(21), Led(kBg, 255));
    EXPECT_EQ(At(22), Led(kFg, 254));
    EXPECT_EQ(At(38), Led(kFg, 254));
    EXPECT_EQ(At(39), Led(kBg, 255));
    EXPECT_EQ(At(41), Led(kBg, 255));
    EXPECT_EQ(At(0), Led(kFg, 254)) << "row 0, column 2";
}

TEST_F(KeyboardMusic, BeatDetectorStartsARippleAtTheOKey) {
    Start(2);
    FeedAll(0);
    EXPECT_EQ(engine.GetState().musicTotal, 0) << "quiet adds 25 − 600 × 25 / 600 = 0";
    FeedAll(kLoud);
    FeedAll(kLoud);
    EXPECT_EQ(engine.GetState().musicTotal, 50);
    FeedAll(kLoud);
    auto state = engine.GetState();
    EXPECT_EQ(state.musicTotal, 0) << "75 reached 71";
    EXPECT_EQ(state.masks[0][10], 1u << 2) << "key 51 is column 10, row 2";
    Steps(1);
    EXPECT_EQ(Level(51), 210);
    EXPECT_EQ(At(51), Led(kFg, 209));
    EXPECT_EQ(At(50), Led(kBg, 255));
    Steps(1);
    EXPECT_EQ(Level(50), 210) << "the ripple spreads";
}

TEST_F(KeyboardMusic, BeatDetectorOnlyListensInItsMode) {
    Start(0);
    for (int i = 0; i < 5; ++i) {
        FeedAll(kLoud);
    }
    EXPECT_EQ(engine.GetState().musicTotal, 0);
    EXPECT_EQ(engine.GetState().masks[0][10], 0);
}

TEST_F(KeyboardMusic, RingsFollowLoudness) {
    Start(3);
    FeedAll(kLoud);
    Steps(1);
    // s = 0: every ring lit; ring i takes wheel[9 (i + 1)].
    EXPECT_EQ(At(51), Led({255, 32, 0}, 254));
    EXPECT_EQ(At(30), Led({255, 99, 0}, 254));

    ManualClock c;
    ScriptedRandom r;
    KeyboardLightEngine medium(c, r);
    medium.LoadLighting(test::TestLight(29), {3, kBg, kFg, false}, {}, {});
    std::array<std::int32_t, 25> levels;
    levels.fill(500); // height 450: s = 450 × 20 / 600 = 15, rings 0–4 lit
    medium.SetMusicLevels(levels);
    medium.StepOnce();
    EXPECT_EQ(medium.GetState().phase, 15);
    EXPECT_EQ(medium.GetFrame()[51], Led({255, 164, 0}, 254)); // wheel[24]
    EXPECT_EQ(medium.GetState().ledLevels[11], 255) << "ring 4";
    EXPECT_EQ(medium.GetFrame()[5], LedColour{}) << "ring 5 is not lit";
}

TEST_F(KeyboardMusic, FallingPeaksShowFromTheNextStep) {
    Start(4);
    Feed({{1, kLoud}});
    Steps(1);
    for (unsigned k : {120u, 121u, 122u, 123u, 124u}) {
        EXPECT_EQ(Level(k), 255) << k;
        EXPECT_EQ(At(k), Led(kBg, 255)) << k;
    }
    Steps(1);
    EXPECT_EQ(At(120), Led(kFg, 209)) << "top fades: no key above it";
    for (unsigned k : {121u, 122u, 123u, 124u}) {
        EXPECT_EQ(At(k), Led(kFg, 254)) << k;
    }
}

TEST_F(KeyboardMusic, RowsFromTheLeftUseBandGroups) {
    Start(5);
    Feed({{0, kLoud}, {1, kLoud}});
    Steps(1);
    // G[0] = 4000 / 3 = 1333 → height 201; row 5: n = 23 − 301 × 23 / 600 = 12.
    EXPECT_EQ(At(124), Led(kFg, 254));
    EXPECT_EQ(At(110), Led(kFg, 254)) << "column 12";
    EXPECT_EQ(At(111), Led(kBg, 255)) << "column 13";
    EXPECT_EQ(At(0), Led(kBg, 255));
}

TEST_F(KeyboardMusic, AlternatingRowsAreMirrorImages) {
    Start(6, true);
    FeedAll(kLoud, 21);
    Steps(1);
    // G = 1333 → height 201 → n = 201 × 23 / 600 = 7 on every row.
    // Row 0 (from the left): columns 0–6 unlit, 7 on lit; the cursor moves by 2 per colour taken.
    EXPECT_EQ(At(4), Led(kBg, 255));
    EXPECT_EQ(At(18), Led({255, 7, 0}, 254)); // column 7: wheel[3]
    EXPECT_EQ(At(5), Led({255, 14, 0}, 254)); // column 8: wheel[5]
    // Row 1 (from the right): seven columns 16–22 unlit, 0–15 lit.
    EXPECT_EQ(Level(101), 255) << "column 15";
    EXPECT_EQ(Level(35), 0) << "column 16";
    EXPECT_EQ(Level(120), 255) << "column 0";
}

TEST_F(KeyboardMusic, UnknownAudioModeDoesNothingButTakesTheLevels) {
    Start(7);
    FeedAll(kLoud);
    Steps(1);
    EXPECT_EQ(At(51), LedColour{});
    engine.SetAudioLight({0, kBg, kFg, false});
    Steps(1);
    ExpectWholeGrid(Led(kBg, 255)); // the loud levels were used up by the previous step
}

TEST_F(KeyboardMusic, MusicStepRunsOnceMoreThanOneTickHasPassed) {
    Start(0);
    engine.Wake(); // first tick
    EXPECT_EQ(engine.GetState().phase, 0);
    clock.Advance(2);
    engine.Wake(); // second tick: step
    EXPECT_EQ(engine.GetState().phase, 1);
    clock.Advance(2);
    engine.Wake();
    EXPECT_EQ(engine.GetState().phase, 1);
}

// Band levels come from another program: any 32-bit value is arithmetic without overflow (the
// sanitizers would stop the test) and keeps the phase on the wheel.
TEST_F(KeyboardMusic, ExtremeLevelsStayInRange) {
    for (std::uint8_t mode = 0; mode <= 6; ++mode) {
        Start(mode, mode % 2 == 1);
        for (std::int32_t level : {INT32_MAX, INT32_MIN, -1, 0, 6667, 2001}) {
            FeedAll(level);
            Steps(3);
            EXPECT_LT(engine.GetState().phase, 192) << "audio mode " << int(mode);
        }
    }
}

} // namespace
} // namespace q407::devices
