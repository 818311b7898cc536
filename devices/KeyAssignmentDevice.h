#pragma once

// The key side of a mouse or keyboard model, as the key assignment and macro panels use it: the
// key list of the selected profile, one key's new function, and writing the keys (with the
// macros they use) to the device.

#include "profiles/ProfileRecords.h"

#include <cstdint>
#include <vector>

namespace q407::devices {

class KeyAssignmentDevice {
public:
    virtual ~KeyAssignmentDevice() = default;
    // The current and default function of every key of the selected profile.
    virtual std::vector<profiles::KeyAssignmentEntry> GetKeyList() const = 0;
    // Key `key` gets `function` (stored integer form) in the key list and the profile, which is
    // saved; the device is written separately. False for a key the list lacks.
    virtual bool SetKeyFunction(int key, std::uint32_t function) = 0;
    // Whether key `key`'s function differs from its default.
    virtual bool IsKeyChanged(int key) const = 0;
    // The macro image of the macros the keys use, then, when it fitted, the key table of profile
    // 0; the profile is saved. 0 done (or no device to write to), -1 a command failed, n > 0 the
    // macros are about n - 1 events too many for the device (nothing written).
    virtual int WriteKeysToDevice() = 0;
    // Reads the selected profile's file again (after a macro's deletion renumbered its keys).
    virtual int ReloadKeys() = 0;
};

} // namespace q407::devices
