// Light modes of the keyboard engine. Every expected frame below is worked out by hand from the
// mode's rule and the tables (hue wheel entry, wave or pulse level, brightness 255 × level / 256),
// with the working in the comments; none is recorded from the engine.

#include "devices/KeyboardLightEngine.h"

#include "unit/devices/LightTestSupport.h"

#include <algorithm>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <tuple>

namespace q407::devices {
namespace {

using test::Led;
using test::ManualClock;
using test::ScriptedRandom;

constexpr Rgb kC = test::kTestColour;

KeyboardLight Light(std::uint8_t mode, bool multi = false, std::uint8_t direction = 1,
                    std::uint8_t brightness = 4, std::uint8_t speed = 0) {
    return test::TestLight(mode, multi, direction, brightness, speed);
}

class KeyboardEngine : public ::testing::Test {
protected:
    void Load(const KeyboardLight& light) { engine.LoadLighting(light, audio, {}, {}); }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            engine.StepOnce();
        }
    }
    LedColour At(unsigned k) const { return engine.GetFrame()[k]; }
    int Level(unsigned k) const { return engine.GetState().ledLevels[k]; }
    int LitCount() const {
        const auto levels = engine.GetState().ledLevels;
        return static_cast<int>(
            std::count_if(levels.begin(), levels.end(), [](int v) { return v; }));
    }
    void MapPosition(unsigned key, std::uint8_t position) {
        positions[key] = position;
        engine.SetPositionMap(positions);
    }

    ManualClock clock;
    ScriptedRandom random;
    KeyboardLightEngine engine{clock, random};
    KeyboardAudioLight audio;
    KeyboardLightEngine::KeyBytes positions = [] {
        KeyboardLightEngine::KeyBytes map;
        map.fill(kb::kNoKey);
        return map;
    }();
};

// ---- Waves --------------------------------------------------------------------------------------

TEST_F(KeyboardEngine, Mode1ColumnWave) {
    Load(Light(1, true));
    Steps(1);
    // phase 1, h = 2: column 0 is wheel[2]; column 1 wheel[9]; column 22 wheel[2 + 154].
    EXPECT_EQ(At(120), Led({255, 5, 0}, 255));
    EXPECT_EQ(At(124), Led({255, 5, 0}, 255));
    EXPECT_EQ(At(21), Led({255, 32, 0}, 255));
    EXPECT_EQ(At(41), Led({213, 0, 255}, 255));
    Steps(1);
    EXPECT_EQ(At(120), Led({255, 7, 0}, 255)) << "phase 2, h = 3";

    Load(Light(1, false));
    engine.Restart();
    Steps(1);
    // phase 1, w = 2: wave 27 → 255 × 27 / 256 = 26; column 1 w = 9: 49 → 48; column 2 (key 0)
    // w = 16: 77 → 76; column 7 (key 18) w = 51: 234 → 233.
    EXPECT_EQ(At(120), Led(kC, 26));
    EXPECT_EQ(At(21), Led(kC, 48));
    EXPECT_EQ(At(0), Led(kC, 76));
    EXPECT_EQ(At(18), Led(kC, 233));

    Load(Light(1, false, 0));
    engine.Restart();
    Steps(1);
    // Backwards: phase 95, w = 0: wave 22 → 21; column 1 w = 7: 42 → 41.
    EXPECT_EQ(At(120), Led(kC, 21));
    EXPECT_EQ(At(21), Led(kC, 41));
}

TEST_F(KeyboardEngine, Mode2SlowColumnWave) {
    Load(Light(2, true));
    Steps(1);
    EXPECT_EQ(At(120), Led({255, 3, 0}, 255)); // h = phase = 1
    EXPECT_EQ(At(21), Led({255, 7, 0}, 255));  // h = 3
    Load(Light(2, false, 1, 4));
    engine.Restart();
    Steps(1);
    // w = 1: pulse 4 → 3; column 1 w = 8: 77 → 76; column 19 w = 134 mod 128 = 6: 45 → 44.
    EXPECT_EQ(At(120), Led(kC, 3));
    EXPECT_EQ(At(21), Led(kC, 76));
    EXPECT_EQ(At(38), Led(kC, 44));
}

