#include "devices/KeyboardTables.h"

#include <algorithm>
#include <initializer_list>

namespace q407::devices::kb {
namespace {

constexpr std::uint8_t N = kNoKey;

KeyRow Row(std::initializer_list<std::uint8_t> keys) {
    KeyRow row;
    for (std::uint8_t k : keys) {
        row.keys[row.count++] = k;
    }
    return row;
}

std::array<KeyFunctionCode, kKeySlots> BuildLogicalKeyTable() {
    constexpr KeyFunctionCode empty{0x20, 0x00, 0x00};
    std::array<KeyFunctionCode, kKeySlots> table;
    table.fill(empty);
    auto usage = [&](std::size_t k, std::uint8_t u) { table[k] = {0x20, 0x00, u}; };
    auto modifier = [&](std::size_t k, std::uint8_t bit) { table[k] = {0x20, bit, 0x00}; };
    auto run = [&](std::size_t first, std::initializer_list<std::uint8_t> usages) {
        for (std::uint8_t u : usages) {
            usage(first++, u);
        }
    };
    usage(0, 0x29); // Esc
    for (std::size_t i = 0; i < 12; ++i) {
        usage(1 + i, static_cast<std::uint8_t>(0x3A + i)); // F1–F12
    }
    run(13, {0x46, 0x47, 0x48});    // Print Scr, Scroll Lock, Pause
    table[16] = {0xA0, 0x1B, 0x00}; // GM
    table[17] = {0xA0, 0x24, 0x00};
    usage(21, 0x35); // `
    for (std::size_t i = 0; i < 10; ++i) {
        usage(22 + i, static_cast<std::uint8_t>(0x1E + i)); // 1–9, 0
    }
    // - = BackSpace Insert Home PgUp NumLock Num/ Num* Num- Tab
    run(32, {0x2D, 0x2E, 0x2A, 0x49, 0x4A, 0x4B, 0x53, 0x54, 0x55, 0x56, 0x2B});
    // Q W E R T Y U I O P [ ] \ Delete End PgDn Num7 Num8 Num9 K42 Caps
    run(43, {0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F,
             0x30, 0x31, 0x4C, 0x4D, 0x4E, 0x5F, 0x60, 0x61, 0x32, 0x39});
    // A S D F G H J K L ; ' Enter Num4 Num5 Num6 K132 K131 K151 K150 K133
    run(64, {0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E, 0x0F, 0x33,
             0x34, 0x28, 0x5C, 0x5D, 0x5E, 0x8A, 0x8B, 0x91, 0x90, 0x88});
    modifier(84, 0x02); // LShift
    // Z X C V B N M < . /
    run(85, {0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38});
    modifier(95, 0x20); // RShift
    // Up Num1 Num2 Num3 K56 K14 K45 K107
    run(96, {0x52, 0x59, 0x5A, 0x5B, 0x87, 0x89, 0x64, 0x85});
    modifier(105, 0x01);             // LCtrl
    modifier(106, 0x08);             // LWin
    modifier(107, 0x04);             // LAlt
    usage(108, 0x2C);                // Space
    modifier(109, 0x40);             // RAlt
    table[110] = {0xA0, 0x01, 0x00}; // FN
    usage(111, 0x65);                // App
    modifier(112, 0x10);             // RCtrl
    // Left Down Right Num0 Decimal NumEnter Num+
    run(113, {0x50, 0x51, 0x4F, 0x62, 0x63, 0x58, 0x57});
    for (std::uint8_t i = 0; i < 5; ++i) {
        table[120 + i] = {0xD0, 0xA2, static_cast<std::uint8_t>(i + 1)}; // M1–M5
    }
    modifier(125, 0x80); // RWin
    return table;
}

constexpr KeyGridRows kKeyGrid{{
    {N, N, 0, 1, 2, 3, 4, 18, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, N, N, N, N},
    {120, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 101, 35, 36, 37, 38, 39, 40, 41},
    {121, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 103, 56, 57, 58, 59, 60, 61, 16},
    {122, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 62, 75, 79, 82, 83, 17, 76, 77, 78, 119},
    {123, 84,  102, 85, 86, 87, 88, 89, 90, 91, 92, 93,
     94,  100, 19,  95, 80, 96, 81, 97, 98, 99, 118},
    {124, 105, 106, 20,  107, 126, 127, 108, 128, 129, 109, 125,
     110, 111, 130, 112, 113, 114, 115, 116, 104, 117, 131},
}};

constexpr TallKeyGridRows kTallKeyGrid{{
    {N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, 125, N, N},
    {N, N, 0, 1, 2, 3, 4, N, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 19, 20},
    {N, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 34, 35, 36, 37, 38, 39, 40, 41},
    {N, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 55, 56, 57, 58, 59, 60, 61, N},
    {N, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, N, N, N, N, N, 76, 77, 78, 119},
    {N, 84, 85, 86, 87, 88, 89, 90, 91, 92, 93, 94, N, N, 95, 95, N, 96, N, 97, 98, 99, 118},
    {105, 106, 107, N,   N,   N,   108, N,   N,   109, 109, 110,
     111, N,   112, 112, 113, 114, 115, 116, 116, 117, N},
}};

constexpr std::array<std::uint8_t, 126> kKeyOrder{
    15, 14, 13,  12,  11,  10,  9,   8,   7,   6,   5,   4,   3,   2,   1,   0,   21,  42,
    63, 84, 105, 106, 107, 108, 109, 125, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119,
    41, 40, 39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,  24,
    23, 22, 43,  64,  102, 85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,  97,
    98, 99, 78,  61,  60,  59,  58,  57,  56,  55,  54,  53,  52,  51,  50,  49,  48,  47,
    46, 45, 44,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  62,  75,  76,  77,  N,
    N,  N,  N,   N,   N,   N,   N,   N,   N,   N,   N,   N,   N,   N,   N,   N,   N,   N};

std::array<std::uint8_t, 170> BuildDotPath() {
    constexpr std::uint8_t keyed[110] = {
        0,  1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14, 15, 17, 18, 19,
        20, 41,  40,  39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28, 27, 26, 25, 24,
        23, 22,  21,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53, 54, 55, 56, 57,
        58, 59,  60,  61,  119, 78,  77,  76,  75,  N,   74,  73,  72,  71,  70, 69, 68, 67, 66,
        65, 64,  63,  84,  N,   85,  86,  87,  88,  89,  90,  91,  92,  93,  94, 95, 96, 97, 98,
        99, 118, 117, 116, 115, 114, 113, 112, 111, 110, 109, 108, 107, 106, 105};
    std::array<std::uint8_t, 170> path{};
    std::fill(path.begin(), path.end(), std::uint8_t{0}); // positions 126–169 hold key 0
    std::copy(std::begin(keyed), std::end(keyed), path.begin());
    std::fill(path.begin() + 110, path.begin() + 126, N);
    return path;
}

std::array<KeyRow, 12> BuildRings() {
    return {Row({51}),
            Row({30, 50, 71, 72, 52, 31}),
            Row({8, 29, 49, 70, 91, 92, 93, 73, 53, 32}),
            Row({7, 28, 48, 69, 90, 109, 94, 74, 54, 33, 9, 62}),
            Row({6, 27, 47, 68, 89, 110, 95, 75, 55, 34, 10, 11}),
            Row({5, 26, 46, 67, 88, 108, 111, 112, 56, 35, 12, 125}),
            Row({4, 25, 45, 66, 87, 113, 96, 57, 36, 13}),
            Row({3, 24, 44, 65, 86, 114, 115, 58, 37, 15, 14}),
            Row({2, 23, 43, 64, 85, 107, 97, 76, 59, 38}),
            Row({1, 22, 42, 63, 84, 106, 116, 98, 77, 60, 39, 102}),
            Row({0, 21, 105, 117, 99, 78, 61, 40}),
            Row({118, 119, 41})};
}

std::array<KeyRow, 20> BuildPatternRows() {
    return {Row({0, 118}),
            Row({1, 117}),
            Row({2, 116}),
            Row({3, 115, 21, 118}),
            Row({4, 114, 22, 99}),
            Row({5, 113, 23, 98}),
            Row({6, 112, 24, 97, 42, 119}),
            Row({7, 111, 25, 96, 43, 78}),
            Row({8, 125, 26, 95, 44, 77}),
            Row({9, 109, 27, 94, 45, 76}),
            Row({33, 92, 28, 93, 46}),
            Row({54, 71, 29, 92, 47, 75}),
            Row({74, 50, 30, 71, 48, 62}),
            Row({94, 30, 31, 50, 49, 74}),
            Row({93, 31, 52, 30, 50, 73}),
            Row({92, 32, 72, 31, 51, 72}),
            Row({71, 33, 71, 52, 52, 71}),
            Row({50, 54, 50, 72, 53}),
            Row({30, 74}),
            Row({31, 94})};
}

constexpr std::array<std::array<std::uint8_t, 2>, 16> kPatternPairs{{{30, 94},
                                                                     {31, 93},
                                                                     {32, 92},
                                                                     {33, 71},
                                                                     {54, 50},
                                                                     {74, 30},
                                                                     {94, 31},
                                                                     {93, 32},
                                                                     {92, 33},
                                                                     {71, 54},
                                                                     {50, 74},
                                                                     {51, 73},
                                                                     {52, 72},
                                                                     {53, 51},
                                                                     {73, 52},
                                                                     {72, 53}}};

std::array<KeyRow, 52> BuildTrailPath() {
    return {Row({25, 26, 50, 51}),
            Row({0, 26, 27, 50, 51}),
            Row({27, 28, 50, 51}),
            Row({1, 27, 50, 51}),
            Row({2, 27, 50, 51}),
            Row({3, 28, 51}),
            Row({4, 29, 51}),
            Row({29, 51}),
            Row({5, 29, 51}),
            Row({6, 30, 51}),
            Row({7, 30, 51}),
            Row({8, 51}),
            Row({31, 52}),
            Row({9, 32, 52}),
            Row({10, 32, 52}),
            Row({11, 33, 52}),
            Row({12, 34, 53, 52}),
            Row({13, 34, 53, 52}),
            Row({14, 34, 53, 52}),
            Row({15, 35, 52}),
            Row({36, 52}),
            Row({37, 52}),
            Row({38, 52}),
            Row({39, 52}),
            Row({41, 40, 38, 52, 54, 53, 55, 39}),
            Row({119, 61, 60, 59, 58, 57, 56, 62, 54, 53, 52}),
            Row({52, 53, 76, 78, 77, 54, 55}),
            Row({73, 74, 75, 97, 98, 99, 118}),
            Row({73, 74, 96, 117, 116}),
            Row({73, 95, 96, 75, 116, 117}),
            Row({73, 74, 95, 115, 116}),
            Row({73, 95, 115, 114}),
            Row({73, 95, 114, 113}),
            Row({73, 95, 113}),
            Row({73, 95, 112}),
            Row({73, 94, 111}),
            Row({73, 94, 125, 110}),
            Row({73, 93, 109}),
            Row({72, 92, 108}),
            Row({72, 92, 108}),
            Row({108, 91, 72}),
            Row({108, 90, 91, 72}),
            Row({108, 90, 71, 72}),
            Row({108, 89, 90, 71, 72}),
            Row({107, 88, 89, 71, 72}),
            Row({106, 107, 87, 88, 89, 70, 71, 72}),
            Row({105, 106, 87, 88, 70, 72}),
            Row({124, 105, 86, 87, 88, 70, 71, 72}),
            Row({123, 84, 85, 69, 70, 71, 72, 86, 102}),
            Row({122, 63, 64, 65, 68, 66, 67, 50, 51}),
            Row({121, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51}),
            Row({51, 21, 22, 23, 24, 48, 49, 50, 120})};
}

constexpr std::array<std::uint8_t, 104> kTwinkle{
    48, 109, 73, 64, 21,  95,  119, 118, 41, 26, 58, 63,  3,  92,  69,  6,  117, 36, 22, 25,  29,
    67, 59,  96, 75, 5,   108, 38,  12,  74, 42, 91, 107, 76, 115, 11,  51, 60,  0,  86, 23,  106,
    77, 53,  66, 9,  87,  28,  105, 10,  1,  N,  94, 70,  97, 111, 55,  14, 15,  49, 31, 61,  40,
    99, 116, 57, 7,  113, 98,  43,  33,  71, 2,  30, 35,  65, N,   45,  56, 50,  47, 34, 112, 102,
    85, N,   39, 24, 13,  88,  90,  46,  68, 78, N,  44,  37, 125, 110, 8,  114, 27, 52, 32};

std::array<std::uint8_t, 96> BuildWaveTable() {
    constexpr std::uint8_t rising[48] = {
        22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
        77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
        158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};
    std::array<std::uint8_t, 96> table{};
    for (std::size_t i = 0; i < 48; ++i) {
        table[i] = rising[i];
        table[95 - i] = rising[i];
    }
    return table;
}

std::array<std::uint8_t, 192> BuildPulseCurve() {
    constexpr std::uint8_t head[88] = {
        0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120, 130, 140, 150, 158, 166,
        175, 182, 191, 204, 220, 234, 255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182,
        176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,
        81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
        20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};
    std::array<std::uint8_t, 192> curve{};
    std::copy(std::begin(head), std::end(head), curve.begin());
    return curve;
}

std::array<std::uint8_t, 138> BuildStartPhases() {
    struct Group {
        std::initializer_list<int> columns;
        std::array<std::uint8_t, 6> values;
    };
    const Group groups[] = {
        {{0, 1}, {72, 52, 32, 12, 182, 162}}, {{2, 9, 19}, {120, 100, 80, 60, 40, 20}},
        {{3, 20}, {92, 82, 72, 62, 52, 42}},  {{4}, {160, 140, 120, 100, 80, 60}},
        {{5, 14}, {80, 70, 60, 50, 20, 10}},  {{6}, {90, 30, 0, 160, 130, 100}},
        {{7}, {50, 30, 10, 180, 160, 140}},   {{8}, {32, 22, 12, 2, 182, 172}},
        {{10}, {20, 5, 185, 170, 155, 140}},  {{11}, {60, 35, 15, 180, 155, 130}},
        {{12}, {120, 110, 100, 90, 80, 70}},  {{13, 22}, {192, 162, 132, 102, 72, 32}},
        {{15}, {100, 95, 90, 85, 80, 75}},    {{16}, {90, 80, 70, 60, 50, 40}},
        {{17}, {140, 110, 80, 50, 20, 180}},  {{18}, {70, 55, 40, 25, 10, 190}},
        {{21}, {60, 50, 40, 30, 20, 10}},
    };
    std::array<std::uint8_t, 138> phases{};
    for (const Group& group : groups) {
        for (int column : group.columns) {
            std::copy(group.values.begin(), group.values.end(), phases.begin() + 6 * column);
        }
    }
    return phases;
}

} // namespace

const std::array<KeyFunctionCode, kKeySlots>& LogicalKeyTable() {
    static const auto table = BuildLogicalKeyTable();
    return table;
}

std::array<std::uint8_t, kKeySlots> BuildPositionMap(std::span<const KeyFunctionCode> positions) {
    std::array<std::uint8_t, kKeySlots> map;
    map.fill(kNoKey);
    // Positions are bytes on the wire and 255 means "none", so only the first 255 can be mapped.
    const std::size_t count = std::min<std::size_t>(positions.size(), kNoKey);
    const auto& table = LogicalKeyTable();
    for (std::size_t j = 0; j < kKeySlots; ++j) {
        for (std::size_t k = 0; k < count; ++k) {
            if (positions[k] == table[j]) {
                map[j] = static_cast<std::uint8_t>(k);
                break;
            }
        }
    }
    return map;
}

const KeyGridRows& KeyGrid() {
    return kKeyGrid;
}
const TallKeyGridRows& TallKeyGrid() {
    return kTallKeyGrid;
}

std::uint8_t GridKey(int column, int row) {
    if (column < 0 || row < 0 || column >= static_cast<int>(kGridColumns) ||
        row >= static_cast<int>(kGridRows)) {
        return kNoKey;
    }
    const std::uint8_t k =
        kKeyGrid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    return IsKey(k) ? k : kNoKey;
}

const std::array<std::uint8_t, 126>& KeyOrder() {
    return kKeyOrder;
}

std::uint8_t FindLogicalKey(unsigned k) {
    if (!IsKey(k)) {
        return static_cast<std::uint8_t>(kKeySlots);
    }
    static const auto members = [] {
        std::array<bool, kKeySlots> inList{};
        for (std::uint8_t key : kKeyOrder) {
            if (IsKey(key)) {
                inList[key] = true;
            }
        }
        return inList;
    }();
    return members[k] ? static_cast<std::uint8_t>(k) : static_cast<std::uint8_t>(kKeySlots);
}

const std::array<std::uint8_t, 170>& DotPath() {
    static const auto path = BuildDotPath();
    return path;
}

const std::array<KeyRow, 12>& Rings() {
    static const auto rings = BuildRings();
    return rings;
}

const std::array<KeyRow, 20>& PatternRows() {
    static const auto rows = BuildPatternRows();
    return rows;
}

const std::array<std::array<std::uint8_t, 2>, 16>& PatternPairs() {
    return kPatternPairs;
}

const std::array<KeyRow, 52>& TrailPath() {
    static const auto path = BuildTrailPath();
    return path;
}

const std::array<std::uint8_t, 104>& TwinkleList() {
    return kTwinkle;
}

const std::array<std::uint8_t, 96>& WaveTable() {
    static const auto table = BuildWaveTable();
    return table;
}

const std::array<std::uint8_t, 192>& PulseCurve() {
    static const auto curve = BuildPulseCurve();
    return curve;
}

const std::array<std::uint8_t, 138>& StartPhases() {
    static const auto phases = BuildStartPhases();
    return phases;
}

unsigned EffectInterval(unsigned speedLevel) {
    constexpr std::array<unsigned, 5> intervals{8, 6, 4, 2, 1};
    return speedLevel < intervals.size() ? intervals[speedLevel] : 0;
}

ModeTiming KeyboardModeTiming(unsigned mode, unsigned speedLevel) {
    constexpr std::array<unsigned, 5> breathing{12, 8, 5, 0, 0};
    constexpr std::array<unsigned, 5> single{3, 3, 3, 3, 0};
    constexpr std::array<unsigned, 5> common{8, 5, 3, 1, 0};
    auto pick = [speedLevel](const std::array<unsigned, 5>& table) {
        return ModeTiming{StepTiming::Interval, speedLevel < table.size() ? table[speedLevel] : 0};
    };
    if (mode == 2) {
        return pick(breathing);
    }
    if (mode == 17) {
        return pick(single);
    }
    if (mode == 29) {
        return {StepTiming::Music, 0};
    }
    if (mode >= 1 && mode <= 30 && mode != 19) {
        return pick(common);
    }
    return {StepTiming::Player, 0};
}

} // namespace q407::devices::kb
