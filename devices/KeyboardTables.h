#pragma once

// Constant tables of the keyboard: the logical key table with each key's factory function code,
// the key grids the lighting effects move over, the paths, rings and curves of the individual
// effects, and the step interval of each light mode.

#include <array>
#include <cstdint>
#include <span>

namespace q407::devices {

// What a key does: category, then two parameters (a keyboard key is category 0x20 with the
// modifier bits in param1 and the HID usage in param2).
struct KeyFunctionCode {
    std::uint8_t category = 0;
    std::uint8_t param1 = 0;
    std::uint8_t param2 = 0;
    friend bool operator==(const KeyFunctionCode&, const KeyFunctionCode&) = default;
};

namespace kb {

// Entries of the per-key frame (and of every per-key array); logical keys 0–125 are used.
inline constexpr std::size_t kKeySlots = 170;
inline constexpr std::size_t kUsedKeys = 126;
// A table cell or list slot without a key.
inline constexpr std::uint8_t kNoKey = 255;
inline constexpr bool IsKey(unsigned k) {
    return k < kKeySlots;
}

inline constexpr std::size_t kGridColumns = 23;
inline constexpr std::size_t kGridRows = 6;
inline constexpr std::size_t kTallGridRows = 7;

using KeyGridRows = std::array<std::array<std::uint8_t, kGridColumns>, kGridRows>;
using TallKeyGridRows = std::array<std::array<std::uint8_t, kGridColumns>, kTallGridRows>;

// Factory function code of every logical key (unused slots hold the empty key 0x20 0 0).
const std::array<KeyFunctionCode, kKeySlots>& LogicalKeyTable();

// Logical key → device key position: the first position whose factory code equals the key's code;
// kNoKey when the keyboard has no such position. positions holds one 3-byte code per position.
std::array<std::uint8_t, kKeySlots> BuildPositionMap(std::span<const KeyFunctionCode> positions);

// Key grid (row 0 is the top row) used by waves, ripples and music bars; cells hold a key or
// kNoKey.
const KeyGridRows& KeyGrid();
// Taller grid used only to prepare the staggered pulse modes.
const TallKeyGridRows& TallKeyGrid();
// Key at grid cell (column, row); kNoKey outside the grid or in an empty cell.
std::uint8_t GridKey(int column, int row);

// Snake through the rows: 107 keys, then 19 slots without a key.
const std::array<std::uint8_t, 126>& KeyOrder();
// k itself when k is in the key order list, else 170 (no key).
std::uint8_t FindLogicalKey(unsigned k);

const std::array<std::uint8_t, 170>& DotPath();

// A short list of keys (ring, pattern row or trail row).
struct KeyRow {
    std::array<std::uint8_t, 12> keys{};
    std::uint8_t count = 0;
    std::span<const std::uint8_t> Keys() const { return {keys.data(), count}; }
};

const std::array<KeyRow, 12>& Rings();
const std::array<KeyRow, 20>& PatternRows();
const std::array<std::array<std::uint8_t, 2>, 16>& PatternPairs();
const std::array<KeyRow, 52>& TrailPath();
const std::array<std::uint8_t, 104>& TwinkleList();
const std::array<std::uint8_t, 96>& WaveTable();
const std::array<std::uint8_t, 192>& PulseCurve();
// Start phase of the staggered pulses: value 6c + r for tall grid cell (c, r).
const std::array<std::uint8_t, 138>& StartPhases();

// Wakes between steps of the per-LED overrides and of the user-defined effect player, for a
// speed level 0–4 (above 4: 0).
unsigned EffectInterval(unsigned speedLevel);

// How the light thread paces a light mode.
enum class StepTiming {
    Interval, // the mode's step runs when the tick count reaches the interval
    Music,    // the step runs as soon as more than one tick has been counted
    Player,   // no step: the user-defined effect player runs on every wake
};
struct ModeTiming {
    StepTiming timing = StepTiming::Player;
    unsigned interval = 0;
};
ModeTiming KeyboardModeTiming(unsigned mode, unsigned speedLevel);

} // namespace kb
} // namespace q407::devices
