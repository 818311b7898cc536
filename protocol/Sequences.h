#pragma once

// The command sequences the device pages run. Each step must succeed (result 1), else the
// sequence stops and returns that step's result. A sequence is not atomic as a whole: other
// commands of the same device may run between its steps.

#include "protocol/CDeviceProtocol.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>

namespace q407::protocol {

// Where the settings blocks of a kind of product lie in its settings memory.
struct SettingsLayout {
    std::size_t readLength = 0;    // bytes read per block
    std::uint16_t readStride = 0;  // block of profile p is read at p × readStride
    std::size_t writeLength = 0;   // bytes written per block
    std::uint16_t writeStride = 0; // and written at p × writeStride
};
inline constexpr SettingsLayout kMouseSettings{80, 96, 80, 96};
inline constexpr SettingsLayout kKeyboardSettings{34, 33, 34, 33};
inline constexpr SettingsLayout kPadSettings{34, 33, 21, 64}; // mouse pad and headset

// What a page keeps from reading a device.
struct DeviceTables {
    std::array<std::uint8_t, kDeviceInfoSize> deviceInfo{};
    std::array<std::uint8_t, kMaxTableSize> defaultKeyTable{};
    std::array<std::uint8_t, kMaxTableSize> keyTable{};
    std::array<std::uint8_t, kMaxTableSize / 3> ledIndexTable{};
};

// Device information bytes the pages use.
inline constexpr std::size_t kInfoKeyPositions = 5;
inline constexpr std::size_t kInfoMacroUnits = 6; // macro memory in units of 128 bytes
inline constexpr std::size_t kInfoDeviceFlag = 7;
inline constexpr std::size_t kInfoSensorId = 9; // 2 bytes, low first
inline constexpr std::size_t kInfoDpiStep = 11;
inline constexpr std::size_t kInfoDpiBase = 14; // 2 bytes, low first

// Runs one command of a write sequence: through the receiver only when the link query succeeds
// (else "no answer", and the command is not sent).
template <typename Step>
int RunLinked(CDeviceProtocol& protocol, Step step) {
    if (protocol.IsWireless() && !protocol.QueryWirelessLink()) {
        return kResultNoAnswer;
    }
    return step();
}

// Called with the device flag (byte 7 of the device information) when a mouse has been read, so
// the page can tell the main window.
using DeviceFlagReport = std::function<void(bool flag)>;

// Through the receiver, first the link query 0xAA must succeed; then 0x01, 0x03, the key table
// size from the device information (3 × key positions; above 512 stops the sequence), the flag
// report, 0x07, 0x08 (bank 0), 0x02.
int ReadMouse(CDeviceProtocol& protocol, DeviceTables& tables,
              const DeviceFlagReport& reportFlag = {});
// 0x01, 0x03, key table size, 0x07, 0x1B, 0x02.
int ReadKeyboard(CDeviceProtocol& protocol, DeviceTables& tables);
// 0x01, 0x03, 0x02 (the mouse pad's activation).
int ReadDeviceInformation(CDeviceProtocol& protocol,
                          std::span<std::uint8_t, kDeviceInfoSize> deviceInfo);

// Writes through the receiver put the link query before every command and end with 0 when it
// fails.
// 0x01, 0x03, 0x09 (bank 0, the protocol's key table size), 0x02.
int WriteKeyTableSequence(CDeviceProtocol& protocol, std::span<const std::uint8_t> keyTable);
// 0x01, 0x03, 0x15, 0x02.
int WriteMacroImageSequence(CDeviceProtocol& protocol, std::span<const std::uint8_t> image);
// 0x01, 0x03, 0x17, 0x02.
int WriteRecoilSequence(CDeviceProtocol& protocol, std::span<const std::uint8_t> recoil);
// 0x01, 0x06 (the block at profile × write stride), 0x02.
int WriteSettingsSequence(CDeviceProtocol& protocol, const SettingsLayout& layout, int profile,
                          std::span<const std::uint8_t> block);
// Through the receiver the link query first; then 0x05 of the current profile number (1 byte at
// address 0) and 0x05 of that profile's block into `block` (layout.readLength bytes).
int ReadSettingsSequence(CDeviceProtocol& protocol, const SettingsLayout& layout,
                         std::uint8_t& currentProfile, std::span<std::uint8_t> block);
// The same for a profile the caller names (the device's own buttons report it in their event):
// the link query through the receiver, then 0x05 of that profile's block.
int ReadProfileSettingsSequence(CDeviceProtocol& protocol, const SettingsLayout& layout,
                                std::uint8_t profile, std::span<std::uint8_t> block);

} // namespace q407::protocol