TEST_F(KeyboardEngine, Mode3SnakeWave) {
    Load(Light(3, true));
    Steps(1);
    // The list starts 15, 14, …, 0: h = 1, 6, …; key 0 is 16th: h = 1 + 75 = 76.
    EXPECT_EQ(At(15), Led({255, 3, 0}, 255));
    EXPECT_EQ(At(14), Led({255, 18, 0}, 255));
    EXPECT_EQ(At(0), Led({0, 255, 50}, 255));
    Load(Light(3, false));
    engine.Restart();
    Steps(1);
    EXPECT_EQ(At(15), Led(kC, 23)); // wave 24
    EXPECT_EQ(At(14), Led(kC, 38)); // wave 39
    EXPECT_EQ(At(16), LedColour{}) << "GM is not on the snake";
}

TEST_F(KeyboardEngine, Mode12RowWave) {
    Load(Light(12, true));
    Steps(1);
    EXPECT_EQ(At(0), Led({255, 5, 0}, 255));    // row 0: h = 2
    EXPECT_EQ(At(21), Led({255, 188, 0}, 255)); // row 1: h = 26
    EXPECT_EQ(At(124), Led({0, 12, 255}, 255)); // row 5: h = 122
}

TEST_F(KeyboardEngine, Mode4SpectrumAndMode17SingleColour) {
    Load(Light(4, false, 1, 2));
    Steps(1);
    EXPECT_EQ(At(0), Led({255, 3, 0}, 135));
    EXPECT_EQ(At(169), Led({255, 3, 0}, 135)) << "the preview fills every entry";
    Load(Light(4, false, 0));
    engine.Restart();
    Steps(1);
    EXPECT_EQ(At(60), Led({255, 0, 0}, 255)); // phase 191

    const std::tuple<std::uint8_t, Rgb> choices[] = {{0, {255, 0, 85}},
                                                     {1, {255, 176, 0}},
                                                     {2, {0, 255, 18}},
                                                     {3, {0, 255, 255}},
                                                     {7, {255, 0, 85}}};
    for (const auto& [secondary, colour] : choices) {
        KeyboardLight light = Light(17);
        light.secondaryMode = secondary;
        Load(light);
        Steps(1);
        EXPECT_EQ(At(33), Led(colour, 255)) << "secondary mode " << int(secondary);
        EXPECT_EQ(At(150), Led(colour, 255));
    }
}

TEST_F(KeyboardEngine, Mode5Breathing) {
    Load(Light(5, false));
    Steps(1);
    EXPECT_EQ(At(0), Led(kC, 0)); // curve[1] = 1
    Steps(9);
    EXPECT_EQ(At(0), Led(kC, 9)); // curve[10] = 10 → 9
    Load(Light(5, true));
    engine.Restart();
    Steps(12);
    EXPECT_EQ(At(21), Led({255, 22, 0}, 13)); // column 1: wheel[7]; curve[12] = 14 → 13
    EXPECT_EQ(At(120), Led({255, 1, 0}, 13)); // column 0: wheel[0]
}

TEST_F(KeyboardEngine, Mode6Rings) {
    Load(Light(6, true));
    Steps(1);
    EXPECT_EQ(At(51), Led({38, 0, 255}, 255)); // ring 0: wheel[138]
    EXPECT_EQ(At(30), Led({0, 2, 255}, 255));  // ring 1: wheel[126]
    EXPECT_EQ(At(41), Led({255, 18, 0}, 255)); // ring 11: wheel[6]
    EXPECT_EQ(At(16), LedColour{}) << "GM is on no ring";
    Load(Light(6, false, 1, 3));
    Steps(1);
    EXPECT_EQ(At(0), Led(kC, 195));
    EXPECT_EQ(At(169), Led(kC, 195));
}

TEST_F(KeyboardEngine, Mode18RotatingRings) {
    Load(Light(18, true));
    Steps(1);
    EXPECT_EQ(At(51), Led({255, 26, 0}, 255));   // ring 0: h = 1 + 7
    EXPECT_EQ(At(72), Led({255, 73, 0}, 255));   // ring 1: h = 15
    EXPECT_EQ(At(118), Led({0, 255, 129}, 255)); // ring 11: h = 85
}

