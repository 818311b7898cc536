#pragma once

// A scripted device for tests and benchmarks of the HID layer, until the firmware models take
// over: it answers every output report with the same report, every byte after the report id
// inverted, so a test can tell the answer from the request.

#include "sim/VirtualHidDevice.h"

#include <memory>

namespace q407::sim {

std::shared_ptr<VirtualHidDevice> MakeInvertingEchoDevice(VirtualHidDeviceInfo info);

} // namespace q407::sim
