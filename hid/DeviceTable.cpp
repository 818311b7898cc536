#include "hid/DeviceTable.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>

namespace q407::hid {

namespace {

constexpr std::uint16_t kVendorCollectionPage = 0xFF1C;
constexpr std::uint16_t kVendorCollectionUsage = 0x92;
constexpr std::uint16_t kConsumerPage = 0x000C;
constexpr std::uint16_t kConsumerControl = 0x01;

DeviceIdentity Row(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t interfaceNumber,
                   std::uint16_t collection, std::uint16_t type, std::uint16_t role,
                   int pairIndex) {
    DeviceIdentity row;
    row.vendorId = vendorId;
    row.productId = productId;
    row.interfaceNumber = interfaceNumber;
    row.collectionNumber = collection;
    row.deviceType = type;
    row.interfaceRole = role;
    row.usagePage = role == kRoleCommand ? kVendorCollectionPage : kConsumerPage;
    row.usage = role == kRoleCommand ? kVendorCollectionUsage : kConsumerControl;
    row.hasPair = pairIndex >= 0 ? 1 : 0;
    row.pairIndex = static_cast<std::uint16_t>(pairIndex >= 0 ? pairIndex : 0);
    return row;
}

const std::array<DeviceIdentity, kSupportedDeviceCount>& Table() {
    static const std::array<DeviceIdentity, kSupportedDeviceCount> table = {
        // keyboard K
        Row(kVendorId, kProductKeyboardK, 0, 5, kDeviceKeyboard, kRoleCommand, 2),
        Row(kVendorId, kProductKeyboardK, 1, 3, kDeviceKeyboard, kRoleEvent, 3),
        Row(kVendorId, kProductKeyboardKReceiver, 0, 5, kDeviceKeyboardReceiver, kRoleCommand, 0),
        Row(kVendorId, kProductKeyboardKReceiver, 1, 3, kDeviceKeyboardReceiver, kRoleEvent, 1),
        // mouse A
        Row(kVendorId, kProductMouseA, 0, 5, kDeviceMouse, kRoleCommand, 6),
        Row(kVendorId, kProductMouseA, 0, 4, kDeviceMouse, kRoleEvent, 7),
        Row(kVendorId, kProductMouseAReceiver, 0, 5, kDeviceMouseReceiver, kRoleCommand, 4),
        Row(kVendorId, kProductMouseAReceiver, 1, 3, kDeviceMouseReceiver, kRoleEvent, 5),
        // mouse B (cable ids reserved)
        Row(0, 0, 0, 5, kDeviceMouse, kRoleCommand, 10),
        Row(0, 0, 1, 3, kDeviceMouse, kRoleEvent, 11),
        Row(kVendorId, kProductMouseBReceiver, 0, 5, kDeviceMouseReceiver, kRoleCommand, 8),
        Row(kVendorId, kProductMouseBReceiver, 0, 4, kDeviceMouseReceiver, kRoleEvent, 9),
        // mouse pad and headset: cable only, so no pair
        Row(kVendorId, kProductMousePad, 0, 5, kDeviceMousePad, kRoleCommand, -1),
        Row(kVendorId, kProductMousePad, 1, 3, kDeviceMousePad, kRoleEvent, -1),
        Row(kVendorId, kProductHeadset, 3, 2, kDeviceHeadset, kRoleCommand, -1),
        Row(kVendorId, kProductHeadset, 3, 1, kDeviceHeadset, kRoleEvent, -1),
    };
    return table;
}

constexpr std::string_view kEntryLayout = "XML/CustomControlXML/DeviceOption.xml";
constexpr std::string_view kHeader = "tab_header_device";
constexpr std::string_view kPowerContainer = "device_power_switch";

const std::array<DeviceOption, 5> kOptions = {{
    {kEntryLayout,
     kHeader,
     kPowerContainer,
     "mouse",
     {0, 0, 0, 0, kVendorId, kProductMouseA, 2, 0}},
    {kEntryLayout, kHeader, kPowerContainer, "mouse", {0, 0, 0, 0, 0, 0, 2, 0}},
    {kEntryLayout,
     kHeader,
     kPowerContainer,
     "keyboard",
     {1, 1, -1, 0, kVendorId, kProductKeyboardK, 1, 0}},
    {kEntryLayout,
     kHeader,
     kPowerContainer,
     "MousePad",
     {2, 2, 1, 2, kVendorId, kProductMousePad, 3, 0}},
    {kEntryLayout, kHeader, kPowerContainer, "HD", {3, 3, -1, 3, kVendorId, kProductHeadset, 7, 0}},
}};

const std::array<DeviceLayout, 5> kLayouts = {{
    {15, 11, 1, -1, "XML/DeviceXml/mousedevice.xml", "ravik_light"},
    {15, 11, 1, -1, "XML/DeviceXml/mousedevice1.xml", "ravik_light"},
    {170, 170, 0, -1, "XML/DeviceXml/keyboarddevice.xml", "ravik_light"},
    // The pad reports a power state (the phone on its charger), so its page polls it.
    {15, 0, 1, -1, "XML/DeviceXml/mousepaddevice.xml", "ravik_light"},
    {13, 0, 0, -1, "XML/DeviceXml/hs6533device.xml", "ravik_light"},
}};

} // namespace

bool DeviceIdentity::operator==(const DeviceIdentity& other) const {
    return vendorId == other.vendorId && productId == other.productId &&
           interfaceNumber == other.interfaceNumber && collectionNumber == other.collectionNumber &&
           deviceType == other.deviceType && interfaceRole == other.interfaceRole &&
           usagePage == other.usagePage && usage == other.usage;
}

std::uint16_t KindOfDeviceType(std::uint16_t deviceType) {
    switch (deviceType) {
    case kDeviceMouseReceiver:
        return kDeviceMouse;
    case kDeviceKeyboardReceiver:
        return kDeviceKeyboard;
    default:
        return deviceType;
    }
}

std::span<const DeviceIdentity> SupportedDevices() {
    return Table();
}

int FindTableRow(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t deviceType,
                 std::uint16_t role) {
    const auto& table = Table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        if (row.vendorId == vendorId && row.productId == productId &&
            row.deviceType == deviceType && row.interfaceRole == role) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::span<const DeviceOption> DeviceOptions() {
    return kOptions;
}
std::span<const DeviceLayout> DeviceLayouts() {
    return kLayouts;
}

int FindOptionRow(int vendorId, int productId, int kind, int i7) {
    for (std::size_t i = 0; i < kOptions.size(); ++i) {
        const auto& values = kOptions[i].i;
        if (values[4] == vendorId && values[5] == productId && values[6] == kind &&
            values[7] == i7) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string GenerateUdevRules() {
    std::string rules =
        "# Gives the logged-in user access to the HID interfaces of the supported products.\n"
        "# Generated from the supported-device table; do not edit.\n";
    std::set<std::pair<std::uint16_t, std::uint16_t>> ids;
    for (const auto& row : Table()) {
        if (row.vendorId != 0 || row.productId != 0) {
            ids.emplace(row.vendorId, row.productId);
        }
    }
    for (const auto& [vendorId, productId] : ids) {
        // The HID device is named bus:VVVV:PPPP.instance whatever the bus (USB, Bluetooth, uhid).
        char line[128];
        std::snprintf(line, sizeof line,
                      "SUBSYSTEM==\"hidraw\", KERNELS==\"*:%04X:%04X.*\", TAG+=\"uaccess\"\n",
                      vendorId, productId);
        rules += line;
    }
    return rules;
}

} // namespace q407::hid