// ---- Per-key animations
// ----------------------------------------------------------------------------

TEST_F(KeyboardEngine, Mode11PerKeyRainbowFromTheHueRamp) {
    Load(Light(11));
    // Entry ramp 33 (k + 1) mod 192, then + 1 per step.
    Steps(1);
    EXPECT_EQ(At(0), Led({220, 255, 0}, 255));   // 33 → 34
    EXPECT_EQ(At(4), Led({255, 0, 170}, 255));   // 165 → 166
    EXPECT_EQ(At(169), Led({114, 255, 0}, 255)); // 42 → 43
    Steps(2);
    EXPECT_EQ(At(28), Led({255, 1, 0}, 255)) << "189 → 192 wraps to 0";
}

TEST_F(KeyboardEngine, Mode15StaggeredPulses) {
    Load(Light(15, true));
    const auto state = engine.GetState();
    EXPECT_EQ(state.ledLevels[125], 92);
    EXPECT_EQ(state.keyHue[125], 140);
    EXPECT_EQ(state.ledLevels[0], 100);
    EXPECT_EQ(state.keyHue[0], 14);
    EXPECT_EQ(state.ledLevels[34], 90) << "the later of the two cells of BackSpace";
    EXPECT_EQ(state.ledLevels[109], 60) << "row 6 reads the next column's first value";
    EXPECT_EQ(state.ledLevels[111], 192);
    EXPECT_EQ(state.ledLevels[117], 192);

    random.Push(77); // key 111 comes before key 117 in the list
    random.Push(88);
    Steps(1);
    EXPECT_EQ(random.Calls(), 2) << "only the two keys that pass 191 take a new hue";
    EXPECT_EQ(At(21), Led({255, 22, 0}, 187)); // 32 + 2: pulse 188; hue 7
    EXPECT_EQ(At(0), Led({255, 65, 0}, 0));    // 102: pulse 0; hue 14
    EXPECT_EQ(engine.GetState().keyHue[111], 77);
    EXPECT_EQ(engine.GetState().keyHue[117], 88);
    EXPECT_EQ(Level(117), 0);
}

TEST_F(KeyboardEngine, Mode22PulsesNeverReadPastTheCurve) {
    Load(Light(22, true));
    auto state = engine.GetState();
    EXPECT_EQ(state.keyPhase[8], 34);
    EXPECT_EQ(state.keyHue[8], 77);
    EXPECT_EQ(state.keyPhase[31], 192) << "column 11, row 2: 34 is below 35, so 34 + 158";
    EXPECT_EQ(state.keyPhase[118], 192);
    EXPECT_EQ(state.keyPhase[125], 190);
    random.Push(5);  // key 118 is earlier in the list
    random.Push(40); // key 31
    Steps(1);
    EXPECT_EQ(random.Calls(), 2);
    state = engine.GetState();
    EXPECT_EQ(state.keyPhase[31], 0) << "193 is past the curve: it restarts";
    EXPECT_EQ(state.keyHue[31], 40);
    EXPECT_EQ(state.keyHue[118], 5);
    EXPECT_EQ(At(8), Led({0, 255, 57}, 181)); // pulse[35] = 182; wheel[77]
    EXPECT_EQ(At(125), Led({50, 0, 255}, 0)); // 190 + 1: pulse 0; hue 140 (column 20)
}

TEST_F(KeyboardEngine, Mode24TrailsRunThroughTheWheel) {
    Load(Light(24, false));
    Steps(1);
    // phase 1: row 1 = 0, 26, 27, 50, 51 lit 255, then lowered by 5.
    for (unsigned k : {0u, 26u, 27u, 50u, 51u}) {
        EXPECT_EQ(At(k), Led(kC, 249)) << k;
    }
    EXPECT_EQ(At(25), Led(kC, 0));
    EXPECT_EQ(LitCount(), 5);
}

