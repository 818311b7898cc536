#pragma once

// Plain records shared by the HID layer: attributes, top-level collection capabilities, button
// and value capabilities and the parsed report items. The layouts and status codes follow the
// HID class conventions the rest of the program was written against, so a capability or status
// means the same thing whichever backend produced it.

#include <cstdint>
#include <vector>

namespace q407::hid {

enum class HidReportType : std::uint8_t { Input = 0, Output = 1, Feature = 2 };
inline constexpr int kHidReportTypeCount = 3;

// Status codes of the report parsing calls.
using HidStatus = std::uint32_t;
inline constexpr HidStatus kHidStatusSuccess = 0x00110000;
inline constexpr HidStatus kHidStatusNull = 0x80110001;
inline constexpr HidStatus kHidStatusInvalidReportType = 0xC0110002;
inline constexpr HidStatus kHidStatusInvalidReportLength = 0xC0110003;
inline constexpr HidStatus kHidStatusUsageNotFound = 0xC0110004;
inline constexpr HidStatus kHidStatusValueOutOfRange = 0xC0110005;
inline constexpr HidStatus kHidStatusBadLogPhyValues = 0xC0110006;
inline constexpr HidStatus kHidStatusBufferTooSmall = 0xC0110007;
inline constexpr HidStatus kHidStatusIncompatibleReportId = 0xC011000A;

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// Capabilities of one top-level collection. Report byte lengths count the report id byte, which
// is present (0 when the device numbers no reports) in every report the program reads or writes;
// a length is 0 when the collection has no report of that type.
struct HidCaps {
    std::uint16_t usage = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t inputReportByteLength = 0;
    std::uint16_t outputReportByteLength = 0;
    std::uint16_t featureReportByteLength = 0;
    std::uint16_t numberInputButtonCaps = 0;
    std::uint16_t numberInputValueCaps = 0;
    std::uint16_t numberOutputButtonCaps = 0;
    std::uint16_t numberOutputValueCaps = 0;
    std::uint16_t numberFeatureButtonCaps = 0;
    std::uint16_t numberFeatureValueCaps = 0;
};

// One button capability: a set of on/off usages (a bit field or an array of usage indices).
struct HidButtonCaps {
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    bool isRange = false;
    std::uint16_t usageMin = 0; // equal to usageMax when not a range
    std::uint16_t usageMax = 0;
};

// One value capability: a single usage or a range of usages, each with a value in the report.
struct HidValueCaps {
    std::uint16_t usagePage = 0;
    std::uint8_t reportId = 0;
    bool isRange = false;
    std::uint16_t usageMin = 0; // equal to usageMax when not a range
    std::uint16_t usageMax = 0;
    std::uint16_t bitSize = 0;
    std::uint16_t reportCount = 0;
    std::int32_t logicalMin = 0;
    std::int32_t logicalMax = 0;
    std::int32_t physicalMin = 0;
    std::int32_t physicalMax = 0;
};

// One parsed report item: a button capability with the usages currently on, or one value usage
// with its last value.
struct HidData {
    bool isButton = false;
    std::uint16_t usagePage = 0;
    HidStatus status = kHidStatusSuccess;
    std::uint32_t reportId = 0;
    bool isSet = false;
    // Button items.
    std::uint32_t usageMin = 0;
    std::uint32_t usageMax = 0;
    std::uint32_t maxUsageListLength = 0;
    std::vector<std::uint16_t> usages; // maxUsageListLength entries, zero-terminated if shorter
    // Value items.
    std::uint16_t usage = 0;
    std::uint32_t value = 0;
    std::int32_t scaledValue = 0;
};

// How an interface is opened. Hidraw has no share modes, so `exclusive` is kept for callers'
// sake but grants no exclusivity on Linux.
struct HidOpenFlags {
    bool read = false;
    bool write = false;
    bool overlapped = false;
    bool exclusive = false;
};

} // namespace q407::hid
