#include "sim/ProductInterfaces.h"

#include "hid/DeviceTable.h"

namespace q407::sim {

namespace {

void Append(std::vector<std::uint8_t>& out, std::initializer_list<std::uint8_t> bytes) {
    out.insert(out.end(), bytes);
}

} // namespace

std::vector<std::uint8_t> BuildReportDescriptor(std::initializer_list<CollectionKind> kinds) {
    std::vector<std::uint8_t> d;
    for (const CollectionKind kind : kinds) {
        switch (kind) {
        case CollectionKind::Mouse:
            Append(d, {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, kMouseReportId, 0x09, 0x01, 0xA1,
                       0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15,           0x00, 0x25, 0x01,
                       0x75, 0x01, 0x95, 0x05, 0x81, 0x02, 0x75, 0x03,           0x95, 0x01, 0x81,
                       0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16,           0x01, 0x80, 0x26,
                       0xFF, 0x7F, 0x75, 0x10, 0x95, 0x02, 0x81, 0x06,           0x09, 0x38, 0x15,
                       0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81,           0x06, 0xC0, 0xC0});
            break;
        case CollectionKind::Keyboard:
            Append(d, {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, kKeyboardReportId,
                       0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
                       0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
                       0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05,
                       0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05,
                       0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01,
                       0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF,
                       0x00, 0x05, 0x07, 0x19, 0x00, 0x2A, 0xFF, 0x00,
                       0x81, 0x00, 0xC0});
            break;
        case CollectionKind::SystemControl:
            Append(d, {0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, kSystemReportId,
                       0x19, 0x81, 0x29, 0x83, 0x15, 0x00, 0x25, 0x01,
                       0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x95, 0x05,
                       0x81, 0x01, 0xC0});
            break;
        case CollectionKind::Consumer:
            // The event values (profile, DPI, key and resynchronisation codes up to 0x11FF)
            // are the array's usages, so its range spans all 16 bits.
            Append(d, {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, kEventReportId, 0x19,
                       0x00, 0x2A, 0xFF, 0xFF, 0x15, 0x00, 0x27, 0xFF,           0xFF,
                       0x00, 0x00, 0x75, 0x10, 0x95, 0x01, 0x81, 0x00,           0xC0});
            break;
        case CollectionKind::Vendor:
        case CollectionKind::VendorWithLeds:
            Append(d, {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, kCommandReportId,
                       0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                       0x95, 0x3F, 0x81, 0x02, 0x09, 0x02, 0x95, 0x3F, 0x91,
                       0x02});
            if (kind == CollectionKind::VendorWithLeds) {
                Append(d, {0x85, kLedReportId, 0x09, 0x03, 0x95, 0x10, 0x91, 0x02});
            }
            Append(d, {0xC0});
            break;
        }
    }
    return d;
}

std::vector<VirtualHidDeviceInfo> InterfacesOfProduct(SimProduct product) {
    using K = CollectionKind;
    auto make = [](const char* name, std::uint16_t productId, std::uint16_t interfaceNumber,
                   std::initializer_list<CollectionKind> kinds) {
        VirtualHidDeviceInfo info;
        info.name = name;
        info.vendorId = hid::kVendorId;
        info.productId = productId;
        info.interfaceNumber = interfaceNumber;
        info.reportDescriptor = BuildReportDescriptor(kinds);
        return info;
    };
    switch (product) {
    case SimProduct::MouseA:
        // command: interface 0 collection 5; events: interface 0 collection 4
        return {make("Q407 mouse A", hid::kProductMouseA, 0,
                     {K::Mouse, K::Keyboard, K::SystemControl, K::Consumer, K::Vendor})};
    case SimProduct::MouseAReceiver:
        // command: interface 0 collection 5; events: interface 1 collection 3
        return {make("Q407 mouse A receiver", hid::kProductMouseAReceiver, 0,
                     {K::Mouse, K::Keyboard, K::SystemControl, K::Consumer, K::Vendor}),
                make("Q407 mouse A receiver", hid::kProductMouseAReceiver, 1,
                     {K::Keyboard, K::SystemControl, K::Consumer})};
    case SimProduct::MouseBReceiver:
        return {make("Q407 mouse B receiver", hid::kProductMouseBReceiver, 0,
                     {K::Mouse, K::Keyboard, K::SystemControl, K::Consumer, K::Vendor})};
    case SimProduct::MousePad:
        return {make("Q407 mouse pad", hid::kProductMousePad, 0,
                     {K::Mouse, K::Keyboard, K::SystemControl, K::Consumer, K::Vendor}),
                make("Q407 mouse pad", hid::kProductMousePad, 1,
                     {K::Keyboard, K::SystemControl, K::Consumer})};
    case SimProduct::KeyboardK:
    case SimProduct::KeyboardKReceiver: {
        // command: interface 0 collection 5; events: interface 1 collection 3
        const bool receiver = product == SimProduct::KeyboardKReceiver;
        const char* name = receiver ? "Q407 keyboard K receiver" : "Q407 keyboard K";
        const std::uint16_t id = receiver ? hid::kProductKeyboardKReceiver : hid::kProductKeyboardK;
        return {
            make(name, id, 0, {K::Mouse, K::Keyboard, K::SystemControl, K::Consumer, K::Vendor}),
            make(name, id, 1, {K::Keyboard, K::SystemControl, K::Consumer})};
    }
    case SimProduct::Headset:
        // both on interface 3: events collection 1, command collection 2
        return {make("Q407 headset", hid::kProductHeadset, 3, {K::Consumer, K::VendorWithLeds})};
    }
    return {};
}

} // namespace q407::sim
