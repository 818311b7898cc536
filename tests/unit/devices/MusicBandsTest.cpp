// The band levels the keyboard's music modes take: differences between spectrum blocks, gathered
// into 25 bands over the whole spectrum, kept as running means and handed on every third block.

#include "devices/MusicBands.h"

#include <gtest/gtest.h>
#include <vector>

namespace q407::devices {
namespace {

std::vector<std::int32_t> BlockWith(std::size_t first, std::size_t count, std::int32_t value) {
    std::vector<std::int32_t> block(kSpectrumValues, 0);
    for (std::size_t i = first; i < first + count && i < block.size(); ++i) {
        block[i] = value;
    }
    return block;
}

TEST(MusicBands, EachBandGathersItsOwnTwentyValues) {
    // A change in values 220-239 (band 11) and one in 480-499 (band 24), nothing elsewhere.
    std::vector<std::int32_t> block = BlockWith(220, 20, 1000);
    for (std::size_t i = 480; i < 500; ++i) {
        block[i] = 2000;
    }
    MusicBands bands;
    bands.OnBlock(block, 1);
    for (std::size_t band = 0; band < kMusicBands; ++band) {
        // (0 + 20 x difference / 5) / 4 = the difference.
        const std::int32_t expected = band == 11 ? 1000 : band == 24 ? 2000 : 0;
        EXPECT_EQ(bands.Means()[band], expected) << "band " << band;
    }
}

TEST(MusicBands, MeansFollowDifferencesAndAnUnchangedBlockQuartersThem) {
    struct Step {
        std::int32_t value; // values 0-19 (band 0) of the block
        std::int32_t mean;  // band 0's mean afterwards
    };
    // 0 -> 800: (0 + 4 x 800) / 4 = 800; same again: 800 / 4 = 200; -> 0: (200 + 3200) / 4 = 850;
    // same: 212 (integer); same: 53.
    const Step steps[] = {{800, 800}, {800, 200}, {0, 850}, {0, 212}, {0, 53}};
    MusicBands bands;
    for (const Step& step : steps) {
        bands.OnBlock(BlockWith(0, 20, step.value), 1);
        EXPECT_EQ(bands.Means()[0], step.mean) << "value " << step.value;
    }
}

TEST(MusicBands, LevelsAreHandedOnEveryThirdBlockOnlyWithAKeyboard) {
    MusicBands bands;
    const auto block = BlockWith(40, 20, 400);
    EXPECT_FALSE(bands.OnBlock(block, 0)) << "no keyboard: the means stay";
    EXPECT_EQ(bands.Means()[2], 0);
    EXPECT_FALSE(bands.OnBlock(block, 0));
    EXPECT_FALSE(bands.OnBlock(block, 0));
    const auto first = bands.OnBlock(BlockWith(40, 20, 800), 1);
    ASSERT_TRUE(first) << "a keyboard after three blocks takes the levels at once";
    EXPECT_EQ((*first)[2], 400);
    EXPECT_EQ(bands.BlockCount(), 0);
    EXPECT_FALSE(bands.OnBlock(block, 1));
    EXPECT_FALSE(bands.OnBlock(block, 1));
    EXPECT_TRUE(bands.OnBlock(block, 1));
}

TEST(MusicBands, TwoKeyboardSlotsUpdateTheMeansTwice) {
    MusicBands one;
    MusicBands two;
    one.OnBlock(BlockWith(0, 20, 1600), 1);
    two.OnBlock(BlockWith(0, 20, 1600), 2);
    EXPECT_EQ(one.Means()[0], 1600);
    EXPECT_EQ(two.Means()[0], (1600 + 6400) / 4);
}

TEST(MusicBands, ShortAndExtremeBlocksAreSafe) {
    MusicBands bands;
    bands.OnBlock(std::vector<std::int32_t>(10, 400), 1);
    EXPECT_EQ(bands.Means()[0], 200) << "missing values count as 0: (10 x 400) / 5 / 4";
    bands.OnBlock(BlockWith(0, 500, INT32_MAX), 1);
    bands.OnBlock(BlockWith(0, 500, INT32_MIN), 1);
    for (std::int32_t mean : bands.Means()) {
        EXPECT_GE(mean, 0) << "differences of extreme values never wrap to negative levels";
    }
}

} // namespace
} // namespace q407::devices
