#include "protocol/Pacer.h"

#include <thread>

namespace q407::protocol {

void SleepingPacer::Pause(std::chrono::milliseconds duration) {
    // sleep_for may wake early on some clocks; sleep until the deadline has really passed.
    const auto deadline = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_until(deadline);
    }
}

Pacer& DefaultPacer() {
    static SleepingPacer pacer;
    return pacer;
}

} // namespace q407::protocol
