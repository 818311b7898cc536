// Feeds arbitrary bytes to the report descriptor parser and queries whatever it accepts.

#include "hid/CHidDevice.h"
#include "hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace q407::hid;
    const std::span<const std::uint8_t> bytes(data, size);
    const auto parsed = ParseReportDescriptor(bytes);
    if (!parsed) {
        return 0;
    }
    for (const auto& collection : parsed->collections) {
        for (const auto type :
             {HidReportType::Input, HidReportType::Output, HidReportType::Feature}) {
            // Building the items touches every capability and list length.
            const auto items = MakeReportData(collection, type);
            for (const auto& button : collection.ButtonCaps(type)) {
                (void)collection.MaxUsageListLength(type, button.usagePage);
            }
            (void)items;
        }
    }
    return 0;
}
