#pragma once

// What the device models share about their profiles and key tables: the profile and light
// configuration paths, the name lists of the lighting panel, the macro renumbering of a key
// table and the macro image commands through the page's protocol object.

#include "devices/DeviceModel.h"
#include "profiles/CBasicProfiledata.h"
#include "profiles/MacroImage.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace q407::devices {

// A name that can be used as a file name inside a folder: not empty, no separator, not "."/"..".
bool IsPlainName(const std::string& name);

// The lists a page hands its lighting panel and keeps for the settings block.
struct NameLists {
    std::vector<std::string> macroNames;
    std::vector<std::string> lightNames; // text ids
    std::vector<int> lightVisible;
    std::vector<int> effectCodes;
    std::vector<std::string> areaLightNames;
    std::vector<std::string> userLightNames;
};

// Points `profile` at the model's files: the selected profile ("<uuid>.Json"), the light
// configuration ("<name>.config") and the default profile. Names that are not plain are never
// used as paths (they come from the profile list and the page set-up).
void SetProfilePaths(profiles::CBasicProfiledata& profile, const DeviceModel& model,
                     int firstCustomLightMode);

// Reads the selected profile's file into `profile`; false, with nothing taken, when there is no
// path or the file gives nothing.
bool LoadSelectedProfile(profiles::CBasicProfiledata& profile);
// Takes the default profile's entry for the model's device index into `profile`; false, with
// nothing changed, when the default profile has none.
bool LoadDefaultProfile(profiles::CBasicProfiledata& profile, const DeviceModel& model);

// Reads "macro.config" (profile folder), the light table `lightTable` of "default_light.json"
// (default data folder; a file with a single list serves every table) and the saved effects of
// the light configuration file. Missing or damaged files give empty lists.
NameLists ReadNameLists(const DeviceModel& model, profiles::CBasicProfiledata& profile,
                        int lightTable);

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