TEST_F(KeyboardEngine, Mode24MultiColourBackwards) {
    Load(Light(24, true, 0)); // mode 24 loads with every hue at 0
    Steps(1);
    // Backwards: phase 51, row 51; every key shows its hue at full brightness.
    EXPECT_EQ(Level(120), 250);
    EXPECT_EQ(At(120), Led({255, 7, 0}, 255)); // hue 0 + 3
    EXPECT_EQ(At(16), Led({255, 7, 0}, 255));
    Steps(89);
    EXPECT_EQ(At(16), Led({0, 255, 0}, 255)) << "the hue stops at 255, shown as entry 63";
}

// ---- Ripples and masks --------------------------------------------------------------------------

TEST_F(KeyboardEngine, Mode8DiamondGrowsFromThePressedKey) {
    Load(Light(8, false));
    MapPosition(51, 40);
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    engine.OnDeviceKey(40, KeyboardLightEngine::kRelease); // ignored
    Steps(1);
    EXPECT_EQ(Level(51), 215);
    EXPECT_EQ(LitCount(), 1);
    EXPECT_EQ(At(51), Led(kC, 214));
    Steps(1);
    // Radius 1 around (10, 2): 50, 30, 72, 52.
    for (unsigned k : {50u, 30u, 72u, 52u}) {
        EXPECT_EQ(Level(k), 215) << k;
    }
    EXPECT_EQ(Level(51), 175);
    EXPECT_EQ(LitCount(), 5);
    Steps(1);
    // Radius 2: (8,2) 49, (9,1) 29, (10,0) 7, (11,1) 31, (12,2) 53, (11,3) 73, (10,4) 92, (9,3) 71.
    for (unsigned k : {49u, 29u, 7u, 31u, 53u, 73u, 92u, 71u}) {
        EXPECT_EQ(Level(k), 215) << k;
    }
    EXPECT_EQ(Level(30), 175);
    EXPECT_EQ(Level(51), 135);
    EXPECT_EQ(LitCount(), 13);
}

TEST_F(KeyboardEngine, Mode8MultiColourHuesAdvanceBySeven) {
    Load(Light(8, true));
    MapPosition(51, 40);
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    random.Push(100);
    Steps(1);
    EXPECT_EQ(engine.GetState().keyHue[51], 107);
    EXPECT_EQ(At(51), Led({0, 114, 255}, 214)); // wheel[107]
    EXPECT_EQ(engine.GetState().keyHue[0], 40) << "ramp 33 + 7";
}

TEST_F(KeyboardEngine, Mode9LineSlidesBothWays) {
    Load(Light(9, false));
    MapPosition(51, 40);
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    Steps(2);
    EXPECT_EQ(Level(50), 215);
    EXPECT_EQ(Level(52), 215);
    EXPECT_EQ(Level(51), 175);
    EXPECT_EQ(LitCount(), 3);
    Steps(1);
    EXPECT_EQ(Level(49), 215);
    EXPECT_EQ(Level(53), 215);
    EXPECT_EQ(LitCount(), 5);
}

TEST_F(KeyboardEngine, Mode13RisingDiamondFromBelowColumn9) {
    Load(Light(13, false));
    Steps(4);
    EXPECT_EQ(LitCount(), 0) << "the seed lies below the grid";
    Steps(1);
    EXPECT_EQ(Level(129), 215); // column 9, row 5
    EXPECT_EQ(LitCount(), 1);
    EXPECT_EQ(At(129), Led(kC, 214));
}

TEST_F(KeyboardEngine, Mode14ScriptedShowWalksItsTables) {
    Load(Light(14, false));
    Steps(1);
    EXPECT_EQ(Level(0), 215);
    EXPECT_EQ(Level(118), 215);
    EXPECT_EQ(LitCount(), 2);
    Steps(1);
    EXPECT_EQ(Level(0), 175);
    EXPECT_EQ(Level(1), 215);
    EXPECT_EQ(Level(117), 215);
    Steps(18);
    auto state = engine.GetState();
    EXPECT_EQ(state.subPhase, 1);
    EXPECT_EQ(state.phase, 0);
    Steps(1);
    EXPECT_EQ(Level(30), 215) << "pair 0 is (30, 94)";
    EXPECT_EQ(Level(94), 215);
    EXPECT_EQ(engine.GetState().phase, 1);
    Steps(30);
    EXPECT_EQ(engine.GetState().phase, 31);
    EXPECT_EQ(engine.GetState().subPhase, 1);
    // Waits for key 72 to go dark, then seeds a diamond at key 52.
    for (int i = 0; i < 60 && engine.GetState().subPhase < 3; ++i) {
        Steps(1);
    }
    state = engine.GetState();
    EXPECT_EQ(state.subPhase, 3);
    EXPECT_EQ(state.masks[0][11], 1u << 2) << "key 52 is column 11, row 2";
}

