#include "devices/DeviceProfiles.h"

#include "profiles/CMacroLibrary.h"
#include "profiles/JsonFile.h"
#include "protocol/Sequences.h"

#include <algorithm>

namespace q407::devices {
namespace {

namespace p = protocol;

constexpr std::uint8_t kMacroCategory = 0x70;
constexpr std::uint8_t kMacroCategoryAlt = 0x71;
constexpr int kNoPosition = 255;

// "DefaultLightName" and "AreaLightName" hold either one list or one list per light table.
const Json::Value& LightTableList(const Json::Value& root, const char* key, int table) {
    const Json::Value& list = profiles::Member(root, key);
    const Json::Value& first = profiles::Element(list, 0);
    if (first.isArray()) {
        return profiles::Element(list, static_cast<Json::ArrayIndex>(table < 0 ? 0 : table));
    }
    return list;
}

} // namespace

bool IsPlainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

void SetProfilePaths(profiles::CBasicProfiledata& profile, const DeviceModel& model,
                     int firstCustomLightMode) {
    profile.SetDeviceIndex(model.GetDeviceIndex());
    profile.SetDefaultPath(model.GetDefaultProfilePath());
    profile.SetFirstCustomLightMode(firstCustomLightMode);
    const std::filesystem::path folder = model.GetProfileFolder();
    if (folder.empty()) {
        return;
    }
    if (IsPlainName(model.ProfileUuid())) {
        profile.SetProfilePath(folder / (model.ProfileUuid() + ".Json"));
    }
    if (IsPlainName(model.LightConfigName())) {
        profile.SetLightConfigPath(folder / (model.LightConfigName() + ".config"));
    }
}

bool LoadSelectedProfile(profiles::CBasicProfiledata& profile) {
    const std::filesystem::path path = profile.GetProfilePath();
    return !path.empty() && !profile.LoadProfile(path).isNull();
}

bool LoadDefaultProfile(profiles::CBasicProfiledata& profile, const DeviceModel& model) {
    const std::filesystem::path defaults = model.GetDefaultProfilePath();
    const Json::Value entry =
        profiles::Element(profiles::Member(profiles::ReadJsonFile(defaults), "Device"),
                          static_cast<Json::ArrayIndex>(model.GetDeviceIndex()));
    if (defaults.empty() || entry.isNull()) {
        return false;
    }
    profile.LoadProfile(defaults);
    return true;
}

NameLists ReadNameLists(const DeviceModel& model, profiles::CBasicProfiledata& profile,
                        int lightTable) {
    NameLists lists;
    const std::filesystem::path folder = model.GetProfileFolder();
    if (!folder.empty()) {
        for (const profiles::MacroInfo& macro : profiles::CMacroLibrary(folder).Load()) {
            lists.macroNames.push_back(macro.name);
        }
    }
    const Json::Value lights =
        profiles::ReadJsonFile(model.GetDefaultFolder() / "default_light.json");
    const Json::Value& modes = LightTableList(lights, "DefaultLightName", lightTable);
    if (modes.isArray()) {
        for (const Json::Value& mode : modes) {
            lists.lightNames.push_back(profiles::AsString(profiles::Member(mode, "LightName")));
            lists.lightVisible.push_back(profiles::AsInt(profiles::Member(mode, "visible")));
            lists.effectCodes.push_back(profiles::AsInt(profiles::Member(mode, "value")));
        }
    }
    const Json::Value& areas = LightTableList(lights, "AreaLightName", lightTable);
    if (areas.isArray()) {
        for (const Json::Value& area : areas) {
            lists.areaLightNames.push_back(profiles::AsString(profiles::Member(area, "LightName")));
        }
    }
    if (!profile.GetLightConfigPath().empty()) {
        const Json::Value config = profile.LoadLightConfig(profile.GetLightConfigPath());
        const Json::Value& saved =
            profiles::Element(profiles::Member(config, "LightInfo"),
                              static_cast<Json::ArrayIndex>(model.GetDeviceIndex()));
        if (saved.isArray()) {
            for (const Json::Value& effect : saved) {
                lists.userLightNames.push_back(
                    profiles::AsString(profiles::Member(effect, "LightName")));
            }
        }
    }
    return lists;
}

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
