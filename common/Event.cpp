#include "common/Event.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <vector>

namespace q407 {

Event::Event(Reset reset) : m_reset(reset) {
    m_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_fd < 0) {
        // Without an event no worker could ever be stopped; there is nothing sane to go on with.
        std::abort();
    }
}

Event::~Event() {
    close(m_fd);
}

void Event::Set() {
    // The counter only ever holds 0 or a small positive value; a manual event that is already
    // set stays at its value, an automatic one is consumed whole, so extra writes are harmless.
    const std::uint64_t one = 1;
    ssize_t written = 0;
    do {
        written = write(m_fd, &one, sizeof one);
    } while (written < 0 && errno == EINTR);
}

void Event::Clear() {
    std::uint64_t value = 0;
    while (read(m_fd, &value, sizeof value) < 0 && errno == EINTR) {
    }
}

bool Event::IsSet() const {
    pollfd entry{m_fd, POLLIN, 0};
    return poll(&entry, 1, 0) == 1;
}

void Event::Consume() const {
    if (m_reset == Reset::Automatic) {
        std::uint64_t value = 0;
        while (read(m_fd, &value, sizeof value) < 0 && errno == EINTR) {
        }
    }
}

bool Event::Wait(std::chrono::milliseconds timeout) const {
    using Clock = std::chrono::steady_clock;
    const bool forever = timeout.count() < 0;
    const auto deadline = Clock::now() + (forever ? std::chrono::milliseconds(0) : timeout);
    for (;;) {
        auto left = std::chrono::milliseconds(-1);
        if (!forever) {
            // Rounded up: a wait that truncated 0.9 ms to 0 would return at once and spin.
            left = std::max(std::chrono::milliseconds(0),
                            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()));
        }
        if (WaitForAny(&m_fd, 1, left) != 0) {
            return false;
        }
        if (m_reset == Reset::Manual) {
            return true;
        }
        std::uint64_t value = 0;
        if (read(m_fd, &value, sizeof value) == sizeof value) {
            return true;
        }
        // Another waiter took it first: wait on for what is left.
    }
}

int WaitForAny(const int* handles, int count, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const bool forever = timeout.count() < 0;
    const auto deadline = Clock::now() + (forever ? std::chrono::milliseconds(0) : timeout);
    std::vector<pollfd> entries;
    for (int i = 0; i < count; ++i) {
        entries.push_back(pollfd{handles[i], POLLIN, 0});
    }
    for (;;) {
        int waitMs = -1;
        if (!forever) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            waitMs = left.count() < 0 ? 0 : static_cast<int>(left.count());
        }
        const int ready = poll(entries.data(), entries.size(), waitMs);
        if (ready > 0) {
            for (int i = 0; i < count; ++i) {
                if (entries[static_cast<std::size_t>(i)].revents != 0) {
                    return i;
                }
            }
        }
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            return -1;
        }
    }
}

} // namespace q407