TEST_F(KeyboardEngine, Mode16SeedsAtColumn1) {
    Load(Light(16, false));
    Steps(2);
    EXPECT_EQ(Level(21), 215);
    EXPECT_EQ(Level(0), 215);
    EXPECT_EQ(LitCount(), 2);
}

TEST_F(KeyboardEngine, Mode10TwinkleLightsListedKeys) {
    Load(Light(10, true));
    // Six picks: 0 → 48 (hue 10), 51 → no key, 1 → 109 (hue 20), 2 → 73 (hue 30),
    // 103 → 32 (hue 40), 85 → no key, then a seventh pick never happens.
    for (std::uint32_t v : {0u, 10u, 51u, 1u, 20u, 2u, 30u, 103u, 40u, 85u}) {
        random.Push(v);
    }
    Steps(1);
    EXPECT_EQ(random.Left(), 0u);
    EXPECT_EQ(random.Calls(), 10);
    EXPECT_EQ(At(48), Led({255, 38, 0}, 214));   // wheel[10], 255 − 40
    EXPECT_EQ(At(109), Led({255, 119, 0}, 214)); // wheel[20]
    EXPECT_EQ(LitCount(), 4);
}

TEST_F(KeyboardEngine, Mode21TravellingDot) {
    Load(Light(21, false));
    Steps(2);
    EXPECT_EQ(At(0), Led(kC, 173)); // 254 → 214 → 174
    EXPECT_EQ(At(1), Led(kC, 213)); // 254 → 214
    Load(Light(21, false, 0));
    engine.Restart();
    Steps(1);
    EXPECT_EQ(LitCount(), 0) << "backwards starts with a step without a dot";
    EXPECT_EQ(engine.GetState().phase, 170);
    Steps(1);
    EXPECT_EQ(Level(0), 214) << "position 169 holds key 0";
    EXPECT_EQ(engine.GetState().phase, 169);
}

TEST_F(KeyboardEngine, Mode21PositionsWithoutAKeyLightNothing) {
    Load(Light(21, false));
    Steps(66); // positions 0–65; the dot just lit is key 75
    EXPECT_EQ(Level(75), 214);
    Steps(1); // position 66 holds no key
    const auto levels = engine.GetState().ledLevels;
    EXPECT_EQ(std::count(levels.begin(), levels.end(), 214), 0);
    Steps(1); // position 67: key 74
    EXPECT_EQ(Level(74), 214);
}

TEST_F(KeyboardEngine, Mode21BackwardsRestsOneStepBetweenRounds) {
    Load(Light(21, false, 0));
    Steps(171); // the step without a dot, then positions 169 … 0
    EXPECT_EQ(engine.GetState().phase, 0);
    EXPECT_EQ(Level(0), 214) << "position 0 holds key 0";
    Steps(1);
    EXPECT_EQ(engine.GetState().phase, 170);
    const auto levels = engine.GetState().ledLevels;
    EXPECT_EQ(std::count(levels.begin(), levels.end(), 214), 0) << "no dot on this step";
}

TEST_F(KeyboardEngine, Mode20CustomColours) {
    Load(Light(20, false, 1, 2));
    engine.SetCustomColour(5, {1, 2, 3});
    engine.SetCustomColour(500, {9, 9, 9}); // not a key: ignored
    Steps(1);
    EXPECT_EQ(At(5), Led({1, 2, 3}, 135));
    EXPECT_EQ(At(6), Led({0, 0, 0}, 135));
    engine.FillCustomColours({7, 7, 7});
    Steps(1);
    EXPECT_EQ(At(169), Led({7, 7, 7}, 135));
}

