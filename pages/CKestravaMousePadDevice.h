#pragma once

// The mouse pad page: its lit edge on the picture, the lighting panel, the profile panel and the
// power indicator with the phone on the pad's charger, on the mouse pad model
// (devices/MousePadModel.h). Activation reads the pad's device information; the lighting goes to
// the pad as its light block.

#include "devices/MousePadModel.h"
#include "pages/CLightBlockPage.h"

namespace q407::pages {

class CKestravaMousePadDevice : public CLightBlockPage {
    Q_OBJECT
public:
    explicit CKestravaMousePadDevice(QWidget* parent = nullptr);
    ~CKestravaMousePadDevice() override;

    q407::devices::MousePadModel& Pad();

    void Activate() override;

protected:
    std::unique_ptr<q407::devices::DeviceModel> MakeModel(q407::hid::HidBackend& backend) override;
};

} // namespace q407::pages
