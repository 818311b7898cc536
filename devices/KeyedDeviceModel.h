#pragma once

// What the mouse and the keyboard models share on the key side: the device tables read from the
// device, the key list of the selected profile, one key's new function, the macro names the keys
// use, and writing the keys with their macros. Each model says which macros its keys use
// (UsedMacroIndices) and writes its own key table.

#include "devices/KeyAssignmentDevice.h"
#include "devices/ProfiledDeviceModel.h"
#include "protocol/Sequences.h"

#include <string>
#include <vector>

namespace q407::devices {

class KeyedDeviceModel : public ProfiledDeviceModel, public KeyAssignmentDevice {
public:
    using ProfiledDeviceModel::ProfiledDeviceModel;

    // Both connections are online while the receiver's link query answers.
    bool IsLinkOnline() override;

    // --- Keys and macros ---------------------------------------------------------------------
    // The current functions of the key list in their stored integer form.
    KeyEntries CurrentKeyEntries() const;
    // Names of the macros the keys use, in first-use order.
    std::vector<std::string> GetMacroList() const override;
    int WriteCurrentKeyTable(profiles::CBasicProfiledata* profile) override;
    // The macro image of the listed library indexes: 0 written (or nothing to write), n > 0 the
    // image is too large by about n - 1 events (nothing written), negative a failed command.
    int WriteMacroImage(const std::vector<int>& macroIndices) override;

    // --- The key assignment panel's side (KeyAssignmentDevice) -------------------------------
    std::vector<profiles::KeyAssignmentEntry> GetKeyList() const override { return m_keyList; }
    bool SetKeyFunction(int key, std::uint32_t function) override;
    bool IsKeyChanged(int key) const override;
    // The used macros' image, then the key table.
    int WriteKeysToDevice() override;
    int ReloadKeys() override { return LoadProfile(); }

    const protocol::DeviceTables& Tables() const { return m_tables; }
    bool KeyTablesRead() const { return m_tablesRead; }

protected:
    // Library indexes of the macros the current keys use, once each in first-use order.
    virtual std::vector<int> UsedMacroIndices() const = 0;

    protocol::DeviceTables m_tables;
    bool m_tablesRead = false;
    std::vector<profiles::KeyAssignmentEntry> m_keyList;
};

} // namespace q407::devices
