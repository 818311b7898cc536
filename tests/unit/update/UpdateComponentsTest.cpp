#include "update/UpdateComponents.h"

#include <gtest/gtest.h>

namespace q407::update {
namespace {

TEST(UpdateComponents, TableHasTheFixedRowsInOrder) {
    const auto rows = UpdateComponentTable();
    ASSERT_EQ(rows.size(), kUpdateComponentCount);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(rows[k].hexVersions, 1);
        EXPECT_EQ(rows[k].name, "Ms");
    }
    EXPECT_EQ(rows[3].hexVersions, 2);
    EXPECT_EQ(rows[3].name, "T62");
    EXPECT_EQ(rows[4].hexVersions, 0);
    EXPECT_EQ(rows[4].chip, "ALL");
    EXPECT_EQ(rows[4].name, "Driver");
    EXPECT_EQ(rows[4].versionText, "V0101");
    for (const auto& row : rows) {
        EXPECT_EQ(row.version, 0);
        EXPECT_EQ(row.connection, 1);
    }
}

TEST(UpdateComponents, EntriesFillVersionsAndConnections) {
    std::vector<SelectorEntryState> entries(3);
    entries[0] = {true, false, true, 0x0200, 0x0105};  // by cable
    entries[1] = {false, false, true, 0x0300, 0x0301}; // closed
    entries[2] = {true, true, true, 0x0210, 0x0111};   // through its receiver, shown
    const auto rows = BuildUpdateComponents(entries, 101);
    EXPECT_EQ(rows[0].version, 0x0105);
    EXPECT_EQ(rows[1].version, 0);
    EXPECT_EQ(rows[2].version, 0x0210);
    EXPECT_EQ(rows[2].connection, 2);
    EXPECT_EQ(rows[0].connection, 2); // the last open entry was a reachable wireless one
    EXPECT_EQ(rows[4].version, 101);

    const auto offered = OfferedComponents(rows);
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0].version, 0x0105);
    EXPECT_EQ(offered[1].version, 0x0210);
    EXPECT_EQ(offered[2].chip, "ALL");

    // A hidden wireless entry gives its version but keeps connection 1; a later cable entry
    // clears the flag for row 0.
    entries = {{true, true, false, 0x0400, 0x0100}, {true, false, true, 0, 0x0101}};
    const auto second = BuildUpdateComponents(entries, 0);
    EXPECT_EQ(second[0].version, 0x0400);
    EXPECT_EQ(second[0].connection, 1);
    EXPECT_EQ(second[1].version, 0x0101);
    EXPECT_TRUE(OfferedComponents(BuildUpdateComponents({}, 0)).empty());

    // More entries than device rows: the extra ones are ignored.
    const std::vector<SelectorEntryState> many(9, {true, false, true, 0, 7});
    const auto bounded = BuildUpdateComponents(many, 5);
    EXPECT_EQ(bounded.size(), kUpdateComponentCount);
    EXPECT_EQ(bounded[4].version, 5);
}

TEST(UpdateComponents, ApplicationVersionDropsTheDots) {
    EXPECT_EQ(ApplicationVersionNumber("1.0.1"), 101);
    EXPECT_EQ(ApplicationVersionNumber("0.1.0"), 10);
    EXPECT_EQ(ApplicationVersionNumber("2.3.4-beta"), 234);
    EXPECT_EQ(ApplicationVersionNumber(""), 0);
    EXPECT_EQ(ApplicationVersionNumber("v1.2"), 0);
    EXPECT_EQ(ApplicationVersionNumber("99999.99999.99999"), INT32_MAX);
}

} // namespace
} // namespace q407::update
