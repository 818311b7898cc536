#include "devices/LightSources.h"

#include <chrono>

namespace q407::devices {

std::uint32_t SteadyLightClock::NowMs() const {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

std::uint32_t SeededLightRandom::Below(std::uint32_t n) {
    // Plain modulo keeps the sequence the same on every standard library; the bias is far below
    // anything a light effect shows.
    return n == 0 ? 0 : static_cast<std::uint32_t>(engine_() % n);
}

} // namespace q407::devices