TEST_F(KeyboardEngine, PreviewModes23To28) {
    clock.Set(0);
    Load(Light(23, true));
    Steps(1);
    EXPECT_EQ(At(0), LedColour{});
    clock.Set(1600);
    Steps(1);
    EXPECT_EQ(At(0), Led({255, 81, 0}, 255)); // on, phase 16
    Load(Light(26));
    Steps(64);
    EXPECT_EQ(At(90), Led({0, 255, 180}, 254));
    Load(Light(27, false, 1, 4, 4));
    clock.Set(1800);
    Steps(1);
    EXPECT_EQ(At(90), LedColour{}) << "the blink state carries over: this toggles it off";
    clock.Set(2000);
    Steps(1);
    EXPECT_EQ(At(90).level, 255);
    Load(Light(28));
    Steps(1);
    EXPECT_EQ(At(90), LedColour{});
}

TEST_F(KeyboardEngine, Mode30ColourInput) {
    Load(Light(30, false, 1, 3));
    const std::int32_t input[] = {0x1FF, 0x102, -1, 4, 5, 6, 7};
    engine.SetColourInput(input);
    Steps(1);
    EXPECT_EQ(At(0), Led({0xFF, 0x02, 0xFF}, 195));
    EXPECT_EQ(At(169), Led({0xFF, 0x02, 0xFF}, 195));
}

// ---- Key reactions ------------------------------------------------------------------------------

TEST_F(KeyboardEngine, Mode7KeyLightRisesAndFades) {
    Load(Light(7, true));
    MapPosition(51, 40);
    random.Push(100);
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    Steps(1);
    EXPECT_EQ(At(51), Led({0, 194, 255}, 254)); // wheel[100]; level 255 held
    EXPECT_EQ(At(0), Led({234, 255, 0}, 0)) << "idle key: ramp hue 33, dark";
    random.Push(50);
    engine.OnDeviceKey(40, KeyboardLightEngine::kRelease);
    Steps(1);
    EXPECT_EQ(At(51), Led({53, 255, 0}, 249)); // relit in wheel[50], 255 − 5
    Steps(1);
    EXPECT_EQ(At(51), Led({53, 255, 0}, 244));
    Steps(60);
    EXPECT_EQ(Level(51), 0);
}

TEST_F(KeyboardEngine, KeyEventsThatMatchNothingChangeNothing) {
    Load(Light(7, false));
    MapPosition(51, 40);
    const auto before = engine.GetState();
    engine.OnDeviceKey(41, KeyboardLightEngine::kPress);  // no key at this position
    engine.OnDeviceKey(255, KeyboardLightEngine::kPress); // "none" is not a position
    engine.OnDeviceKey(40, 3);                            // neither press nor release
    engine.OnDeviceKey(40, 0);
    EXPECT_EQ(random.Calls(), 0);
    EXPECT_EQ(engine.GetState().ledLevels, before.ledLevels);
    EXPECT_EQ(engine.GetState().keyState, before.keyState);

    Load(Light(1));
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    EXPECT_EQ(LitCount(), 0) << "mode 1 has no reaction";
}

TEST_F(KeyboardEngine, Mode25RipplesAroundAPressedKey) {
    Load(Light(25, false));
    MapPosition(51, 40);
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    // Key 51 at (10, 2): direct neighbours +150, diagonal and two rows off +90, two columns
    // off +60.
    EXPECT_EQ(Level(51), 255);
    for (unsigned k : {30u, 72u, 50u, 52u}) {
        EXPECT_EQ(Level(k), 150) << k;
    }
    for (unsigned k : {7u, 92u, 29u, 71u, 31u, 73u}) {
        EXPECT_EQ(Level(k), 90) << k;
    }
    EXPECT_EQ(Level(49), 60);
    EXPECT_EQ(Level(53), 60);
    EXPECT_EQ(LitCount(), 13);
    Steps(1); // rising: +15
    EXPECT_EQ(Level(30), 165);
    EXPECT_EQ(Level(7), 105);
    EXPECT_EQ(Level(49), 75);
    engine.OnDeviceKey(40, KeyboardLightEngine::kRelease);
    EXPECT_EQ(Level(30), 150); // −15
    EXPECT_EQ(Level(7), 15);   // −90
    EXPECT_EQ(Level(49), 0);   // −90, floored
    const auto state = engine.GetState();
    EXPECT_EQ(state.keyState[51], 2);
    EXPECT_EQ(state.keyHeld[51], 0);
    Steps(1); // falling: −5
    EXPECT_EQ(Level(30), 145);
    EXPECT_EQ(Level(51), 250);
}

