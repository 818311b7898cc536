#pragma once

// The device macro image: the macros that keys use, packed into one little-endian block that is
// written to the device with command 0x15.
//
//   0   2      magic 0x55AA (bytes 0xAA 0x55)
//   2   2      total length in bytes
//   4   2      number of macros m
//   6   10     zero
//   16  2*m    offset of each macro's block from the start of the image
//   ...        per macro: event count n (2 bytes), 2 zero bytes, n events of 4 bytes:
//              delay (2 bytes), type with bit 7 set for "down", button (low 8 bits)
//
// Length = 16 + 6*m + 4*(events of all macros). The device holds byte 6 of its information
// block times 128 bytes.

#include "profiles/CMacroLibrary.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace q407::profiles {

// The 34-byte device information block (command 0x03), as the page keeps it.
using DeviceInfoBlock = std::array<std::uint8_t, 34>;

inline constexpr std::size_t kMacroImageHeaderBytes = 16;
inline constexpr std::size_t kMacroMemoryUnitBytes = 128;

// Byte 6 of the information block, in bytes.
std::size_t MacroCapacity(const DeviceInfoBlock& info);

std::size_t MacroImageLength(std::span<const std::vector<MacroEvent>> macros);

// Builds the image into `image`. Returns 0 on success; when the image exceeds `capacity`,
// returns ((length - capacity) >> 2) + 1, about the number of events too many, and leaves
// `image` empty; -1 when the image cannot be formed at all (beyond the 16-bit length field).
int BuildMacroImage(std::span<const std::vector<MacroEvent>> macros, std::size_t capacity,
                    std::vector<std::uint8_t>& image);

// What writing the image needs from a device's protocol object. Each operation returns the
// command result: 1 success; 0 not connected or no answer; -1 write failed; -101 device behind
// the receiver unreachable; -102/-103 device status 0xFF/0xFE.
class IMacroImageDevice {
public:
    virtual ~IMacroImageDevice() = default;

    // True while the command connection is open.
    virtual bool IsOpen() const = 0;
    // Command 0x01: opens a configuration sequence.
    virtual int BeginConfig() = 0;
    // Command 0x03: reads the device information block.
    virtual int ReadDeviceInfo(DeviceInfoBlock& info) = 0;
    // Command 0x15: writes the image in chunks of the connection's chunk size, base address 0.
    virtual int WriteMacroData(std::span<const std::uint8_t> image) = 0;
    // Command 0x02 (the argument is not sent): closes the sequence; the device applies it.
    virtual int EndConfig(int argument) = 0;
};

// Writes the image of the listed macros (library indexes, in download order) to the device.
// `info` is the page's copy of the information block: refreshed from the device when it is
// open, and its byte 6 gives the capacity. Results:
//   0   written, or nothing to write (empty list, unreadable index, device not open);
//   n>0 the image is too large (nothing written), n as BuildMacroImage;
//   <0  a command failed: its result, with "no answer" (0) reported as -1.
// Every sequence that was opened is closed with command 0x02.
int WriteMacroImage(IMacroImageDevice& device, const CMacroLibrary& library,
                    std::span<const int> macroIndexes, DeviceInfoBlock& info);

} // namespace q407::profiles
