#include "devices/KeyedDeviceModel.h"

#include "devices/KeyAssignments.h"
#include "profiles/CBasicProfiledata.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/MacroImage.h"

namespace q407::devices {

bool KeyedDeviceModel::IsLinkOnline() {
    return IsOpen() && IsWireless() && Protocol().QueryWirelessLink();
}

KeyEntries KeyedDeviceModel::CurrentKeyEntries() const {
    KeyEntries entries;
    entries.reserve(m_keyList.size());
    for (const profiles::KeyAssignmentEntry& key : m_keyList) {
        entries.push_back(static_cast<std::uint32_t>(profiles::KeyFunctionToInt(key.assignment)));
    }
    return entries;
}

std::vector<std::string> KeyedDeviceModel::GetMacroList() const {
    const std::filesystem::path folder = GetProfileFolder();
    if (folder.empty()) {
        return {};
    }
    const std::vector<profiles::MacroInfo> macros = profiles::CMacroLibrary(folder).Load();
    std::vector<std::string> names;
    for (const int index : UsedMacroIndices()) {
        if (static_cast<std::size_t>(index) < macros.size()) { // the file may change meanwhile
            names.push_back(macros[static_cast<std::size_t>(index)].name);
        }
    }
    return names;
}

int KeyedDeviceModel::WriteCurrentKeyTable(profiles::CBasicProfiledata* profile) {
    return WriteKeyTable(profile, CurrentKeyEntries());
}

int KeyedDeviceModel::WriteMacroImage(const std::vector<int>& macroIndices) {
    const std::filesystem::path folder = GetProfileFolder();
    if (folder.empty()) {
        return 0;
    }
    ProtocolMacroDevice device(Protocol());
    profiles::DeviceInfoBlock info = m_tables.deviceInfo;
    const int result =
        profiles::WriteMacroImage(device, profiles::CMacroLibrary(folder), macroIndices, info);
    m_tables.deviceInfo = info;
    return result;
}

bool KeyedDeviceModel::SetKeyFunction(int key, std::uint32_t function) {
    if (key < 0 || static_cast<std::size_t>(key) >= m_keyList.size()) {
        return false;
    }
    m_keyList[static_cast<std::size_t>(key)].assignment =
        profiles::KeyFunctionFromInt(static_cast<int>(function));
    Record().SetKeyAssignments(m_keyList);
    return Record().SaveProfile();
}

bool KeyedDeviceModel::IsKeyChanged(int key) const {
    if (key < 0 || static_cast<std::size_t>(key) >= m_keyList.size()) {
        return false;
    }
    const profiles::KeyAssignmentEntry& entry = m_keyList[static_cast<std::size_t>(key)];
    return entry.assignment != entry.defaultAssignment;
}

int KeyedDeviceModel::WriteKeysToDevice() {
    return WriteKeysWithMacros(*this, Record(), UsedMacroIndices());
}

} // namespace q407::devices