TEST_F(KeyboardEngine, Mode25ReleaseSparesCellsNearAnotherHeldKey) {
    Load(Light(25, false));
    MapPosition(51, 40);
    MapPosition(52, 41);
    engine.OnDeviceKey(40, KeyboardLightEngine::kPress);
    engine.OnDeviceKey(41, KeyboardLightEngine::kPress);
    EXPECT_EQ(Level(31), 240); // 90 + 150
    EXPECT_EQ(Level(50), 210); // 150 + 60
    EXPECT_EQ(Level(53), 210); // 60 + 150
    engine.OnDeviceKey(40, KeyboardLightEngine::kRelease);
    // Near key 52 (11, 2): untouched.
    EXPECT_EQ(Level(30), 240);
    EXPECT_EQ(Level(72), 240);
    EXPECT_EQ(Level(50), 210);
    EXPECT_EQ(Level(31), 240);
    EXPECT_EQ(Level(73), 240);
    EXPECT_EQ(Level(53), 210);
    EXPECT_EQ(Level(52), 255);
    // Out of its reach: lowered by 90.
    for (unsigned k : {7u, 92u, 29u, 71u, 49u}) {
        EXPECT_EQ(Level(k), 0) << k;
    }
    const auto state = engine.GetState();
    EXPECT_EQ(state.keyState[51], 1) << "still next to a held key";
    EXPECT_EQ(state.keyHeld[51], 0);
    EXPECT_EQ(state.keyHeld[52], 1);
}

TEST_F(KeyboardEngine, Mode25KeyOutsideTheGridHasNoReaction) {
    Load(Light(25, false));
    MapPosition(150, 7); // slot 150 is on no grid cell
    engine.OnDeviceKey(7, KeyboardLightEngine::kPress);
    EXPECT_EQ(LitCount(), 0);
}

// ---- Light thread pacing ------------------------------------------------------------------------

unsigned IntervalByHand(unsigned mode, unsigned speed) {
    if (mode == 2) {
        return std::array<unsigned, 5>{12, 8, 5, 0, 0}[speed];
    }
    if (mode == 17) {
        return std::array<unsigned, 5>{3, 3, 3, 3, 0}[speed];
    }
    return std::array<unsigned, 5>{8, 5, 3, 1, 0}[speed];
}

class ModePacing : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

// A wake every 2 ms counts one tick; the mode's step runs when the count reaches the interval.
// The frame after 60 wakes equals the frame after the matching number of steps.
TEST_P(ModePacing, StepsRunAtTheModeInterval) {
    const auto [modeParam, speedParam, multi] = GetParam();
    const auto mode = static_cast<std::uint8_t>(modeParam);
    const auto speed = static_cast<std::uint8_t>(speedParam);
    ManualClock clock;
    SeededLightRandom randomA(7);
    SeededLightRandom randomB(7);
    KeyboardLightEngine paced(clock, randomA);
    KeyboardLightEngine stepped(clock, randomB);
    const KeyboardLight light = Light(mode, multi, 1, 4, speed);
    paced.LoadLighting(light, {}, {}, {});
    stepped.LoadLighting(light, {}, {}, {});
    const unsigned interval = IntervalByHand(mode, speed);
    unsigned sinceStep = 0;
    for (int wake = 0; wake < 60; ++wake) {
        clock.Advance(2);
        paced.Wake();
        if (++sinceStep >= interval) {
            stepped.StepOnce();
            sinceStep = 0;
        }
        ASSERT_EQ(paced.GetFrame(), stepped.GetFrame()) << "wake " << wake;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSteppedModes, ModePacing,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                              13, 14, 15, 16, 17, 18, 20, 21, 22,
                                                              23, 24, 25, 26, 27, 28, 30),
                                            ::testing::Values(0, 3), ::testing::Bool()));

