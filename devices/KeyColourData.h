#pragma once

// Per-key colours in the keyboard's own byte layout: three bytes (red, green, blue) per LED slot,
// where a key's slot comes from the keyboard's LED index table. Used to stream the engine's frame
// in the host-driven light modes and to read and write custom colour groups. A slot that falls
// outside the data (the table comes from the device) is skipped, never written or read.

#include "devices/KeyboardTables.h"
#include "devices/LightTables.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace q407::devices::kb {

using KeySlots = std::array<std::uint8_t, kKeySlots>;

// Logical key → LED slot: the LED index table entry at the key's position (kNoKey when the key
// has no position or the table is too short).
KeySlots BuildLedMap(const KeySlots& positionMap, std::span<const std::uint8_t> ledIndexTable);

// The frame as the keyboard shows it: each component scaled by the key's level,
// (component × level) >> 8, at the key's slot; slotCount × 3 bytes, zero where no key lights.
std::vector<std::uint8_t> PackFrame(std::span<const LedColour> frame, const KeySlots& ledMap,
                                    std::size_t slotCount);

// A custom colour group: each key's colour at its slot; slotCount × 3 bytes.
std::vector<std::uint8_t> PackColourGroup(std::span<const Rgb> colours, const KeySlots& ledMap,
                                          std::size_t slotCount);

// Takes each key's colour from a group read back from the keyboard; keys without a slot (or with
// one above 170, or outside the data) keep their colour.
void UnpackColourGroup(std::span<const std::uint8_t> data, const KeySlots& ledMap,
                       std::span<Rgb> colours);

} // namespace q407::devices::kb
