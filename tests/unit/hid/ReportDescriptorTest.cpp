#include "hid/ReportDescriptor.h"

#include "sim/ProductInterfaces.h"

#include <gtest/gtest.h>
#include <vector>

namespace q407::hid {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The boot keyboard of the HID class definition (no report ids).
const Bytes kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};

// The boot mouse of the HID class definition (no report ids).
const Bytes kBootMouse = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00,
                          0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01,
                          0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05,
                          0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81,
                          0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0xC0};

ReportDescriptor ParseOk(const Bytes& bytes) {
    std::string error;
    auto parsed = ParseReportDescriptor(bytes, &error);
    EXPECT_TRUE(parsed.has_value()) << error;
    return parsed.value_or(ReportDescriptor{});
}

std::string ParseError(const Bytes& bytes) {
    std::string error;
    const auto parsed = ParseReportDescriptor(bytes, &error);
    EXPECT_FALSE(parsed.has_value());
    return error;
}

TEST(ReportDescriptor, BootKeyboardHasOneCollectionWithWindowsLengths) {
    const auto parsed = ParseOk(kBootKeyboard);
    ASSERT_EQ(parsed.collections.size(), 1u);
    EXPECT_FALSE(parsed.usesReportIds);
    const auto& caps = parsed.collections[0].Caps();
    EXPECT_EQ(caps.usagePage, 0x01);
    EXPECT_EQ(caps.usage, 0x06);
    EXPECT_EQ(caps.inputReportByteLength, 9);  // 8 bytes plus the report id byte
    EXPECT_EQ(caps.outputReportByteLength, 2); // 5 LEDs padded to a byte, plus the id byte
    EXPECT_EQ(caps.featureReportByteLength, 0);
    // Modifier bits and the key array are button capabilities; no values.
    EXPECT_EQ(caps.numberInputButtonCaps, 2);
    EXPECT_EQ(caps.numberInputValueCaps, 0);
    EXPECT_EQ(caps.numberOutputButtonCaps, 1);
    const auto& buttons = parsed.collections[0].ButtonCaps(HidReportType::Input);
    EXPECT_EQ(buttons[0].usagePage, 0x07);
    EXPECT_EQ(buttons[0].usageMin, 0xE0);
    EXPECT_EQ(buttons[0].usageMax, 0xE7);
    EXPECT_TRUE(buttons[1].isRange);
    EXPECT_EQ(buttons[1].usageMax, 0x65);
    // 8 modifier bits plus 6 array slots can be on at once.
    EXPECT_EQ(parsed.collections[0].MaxUsageListLength(HidReportType::Input, 0x07), 14u);
}

TEST(ReportDescriptor, BootMouseHasButtonsAndSignedValues) {
    const auto parsed = ParseOk(kBootMouse);
    ASSERT_EQ(parsed.collections.size(), 1u);
    const auto& collection = parsed.collections[0];
    EXPECT_EQ(collection.Caps().usage, 0x02);
    EXPECT_EQ(collection.Caps().inputReportByteLength, 4);
    const auto& buttons = collection.ButtonCaps(HidReportType::Input);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].usagePage, 0x09);
    EXPECT_EQ(buttons[0].usageMin, 1);
    EXPECT_EQ(buttons[0].usageMax, 3);
    const auto& values = collection.ValueCaps(HidReportType::Input);
    ASSERT_EQ(values.size(), 2u); // X and Y, one capability each
    EXPECT_EQ(values[0].usageMin, 0x30);
    EXPECT_EQ(values[1].usageMin, 0x31);
    EXPECT_EQ(values[0].logicalMin, -127);
    EXPECT_EQ(values[0].logicalMax, 127);
}

TEST(ReportDescriptor, ProductInterfaceHasFiveCollectionsWithTheirReportIds) {
    using sim::CollectionKind;
    const auto parsed = ParseOk(sim::BuildReportDescriptor(
        {CollectionKind::Mouse, CollectionKind::Keyboard, CollectionKind::SystemControl,
         CollectionKind::Consumer, CollectionKind::Vendor}));
    ASSERT_EQ(parsed.collections.size(), 5u);
    EXPECT_TRUE(parsed.usesReportIds);
    const std::uint16_t pages[] = {0x01, 0x01, 0x01, 0x0C, 0xFF1C};
    const std::uint16_t usages[] = {0x02, 0x06, 0x80, 0x01, 0x92};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(parsed.collections[i].Caps().usagePage, pages[i]) << i;
        EXPECT_EQ(parsed.collections[i].Caps().usage, usages[i]) << i;
    }
    const auto& vendor = parsed.collections[4];
    EXPECT_EQ(vendor.Caps().inputReportByteLength, 64);
    EXPECT_EQ(vendor.Caps().outputReportByteLength, 64);
    EXPECT_TRUE(vendor.OwnsReportId(sim::kCommandReportId));
    EXPECT_FALSE(vendor.OwnsReportId(sim::kEventReportId));
    const auto& consumer = parsed.collections[3];
    EXPECT_EQ(consumer.Caps().inputReportByteLength, 3);
    EXPECT_EQ(consumer.Caps().outputReportByteLength, 0);
    EXPECT_TRUE(consumer.HasReport(HidReportType::Input, sim::kEventReportId));
    EXPECT_FALSE(consumer.HasReport(HidReportType::Output, sim::kEventReportId));
    // The keyboard's LED report is its only output report.
    EXPECT_EQ(parsed.collections[1].Caps().outputReportByteLength, 2);
    // Nested physical collections stay inside their top-level collection.
    EXPECT_EQ(parsed.collections[0].Caps().inputReportByteLength, 7);
}

