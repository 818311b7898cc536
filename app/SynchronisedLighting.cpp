#include "app/SynchronisedLighting.h"

#include "common/Diag.h"
#include "devices/DeviceModel.h"

#include <algorithm>
#include <array>
#include <optional>

namespace q407::app {

void SynchronisedLighting::SetSettings(const devices::SharedSettings& settings) {
    std::lock_guard lock(m_lock);
    m_settings = settings;
    ++m_settingsVersion;
}

devices::SharedSettings SynchronisedLighting::Settings() const {
    std::lock_guard lock(m_lock);
    return m_settings;
}

void SynchronisedLighting::SetPages(std::vector<devices::DeviceModel*> pages) {
    std::lock_guard lock(m_lock);
    m_pages = std::move(pages);
}

std::uint32_t SynchronisedLighting::FramesOffered() const {
    std::lock_guard lock(m_lock);
    return m_framesOffered;
}

std::vector<devices::DeviceModel*> SynchronisedLighting::Followers() const {
    std::lock_guard lock(m_lock);
    std::vector<devices::DeviceModel*> followers;
    for (devices::DeviceModel* page : m_pages) {
        // A page whose lights a client drives takes the client's colours instead.
        if (page != nullptr && page->IsOpen() && page->FollowsSharedLighting() &&
            !page->IsClientDriven()) {
            followers.push_back(page);
        }
    }
    return followers;
}

void SynchronisedLighting::Run(const Event& stop) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    Clock::time_point counted = start;
    devices::SharedLightEffect effect;
    unsigned version = 0;
    unsigned ticks = 0; // since the last frame
    const std::array<int, 2> wakeUp{stop.NativeHandle(), m_wake.NativeHandle()};
    while (!stop.IsSet()) {
        if (Followers().empty()) {
            const int woken = WaitForAny(wakeUp.data(), 2, kIdleWait);
            if (woken == 0) {
                break;
            }
            if (woken == 1) {
                m_wake.Consume();
            }
            counted = Clock::now();
            continue;
        }
        {
            std::lock_guard lock(m_lock);
            if (version != m_settingsVersion) {
                version = m_settingsVersion;
                effect.SetSettings(m_settings);
                ticks = 0;
            }
        }
        // Sleep until the tick that completes a frame, but not less than the shortest wait.
        const unsigned due = devices::SharedFrameTicks(effect.Settings().speed);
        const auto wait =
            std::max(kShortestWait, std::chrono::milliseconds(due > ticks ? due - ticks : 1));
        if (stop.Wait(wait)) {
            break;
        }
        const auto now = Clock::now();
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - counted);
        counted += elapsed;
        // After a long stall (a suspended machine) the effect does not race to catch up.
        const auto passed = static_cast<unsigned>(std::min<long long>(elapsed.count(), 1000));
        const auto nowMs = static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now - start).count());
        std::optional<devices::SharedFrame> frame;
        for (unsigned t = 0; t < passed; ++t) {
            if (auto made = effect.Tick(nowMs - (passed - 1 - t))) {
                frame = made;
            }
        }
        ticks = (ticks + passed) % std::max(1u, due);
        if (!frame) {
            continue;
        }
        for (devices::DeviceModel* page : Followers()) {
            page->OfferSharedFrame(*frame);
        }
        std::lock_guard lock(m_lock);
        ++m_framesOffered;
    }
    diag::Line("同步灯光线程设定退出");
}

} // namespace q407::app
