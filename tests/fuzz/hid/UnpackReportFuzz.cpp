// Input: a 2-byte little-endian descriptor length, the descriptor, then one report. Every
// collection of an accepted descriptor unpacks the report as input and as feature report.

#include "hid/CHidDevice.h"
#include "hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q407::hid;
    if (size < 2) {
        return 0;
    }
    const std::size_t descriptorLength = data[0] | (static_cast<std::size_t>(data[1]) << 8);
    if (descriptorLength > size - 2) {
        return 0;
    }
    const std::span<const std::uint8_t> descriptor(data + 2, descriptorLength);
    const std::span<const std::uint8_t> report(data + 2 + descriptorLength,
                                               size - 2 - descriptorLength);
    const auto parsed = ParseReportDescriptor(descriptor);
    if (!parsed) {
        return 0;
    }
    for (const auto& collection : parsed->collections) {
        for (const auto type : {HidReportType::Input, HidReportType::Feature}) {
            auto items = MakeReportData(collection, type);
            (void)UnpackReport(report, type, items, collection);
            for (const auto& item : items) {
                // A button list never grows past its declared length.
                if (item.isButton && item.usages.size() != item.maxUsageListLength) {
                    __builtin_trap();
                }
            }
        }
    }
    return 0;
}
