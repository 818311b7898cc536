// The capture program's analysis on sound made in the test: a tone shows at its own place of the
// log-spaced spectrum at about 2000 for full scale, in proportion below, nowhere far from it, and
// silence shows nothing.

#include "app/SpectrumAnalyser.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace q407::app {
namespace {

std::vector<float> Tone(double hz, double amplitude, unsigned rate, std::size_t count) {
    std::vector<float> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = static_cast<float>(
            amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
    }
    return samples;
}

struct Result {
    SpectrumBlock block{};
    double loudness = 0;
    int blocks = 0;
    std::vector<std::int32_t> peaks; // the highest value of each block
};

Result Analyse(const std::vector<float>& samples, unsigned rate = 48000) {
    SpectrumAnalyser analyser(rate, 1024, 256);
    Result result;
    // In uneven pieces, as the sound server hands them over.
    std::span<const float> rest(samples);
    for (std::size_t piece = 97; !rest.empty(); piece = piece * 3 % 701 + 1) {
        const std::size_t take = std::min(piece, rest.size());
        analyser.Feed(rest.first(take), [&](const SpectrumBlock& block, double loudness) {
            result.block = block;
            result.loudness = loudness;
            ++result.blocks;
            result.peaks.push_back(*std::max_element(block.begin(), block.end()));
        });
        rest = rest.subspan(take);
    }
    return result;
}

TEST(SpectrumAnalyser, BinsAreLogSpacedFromTwentyHertzToSixteenKilohertz) {
    EXPECT_DOUBLE_EQ(SpectrumFrequency(0), 20.0);
    EXPECT_NEAR(SpectrumFrequency(499), 16000.0, 1e-6);
    EXPECT_NEAR(SpectrumFrequency(250) / SpectrumFrequency(249),
                SpectrumFrequency(450) / SpectrumFrequency(449), 1e-9);
    EXPECT_EQ(SpectrumBinOf(10), 0u);
    EXPECT_EQ(SpectrumBinOf(20000), 499u);
    EXPECT_EQ(SpectrumBinOf(SpectrumFrequency(231)), 231u);
}

TEST(SpectrumAnalyser, ToneShowsAtItsFrequencyScaledByItsAmplitude) {
    struct Case {
        double hz;
        double amplitude;
        unsigned rate;
    };
    const Case cases[] = {{440, 1.0, 48000}, {4000, 1.0, 48000},  {4000, 0.5, 48000},
                          {100, 1.0, 48000}, {12000, 1.0, 44100}, {1000, 0.25, 44100}};
    for (const Case& c : cases) {
        const Result result = Analyse(Tone(c.hz, c.amplitude, c.rate, 8192), c.rate);
        EXPECT_EQ(result.blocks, 8192 / 256) << c.hz;
        const std::size_t at = SpectrumBinOf(c.hz);
        std::int32_t peak = 0;
        for (std::size_t bin = at > 8 ? at - 8 : 0; bin <= std::min<std::size_t>(at + 8, 499);
             ++bin) {
            peak = std::max(peak, result.block[bin]);
        }
        const double expected = kFullScaleMagnitude * c.amplitude;
        EXPECT_NEAR(peak, expected, expected * 0.1) << c.hz << " Hz at " << c.amplitude;
        // Far from the tone (a third of the spectrum away) nothing but leakage remains.
        for (std::size_t bin = 0; bin < kSpectrumBins; ++bin) {
            if (bin + 160 < at || bin > at + 160) {
                EXPECT_LT(result.block[bin], expected * 0.02) << c.hz << " Hz, bin " << bin;
            }
        }
        // A hop holds only part of a low tone's period, so its RMS wavers a little.
        EXPECT_NEAR(result.loudness, c.amplitude, 0.05) << c.hz;
    }
}

TEST(SpectrumAnalyser, SilenceShowsNothingOnceTheLastSoundHasLeftTheWindow) {
    const Result silence = Analyse(std::vector<float>(4096, 0.0f));
    EXPECT_EQ(silence.blocks, 16);
    EXPECT_EQ(silence.peaks, std::vector<std::int32_t>(16, 0));
    EXPECT_EQ(silence.loudness, 0.0);

    // A tone for 2048 samples, then silence: the window (1024) still holds some of the tone in
    // the three blocks after it ends (hop 256), none from the fourth on.
    std::vector<float> samples = Tone(440, 1.0, 48000, 2048);
    samples.resize(4096, 0.0f);
    const Result after = Analyse(samples);
    ASSERT_EQ(after.peaks.size(), 16u);
    for (std::size_t block = 8; block < 16; ++block) {
        EXPECT_EQ(after.peaks[block] > 0, block < 11) << "block " << block;
    }
    EXPECT_EQ(after.loudness, 0.0);
}

} // namespace
} // namespace q407::app
