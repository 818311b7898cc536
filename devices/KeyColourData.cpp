#include "devices/KeyColourData.h"

#include <algorithm>

namespace q407::devices::kb {
namespace {

// Offset of a key's three bytes when they lie wholly inside size bytes.
bool SlotOffset(std::uint8_t slot, std::size_t size, std::size_t& offset) {
    offset = static_cast<std::size_t>(slot) * 3;
    return slot != kNoKey && offset + 3 <= size;
}

template <typename Colour, typename Bytes>
std::vector<std::uint8_t> Pack(std::span<const Colour> colours, const KeySlots& ledMap,
                               std::size_t slotCount, Bytes bytesOf) {
    std::vector<std::uint8_t> data(slotCount * 3, 0);
    const std::size_t keys = std::min(colours.size(), ledMap.size());
    for (std::size_t k = 0; k < keys; ++k) {
        std::size_t offset = 0;
        if (SlotOffset(ledMap[k], data.size(), offset)) {
            const std::array<std::uint8_t, 3> bytes = bytesOf(colours[k]);
            std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<long>(offset));
        }
    }
    return data;
}

} // namespace

KeySlots BuildLedMap(const KeySlots& positionMap, std::span<const std::uint8_t> ledIndexTable) {
    KeySlots map;
    for (std::size_t k = 0; k < map.size(); ++k) {
        const std::uint8_t position = positionMap[k];
        map[k] = position != kNoKey && position < ledIndexTable.size() ? ledIndexTable[position]
                                                                       : kNoKey;
    }
    return map;
}

std::vector<std::uint8_t> PackFrame(std::span<const LedColour> frame, const KeySlots& ledMap,
                                    std::size_t slotCount) {
    return Pack(frame, ledMap, slotCount, [](const LedColour& led) {
        auto scale = [&led](std::uint8_t c) {
            return static_cast<std::uint8_t>((c * led.level) >> 8);
        };
        return std::array<std::uint8_t, 3>{scale(led.red), scale(led.green), scale(led.blue)};
    });
}

std::vector<std::uint8_t> PackColourGroup(std::span<const Rgb> colours, const KeySlots& ledMap,
                                          std::size_t slotCount) {
    return Pack(colours, ledMap, slotCount, [](const Rgb& c) {
        return std::array<std::uint8_t, 3>{c.red, c.green, c.blue};
    });
}

void UnpackColourGroup(std::span<const std::uint8_t> data, const KeySlots& ledMap,
                       std::span<Rgb> colours) {
    const std::size_t keys = std::min(colours.size(), ledMap.size());
    for (std::size_t k = 0; k < keys; ++k) {
        std::size_t offset = 0;
        if (ledMap[k] <= kKeySlots && SlotOffset(ledMap[k], data.size(), offset)) {
            colours[k] = {data[offset], data[offset + 1], data[offset + 2]};
        }
    }
}

} // namespace q407::devices::kb