TEST_F(KeyboardEngine, TicksNeedTheClockToMoveMoreThanOneMillisecond) {
    Load(Light(1, true, 1, 4, 3)); // interval 1
    clock.Set(5000);
    engine.Wake(); // first wake counts a tick: 5000 − 0 > 1
    EXPECT_EQ(engine.GetState().phase, 1);
    clock.Advance(1);
    engine.Wake();
    EXPECT_EQ(engine.GetState().phase, 1) << "1 ms is not a tick";
    clock.Advance(1);
    engine.Wake();
    EXPECT_EQ(engine.GetState().phase, 2);
}

// ---- Threads
// --------------------------------------------------------------------------------------

TEST(KeyboardEngineThreads, InputsFromOtherThreadsWhileTheLightThreadRuns) {
    ManualClock clock;
    SeededLightRandom random(11);
    KeyboardLightEngine engine(clock, random);
    KeyboardLightEngine::KeyBytes positions;
    for (std::size_t k = 0; k < positions.size(); ++k) {
        positions[k] = static_cast<std::uint8_t>(k < 126 ? k : kb::kNoKey);
    }
    engine.SetPositionMap(positions);
    engine.LoadLighting(Light(25, true, 1, 4, 4), {}, {}, {});
    std::atomic<bool> stop{false};
    std::thread listener([&] {
        for (unsigned i = 0; !stop; ++i) {
            engine.OnDeviceKey(i % 126, 1 + i % 2);
        }
    });
    std::thread ui([&] {
        std::array<std::int32_t, 25> levels{};
        for (int i = 0; !stop; ++i) {
            levels[static_cast<std::size_t>(i % 25)] = i;
            engine.SetMusicLevels(levels);
            engine.SetColourInput(levels);
            engine.SetLight(Light(static_cast<std::uint8_t>(i % 2 ? 25 : 29), true, 1, 4, 4));
            (void)engine.GetFrame();
        }
    });
    for (int wake = 0; wake < 3000; ++wake) {
        engine.Wake();
    }
    stop = true;
    listener.join();
    ui.join();
    // Still one consistent engine afterwards.
    engine.SetLight(Light(25, true, 1, 4, 4));
    engine.OnDeviceKey(51, KeyboardLightEngine::kPress);
    EXPECT_EQ(engine.GetState().ledLevels[51], 255);
    EXPECT_EQ(engine.GetState().keyHeld[51], 1);
}

// ---- Bounds -------------------------------------------------------------------------------------

TEST(KeyboardEngineBounds, TableDrivenModesLeaveSlotsWithoutKeysAlone) {
    // Logical keys 132–169 sit on no grid cell, path or list: modes that walk those tables never
    // write them.
    for (std::uint8_t mode : {1, 2, 3, 5, 12, 15, 16, 18, 21, 22}) {
        for (bool multi : {false, true}) {
            ManualClock clock;
            SeededLightRandom random(mode);
            KeyboardLightEngine engine(clock, random);
            engine.LoadLighting(Light(mode, multi), {}, {}, {});
            for (int i = 0; i < 400; ++i) {
                engine.StepOnce();
            }
            const auto frame = engine.GetFrame();
            for (std::size_t k = 132; k < frame.size(); ++k) {
                ASSERT_EQ(frame[k], LedColour{}) << "mode " << int(mode) << " key " << k;
            }
        }
    }
}

TEST(KeyboardEngineBounds, OddInputsStayInsideTheTables) {
    ManualClock clock;
    SeededLightRandom random(3);
    KeyboardLightEngine engine(clock, random);
    for (int mode = 0; mode < 256; ++mode) {
        KeyboardLight light = Light(static_cast<std::uint8_t>(mode), mode % 2 == 0,
                                    static_cast<std::uint8_t>(mode % 3), 200, 200);
        light.secondaryMode = 255;
        engine.SetLight(light);
        for (int i = 0; i < 300; ++i) {
            clock.Advance(3);
            engine.Wake();
        }
        // Modes without a step play the (empty) user effect: dark.
        if (mode == 0 || mode == 19 || mode > 30) {
            for (const LedColour& led : engine.GetFrame()) {
                ASSERT_EQ(led, LedColour{}) << "mode " << mode;
            }
        }
    }
}

} // namespace
} // namespace q407::devices
