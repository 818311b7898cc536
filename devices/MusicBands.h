#pragma once

// The keyboard's music modes react to how the sound changes: every spectrum block from the audio
// capture program is compared with the one before, and the differences, gathered into 25 bands,
// feed running means that the first keyboard page takes as its band levels.
//
// A block holds up to 500 magnitudes, low to high frequencies, about 2000 for a full-scale tone.
// Each band gathers 20 neighbouring magnitudes, so the 25 bands cover the whole spectrum; a band
// adds the sum of its differences / 5 (the scale of four differences) to its mean, and the mean
// is quartered. Blocks that do not change make the means fall to a quarter each time.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace q407::devices {

inline constexpr std::size_t kSpectrumValues = 500;
inline constexpr std::size_t kMusicBands = 25;
using MusicLevels = std::array<std::int32_t, kMusicBands>;
// The means are handed on with every third block.
inline constexpr std::size_t kBlocksPerHandOn = 3;

class MusicBands {
public:
    // Takes one block (values beyond 500 are not read; missing ones count as 0). The means are
    // updated once for each keyboard connection (`keyboardSlots`, a keyboard by cable and one
    // through its receiver count twice, as both slots are occupied); every third block the means
    // are handed on: they are returned and the block count starts again.
    std::optional<MusicLevels> OnBlock(std::span<const std::int32_t> block, int keyboardSlots);

    const MusicLevels& Means() const { return m_means; }
    int BlockCount() const { return m_blocks; }

private:
    std::array<std::int32_t, kSpectrumValues> m_previous{};
    MusicLevels m_means{};
    int m_blocks = 0;
};

} // namespace q407::devices
