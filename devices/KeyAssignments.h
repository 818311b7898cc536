#pragma once

// What the mouse and keyboard models share about key tables: the macros the keys use, the key
// table sent to the device with macro functions renumbered to their place in the device's macro
// image, and the macro image commands through the page's protocol object.

#include "devices/DeviceModel.h"
#include "profiles/MacroImage.h"
#include "profiles/ProfileRecords.h"

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace q407::devices {

// The number of macros of the device folder's library (0 without a folder).
int MacroLibrarySize(const DeviceModel& model);

// Key functions in their stored integer form.
bool IsMacroFunction(std::uint32_t function);
int MacroIndexOf(std::uint32_t function);

// Library indexes of the macros the keys use, once each in first-use order. Only keys below
// `keyLimit` with a device position count, and only macros below `macroCount`.
std::vector<int> UsedMacros(const KeyEntries& entries, const std::map<int, int>& positions,
                            int macroCount, std::size_t keyLimit);

// The key table the device is sent: the factory table with each key's function at its device
// position. A macro function gets its place in the used-macro list as its number; a macro the
// library does not hold falls back to the key's default function (in `keys`, which is changed
// the same way so the page shows what the device got) or, without one, leaves the factory code.
std::vector<std::uint8_t> BuildKeyTable(std::span<const std::uint8_t> factory,
                                        const std::map<int, int>& positions,
                                        const KeyEntries& entries,
                                        std::vector<profiles::KeyAssignmentEntry>& keys,
                                        int macroCount, std::size_t keyLimit);

// The macro image commands through a page's protocol object, each behind the link query when
// the device is reached through its receiver.
class ProtocolMacroDevice final : public profiles::IMacroImageDevice {
public:
    explicit ProtocolMacroDevice(protocol::CDeviceProtocol& protocol) : m_protocol(protocol) {}
    bool IsOpen() const override { return m_protocol.IsOpened(); }
    int BeginConfig() override;
    int ReadDeviceInfo(profiles::DeviceInfoBlock& info) override;
    int WriteMacroData(std::span<const std::uint8_t> image) override;
    int EndConfig(int argument) override;

private:
    protocol::CDeviceProtocol& m_protocol;
};

} // namespace q407::devices
