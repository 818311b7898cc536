#include "devices/ProfiledDeviceModel.h"

#include "profiles/CBasicProfiledata.h"

#include <utility>

namespace q407::devices {

ProfiledDeviceModel::ProfiledDeviceModel(hid::HidBackend& backend, ProfileFiles files,
                                         LightClock* clock, LightRandom* random,
                                         protocol::Pacer& pacer)
    : DeviceModel(backend, clock, random, pacer), m_files(std::move(files)) {}

// --- Profile -------------------------------------------------------------------------------------

void ProfiledDeviceModel::UpdateProfilePaths() {
    PrepareProfilePaths(Record(), m_files.firstCustomLightMode);
}

std::string ProfiledDeviceModel::GetProfilePath() const {
    return const_cast<ProfiledDeviceModel*>(this)->Record().GetProfilePath().string();
}

void ProfiledDeviceModel::SaveProfile() {
    Record().SaveProfile();
}

void ProfiledDeviceModel::SetDeviceIndex(int index) {
    DeviceModel::SetDeviceIndex(index);
    Record().SetDeviceIndex(index);
}

void ProfiledDeviceModel::SetLightParams(const profiles::LightInfo& params) {
    DeviceModel::SetLightParams(params);
    Record().SetLightInfo(params);
}

int ProfiledDeviceModel::LoadProfile() {
    UpdateProfilePaths();
    if (!ReadProfileFile(Record())) {
        return 0;
    }
    TakeProfile();
    return 1;
}

int ProfiledDeviceModel::ResetProfileToDefault() {
    UpdateProfilePaths();
    if (!ReadDefaultProfile(Record())) {
        return 0;
    }
    TakeProfile();
    return Record().SaveProfile() ? 1 : 0;
}

// --- Name lists ----------------------------------------------------------------------------------

NameLists ProfiledDeviceModel::LoadNameLists() {
    UpdateProfilePaths();
    NameLists lists = ReadNameLists({GetProfileFolder(), m_files.macroIndexFile, GetDefaultFolder(),
                                     m_lightTable, GetDeviceIndex()},
                                    Record());
    m_effectCodes = lists.effectCodes;
    m_effectCodesLoaded = true;
    return lists;
}

void ProfiledDeviceModel::EnsureEffectCodes() {
    if (!m_effectCodesLoaded) {
        LoadNameLists();
    }
}

} // namespace q407::devices