TEST(ReportDescriptor, LogicalMaximumIsUnsignedWhenTheMinimumIsNotNegative) {
    // 0..255 written as a one-byte maximum (0xFF) is 255, not -1.
    const Bytes bytes = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x09, 0x02, 0x15,
                         0x00, 0x25, 0xFF, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xC0};
    const auto parsed = ParseOk(bytes);
    ASSERT_EQ(parsed.collections.size(), 1u);
    const auto& values = parsed.collections[0].ValueCaps(HidReportType::Input);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].logicalMax, 255);
    // One usage for two elements: the usage repeats.
    EXPECT_EQ(values[0].reportCount, 2);
}

TEST(ReportDescriptor, ExtendedUsagesCarryTheirOwnPage) {
    // Usage page 1, but the collection's usage names page 0x0C itself (4-byte usage).
    const Bytes bytes = {0x05, 0x01, 0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01,
                         0x85, 0x07, 0x19, 0x01, 0x29, 0x02, 0x15, 0x00, 0x25,
                         0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0xC0};
    const auto parsed = ParseOk(bytes);
    ASSERT_EQ(parsed.collections.size(), 1u);
    EXPECT_EQ(parsed.collections[0].Caps().usagePage, 0x0C);
    EXPECT_EQ(parsed.collections[0].Caps().usage, 0x01);
    EXPECT_EQ(parsed.collections[0].Caps().inputReportByteLength, 2);
}

TEST(ReportDescriptor, EmptyDescriptorHasNoCollections) {
    const auto parsed = ParseOk({});
    EXPECT_TRUE(parsed.collections.empty());
}

TEST(ReportDescriptor, BrokenDescriptorsAreRefusedWithAReason) {
    // Truncated in the middle of an item's data.
    EXPECT_EQ(ParseError({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x26, 0xFF}), "truncated item");
    // Every truncation of a valid descriptor after its first items is refused: it ends inside an
    // item or inside the collection that only its last byte closes.
    for (std::size_t length = 5; length < kBootKeyboard.size(); ++length) {
        const Bytes prefix(kBootKeyboard.begin(),
                           kBootKeyboard.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(ParseReportDescriptor(prefix).has_value()) << "length " << length;
    }
    EXPECT_EQ(ParseError({0xC0}), "end of a collection that was not opened");
    EXPECT_EQ(ParseError({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}), "collection not closed");
    EXPECT_EQ(ParseError({0x85, 0x00}), "report id out of range");
    EXPECT_EQ(ParseError({0xB4}), "pop without push");
    EXPECT_EQ(ParseError({0x75, 0x08, 0x95, 0x01, 0x81, 0x02}),
              "report item outside any collection");
    EXPECT_EQ(ParseError({0x75, 0x21}), "report size larger than 32 bits");
    EXPECT_EQ(ParseError({0x19, 0x05, 0x29, 0x01}), "usage maximum below usage minimum");
    EXPECT_EQ(ParseError({0xFE, 0x05, 0x00, 0x01}), "truncated long item");
    // Two top-level collections sharing report id 1.
    EXPECT_EQ(ParseError({0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08,
                          0x95, 0x01, 0x81, 0x02, 0xC0, 0x09, 0x06, 0xA1, 0x01, 0x85,
                          0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}),
              "report id shared by two top-level collections");
    // Two top-level collections without report ids cannot be told apart.
    EXPECT_EQ(ParseError({0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0,
                          0x09, 0x06, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}),
              "several top-level collections without report ids");
    // Data before the first report id in a descriptor that numbers its reports.
    EXPECT_EQ(ParseError({0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x02,
                          0x81, 0x02, 0xC0}),
              "report items without a report id in a descriptor that numbers its reports");
}

TEST(ReportDescriptor, LimitsRefuseHugeDescriptors) {
    Bytes tooLarge(kMaxDescriptorBytes + 1, 0x00);
    EXPECT_EQ(ParseError(tooLarge), "descriptor larger than the supported maximum");

    // A report of 4095 data bytes is accepted; one bit more is refused.
    const Bytes longest = {0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x96, 0xFF, 0x0F, 0x81, 0x02, 0xC0};
    EXPECT_EQ(ParseOk(longest).collections[0].Caps().inputReportByteLength, 4096);
    const Bytes tooLong = {0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x96, 0xFF, 0x0F,
                           0x81, 0x02, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0};
    EXPECT_EQ(ParseError(tooLong), "report longer than the supported maximum");

    // Deep nesting.
    Bytes deep;
    for (int i = 0; i < 40; ++i) {
        deep.insert(deep.end(), {0xA1, 0x00});
    }
    EXPECT_EQ(ParseError(deep), "collections nested too deeply");
}

} // namespace
} // namespace q407::hid
