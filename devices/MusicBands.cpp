#include "devices/MusicBands.h"

#include <cstdlib>

namespace q407::devices {
namespace {

constexpr std::size_t kValuesPerBand = kSpectrumValues / kMusicBands;
// A band's sum is brought to the scale of four differences.
constexpr std::int64_t kBandDivisor = kValuesPerBand / 4;

} // namespace

std::optional<MusicLevels> MusicBands::OnBlock(std::span<const std::int32_t> block,
                                               int keyboardSlots) {
    ++m_blocks;
    std::array<std::int64_t, kSpectrumValues> differences{};
    for (std::size_t i = 0; i < kSpectrumValues; ++i) {
        const std::int32_t value = i < block.size() ? block[i] : 0;
        // 64 bits: the difference of two extreme 32-bit values does not fit in 32.
        differences[i] = std::llabs(std::int64_t{value} - m_previous[i]);
        m_previous[i] = value;
    }
    for (int slot = 0; slot < keyboardSlots; ++slot) {
        for (std::size_t band = 0; band < kMusicBands; ++band) {
            std::int64_t sum = 0;
            for (std::size_t k = 0; k < kValuesPerBand; ++k) {
                sum += differences[band * kValuesPerBand + k];
            }
            const std::int64_t mean = (m_means[band] + sum / kBandDivisor) / 4;
            m_means[band] = static_cast<std::int32_t>(std::min<std::int64_t>(mean, INT32_MAX));
        }
    }
    if (keyboardSlots <= 0 || m_blocks < static_cast<int>(kBlocksPerHandOn)) {
        return std::nullopt;
    }
    m_blocks = 0;
    return m_means;
}

} // namespace q407::devices
