#pragma once

// The device side of the mouse pad page: its lighting block, power state (with the phone on its
// charger) and profile, on the shared light-block model. The pad keeps a plain profile record
// (lighting, light list and key list only).

#include "devices/LightBlockModel.h"
#include "profiles/CBasicProfiledata.h"

namespace q407::devices {

class MousePadModel : public LightBlockModel {
public:
    explicit MousePadModel(hid::HidBackend& backend, LightClock* clock = nullptr,
                           LightRandom* random = nullptr,
                           protocol::Pacer& pacer = protocol::DefaultPacer());
    ~MousePadModel() override;

    profiles::CBasicProfiledata& Record() override { return m_profile; }
    profiles::CBasicProfiledata& Profile() { return m_profile; }

private:
    profiles::CBasicProfiledata m_profile;
};

} // namespace q407::devices
