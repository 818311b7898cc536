#pragma once

// Device discovery: a thread that finds the interfaces of supported products, attaches each to
// its fixed slot and tells the main window when an interface arrives or goes away.
//
// A pass enumerates the interfaces while a slot is free and matches them in two steps: first by
// the ids in the path (cheap), then, for a candidate, by the attributes and top-level collection
// of the opened interface. Then every occupied slot's interface is checked for presence. The
// thread waits 100 ms between passes, but wakes at once when the backend sees an interface come
// or go, so hot-plug is seen within milliseconds; the periodic pass is the safety net.

#include "common/Event.h"
#include "hid/DeviceTable.h"
#include "hid/HidBackend.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>
#include <thread>
#include <vector>

namespace q407::hid {

// The main window's message numbers for the two notifications, kept for its dispatch table.
inline constexpr unsigned kWmDeviceArrived = 0x0C12;
inline constexpr unsigned kWmDeviceRemoved = 0x0C13;

// Receives discovery's notifications. Every call is made on the discovery thread, which waits
// until it returns, so the slot stays as reported while the receiver handles it. A receiver that
// hands the work to another thread and waits for it must stop waiting when the discovery stop
// event is set (CDeviceDiscovery::StopEvent()): that other thread may itself be waiting for
// discovery to stop.
class DiscoveryListener {
public:
    virtual ~DiscoveryListener() = default;
    // An interface was attached to `slot` (occupied, path set).
    virtual void OnDeviceArrived(int slot) = 0;
    // The interface of `slot` disappeared; the slot is already free.
    virtual void OnDeviceRemoved(int slot) = 0;
    // The first complete pass after Start() has run: time to show the main window.
    virtual void OnFirstPassComplete() = 0;
};

class CDeviceDiscovery {
public:
    static constexpr std::chrono::milliseconds kPassInterval{100};

    CDeviceDiscovery(HidBackend& backend, DiscoveryListener& listener);
    ~CDeviceDiscovery();
    CDeviceDiscovery(const CDeviceDiscovery&) = delete;
    CDeviceDiscovery& operator=(const CDeviceDiscovery&) = delete;

    // Starts the discovery thread; false when it runs already.
    bool Start();
    // Signals the stop event and waits up to `timeout` for the thread to end. A thread that has
    // not ended by then is logged and left running (never killed); the destructor waits for it.
    bool Stop(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));
    bool IsRunning() const;
    const Event& StopEvent() const { return m_stop; }
    // Signals the stop event without waiting, so an owner can signal all its workers first and
    // then wait for each.
    void RequestStop() { m_stop.Set(); }

    // One pass on the calling thread, for tests and benchmarks that drive discovery themselves.
    // Must not run while the thread runs.
    void RunPass();
    // Forgets the first pass, so the next pass reports OnFirstPassComplete() again.
    void ResetFirstPass() { m_firstPass = true; }

    // Copies of the slots (one per supported-device row), safe from any thread.
    DeviceIdentity Slot(int index) const;
    std::vector<DeviceIdentity> Slots() const;
    static constexpr int SlotCount() { return static_cast<int>(kSupportedDeviceCount); }

private:
    void ThreadMain();
    void ScanForArrivals(class CHidDevice& device);
    void CheckPresence();
    int FreeSlotMatching(const DeviceIdentity& candidate, bool withUsage) const;

    HidBackend& m_backend;
    DiscoveryListener& m_listener;
    Event m_stop{Event::Reset::Manual};
    Event m_finished{Event::Reset::Manual};
    std::thread m_thread;
    bool m_firstPass = true;

    mutable std::mutex m_slotsMutex;
    std::vector<DeviceIdentity> m_slots;
};

} // namespace q407::hid
