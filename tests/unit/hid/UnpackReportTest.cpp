#include "hid/CHidDevice.h"
#include "hid/ReportDescriptor.h"
#include "sim/ProductInterfaces.h"

#include <gtest/gtest.h>
#include <vector>

namespace q407::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

HidCollection OnlyCollection(const Bytes& descriptor) {
    auto parsed = ParseReportDescriptor(descriptor);
    EXPECT_TRUE(parsed && parsed->collections.size() == 1);
    return parsed && !parsed->collections.empty() ? parsed->collections[0] : HidCollection{};
}

// Buttons 1-3 and 4-8 declared as two ranges of one bit field, then a signed 8-bit X and an
// unsigned 12-bit value with a physical range; report id 9.
const Bytes kSplitButtons = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x09,                   // mouse, id 9
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x19, 0x04, 0x29, 0x08,       // buttons 1-3, 4-8
    0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,       // 8 one-bit buttons
    0x05, 0x01, 0x09, 0x30, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, // X, -127..127
    0x01, 0x81, 0x06, 0x09, 0x32, 0x15, 0x00, 0x26, 0xFF, 0x0F, 0x35, // Z, 0..4095
    0x00, 0x45, 0x64, 0x75, 0x0C, 0x95, 0x01, 0x81, 0x02,             // physical 0..100
    0x75, 0x04, 0x95, 0x01, 0x81, 0x01, 0xC0};                        // pad to a byte

TEST(UnpackReport, EntriesFollowTheCapabilities) {
    const auto collection = OnlyCollection(kSplitButtons);
    const auto data = MakeReportData(collection, HidReportType::Input);
    ASSERT_EQ(data.size(), 4u); // two button ranges, X, Z
    EXPECT_TRUE(data[0].isButton);
    EXPECT_EQ(data[0].usageMin, 1u);
    EXPECT_EQ(data[0].usageMax, 3u);
    EXPECT_EQ(data[1].usageMin, 4u);
    EXPECT_EQ(data[1].usageMax, 8u);
    // Both ranges share the page's list length: all 8 buttons can be on at once.
    EXPECT_EQ(data[0].maxUsageListLength, 8u);
    EXPECT_EQ(data[0].usages.size(), 8u);
    EXPECT_FALSE(data[2].isButton);
    EXPECT_EQ(data[2].usage, 0x30);
    EXPECT_EQ(data[3].usage, 0x32);
    for (const auto& entry : data) {
        EXPECT_EQ(entry.status, kHidStatusSuccess);
        EXPECT_EQ(entry.reportId, 9u);
        EXPECT_FALSE(entry.isSet);
    }
}

TEST(UnpackReport, ButtonEntriesKeepOnlyTheirRangeInOrder) {
    const auto collection = OnlyCollection(kSplitButtons);
    auto data = MakeReportData(collection, HidReportType::Input);
    // Buttons 1, 3, 5 and 8 on; X = -2; Z = 0x800 (raw), which is 50 physical.
    const Bytes report = {0x09, 0b1001'0101, 0xFE, 0x00, 0x08};
    ASSERT_TRUE(UnpackReport(report, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].usages, (std::vector<std::uint16_t>{1, 3, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(data[1].usages, (std::vector<std::uint16_t>{5, 8, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(data[0].isSet);
    EXPECT_EQ(data[2].value, 0xFEu);
    EXPECT_EQ(data[2].scaledValue, -2);
    EXPECT_EQ(data[3].value, 0x800u);
    EXPECT_EQ(data[3].scaledValue, 50);
    EXPECT_EQ(data[3].status, kHidStatusSuccess);

    // A second report clears what is no longer on.
    const Bytes released = {0x09, 0b0000'0010, 0x01, 0xFF, 0x0F};
    ASSERT_TRUE(UnpackReport(released, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].usages[0], 2);
    EXPECT_EQ(data[0].usages[1], 0);
    EXPECT_EQ(data[1].usages[0], 0);
    EXPECT_EQ(data[3].scaledValue, 100);
}

TEST(UnpackReport, OtherReportIdsLeaveEntriesUntouched) {
    const auto collection = OnlyCollection(kSplitButtons);
    auto data = MakeReportData(collection, HidReportType::Input);
    const Bytes other = {0x0A, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(UnpackReport(other, HidReportType::Input, data, collection));
    for (const auto& entry : data) {
        EXPECT_FALSE(entry.isSet);
    }
}

TEST(UnpackReport, ShortAndEmptyReportsFailWithoutOverread) {
    const auto collection = OnlyCollection(kSplitButtons);
    auto data = MakeReportData(collection, HidReportType::Input);
    EXPECT_FALSE(UnpackReport({}, HidReportType::Input, data, collection));
    // Three bytes of a five-byte report: the values cannot be read.
    const Bytes shortReport = {0x09, 0x01, 0x02};
    EXPECT_FALSE(UnpackReport(shortReport, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].status, kHidStatusInvalidReportLength);
    EXPECT_EQ(data[0].usages[0], 0);
    EXPECT_EQ(data[2].status, kHidStatusInvalidReportLength);
    EXPECT_FALSE(data[2].isSet);
}

TEST(UnpackReport, ConsumerArrayGivesTheUsageOfTheEvent) {
    const auto collection =
        OnlyCollection(sim::BuildReportDescriptor({sim::CollectionKind::Consumer}));
    auto data = MakeReportData(collection, HidReportType::Input);
    ASSERT_EQ(data.size(), 1u);
    EXPECT_EQ(data[0].usageMin, 0u);
    EXPECT_EQ(data[0].usageMax, 0xFFFFu);
    const Bytes event = {sim::kEventReportId, 0x23, 0x11}; // profile 3, DPI stage 2
    ASSERT_TRUE(UnpackReport(event, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].usages[0], 0x1123);
    const Bytes none = {sim::kEventReportId, 0x00, 0x00};
    ASSERT_TRUE(UnpackReport(none, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].usages[0], 0);
    const Bytes volumeUp = {sim::kEventReportId, 0xE9, 0x00};
    ASSERT_TRUE(UnpackReport(volumeUp, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].usages[0], 0xE9);
}

TEST(UnpackReport, KeyboardWithoutReportIdsUsesIdZero) {
    // Boot keyboard: report id 0 in byte 0, then modifiers, reserved, six key slots.
    const Bytes keyboard = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7,
                            0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01,
                            0x75, 0x08, 0x81, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65,
                            0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
    const auto collection = OnlyCollection(keyboard);
    auto data = MakeReportData(collection, HidReportType::Input);
    ASSERT_EQ(data.size(), 2u);
    const Bytes report = {0x00, 0x02, 0x00, 0x04, 0x05, 0x00, 0x00, 0x00, 0x00}; // shift, a, b
    ASSERT_TRUE(UnpackReport(report, HidReportType::Input, data, collection));
    EXPECT_EQ(data[0].usages[0], 0xE1);
    EXPECT_EQ(data[0].usages[1], 0);
    EXPECT_EQ(data[1].usages[0], 0x04);
    EXPECT_EQ(data[1].usages[1], 0x05);
    EXPECT_EQ(data[1].usages[2], 0);
}

} // namespace
} // namespace q407::hid
