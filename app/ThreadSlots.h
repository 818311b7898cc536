#pragma once

// The main window's twenty worker slots. Each slot has a stop event; a worker polls it and ends
// when it is set. The exit routine signals every slot and then gives each one a bounded wait, in
// slot order. A worker that does not end in time is logged and left running: there is no safe
// way to kill a thread, so every blocking wait of a worker must watch its stop event.

#include "common/Event.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>

namespace q407::app {

inline constexpr int kThreadSlotCount = 20;

class ThreadSlots {
public:
    using Body = std::function<void(const q407::Event& stop)>;

    ThreadSlots() = default;
    ~ThreadSlots();
    ThreadSlots(const ThreadSlots&) = delete;
    ThreadSlots& operator=(const ThreadSlots&) = delete;

    // Runs `body` on a new thread in `slot`; false when the slot is out of range or busy.
    bool Start(int slot, Body body);
    // Puts a worker that runs its own thread (discovery) in `slot`: how to ask it to stop and
    // how to wait for it.
    bool Adopt(int slot, std::function<void()> signalStop,
               std::function<bool(std::chrono::milliseconds)> waitEnded);
    bool IsBusy(int slot) const;

    // Signals every stop event, then waits up to `bound` for each slot in turn and writes one
    // diagnostic line per slot. Returns how many workers were still running after their wait.
    int StopAll(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

private:
    struct Worker;
    std::array<std::shared_ptr<Worker>, kThreadSlotCount> m_slots;
};

} // namespace q407::app
