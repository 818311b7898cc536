#pragma once

// A discovery listener for tests: records every notification with the slot's state at that
// moment, and lets a test wait for what it expects.

#include "hid/Discovery.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace q407::hid::testing {

struct DiscoveryEvent {
    enum Kind { Arrived, Removed, FirstPass } kind;
    int slot = -1;
    std::string path; // the slot's path when the event was sent
    std::chrono::steady_clock::time_point when;
};

class RecordingListener final : public DiscoveryListener {
public:
    // Set after construction: the discovery whose slots the listener reads while notified.
    CDeviceDiscovery* discovery = nullptr;

    void OnDeviceArrived(int slot) override { Record(DiscoveryEvent::Arrived, slot); }
    void OnDeviceRemoved(int slot) override { Record(DiscoveryEvent::Removed, slot); }
    void OnFirstPassComplete() override { Record(DiscoveryEvent::FirstPass, -1); }

    std::vector<DiscoveryEvent> Events() const {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    std::size_t Count(DiscoveryEvent::Kind kind) const {
        std::lock_guard lock(m_mutex);
        std::size_t count = 0;
        for (const auto& event : m_events) {
            count += event.kind == kind ? 1 : 0;
        }
        return count;
    }
    // Waits until `count` events of `kind` have been recorded in all.
    bool WaitFor(DiscoveryEvent::Kind kind, std::size_t count,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] {
            std::size_t seen = 0;
            for (const auto& event : m_events) {
                seen += event.kind == kind ? 1 : 0;
            }
            return seen >= count;
        });
    }
    void Clear() {
        std::lock_guard lock(m_mutex);
        m_events.clear();
    }

private:
    void Record(DiscoveryEvent::Kind kind, int slot) {
        DiscoveryEvent event{kind, slot, {}, std::chrono::steady_clock::now()};
        if (discovery != nullptr && slot >= 0) {
            event.path = discovery->Slot(slot).devicePath;
        }
        std::lock_guard lock(m_mutex);
        m_events.push_back(std::move(event));
        m_changed.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<DiscoveryEvent> m_events;
};

} // namespace q407::hid::testing
