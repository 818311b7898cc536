#include "hid/ReportDescriptor.h"

#include <algorithm>
#include <array>
#include <map>

namespace q407::hid {

namespace {

constexpr int Index(HidReportType type) {
    return static_cast<int>(type);
}

constexpr std::size_t kMaxCollectionDepth = 32;
constexpr std::size_t kMaxGlobalStack = 16;
constexpr std::size_t kMaxLocalUsages = 256;
constexpr std::uint32_t kMaxFieldBits = 32;

// Reads `size` bits at `bitOffset` of `data` (little-endian bit order). The caller has checked
// that the bits lie inside `data`.
std::uint32_t ReadBits(std::span<const std::uint8_t> data, std::uint32_t bitOffset,
                       std::uint32_t size) {
    std::uint64_t value = 0;
    const std::uint32_t firstByte = bitOffset / 8;
    const std::uint32_t lastByte = (bitOffset + size - 1) / 8;
    for (std::uint32_t byte = lastByte + 1; byte-- > firstByte;) {
        value = (value << 8) | data[byte];
    }
    value >>= bitOffset % 8;
    const std::uint64_t mask = size >= 32 ? 0xFFFFFFFFull : ((1ull << size) - 1);
    return static_cast<std::uint32_t>(value & mask);
}

std::int64_t SignExtend(std::uint32_t value, std::uint32_t size, bool isSigned) {
    if (!isSigned || size == 0 || size >= 64) {
        return value;
    }
    if (size >= 32) {
        return static_cast<std::int32_t>(value);
    }
    const std::uint32_t signBit = 1u << (size - 1);
    return (value & signBit) != 0 ? static_cast<std::int64_t>(value) - (std::int64_t{1} << size)
                                  : static_cast<std::int64_t>(value);
}

// Usage number `index` of a field's usage list; the last usage repeats for extra elements.
std::optional<HidCollection::UsageItem> UsageAt(const std::vector<HidCollection::UsageItem>& usages,
                                                std::uint32_t index, bool repeatLast) {
    for (const auto& item : usages) {
        const std::uint32_t span = static_cast<std::uint32_t>(item.usageMax - item.usageMin) + 1;
        if (index < span) {
            const auto usage = static_cast<std::uint16_t>(item.usageMin + index);
            return HidCollection::UsageItem{item.usagePage, usage, usage};
        }
        index -= span;
    }
    if (repeatLast && !usages.empty()) {
        const auto& last = usages.back();
        return HidCollection::UsageItem{last.usagePage, last.usageMax, last.usageMax};
    }
    return std::nullopt;
}

void Fail(std::string* error, const char* reason) {
    if (error != nullptr) {
        *error = reason;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Parsing

class DescriptorParser {
public:
    std::optional<ReportDescriptor> Parse(std::span<const std::uint8_t> data, std::string* error);

private:
    struct Globals {
        std::uint16_t usagePage = 0;
        std::uint32_t logicalMin = 0;
        std::uint8_t logicalMinSize = 0;
        std::uint32_t logicalMax = 0;
        std::uint8_t logicalMaxSize = 0;
        std::uint32_t physicalMin = 0;
        std::uint8_t physicalMinSize = 0;
        std::uint32_t physicalMax = 0;
        std::uint8_t physicalMaxSize = 0;
        std::uint32_t reportSize = 0;
        std::uint32_t reportCount = 0;
        std::uint8_t reportId = 0;
    };
    struct LocalUsage {
        bool extended = false; // carries its own usage page
        std::uint16_t usagePage = 0;
        std::uint16_t usageMin = 0;
        std::uint16_t usageMax = 0;
    };

    bool MainData(HidReportType type, std::uint32_t flags, std::string* error);
    std::vector<HidCollection::UsageItem> ResolveUsages() const;
    bool Finish(std::string* error);

    Globals m_globals;
    std::vector<Globals> m_stack;
    std::vector<LocalUsage> m_usages;
    std::optional<LocalUsage> m_pendingMin;
    std::size_t m_depth = 0;
    std::size_t m_fieldCount = 0;
    std::uint64_t m_totalBits = 0;
    bool m_usesIds = false;
    bool m_dataWithoutId = false;
    ReportDescriptor m_result;
    // report id -> index of the top-level collection that owns it
    std::map<std::uint8_t, std::size_t> m_idOwner;
    // (type, id) -> bits so far
    std::map<std::pair<int, std::uint8_t>, std::uint32_t> m_reportBits;
};

std::vector<HidCollection::UsageItem> DescriptorParser::ResolveUsages() const {
    std::vector<HidCollection::UsageItem> usages;
    usages.reserve(m_usages.size());
    for (const auto& local : m_usages) {
        usages.push_back({local.extended ? local.usagePage : m_globals.usagePage, local.usageMin,
                          local.usageMax});
    }
    return usages;
}

bool DescriptorParser::MainData(HidReportType type, std::uint32_t flags, std::string* error) {
    if (m_depth == 0 || m_result.collections.empty()) {
        Fail(error, "report item outside any collection");
        return false;
    }
    if (m_globals.reportId == 0) {
        m_dataWithoutId = true;
    }
    const std::size_t owner = m_result.collections.size() - 1;
    const auto [it, inserted] = m_idOwner.emplace(m_globals.reportId, owner);
    if (!inserted && it->second != owner) {
        Fail(error, m_globals.reportId == 0 ? "several top-level collections without report ids"
                                            : "report id shared by two top-level collections");
        return false;
    }
    const std::uint64_t fieldBits =
        static_cast<std::uint64_t>(m_globals.reportSize) * m_globals.reportCount;
    auto& bits = m_reportBits[{Index(type), m_globals.reportId}];
    if (bits + fieldBits > (kMaxReportBytes - 1) * 8) {
        Fail(error, "report longer than the supported maximum");
        return false;
    }
    m_totalBits += fieldBits;
    if (m_totalBits > kMaxTotalReportBytes * 8) {
        Fail(error, "reports longer than the supported maximum in all");
        return false;
    }
    if (++m_fieldCount > kMaxReportFields) {
        Fail(error, "too many report items");
        return false;
    }

    auto& collection = m_result.collections[owner];
    const bool isConstant = (flags & 0x01) != 0;
    const bool isVariable = (flags & 0x02) != 0;
    const std::uint32_t offset = bits;
    bits += static_cast<std::uint32_t>(fieldBits);

    // Make sure the report exists in the collection even when this item only pads it.
    auto report =
        std::find_if(collection.m_reports.begin(), collection.m_reports.end(), [&](const auto& r) {
            return r.type == type && r.reportId == m_globals.reportId;
        });
    if (report == collection.m_reports.end()) {
        collection.m_reports.push_back({type, m_globals.reportId, 0});
        report = collection.m_reports.end() - 1;
    }
    report->bits = bits;

    if (isConstant || fieldBits == 0) {
        return true; // padding: occupies bits, carries no data
    }

    HidCollection::Field field;
    field.type = type;
    field.reportId = m_globals.reportId;
    field.bitOffset = offset;
    field.bitSize = static_cast<std::uint16_t>(m_globals.reportSize);
    field.count = static_cast<std::uint16_t>(m_globals.reportCount);
    field.isArray = !isVariable;
    field.isButton = field.isArray || m_globals.reportSize == 1;
    // A logical minimum of 0 or more makes the maximum unsigned, which is how most devices
    // write 0..255 in one byte.
    const std::int64_t logicalMin = SignExtend(m_globals.logicalMin, m_globals.logicalMinSize * 8u,
                                               m_globals.logicalMinSize > 0);
    const std::int64_t logicalMax = SignExtend(m_globals.logicalMax, m_globals.logicalMaxSize * 8u,
                                               logicalMin < 0 && m_globals.logicalMaxSize > 0);
    const std::int64_t physicalMin = SignExtend(
        m_globals.physicalMin, m_globals.physicalMinSize * 8u, m_globals.physicalMinSize > 0);
    const std::int64_t physicalMax =
        SignExtend(m_globals.physicalMax, m_globals.physicalMaxSize * 8u,
                   physicalMin < 0 && m_globals.physicalMaxSize > 0);
    field.logicalMin = static_cast<std::int32_t>(logicalMin);
    field.logicalMax = static_cast<std::int32_t>(logicalMax);
    field.physicalMin = static_cast<std::int32_t>(physicalMin);
    field.physicalMax = static_cast<std::int32_t>(physicalMax);
    field.usages = ResolveUsages();

    const int t = Index(type);
    const std::size_t fieldIndex = collection.m_fields.size();
    if (field.isButton) {
        for (const auto& usage : field.usages) {
            collection.m_buttonCaps[t].push_back({usage.usagePage, field.reportId,
                                                  usage.usageMin != usage.usageMax, usage.usageMin,
                                                  usage.usageMax});
        }
        if (field.usages.empty()) {
            collection.m_buttonCaps[t].push_back(
                {m_globals.usagePage, field.reportId, false, 0, 0});
        }
    } else {
        // One value capability per usage item, covering as many elements as it names; the last
        // usage repeats over any elements left.
        std::uint32_t element = 0;
        for (const auto& usage : field.usages) {
            if (element >= field.count) {
                break;
            }
            const std::uint32_t span = std::min<std::uint32_t>(
                static_cast<std::uint32_t>(usage.usageMax) - usage.usageMin + 1,
                field.count - element);
            const auto last = static_cast<std::uint16_t>(usage.usageMin + span - 1);
            collection.m_valueCaps[t].push_back(
                {usage.usagePage, field.reportId, usage.usageMin != last, usage.usageMin, last,
                 field.bitSize, static_cast<std::uint16_t>(span), field.logicalMin,
                 field.logicalMax, field.physicalMin, field.physicalMax});
            collection.m_valueLayouts[t].push_back({fieldIndex, element});
            element += span;
        }
        if (field.usages.empty()) {
            collection.m_valueCaps[t].push_back(
                {m_globals.usagePage, field.reportId, false, 0, 0, field.bitSize, field.count,
                 field.logicalMin, field.logicalMax, field.physicalMin, field.physicalMax});
            collection.m_valueLayouts[t].push_back({fieldIndex, 0});
        } else if (element < field.count) {
            collection.m_valueCaps[t].back().reportCount = static_cast<std::uint16_t>(
                collection.m_valueCaps[t].back().reportCount + field.count - element);
        }
    }
    collection.m_fields.push_back(std::move(field));
    return true;
}

bool DescriptorParser::Finish(std::string* error) {
    if (m_depth != 0) {
        Fail(error, "collection not closed");
        return false;
    }
    if (m_usesIds && m_dataWithoutId) {
        Fail(error, "report items without a report id in a descriptor that numbers its reports");
        return false;
    }
    m_result.usesReportIds = m_usesIds;
    for (auto& collection : m_result.collections) {
        auto& caps = collection.m_caps;
        for (const auto& report : collection.m_reports) {
            const auto bytes = static_cast<std::uint16_t>((report.bits + 7) / 8 + 1);
            std::uint16_t* length =
                report.type == HidReportType::Input    ? &caps.inputReportByteLength
                : report.type == HidReportType::Output ? &caps.outputReportByteLength
                                                       : &caps.featureReportByteLength;
            *length = std::max(*length, bytes);
        }
        for (int t = 0; t < kHidReportTypeCount; ++t) {
            // Every button capability gets a usage list as long as the most usages of its page
            // that can be on at once; keep the sum of those lists bounded.
            std::map<std::uint16_t, std::size_t> listLength;
            for (const auto& field : collection.m_fields) {
                if (Index(field.type) != t || !field.isButton) {
                    continue;
                }
                std::vector<std::uint16_t> pages;
                for (const auto& usage : field.usages) {
                    if (std::find(pages.begin(), pages.end(), usage.usagePage) == pages.end()) {
                        pages.push_back(usage.usagePage);
                        listLength[usage.usagePage] += field.count;
                    }
                }
            }
            std::size_t budget = 0;
            for (const auto& button : collection.m_buttonCaps[t]) {
                budget += listLength[button.usagePage];
            }
            if (budget > kMaxUsageListBudget) {
                Fail(error, "too many button usages");
                return false;
            }
        }
        caps.numberInputButtonCaps = static_cast<std::uint16_t>(collection.m_buttonCaps[0].size());
        caps.numberInputValueCaps = static_cast<std::uint16_t>(collection.m_valueCaps[0].size());
        caps.numberOutputButtonCaps = static_cast<std::uint16_t>(collection.m_buttonCaps[1].size());
        caps.numberOutputValueCaps = static_cast<std::uint16_t>(collection.m_valueCaps[1].size());
        caps.numberFeatureButtonCaps =
            static_cast<std::uint16_t>(collection.m_buttonCaps[2].size());
        caps.numberFeatureValueCaps = static_cast<std::uint16_t>(collection.m_valueCaps[2].size());
    }
    return true;
}

std::optional<ReportDescriptor> DescriptorParser::Parse(std::span<const std::uint8_t> data,
                                                        std::string* error) {
    if (data.size() > kMaxDescriptorBytes) {
        Fail(error, "descriptor larger than the supported maximum");
        return std::nullopt;
    }
    std::size_t pos = 0;
    while (pos < data.size()) {
        const std::uint8_t prefix = data[pos++];
        if (prefix == 0xFE) { // long item: skipped, none is defined
            if (data.size() - pos < 2) {
                Fail(error, "truncated long item");
                return std::nullopt;
            }
            const std::size_t length = data[pos];
            pos += 2;
            if (data.size() - pos < length) {
                Fail(error, "truncated long item");
                return std::nullopt;
            }
            pos += length;
            continue;
        }
        const std::size_t size = (prefix & 3) == 3 ? 4 : (prefix & 3);
        const int itemType = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        if (data.size() - pos < size) {
            Fail(error, "truncated item");
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) {
            value = (value << 8) | data[pos + i];
        }
        pos += size;
        const auto byteSize = static_cast<std::uint8_t>(size);

        if (itemType == 0) { // main
            switch (tag) {
            case 0x8:
            case 0x9:
            case 0xB: {
                const auto type = tag == 0x8   ? HidReportType::Input
                                  : tag == 0x9 ? HidReportType::Output
                                               : HidReportType::Feature;
                if (!MainData(type, value, error)) {
                    return std::nullopt;
                }
                break;
            }
            case 0xA: // collection
                if (m_depth >= kMaxCollectionDepth) {
                    Fail(error, "collections nested too deeply");
                    return std::nullopt;
                }
                if (m_depth == 0) {
                    HidCollection collection;
                    const auto usages = ResolveUsages();
                    collection.m_caps.usagePage =
                        usages.empty() ? m_globals.usagePage : usages.front().usagePage;
                    collection.m_caps.usage = usages.empty() ? 0 : usages.front().usageMin;
                    m_result.collections.push_back(std::move(collection));
                }
                ++m_depth;
                break;
            case 0xC: // end collection
                if (m_depth == 0) {
                    Fail(error, "end of a collection that was not opened");
                    return std::nullopt;
                }
                --m_depth;
                break;
            default:
                break; // reserved main items carry nothing we use
            }
            m_usages.clear();
            m_pendingMin.reset();
        } else if (itemType == 1) { // global
            switch (tag) {
            case 0x0:
                m_globals.usagePage = static_cast<std::uint16_t>(value);
                break;
            case 0x1:
                m_globals.logicalMin = value;
                m_globals.logicalMinSize = byteSize;
                break;
            case 0x2:
                m_globals.logicalMax = value;
                m_globals.logicalMaxSize = byteSize;
                break;
            case 0x3:
                m_globals.physicalMin = value;
                m_globals.physicalMinSize = byteSize;
                break;
            case 0x4:
                m_globals.physicalMax = value;
                m_globals.physicalMaxSize = byteSize;
                break;
            case 0x7:
                if (value > kMaxFieldBits) {
                    Fail(error, "report size larger than 32 bits");
                    return std::nullopt;
                }
                m_globals.reportSize = value;
                break;
            case 0x8:
                if (value == 0 || value > 255) {
                    Fail(error, "report id out of range");
                    return std::nullopt;
                }
                m_globals.reportId = static_cast<std::uint8_t>(value);
                m_usesIds = true;
                break;
            case 0x9:
                if (value > (kMaxReportBytes - 1) * 8) {
                    Fail(error, "report count out of range");
                    return std::nullopt;
                }
                m_globals.reportCount = value;
                break;
            case 0xA:
                if (m_stack.size() >= kMaxGlobalStack) {
                    Fail(error, "push without pop too often");
                    return std::nullopt;
                }
                m_stack.push_back(m_globals);
                break;
            case 0xB:
                if (m_stack.empty()) {
                    Fail(error, "pop without push");
                    return std::nullopt;
                }
                m_globals = m_stack.back();
                m_stack.pop_back();
                break;
            default:
                break; // unit, unit exponent, reserved
            }
        } else if (itemType == 2) { // local
            if (tag == 0x0 || tag == 0x1 || tag == 0x2) {
                if (m_usages.size() >= kMaxLocalUsages) {
                    Fail(error, "too many usages for one item");
                    return std::nullopt;
                }
                LocalUsage usage;
                usage.extended = size == 4;
                usage.usagePage = static_cast<std::uint16_t>(value >> 16);
                usage.usageMin = usage.usageMax = static_cast<std::uint16_t>(value);
                if (tag == 0x0) {
                    m_usages.push_back(usage);
                } else if (tag == 0x1) {
                    m_pendingMin = usage;
                } else if (m_pendingMin) {
                    LocalUsage range = *m_pendingMin;
                    range.usageMax = usage.usageMin;
                    if (range.usageMax < range.usageMin) {
                        Fail(error, "usage maximum below usage minimum");
                        return std::nullopt;
                    }
                    m_usages.push_back(range);
                    m_pendingMin.reset();
                }
            }
        }
        // Reserved item type 3 carries nothing; skipped.
    }
    if (!Finish(error)) {
        return std::nullopt;
    }
    return std::move(m_result);
}

std::optional<ReportDescriptor> ParseReportDescriptor(std::span<const std::uint8_t> descriptor,
                                                      std::string* error) {
    DescriptorParser parser;
    return parser.Parse(descriptor, error);
}

// ---------------------------------------------------------------------------------------------
// Queries

const std::vector<HidButtonCaps>& HidCollection::ButtonCaps(HidReportType type) const {
    return m_buttonCaps[Index(type)];
}

const std::vector<HidValueCaps>& HidCollection::ValueCaps(HidReportType type) const {
    return m_valueCaps[Index(type)];
}

const HidCollection::ReportLayout* HidCollection::FindReport(HidReportType type,
                                                             std::uint8_t reportId) const {
    for (const auto& report : m_reports) {
        if (report.type == type && report.reportId == reportId) {
            return &report;
        }
    }
    return nullptr;
}

bool HidCollection::HasReport(HidReportType type, std::uint8_t reportId) const {
    return FindReport(type, reportId) != nullptr;
}

std::size_t HidCollection::ReportByteLength(HidReportType type, std::uint8_t reportId) const {
    const auto* report = FindReport(type, reportId);
    return report == nullptr ? 0 : (report->bits + 7) / 8 + 1;
}

bool HidCollection::OwnsReportId(std::uint8_t reportId) const {
    return std::any_of(m_reports.begin(), m_reports.end(),
                       [&](const auto& report) { return report.reportId == reportId; });
}

std::uint32_t HidCollection::MaxUsageListLength(HidReportType type, std::uint16_t usagePage) const {
    std::uint32_t length = 0;
    for (const auto& field : m_fields) {
        if (field.type != type || !field.isButton) {
            continue;
        }
        const bool onPage =
            std::any_of(field.usages.begin(), field.usages.end(),
                        [&](const UsageItem& item) { return item.usagePage == usagePage; });
        if (onPage) {
            length += field.count;
        }
    }
    return length;
}

HidStatus HidCollection::GetUsages(HidReportType type, std::uint16_t usagePage,
                                   std::span<const std::uint8_t> report,
                                   std::span<std::uint16_t> list, std::size_t& count) const {
    count = 0;
    std::fill(list.begin(), list.end(), std::uint16_t{0});
    if (report.empty()) {
        return kHidStatusInvalidReportLength;
    }
    const std::uint8_t reportId = report[0];
    if (FindReport(type, reportId) == nullptr) {
        return kHidStatusIncompatibleReportId;
    }
    if (report.size() < ReportByteLength(type, reportId)) {
        return kHidStatusInvalidReportLength;
    }
    const auto payload = report.subspan(1);
    HidStatus status = kHidStatusSuccess;
    auto add = [&](std::uint16_t usage) {
        if (count < list.size()) {
            list[count++] = usage;
        } else {
            status = kHidStatusBufferTooSmall;
        }
    };
    for (const auto& field : m_fields) {
        if (field.type != type || field.reportId != reportId || !field.isButton) {
            continue;
        }
        for (std::uint32_t element = 0; element < field.count; ++element) {
            const std::uint32_t raw =
                ReadBits(payload, field.bitOffset + element * field.bitSize, field.bitSize);
            std::optional<UsageItem> usage;
            if (field.isArray) {
                const std::int64_t v = SignExtend(raw, field.bitSize, field.logicalMin < 0);
                if (v < field.logicalMin || v > field.logicalMax) {
                    continue; // out of range: no control is on in this slot
                }
                usage =
                    UsageAt(field.usages, static_cast<std::uint32_t>(v - field.logicalMin), false);
            } else if (raw != 0) {
                usage = UsageAt(field.usages, element, false);
            }
            if (usage && usage->usageMin != 0 && usage->usagePage == usagePage) {
                add(usage->usageMin);
            }
        }
    }
    return status;
}

HidStatus HidCollection::FindValue(HidReportType type, std::uint16_t usagePage, std::uint16_t usage,
                                   std::span<const std::uint8_t> report, std::int64_t& raw,
                                   const Field*& found) const {
    if (report.empty()) {
        return kHidStatusInvalidReportLength;
    }
    const std::uint8_t reportId = report[0];
    const int t = Index(type);
    bool sawUsage = false;
    for (std::size_t i = 0; i < m_valueCaps[t].size(); ++i) {
        const auto& cap = m_valueCaps[t][i];
        if (cap.usagePage != usagePage || usage < cap.usageMin || usage > cap.usageMax) {
            continue;
        }
        sawUsage = true;
        if (cap.reportId != reportId) {
            continue;
        }
        if (report.size() < ReportByteLength(type, reportId)) {
            return kHidStatusInvalidReportLength;
        }
        const auto& layout = m_valueLayouts[t][i];
        const Field& field = m_fields[layout.field];
        const std::uint32_t element = layout.firstElement + (usage - cap.usageMin);
        const std::uint32_t bits =
            ReadBits(report.subspan(1), field.bitOffset + element * field.bitSize, field.bitSize);
        raw = SignExtend(bits, field.bitSize, field.logicalMin < 0);
        found = &field;
        return kHidStatusSuccess;
    }
    return sawUsage ? kHidStatusIncompatibleReportId : kHidStatusUsageNotFound;
}

HidStatus HidCollection::GetUsageValue(HidReportType type, std::uint16_t usagePage,
                                       std::uint16_t usage, std::span<const std::uint8_t> report,
                                       std::uint32_t& value) const {
    std::int64_t raw = 0;
    const Field* field = nullptr;
    const HidStatus status = FindValue(type, usagePage, usage, report, raw, field);
    if (status == kHidStatusSuccess) {
        value = static_cast<std::uint32_t>(raw); // the raw bits, as the report carries them
        if (field->logicalMin < 0 && field->bitSize < 32) {
            value &= (1u << field->bitSize) - 1;
        }
    }
    return status;
}

HidStatus HidCollection::GetScaledUsageValue(HidReportType type, std::uint16_t usagePage,
                                             std::uint16_t usage,
                                             std::span<const std::uint8_t> report,
                                             std::int32_t& value) const {
    std::int64_t raw = 0;
    const Field* field = nullptr;
    HidStatus status = FindValue(type, usagePage, usage, report, raw, field);
    if (status != kHidStatusSuccess) {
        return status;
    }
    const std::int64_t logicalMin = field->logicalMin;
    const std::int64_t logicalMax = field->logicalMax;
    std::int64_t physicalMin = field->physicalMin;
    std::int64_t physicalMax = field->physicalMax;
    if (physicalMin == 0 && physicalMax == 0) {
        physicalMin = logicalMin;
        physicalMax = logicalMax;
    }
    if (logicalMin >= logicalMax || physicalMin > physicalMax) {
        return kHidStatusBadLogPhyValues;
    }
    if (raw < logicalMin || raw > logicalMax) {
        value = 0;
        return kHidStatusNull;
    }
    value = static_cast<std::int32_t>(
        physicalMin + (raw - logicalMin) * (physicalMax - physicalMin) / (logicalMax - logicalMin));
    return kHidStatusSuccess;
}

} // namespace q407::hid
