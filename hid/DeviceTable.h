#pragma once

// The catalogue of supported products: the supported-device table (one row per HID interface
// the program attaches to, and one device slot per row), the device option table (one row per
// product page) and the device layout table parallel to it.
//
// USB ids. These are the ids of this program's own product family; they are listed here and
// nowhere else (the udev rule is generated from this table at build time).
//
//     vendor id        0xF5A7  (all products)
//     product ids      0x4A01  mouse A, by cable            rows 4, 5;  option row 0
//                      0x4A02  mouse A, through its receiver rows 6, 7
//                      0x4B02  mouse B, through its receiver rows 10, 11
//                      0x4C01  mouse pad                     rows 12, 13; option row 3
//                      0x4D01  headset                       rows 14, 15; option row 4
//                      0x4E01  keyboard K, by cable          rows 0, 1;  option row 2
//                      0x4E02  keyboard K, through its receiver rows 2, 3
//
// Mouse B by cable (rows 8, 9, option row 1) keeps ids 0:0. Those rows only reserve slots and
// page wiring; a 0:0 row never matches a real interface.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace q407::hid {

inline constexpr std::uint16_t kVendorId = 0xF5A7;
inline constexpr std::uint16_t kProductMouseA = 0x4A01;
inline constexpr std::uint16_t kProductMouseAReceiver = 0x4A02;
inline constexpr std::uint16_t kProductMouseBReceiver = 0x4B02;
inline constexpr std::uint16_t kProductMousePad = 0x4C01;
inline constexpr std::uint16_t kProductHeadset = 0x4D01;
inline constexpr std::uint16_t kProductKeyboardK = 0x4E01;
inline constexpr std::uint16_t kProductKeyboardKReceiver = 0x4E02;

// Device type codes. A page's kind is the cable code of its product.
enum DeviceType : std::uint16_t {
    kDeviceKeyboard = 1,
    kDeviceMouse = 2,
    kDeviceMousePad = 3,
    kDeviceMouseReceiver = 6,
    kDeviceHeadset = 7,
    kDeviceKeyboardReceiver = 9,
};

// Interface roles.
inline constexpr std::uint16_t kRoleCommand = 0;  // vendor collection of the command protocol
inline constexpr std::uint16_t kRoleEvent = 0xFF; // collection the device reports on by itself

// One row of the supported-device table and, as a copy, one device slot.
struct DeviceIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t interfaceNumber = 0;
    std::uint16_t collectionNumber = 0;
    std::uint16_t deviceType = 0;
    std::uint16_t interfaceRole = 0;
    std::uint16_t occupied = 0; // slots only
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::uint16_t hasPair = 0;
    std::uint16_t pairIndex = 0;
    std::string devicePath; // slots only

    bool IsFree() const { return occupied == 0 && devicePath.empty(); }
    // Equal in the eight identifying fields (not occupied, pair or path).
    bool operator==(const DeviceIdentity& other) const;
};

// The kind (cable device type) of a device type: receivers map to their cable counterpart.
std::uint16_t KindOfDeviceType(std::uint16_t deviceType);

// The supported-device table, in its fixed order.
std::span<const DeviceIdentity> SupportedDevices();
inline constexpr std::size_t kSupportedDeviceCount = 16;

// Index of the first supported-device row with these values, or -1.
int FindTableRow(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t deviceType,
                 std::uint16_t role);

struct DeviceOption {
    std::string_view entryLayout;    // layout file of the selector entry
    std::string_view headerName;     // selector header control
    std::string_view powerContainer; // power-indicator container
    std::string_view productName;
    // i0-i3 small per-product numbers (i3 is handed to the page), i4 vendor id, i5 product id,
    // i6 kind, i7 0.
    std::array<int, 8> i{};
};

struct DeviceLayout {
    int ledCount = 0;
    int keyCount = 0;
    int flag = 0;
    int fourth = -1;
    std::string_view pageLayout;
    std::string_view lightName;
};

std::span<const DeviceOption> DeviceOptions();
std::span<const DeviceLayout> DeviceLayouts(); // parallel to DeviceOptions()

// Index of the first option row whose i4..i7 equal the arguments, or -1.
int FindOptionRow(int vendorId, int productId, int kind, int i7);

// The udev rule that gives the logged-in user access to the hidraw nodes of every supported
// product (one line per distinct vendor and product id).
std::string GenerateUdevRules();

} // namespace q407::hid
