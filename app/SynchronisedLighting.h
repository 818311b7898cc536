#pragma once

// The main window's lighting thread (thread slot 8): it runs the effect every device can share
// (devices/SharedLightEffect.h) and offers each frame to the pages that follow it, in the order
// mouse, mouse pad, headset, keyboard. While no page with an open device follows, it sleeps and
// looks again once a second, or at once when woken.
//
// The UI thread sets the effect's settings and the pages; the thread reads them under a lock.
// The pages write the frames to their devices on their own light threads, so a slow device never
// holds the effect back.

#include "common/Event.h"
#include "devices/DeviceModel.h"
#include "devices/SharedLightEffect.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <vector>

namespace q407::devices {
class DeviceModel;
}

namespace q407::app {

class SynchronisedLighting {
public:
    // The thread sleeps at least this long between rounds, and counts the ticks that passed, so
    // the effect keeps its speed without waking a thousand times a second. A following page takes
    // the newest frame once per kSharedFrameInterval: frames offered more often are never seen.
    static constexpr std::chrono::milliseconds kShortestWait = devices::kSharedFrameInterval;
    static constexpr std::chrono::milliseconds kIdleWait{1000};

    // New settings start the effect's tick count again (UI thread).
    void SetSettings(const devices::SharedSettings& settings);
    devices::SharedSettings Settings() const;
    // The pages that may follow, mouse pages first (UI thread); they must outlive the thread.
    void SetPages(std::vector<devices::DeviceModel*> pages);
    // A page started following: the thread looks at once instead of after its idle second.
    void Wake() { m_wake.Set(); }

    // The thread's body; returns when `stop` is set.
    void Run(const Event& stop);

    std::uint32_t FramesOffered() const;

private:
    // The pages with an open device that follow the effect.
    std::vector<devices::DeviceModel*> Followers() const;

    mutable std::mutex m_lock;
    devices::SharedSettings m_settings;
    unsigned m_settingsVersion = 0;
    std::vector<devices::DeviceModel*> m_pages;
    std::uint32_t m_framesOffered = 0;
    Event m_wake{Event::Reset::Automatic};
};

} // namespace q407::app
