#include "hid/DeviceTable.h"

#include <gtest/gtest.h>
#include <set>

namespace q407::hid {
namespace {

TEST(DeviceTable, PairsLinkBackBetweenCableAndReceiver) {
    const auto table = SupportedDevices();
    ASSERT_EQ(table.size(), kSupportedDeviceCount);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        EXPECT_EQ(row.occupied, 0) << i;
        EXPECT_TRUE(row.devicePath.empty()) << i;
        if (row.hasPair == 0) {
            continue;
        }
        ASSERT_LT(row.pairIndex, table.size()) << i;
        const auto& pair = table[row.pairIndex];
        EXPECT_EQ(pair.pairIndex, i) << i;
        EXPECT_EQ(pair.interfaceRole, row.interfaceRole) << i;
        EXPECT_EQ(KindOfDeviceType(pair.deviceType), KindOfDeviceType(row.deviceType)) << i;
        EXPECT_NE(pair.deviceType, row.deviceType) << i;
    }
    // The first twelve rows are the paired mouse and keyboard rows; the rest are cable only.
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(table[i].hasPair, 1) << i;
    }
}

TEST(DeviceTable, CommandRowsUseTheVendorCollectionAndEventRowsTheConsumerOne) {
    for (const auto& row : SupportedDevices()) {
        if (row.interfaceRole == kRoleCommand) {
            EXPECT_EQ(row.usagePage, 0xFF1C);
            EXPECT_EQ(row.usage, 0x92);
        } else {
            EXPECT_EQ(row.interfaceRole, kRoleEvent);
            EXPECT_EQ(row.usagePage, 0x000C);
            EXPECT_EQ(row.usage, 0x01);
        }
    }
}

TEST(DeviceTable, EveryRecognisedRowIsFoundByItsIdsTypeAndRole) {
    const auto table = SupportedDevices();
    std::set<std::pair<int, int>> products;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        const int found =
            FindTableRow(row.vendorId, row.productId, row.deviceType, row.interfaceRole);
        if (row.vendorId == 0 && row.productId == 0) {
            EXPECT_LE(found, static_cast<int>(i)); // reserved rows: the first of their kind
            continue;
        }
        EXPECT_EQ(found, static_cast<int>(i));
        EXPECT_EQ(row.vendorId, kVendorId);
        products.emplace(row.productId, row.deviceType);
    }
    // Each product id names one product and connection.
    std::set<int> productIds;
    for (const auto& [productId, type] : products) {
        EXPECT_TRUE(productIds.insert(productId).second) << productId;
    }
    EXPECT_EQ(FindTableRow(kVendorId, kProductMouseA, kDeviceMouseReceiver, kRoleCommand), -1);
    EXPECT_EQ(FindTableRow(kVendorId, 0x9999, kDeviceMouse, kRoleCommand), -1);
}

TEST(DeviceTable, OptionRowsAreFoundByIdsAndKind) {
    ASSERT_EQ(DeviceOptions().size(), 5u);
    ASSERT_EQ(DeviceLayouts().size(), 5u);
    EXPECT_EQ(FindOptionRow(kVendorId, kProductMouseA, kDeviceMouse, 0), 0);
    EXPECT_EQ(FindOptionRow(0, 0, kDeviceMouse, 0), 1);
    EXPECT_EQ(FindOptionRow(kVendorId, kProductKeyboardK, kDeviceKeyboard, 0), 2);
    EXPECT_EQ(FindOptionRow(kVendorId, kProductMousePad, kDeviceMousePad, 0), 3);
    EXPECT_EQ(FindOptionRow(kVendorId, kProductHeadset, kDeviceHeadset, 0), 4);
    EXPECT_EQ(FindOptionRow(kVendorId, kProductMouseA, kDeviceMouse, 1), -1);
    EXPECT_EQ(FindOptionRow(kVendorId, kProductMouseAReceiver, kDeviceMouse, 0), -1);
    // Every recognised cable command row has a page to go to.
    for (const auto& row : SupportedDevices()) {
        if (row.vendorId != 0 && row.interfaceRole == kRoleCommand &&
            KindOfDeviceType(row.deviceType) == row.deviceType) {
            EXPECT_GE(FindOptionRow(row.vendorId, row.productId, row.deviceType, 0), 0)
                << row.productId;
        }
    }
    EXPECT_EQ(DeviceLayouts()[2].keyCount, 170);
    EXPECT_EQ(DeviceOptions()[4].i[3], 3);
}

TEST(DeviceTable, UdevRuleGrantsAccessToEachSupportedProductOnce) {
    const std::string rules = GenerateUdevRules();
    std::set<std::pair<int, int>> ids;
    for (const auto& row : SupportedDevices()) {
        if (row.vendorId != 0) {
            ids.emplace(row.vendorId, row.productId);
        }
    }
    std::size_t lines = 0;
    for (std::size_t at = rules.find("TAG+=\"uaccess\""); at != std::string::npos;
         at = rules.find("TAG+=\"uaccess\"", at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, ids.size());
    for (const auto& [vendorId, productId] : ids) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "KERNELS==\"*:%04X:%04X.*\"", vendorId, productId);
        EXPECT_NE(rules.find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(rules.find(":0000:0000"), std::string::npos);
}

} // namespace
} // namespace q407::hid
