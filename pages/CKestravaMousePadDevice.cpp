#include "pages/CKestravaMousePadDevice.h"

namespace q407::pages {
namespace devices = q407::devices;

CKestravaMousePadDevice::CKestravaMousePadDevice(QWidget* parent) : CLightBlockPage(parent) {}

CKestravaMousePadDevice::~CKestravaMousePadDevice() = default;

std::unique_ptr<devices::DeviceModel>
CKestravaMousePadDevice::MakeModel(q407::hid::HidBackend& backend) {
    return std::make_unique<devices::MousePadModel>(backend);
}

devices::MousePadModel& CKestravaMousePadDevice::Pad() {
    return static_cast<devices::MousePadModel&>(Model());
}

void CKestravaMousePadDevice::Activate() {
    if (!HasModel()) {
        return;
    }
    devices::MousePadModel& pad = Pad();
    pad.ReadDeviceInfo(); // nothing when the pad is closed
    LoadSelectedProfile();
    RefreshPage();
    const auto& info = pad.DeviceInfo();
    ShowAbout("about_firmware_value",
              info[0] == 0 && info[1] == 0
                  ? QStringLiteral("-")
                  : QStringLiteral("%1.%2").arg(info[0]).arg(info[1], 2, 16, QLatin1Char('0')));
    StartLightThreadWhenOpen();
}

} // namespace q407::pages
