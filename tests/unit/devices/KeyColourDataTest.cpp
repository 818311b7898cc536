// Per-key colour data in the keyboard's slot layout: LED map, streamed frame and colour groups.

#include "devices/KeyColourData.h"

#include <gtest/gtest.h>
#include <vector>

namespace q407::devices::kb {
namespace {

KeySlots NoSlots() {
    KeySlots slots;
    slots.fill(kNoKey);
    return slots;
}

TEST(KeyColourData, LedMapFollowsPositionsIntoTheLedTable) {
    KeySlots positions = NoSlots();
    positions[0] = 2;
    positions[1] = 0;
    positions[5] = 9; // past the end of this keyboard's table
    const std::vector<std::uint8_t> ledTable{7, 8, 9, 10};
    const KeySlots map = BuildLedMap(positions, ledTable);
    EXPECT_EQ(map[0], 9);
    EXPECT_EQ(map[1], 7);
    EXPECT_EQ(map[5], kNoKey);
    EXPECT_EQ(map[2], kNoKey);
}

TEST(KeyColourData, FrameIsScaledByLevelAtEachSlot) {
    std::vector<LedColour> frame(kKeySlots);
    frame[0] = {200, 100, 50, 128};
    frame[1] = {255, 255, 255, 255};
    frame[2] = {9, 9, 9, 255}; // its slot lies past the data
    frame[3] = {9, 9, 9, 255}; // no slot
    KeySlots map = NoSlots();
    map[0] = 1;
    map[1] = 0;
    map[2] = 4;
    const auto data = PackFrame(frame, map, 3);
    const std::vector<std::uint8_t> expected{254, 254, 254, 100, 50, 25, 0, 0, 0};
    EXPECT_EQ(data, expected);
}

TEST(KeyColourData, ColourGroupsRoundTripAndStayInsideTheData) {
    std::vector<Rgb> colours(kKeySlots);
    colours[10] = {1, 2, 3};
    colours[11] = {4, 5, 6};
    KeySlots map = NoSlots();
    map[10] = 2;
    map[11] = 0;
    const auto data = PackColourGroup(colours, map, 4);
    ASSERT_EQ(data.size(), 12u);
    EXPECT_EQ(data[6], 1);
    EXPECT_EQ(data[8], 3);
    EXPECT_EQ(data[0], 4);

    std::vector<Rgb> back(kKeySlots, Rgb{7, 7, 7});
    UnpackColourGroup(data, map, back);
    EXPECT_EQ(back[10], (Rgb{1, 2, 3}));
    EXPECT_EQ(back[11], (Rgb{4, 5, 6}));
    EXPECT_EQ(back[12], (Rgb{7, 7, 7})) << "a key without a slot keeps its colour";

    // A short answer or a slot from a bad LED table reads nothing past the data.
    map[12] = 3;   // bytes 9–11: past a 10-byte answer
    map[13] = 200; // above 170
    const std::vector<std::uint8_t> shortData(10, 42);
    UnpackColourGroup(shortData, map, back);
    EXPECT_EQ(back[10], (Rgb{42, 42, 42}));
    EXPECT_EQ(back[12], (Rgb{7, 7, 7}));
    EXPECT_EQ(back[13], (Rgb{7, 7, 7}));
}

} // namespace
} // namespace q407::devices::kb
