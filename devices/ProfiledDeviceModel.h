#pragma once

// What every device model with a profile record of its own does the same way: points the record
// at the page's files, reads the selected profile or the default one into it, keeps the page's
// light settings and device index in it, and reads the name lists with the effect codes the
// settings block is written with. The models differ only in their record, the first light mode
// that is a saved user effect, the macro index file and what they take from a freshly read
// record (TakeProfile).

#include "devices/DeviceModel.h"
#include "devices/NameLists.h"

#include <string>
#include <vector>

namespace q407::profiles {
class CBasicProfiledata;
}

namespace q407::devices {

// What tells one model's profile files from another's.
struct ProfileFiles {
    int firstCustomLightMode = 0; // light modes from here on are the user's saved effects
    std::string macroIndexFile;   // in the profile folder
};

class ProfiledDeviceModel : public DeviceModel {
public:
    ProfiledDeviceModel(hid::HidBackend& backend, ProfileFiles files, LightClock* clock,
                        LightRandom* random, protocol::Pacer& pacer);

    // --- Profile ---------------------------------------------------------------------------------
    // The selected profile file into the record, then TakeProfile. 0 when there is none or it
    // cannot be read.
    int LoadProfile() override;
    void UpdateProfilePaths() override;
    std::string GetProfilePath() const override;
    void SaveProfile() override;
    void SetDeviceIndex(int index) override;
    void SetLightParams(const profiles::LightInfo& params) override;
    // The default profile's entry becomes the profile (saved). 0, with nothing changed, when the
    // default profile has no entry for this device.
    int ResetProfileToDefault();
    virtual profiles::CBasicProfiledata& Record() = 0;

    // --- Name lists --------------------------------------------------------------------------
    using NameLists = devices::NameLists;
    // Reads the macro index file (profile folder), "default_light.json" (default data folder)
    // and the light configuration file; missing or damaged files give empty lists. Keeps the
    // effect codes for the settings block.
    NameLists LoadNameLists();
    const std::vector<int>& EffectCodes() const { return m_effectCodes; }

protected:
    // What the page takes from the record just read (its working copies, its lighting).
    virtual void TakeProfile() = 0;
    // The effect codes, read with the name lists the first time they are needed.
    void EnsureEffectCodes();
    // Row of "DefaultLightName" and "AreaLightName" when they hold one list per light table.
    void SetLightTable(int table) { m_lightTable = table < 0 ? 0 : table; }

private:
    ProfileFiles m_files;
    std::vector<int> m_effectCodes;
    bool m_effectCodesLoaded = false;
    int m_lightTable = 0;
};

} // namespace q407::devices
