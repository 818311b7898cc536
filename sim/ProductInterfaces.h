#pragma once

// Report descriptors and USB interfaces of the simulated products. Each product's interfaces
// carry their top-level collections in the order that puts the command collection (vendor page
// 0xFF1C, usage 0x92, report id 4, 64-byte reports) and the event collection (consumer control,
// report id 5) at the collection numbers of the supported-device table.

#include "sim/VirtualHidDevice.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace q407::sim {

// Report ids the simulated products use.
inline constexpr std::uint8_t kMouseReportId = 1;
inline constexpr std::uint8_t kKeyboardReportId = 2;
inline constexpr std::uint8_t kSystemReportId = 3;
inline constexpr std::uint8_t kCommandReportId = 4; // requests and answers, 64 bytes
inline constexpr std::uint8_t kEventReportId = 5;   // consumer control, one 16-bit usage
inline constexpr std::uint8_t kLedReportId = 0xFF;  // headset LED registers, 16 bytes out

enum class CollectionKind {
    Mouse,          // generic desktop mouse: 5 buttons, 16-bit X/Y, wheel
    Keyboard,       // boot-style keyboard with LED output report
    SystemControl,  // power, sleep, wake
    Consumer,       // consumer control, 16-bit usage array
    Vendor,         // vendor page 0xFF1C usage 0x92, 63 data bytes in and out
    VendorWithLeds, // the same, plus the headset's 16-byte LED output report
};

// Builds a report descriptor with one top-level collection per kind, in order.
std::vector<std::uint8_t> BuildReportDescriptor(std::initializer_list<CollectionKind> kinds);

enum class SimProduct {
    MouseA,
    MouseAReceiver,
    MouseBReceiver,
    MousePad,
    Headset,
    KeyboardK,
    KeyboardKReceiver,
};

// The HID interfaces of a product, one VirtualHidDeviceInfo per USB interface.
std::vector<VirtualHidDeviceInfo> InterfacesOfProduct(SimProduct product);

} // namespace q407::sim
