#pragma once

// The audio capture program's analysis: the most recent window of sound becomes the spectrum
// the keyboard's music modes read, 500 magnitudes at log-spaced frequencies from 20 Hz to
// 16 kHz (a full-scale tone reaches about 2000 at its frequency), and a loudness that drives the
// colour input. Samples arrive in pieces of any length; every `hop` samples a new block is due.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace q407::app {

inline constexpr std::size_t kSpectrumBins = 500;
inline constexpr double kSpectrumLowHz = 20.0;
inline constexpr double kSpectrumHighHz = 16000.0;
// The magnitude of a full-scale sine at its own frequency.
inline constexpr double kFullScaleMagnitude = 2000.0;

using SpectrumBlock = std::array<std::int32_t, kSpectrumBins>;

// The frequency of spectrum bin i (0 ... 499).
double SpectrumFrequency(std::size_t bin);
// The spectrum bin nearest to a frequency (clamped to the range).
std::size_t SpectrumBinOf(double hz);

class SpectrumAnalyser {
public:
    // `window` samples (a power of two) are analysed; a block is due after every `hop` new ones.
    SpectrumAnalyser(unsigned sampleRate, std::size_t window, std::size_t hop);
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    // Feeds mono samples (full scale ±1). `block` is called with the spectrum and the loudness
    // (RMS of the last hop, 1 for a full-scale sine's peak) for every hop completed.
    template <typename OnBlock>
    void Feed(std::span<const float> samples, OnBlock&& block) {
        while (!samples.empty()) {
            const std::size_t take = std::min(samples.size(), m_hop - m_pending);
            Push(samples.first(take));
            samples = samples.subspan(take);
            if (m_pending == m_hop) {
                m_pending = 0;
                Analyse();
                block(m_block, m_loudness);
            }
        }
    }

    unsigned SampleRate() const { return m_sampleRate; }
    std::size_t Window() const { return m_window; }
    std::size_t Hop() const { return m_hop; }

private:
    void Push(std::span<const float> samples);
    void Analyse();

    unsigned m_sampleRate;
    std::size_t m_window;
    std::size_t m_hop;
    std::size_t m_pending = 0;
    std::vector<float> m_history; // the last `window` samples, oldest first
    std::vector<float> m_taper;   // Hann window with the magnitude scale folded in
    double m_hopEnergy = 0;
    std::size_t m_silentRun = 0; // samples of digital silence up to the newest
    double m_loudness = 0;
    // Where each spectrum bin takes its value: the strongest FFT bin in [first, last], or, where
    // no FFT bin falls inside its band, the line between two neighbours.
    struct BinSource {
        std::size_t first = 0;
        std::size_t last = 0;
        double fraction = -1; // >= 0: interpolate between first and first + 1
    };
    std::array<BinSource, kSpectrumBins> m_sources{};
    SpectrumBlock m_block{};
    struct Fft;
    std::unique_ptr<Fft> m_fft;
};

} // namespace q407::app
