#include "common/Diag.h"

#include <gtest/gtest.h>

TEST(Diag, CaptureSeesLinesAndStopsWhenDestroyed) {
    {
        q407::diag::Capture capture;
        EXPECT_TRUE(q407::diag::Enabled());
        q407::diag::Line("软件标示：49152");
        q407::diag::Printf("slot %d of %d", 3, 12);
        EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"软件标示：49152", "slot 3 of 12"}));
        EXPECT_TRUE(capture.Contains("slot 3"));
        EXPECT_FALSE(capture.Contains("slot 4"));
    }
    q407::diag::Capture later;
    EXPECT_TRUE(later.Lines().empty());
}

TEST(Diag, LongFormattedLinesAreCutNotOverrun) {
    q407::diag::Capture capture;
    const std::string longText(3000, 'a');
    q407::diag::Printf("%s", longText.c_str());
    ASSERT_EQ(capture.Lines().size(), 1u);
    EXPECT_EQ(capture.Lines()[0].size(), 1023u);
}
