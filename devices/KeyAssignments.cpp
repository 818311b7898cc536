#include "devices/KeyAssignments.h"

#include "profiles/CMacroLibrary.h"
#include "protocol/Sequences.h"

#include <algorithm>

namespace q407::devices {
namespace {

namespace p = protocol;

constexpr std::uint8_t kMacroCategory = 0x70;
constexpr std::uint8_t kMacroCategoryAlt = 0x71;
constexpr int kNoPosition = 255;

} // namespace

int MacroLibrarySize(const DeviceModel& model) {
    const std::filesystem::path folder = model.GetProfileFolder();
    return folder.empty() ? 0 : static_cast<int>(profiles::CMacroLibrary(folder).Load().size());
}

bool IsMacroFunction(std::uint32_t function) {
    const auto category = static_cast<std::uint8_t>(function >> 16);
    return category == kMacroCategory || category == kMacroCategoryAlt;
}

int MacroIndexOf(std::uint32_t function) {
    return static_cast<int>((function >> 8) & 0xFF);
}

std::vector<int> UsedMacros(const KeyEntries& entries, const std::map<int, int>& positions,
                            int macroCount, std::size_t keyLimit) {
    std::vector<int> used;
    const std::size_t keys = std::min(entries.size(), keyLimit);
    for (std::size_t key = 0; key < keys; ++key) {
        const auto position = positions.find(static_cast<int>(key));
        if (position == positions.end() || position->second == kNoPosition ||
            !IsMacroFunction(entries[key])) {
            continue;
        }
        const int index = MacroIndexOf(entries[key]);
        if (index < macroCount && std::find(used.begin(), used.end(), index) == used.end()) {
            used.push_back(index);
        }
    }
    return used;
}

std::vector<std::uint8_t> BuildKeyTable(std::span<const std::uint8_t> factory,
                                        const std::map<int, int>& positions,
                                        const KeyEntries& entries,
                                        std::vector<profiles::KeyAssignmentEntry>& keys,
                                        int macroCount, std::size_t keyLimit) {
    const std::vector<int> used = UsedMacros(entries, positions, macroCount, keyLimit);
    std::vector<std::uint8_t> table(factory.begin(), factory.end());
    for (const auto& [key, position] : positions) {
        const auto at = static_cast<std::size_t>(key);
        if (position == kNoPosition || at >= entries.size() || at >= keyLimit ||
            static_cast<std::size_t>(position) * 3 + 3 > table.size()) {
            continue;
        }
        profiles::KeyFunctionBytes code =
            profiles::KeyFunctionFromInt(static_cast<int>(entries[at]));
        if (IsMacroFunction(entries[at])) {
            const int index = MacroIndexOf(entries[at]);
            if (index < macroCount) {
                code[1] = static_cast<std::uint8_t>(std::find(used.begin(), used.end(), index) -
                                                    used.begin());
            } else if (at < keys.size()) {
                keys[at].assignment = keys[at].defaultAssignment;
                code = keys[at].defaultAssignment;
            } else {
                continue; // no default known: the factory function stays
            }
        }
        std::copy(code.begin(), code.end(),
                  table.begin() + static_cast<std::ptrdiff_t>(position) * 3);
    }
    return table;
}

int ProtocolMacroDevice::BeginConfig() {
    return p::RunLinked(m_protocol, [&] { return m_protocol.BeginConfig(); });
}

int ProtocolMacroDevice::ReadDeviceInfo(profiles::DeviceInfoBlock& info) {
    return p::RunLinked(m_protocol, [&] { return m_protocol.ReadDeviceInfo(info); });
}

int ProtocolMacroDevice::WriteMacroData(std::span<const std::uint8_t> image) {
    return p::RunLinked(m_protocol,
                        [&] { return m_protocol.WriteMacroImage(image.data(), image.size()); });
}

int ProtocolMacroDevice::EndConfig(int argument) {
    return p::RunLinked(m_protocol, [&] { return m_protocol.EndConfig(argument); });
}

} // namespace q407::devices
