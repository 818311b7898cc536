#pragma once

// One worker thread of a device page with its manual-reset stop event and the bounded stop
// procedure the page threads share. The body receives the stop event and must end soon after it
// is signalled; every blocking call it makes has to be cancellable, through the stop event itself
// or through the wake-up the owner passes to Stop().
//
// A thread that still runs when its bound has passed is reported and left running; it is joined
// when the record is restarted or destroyed, so nothing it uses is released under it.

#include "common/Event.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace q407::devices {

class PageThread {
public:
    enum class StopResult {
        NotStarted, // no stop event: nothing to do
        Ended,      // the thread ended within its bound
        TimedOut,   // still running after the bound; left to end by itself
    };

    PageThread() = default;
    ~PageThread();
    PageThread(const PageThread&) = delete;
    PageThread& operator=(const PageThread&) = delete;

    // Starts `body` on a new thread with a fresh, non-signalled stop event. A thread still
    // running from before is stopped first (and, when it overran its bound, joined).
    void Start(std::function<void(const Event& stop)> body);

    // Signals the stop event, calls `wake` (to end a blocking transfer) and waits up to `bound`
    // for the thread. Writes the diagnostic line of the outcome and clears the record.
    StopResult Stop(std::chrono::milliseconds bound, const std::function<void()>& wake = {});

    bool IsRunning() const;

private:
    struct Shared {
        Event stop{Event::Reset::Manual};
        Event finished{Event::Reset::Manual};
    };

    void JoinStraggler();

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    std::thread m_straggler; // a thread that overran its bound, joined later
};

} // namespace q407::devices
