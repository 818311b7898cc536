#include "app/SpectrumAnalyser.h"

#include <algorithm>
#include <cmath>
#include <fftw3.h>
#include <numbers>

namespace q407::app {

double SpectrumFrequency(std::size_t bin) {
    const double position = static_cast<double>(std::min(bin, kSpectrumBins - 1)) /
                            static_cast<double>(kSpectrumBins - 1);
    return kSpectrumLowHz * std::pow(kSpectrumHighHz / kSpectrumLowHz, position);
}

std::size_t SpectrumBinOf(double hz) {
    if (!(hz > kSpectrumLowHz)) {
        return 0;
    }
    const double position =
        std::log(hz / kSpectrumLowHz) / std::log(kSpectrumHighHz / kSpectrumLowHz);
    const auto bin = static_cast<long>(std::lround(position * (kSpectrumBins - 1)));
    return static_cast<std::size_t>(std::clamp<long>(bin, 0, kSpectrumBins - 1));
}

// FFTW's plan and buffers; plans are made once, executing them is thread-safe per plan.
struct SpectrumAnalyser::Fft {
    explicit Fft(std::size_t size)
        : input(fftwf_alloc_real(size)), output(fftwf_alloc_complex(size / 2 + 1)),
          plan(fftwf_plan_dft_r2c_1d(static_cast<int>(size), input, output, FFTW_ESTIMATE)) {}
    ~Fft() {
        fftwf_destroy_plan(plan);
        fftwf_free(output);
        fftwf_free(input);
    }
    Fft(const Fft&) = delete;
    Fft& operator=(const Fft&) = delete;
    float* input;
    fftwf_complex* output;
    fftwf_plan plan;
};

SpectrumAnalyser::SpectrumAnalyser(unsigned sampleRate, std::size_t window, std::size_t hop)
    : m_sampleRate(std::max(1u, sampleRate)), m_window(std::max<std::size_t>(window, 16)),
      m_hop(std::clamp<std::size_t>(hop, 1, m_window)), m_history(m_window, 0.0f),
      m_taper(m_window), m_fft(std::make_unique<Fft>(m_window)) {
    // A Hann window's coherent gain is 1/2, so a sine of amplitude 1 peaks at window / 4.
    const double scale = kFullScaleMagnitude / (static_cast<double>(m_window) / 4.0);
    for (std::size_t i = 0; i < m_window; ++i) {
        const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(i) /
                                                 static_cast<double>(m_window));
        m_taper[i] = static_cast<float>(hann * scale);
    }
    const double binHz = static_cast<double>(m_sampleRate) / static_cast<double>(m_window);
    const std::size_t lastFft = m_window / 2;
    const double step = std::pow(kSpectrumHighHz / kSpectrumLowHz, 1.0 / (kSpectrumBins - 1));
    for (std::size_t bin = 0; bin < kSpectrumBins; ++bin) {
        const double centre = SpectrumFrequency(bin);
        const double low = centre / std::sqrt(step);
        const double high = centre * std::sqrt(step);
        BinSource& source = m_sources[bin];
        const auto first = static_cast<std::size_t>(std::ceil(low / binHz));
        const auto last = static_cast<std::size_t>(std::floor(high / binHz));
        if (first <= last && last <= lastFft) {
            source.first = first;
            source.last = last;
        } else {
            // Low frequencies: several spectrum bins share one FFT bin; follow the line between
            // the two FFT bins around the centre.
            const double exact = std::min(centre / binHz, static_cast<double>(lastFft));
            source.first = std::min(static_cast<std::size_t>(exact), lastFft - 1);
            source.fraction = exact - static_cast<double>(source.first);
        }
    }
}

SpectrumAnalyser::~SpectrumAnalyser() = default;

void SpectrumAnalyser::Push(std::span<const float> samples) {
    // Keep the newest `window` samples; the history is shifted once per piece.
    const std::size_t count = samples.size();
    std::copy(m_history.begin() + static_cast<std::ptrdiff_t>(count), m_history.end(),
              m_history.begin());
    std::copy(samples.begin(), samples.end(), m_history.end() - static_cast<std::ptrdiff_t>(count));
    for (float sample : samples) {
        m_hopEnergy += static_cast<double>(sample) * sample;
        m_silentRun = sample == 0.0f ? m_silentRun + 1 : 0;
    }
    m_pending += count;
}

void SpectrumAnalyser::Analyse() {
    // A sine's RMS is 1/sqrt(2) of its peak: report loudness so a full-scale sine gives 1.
    m_loudness = std::sqrt(2.0 * m_hopEnergy / static_cast<double>(m_hop));
    m_hopEnergy = 0;
    if (m_silentRun >= m_window) {
        // Nothing but silence in the window: its spectrum is all zero without an FFT.
        m_block.fill(0);
        return;
    }
    for (std::size_t i = 0; i < m_window; ++i) {
        m_fft->input[i] = m_history[i] * m_taper[i];
    }
    fftwf_execute(m_fft->plan);
    const auto magnitude = [this](std::size_t k) {
        const float re = m_fft->output[k][0];
        const float im = m_fft->output[k][1];
        return std::sqrt(static_cast<double>(re) * re + static_cast<double>(im) * im);
    };
    for (std::size_t bin = 0; bin < kSpectrumBins; ++bin) {
        const BinSource& source = m_sources[bin];
        double value = 0;
        if (source.fraction >= 0) {
            value = magnitude(source.first) * (1.0 - source.fraction) +
                    magnitude(source.first + 1) * source.fraction;
        } else {
            for (std::size_t k = source.first; k <= source.last; ++k) {
                value = std::max(value, magnitude(k));
            }
        }
        m_block[bin] = static_cast<std::int32_t>(std::lround(std::min(value, 1e9)));
    }
}

} // namespace q407::app
