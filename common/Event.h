#pragma once

// A waitable event for worker threads: the stop signal of a thread, the cancel signal of a
// transfer. It is backed by a Linux eventfd so that a thread can wait on it together with file
// descriptors (a hidraw node, a udev monitor) in one poll(), which is what makes every blocking
// wait of a worker cancellable.

#include <chrono>

namespace q407 {

class Event {
public:
    enum class Reset { Manual, Automatic };

    explicit Event(Reset reset = Reset::Manual);
    ~Event();
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    // Signals the event. A manual-reset event stays signalled until Clear(); an automatic one
    // until one waiter has consumed it.
    void Set();
    void Clear();
    bool IsSet() const;

    // Waits until the event is signalled or the time-out passes; a negative time-out waits
    // without limit. True when signalled (an automatic event is then consumed).
    bool Wait(std::chrono::milliseconds timeout) const;

    // For pollers that wait on this event together with other descriptors: the descriptor is
    // readable while the event is signalled. After such a wait, call Consume() to take an
    // automatic event.
    int NativeHandle() const { return m_fd; }
    void Consume() const;

private:
    int m_fd = -1;
    Reset m_reset;
};

} // namespace q407

namespace q407 {

// Waits until one of `handles` (Event::NativeHandle() values or other pollable descriptors) is
// readable or the time-out passes (negative: no limit). Returns the index of the first readable
// one, or -1 on time-out or error.
int WaitForAny(const int* handles, int count, std::chrono::milliseconds timeout);

} // namespace q407
