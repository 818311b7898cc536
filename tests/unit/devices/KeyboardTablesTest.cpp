// The keyboard's constant tables: spot checks against the layout, the shape of each table, and
// the position map built from a keyboard's own key position table.

#include "devices/KeyboardTables.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace q407::devices::kb {
namespace {

TEST(KeyboardTables, LogicalKeyCodes) {
    const auto& table = LogicalKeyTable();
    EXPECT_EQ(table[0], (KeyFunctionCode{0x20, 0, 0x29})) << "Esc";
    EXPECT_EQ(table[12], (KeyFunctionCode{0x20, 0, 0x45})) << "F12";
    EXPECT_EQ(table[16], (KeyFunctionCode{0xA0, 0x1B, 0})) << "GM";
    EXPECT_EQ(table[31], (KeyFunctionCode{0x20, 0, 0x27})) << "0";
    EXPECT_EQ(table[51], (KeyFunctionCode{0x20, 0, 0x12})) << "O";
    EXPECT_EQ(table[64], (KeyFunctionCode{0x20, 0, 0x04})) << "A";
    EXPECT_EQ(table[84], (KeyFunctionCode{0x20, 0x02, 0})) << "LShift";
    EXPECT_EQ(table[91], (KeyFunctionCode{0x20, 0, 0x10})) << "M";
    EXPECT_EQ(table[110], (KeyFunctionCode{0xA0, 0x01, 0})) << "FN";
    EXPECT_EQ(table[118], (KeyFunctionCode{0x20, 0, 0x58})) << "Num Enter";
    EXPECT_EQ(table[122], (KeyFunctionCode{0xD0, 0xA2, 3})) << "M3";
    EXPECT_EQ(table[125], (KeyFunctionCode{0x20, 0x80, 0})) << "RWin";
    for (std::size_t k : {18u, 19u, 20u, 104u, 126u, 169u}) {
        EXPECT_EQ(table[k], (KeyFunctionCode{0x20, 0, 0})) << "empty key " << k;
    }
}

TEST(KeyboardTables, PositionMapTakesTheFirstMatch) {
    const auto& table = LogicalKeyTable();
    std::vector<KeyFunctionCode> positions{table[51], table[0], table[51], {0x99, 1, 2}};
    const auto map = BuildPositionMap(positions);
    EXPECT_EQ(map[51], 0) << "O appears twice: the first position wins";
    EXPECT_EQ(map[0], 1);
    EXPECT_EQ(map[1], kNoKey) << "F1 is missing from this keyboard";
    // Position 255 would read as "none", so a table that long stops mapping before it.
    std::vector<KeyFunctionCode> lengthy(300, KeyFunctionCode{0x77, 0, 0});
    lengthy[255] = table[64];
    EXPECT_EQ(BuildPositionMap(lengthy)[64], kNoKey);
}

TEST(KeyboardTables, GridsHoldTheLayout) {
    EXPECT_EQ(GridKey(2, 0), 0);
    EXPECT_EQ(GridKey(7, 0), 18);
    EXPECT_EQ(GridKey(10, 2), 51);
    EXPECT_EQ(GridKey(22, 2), 16);
    EXPECT_EQ(GridKey(0, 5), 124);
    EXPECT_EQ(GridKey(22, 5), 131);
    EXPECT_EQ(GridKey(0, 0), kNoKey);
    EXPECT_EQ(GridKey(-1, 2), kNoKey);
    EXPECT_EQ(GridKey(23, 2), kNoKey);
    EXPECT_EQ(GridKey(3, 6), kNoKey) << "row 6 is below the grid";
    EXPECT_EQ(TallKeyGrid()[0][20], 125);
    EXPECT_EQ(TallKeyGrid()[6][0], 105);
    EXPECT_EQ(TallKeyGrid()[2][15], 34);
    EXPECT_EQ(TallKeyGrid()[6][22], kNoKey);
}

TEST(KeyboardTables, KeyOrderAndFindLogicalKey) {
    const auto& order = KeyOrder();
    EXPECT_EQ(order.front(), 15);
    EXPECT_EQ(order[106], 77);
    EXPECT_EQ(std::count(order.begin(), order.end(), kNoKey), 19);
    std::set<int> distinct(order.begin(), order.begin() + 107);
    EXPECT_EQ(distinct.size(), 107u) << "no key twice";
    EXPECT_EQ(FindLogicalKey(51), 51);
    EXPECT_EQ(FindLogicalKey(62), 62);
    EXPECT_EQ(FindLogicalKey(16), 170) << "GM is not in the list";
    EXPECT_EQ(FindLogicalKey(120), 170);
    EXPECT_EQ(FindLogicalKey(255), 170);
}

TEST(KeyboardTables, DotPathRingsAndPaths) {
    const auto& dot = DotPath();
    EXPECT_EQ(dot[0], 0);
    EXPECT_EQ(dot[16], 17);
    EXPECT_EQ(dot[65], 75);
    EXPECT_EQ(dot[66], kNoKey);
    EXPECT_EQ(dot[80], kNoKey);
    EXPECT_EQ(dot[109], 105);
    for (std::size_t p = 110; p < 126; ++p) {
        EXPECT_EQ(dot[p], kNoKey) << p;
    }
    for (std::size_t p = 126; p < 170; ++p) {
        EXPECT_EQ(dot[p], 0) << p;
    }
    const std::vector<std::size_t> ringSizes{1, 6, 10, 12, 12, 12, 10, 11, 10, 12, 8, 3};
    for (std::size_t i = 0; i < ringSizes.size(); ++i) {
        EXPECT_EQ(Rings()[i].count, ringSizes[i]) << "ring " << i;
    }
    EXPECT_EQ(Rings()[11].keys[2], 41);
    EXPECT_EQ(PatternRows()[16].count, 6);
    EXPECT_EQ(PatternRows()[19].keys[1], 94);
    EXPECT_EQ(PatternPairs()[15][0], 72);
    EXPECT_EQ(TrailPath()[25].count, 11);
    EXPECT_EQ(TrailPath()[51].keys[8], 120);
    EXPECT_EQ(TwinkleList()[51], kNoKey);
    EXPECT_EQ(TwinkleList()[103], 32);
}

TEST(KeyboardTables, CurvesAndStartPhases) {
    const auto& wave = WaveTable();
    EXPECT_EQ(wave[0], 22);
    EXPECT_EQ(wave[47], 255);
    EXPECT_EQ(wave[48], 255);
    EXPECT_EQ(wave[95], 22);
    EXPECT_EQ(wave[51], 234);
    const auto& pulse = PulseCurve();
    EXPECT_EQ(pulse[9], 84);
    EXPECT_EQ(pulse[24], 255);
    EXPECT_EQ(pulse[25], 248);
    EXPECT_EQ(pulse[35], 182);
    EXPECT_EQ(pulse[86], 2);
    EXPECT_EQ(pulse[87], 1);
    EXPECT_TRUE(std::all_of(pulse.begin() + 88, pulse.end(), [](int v) { return v == 0; }));
    const auto& starts = StartPhases();
    EXPECT_EQ(starts[0], 72);
    EXPECT_EQ(starts[6 * 1 + 4], 182);
    EXPECT_EQ(starts[6 * 9 + 5], 20);
    EXPECT_EQ(starts[6 * 13], 192);
    EXPECT_EQ(starts[6 * 22 + 5], 32);
    EXPECT_EQ(starts[6 * 18 + 5], 190);
}

TEST(KeyboardTables, ModeTimings) {
    EXPECT_EQ(KeyboardModeTiming(2, 0).interval, 12u);
    EXPECT_EQ(KeyboardModeTiming(2, 2).interval, 5u);
    EXPECT_EQ(KeyboardModeTiming(2, 3).interval, 0u);
    EXPECT_EQ(KeyboardModeTiming(17, 3).interval, 3u);
    EXPECT_EQ(KeyboardModeTiming(17, 4).interval, 0u);
    for (unsigned mode : {1u, 3u, 16u, 18u, 20u, 28u, 30u}) {
        EXPECT_EQ(KeyboardModeTiming(mode, 0).timing, StepTiming::Interval);
        EXPECT_EQ(KeyboardModeTiming(mode, 0).interval, 8u) << mode;
        EXPECT_EQ(KeyboardModeTiming(mode, 1).interval, 5u) << mode;
        EXPECT_EQ(KeyboardModeTiming(mode, 3).interval, 1u) << mode;
    }
    EXPECT_EQ(KeyboardModeTiming(1, 9).interval, 0u);
    EXPECT_EQ(KeyboardModeTiming(29, 0).timing, StepTiming::Music);
    for (unsigned mode : {0u, 19u, 31u, 200u}) {
        EXPECT_EQ(KeyboardModeTiming(mode, 0).timing, StepTiming::Player) << mode;
    }
    EXPECT_EQ(EffectInterval(0), 8u);
    EXPECT_EQ(EffectInterval(4), 1u);
    EXPECT_EQ(EffectInterval(5), 0u);
}

} // namespace
} // namespace q407::devices::kb
