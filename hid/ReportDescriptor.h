#pragma once

// Our own HID report descriptor parser. It turns the descriptor a hidraw node reports into its
// top-level collections, each with the capabilities and report layout the program works with:
// usage page and usage, report byte lengths (report id byte included), button and value
// capabilities, and the field layout needed to read usages and values out of a report.
//
// The parser is fed by devices, so it treats its input as hostile: every read is bounds-checked,
// and descriptors beyond sane limits (size, nesting, report length, number of items) are refused
// with a reason instead of being half-parsed.

#include "hid/HidTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q407::hid {

// Limits beyond which a descriptor is refused.
inline constexpr std::size_t kMaxDescriptorBytes = 4096;   // the largest a hidraw node reports
inline constexpr std::size_t kMaxReportBytes = 4096;       // one report, report id byte included
inline constexpr std::size_t kMaxTotalReportBytes = 16384; // all reports of a descriptor
inline constexpr std::size_t kMaxReportFields = 1024;
inline constexpr std::size_t kMaxUsageListBudget = 65536; // button list slots per report type

// One top-level collection: what the program's HID layer calls the preparsed data.
class HidCollection {
public:
    const HidCaps& Caps() const { return m_caps; }
    const std::vector<HidButtonCaps>& ButtonCaps(HidReportType type) const;
    const std::vector<HidValueCaps>& ValueCaps(HidReportType type) const;

    // True when a report of this type and id belongs to the collection.
    bool HasReport(HidReportType type, std::uint8_t reportId) const;
    // Length of that report in bytes, report id byte included; 0 when there is none.
    std::size_t ReportByteLength(HidReportType type, std::uint8_t reportId) const;
    // True when any report (of any type) with this id belongs to the collection.
    bool OwnsReportId(std::uint8_t reportId) const;

    // Largest number of usages of `usagePage` that can be on at once in one report of `type`.
    std::uint32_t MaxUsageListLength(HidReportType type, std::uint16_t usagePage) const;

    // Usages of `usagePage` that are on in `report` (report id in byte 0), in report order. At
    // most `list.size()` are stored; the rest of `list` is zeroed and `count` is how many were
    // stored. kHidStatusBufferTooSmall when more were on than fit.
    HidStatus GetUsages(HidReportType type, std::uint16_t usagePage,
                        std::span<const std::uint8_t> report, std::span<std::uint16_t> list,
                        std::size_t& count) const;

    // The raw (bit field) and the scaled (physical units) value of one value usage.
    HidStatus GetUsageValue(HidReportType type, std::uint16_t usagePage, std::uint16_t usage,
                            std::span<const std::uint8_t> report, std::uint32_t& value) const;
    HidStatus GetScaledUsageValue(HidReportType type, std::uint16_t usagePage, std::uint16_t usage,
                                  std::span<const std::uint8_t> report, std::int32_t& value) const;

    // Layout of one main item, in the order the descriptor declares them.
    struct UsageItem {
        std::uint16_t usagePage = 0;
        std::uint16_t usageMin = 0;
        std::uint16_t usageMax = 0;
    };
    struct Field {
        HidReportType type = HidReportType::Input;
        std::uint8_t reportId = 0;
        std::uint32_t bitOffset = 0; // from the first byte after the report id
        std::uint16_t bitSize = 0;
        std::uint16_t count = 0;
        bool isArray = false;
        bool isButton = false;
        std::int32_t logicalMin = 0;
        std::int32_t logicalMax = 0;
        std::int32_t physicalMin = 0;
        std::int32_t physicalMax = 0;
        std::vector<UsageItem> usages;
    };

private:
    friend class DescriptorParser;

    struct ValueCapLayout {
        std::size_t field = 0;
        std::uint32_t firstElement = 0;
    };
    struct ReportLayout {
        HidReportType type = HidReportType::Input;
        std::uint8_t reportId = 0;
        std::uint32_t bits = 0;
    };

    const ReportLayout* FindReport(HidReportType type, std::uint8_t reportId) const;
    HidStatus FindValue(HidReportType type, std::uint16_t usagePage, std::uint16_t usage,
                        std::span<const std::uint8_t> report, std::int64_t& raw,
                        const Field*& field) const;

    HidCaps m_caps;
    std::vector<Field> m_fields;
    std::vector<ReportLayout> m_reports;
    std::vector<HidButtonCaps> m_buttonCaps[kHidReportTypeCount];
    std::vector<HidValueCaps> m_valueCaps[kHidReportTypeCount];
    std::vector<ValueCapLayout> m_valueLayouts[kHidReportTypeCount];
};

struct ReportDescriptor {
    std::vector<HidCollection> collections; // top-level collections, in descriptor order
    bool usesReportIds = false;
};

// Parses a report descriptor. On failure returns nullopt and, when `error` is given, the reason.
std::optional<ReportDescriptor> ParseReportDescriptor(std::span<const std::uint8_t> descriptor,
                                                      std::string* error = nullptr);

} // namespace q407::hid
