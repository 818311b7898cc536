#pragma once

// The pauses the protocol requires (20 ms after each command request, 10 ms before the end of a
// configuration sequence) go through a Pacer, so tests and benchmarks can measure what our own
// code costs. The default pacer really sleeps.

#include <chrono>

namespace q407::protocol {

class Pacer {
public:
    virtual ~Pacer() = default;
    virtual void Pause(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread for the whole duration.
class SleepingPacer final : public Pacer {
public:
    void Pause(std::chrono::milliseconds duration) override;
};

// The process-wide sleeping pacer every protocol object uses unless given another.
Pacer& DefaultPacer();

} // namespace q407::protocol
