#pragma once

// A simulated product's firmware described as data: what it answers to the device information
// query, its key tables, LED index table, memories and power state. The Sane…() functions give
// a plausible device of each kind; a test takes one and changes the field it is about.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace q407::sim {

enum class ProductKind { Mouse, Keyboard, MousePad, Headset };

struct FirmwareSpec {
    std::string name;
    ProductKind kind = ProductKind::Mouse;
    bool throughReceiver = false;

    // Answer of command 0x03. Bytes 0-1 firmware version (major, minor; also the interfaces' USB
    // release number), 5 key positions, 6 macro memory in 128-byte units, 7 device
    // flag, 9-10 sensor id, 11 DPI step, 14-15 lowest DPI.
    std::array<std::uint8_t, 34> deviceInfo{};
    std::vector<std::uint8_t> defaultKeyTable; // 3 bytes per key position (0x07)
    std::vector<std::uint8_t> keyTable;        // current assignment (0x08, 0x09)
    std::vector<std::uint8_t> ledIndexTable;   // one LED slot per key position (0x1B)
    std::vector<std::uint8_t> settingsMemory;  // current profile at 0, then the blocks (0x05, 0x06)
    std::vector<std::uint8_t> indexedMemory;   // custom colour groups (0x0A, 0x0B)
    std::size_t lightFrameSize = 0;            // bytes of one host-driven colour frame (0x12)
    std::size_t recoilMemorySize = 0;          // 0x17
    std::array<std::uint8_t, 8> powerState{};  // 0x1A: level %, charging, -, -, value, phone

    std::size_t KeyPositions() const { return deviceInfo[5]; }
    std::size_t MacroMemorySize() const { return std::size_t{deviceInfo[6]} * 128U; }
};

// Mouse A: 0x3325 sensor (stores DPI values as they are), 16 key positions.
FirmwareSpec SaneMouseA(bool throughReceiver = false);
// Mouse B (through its receiver): 0x3395 sensor, DPI stored as (DPI - base) / step.
FirmwareSpec SaneMouseB();
// Keyboard K: 170 key positions whose factory codes follow the logical key order, LED slots
// spread over the positions, five custom colour groups (the first holding a gradient).
FirmwareSpec SaneKeyboard(bool throughReceiver = false);
FirmwareSpec SaneMousePad();
FirmwareSpec SaneHeadset();

// Block layouts of the settings memory.
inline constexpr std::size_t kMouseBlockStride = 96;
inline constexpr std::size_t kMouseBlockSize = 80;
inline constexpr std::size_t kKeyboardBlockStride = 33;
inline constexpr std::size_t kKeyboardBlockSize = 34;

} // namespace q407::sim
