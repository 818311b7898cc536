#pragma once

// The two outside sources a light animation reads: a millisecond clock and a random number
// source. Pages get the real ones; tests put in a clock they move by hand and a scripted or
// seeded source, so every frame is reproducible.

#include <cstdint>
#include <random>

namespace q407::devices {

class LightClock {
public:
    virtual ~LightClock() = default;
    // Milliseconds on a monotonic clock; wraps like a 32-bit tick count.
    virtual std::uint32_t NowMs() const = 0;
};

class SteadyLightClock final : public LightClock {
public:
    std::uint32_t NowMs() const override;
};

class LightRandom {
public:
    virtual ~LightRandom() = default;
    // A number 0 … n − 1 (0 when n is 0).
    virtual std::uint32_t Below(std::uint32_t n) = 0;
};

// A fixed generator from a seed: the same seed gives the same numbers on every platform.
class SeededLightRandom final : public LightRandom {
public:
    explicit SeededLightRandom(std::uint32_t seed) : engine_(seed) {}
    std::uint32_t Below(std::uint32_t n) override;

private:
    std::mt19937 engine_;
};

} // namespace q407::devices
