#include "hid/Discovery.h"

#include "common/Diag.h"
#include "hid/CHidDevice.h"
#include "hid/HidPath.h"

namespace q407::hid {

namespace {

bool SameSixValues(const DeviceIdentity& a, const DeviceIdentity& b, bool withUsage) {
    return a.vendorId == b.vendorId && a.productId == b.productId &&
           a.interfaceNumber == b.interfaceNumber && a.collectionNumber == b.collectionNumber &&
           (!withUsage || (a.usagePage == b.usagePage && a.usage == b.usage));
}

// Rows with ids 0:0 reserve a slot for a product this build does not recognise; a device that
// really reports ids 0:0 must not be taken for it.
bool IsReservedRow(const DeviceIdentity& row) {
    return row.vendorId == 0 && row.productId == 0;
}

int TableRowMatching(const DeviceIdentity& candidate, bool withUsage) {
    const auto table = SupportedDevices();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!IsReservedRow(table[i]) && SameSixValues(table[i], candidate, withUsage)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

CDeviceDiscovery::CDeviceDiscovery(HidBackend& backend, DiscoveryListener& listener)
    : m_backend(backend), m_listener(listener),
      m_slots(SupportedDevices().begin(), SupportedDevices().end()) {}

CDeviceDiscovery::~CDeviceDiscovery() {
    if (!Stop() && m_thread.joinable()) {
        // The thread's notifications still use this object: wait for it rather than leave it.
        diag::Line("discovery: waiting for the discovery thread to end");
        m_thread.join();
    }
}

bool CDeviceDiscovery::Start() {
    if (m_thread.joinable()) {
        if (!m_finished.IsSet()) {
            return false;
        }
        m_thread.join();
    }
    m_stop.Clear();
    m_finished.Clear();
    m_firstPass = true;
    m_thread = std::thread([this] { ThreadMain(); });
    return true;
}

bool CDeviceDiscovery::Stop(std::chrono::milliseconds timeout) {
    m_stop.Set();
    if (!m_thread.joinable()) {
        return true;
    }
    if (!m_finished.Wait(timeout)) {
        diag::Line("discovery: the discovery thread did not end in time; left running");
        return false;
    }
    m_thread.join();
    return true;
}

bool CDeviceDiscovery::IsRunning() const {
    return m_thread.joinable() && !m_finished.IsSet();
}

DeviceIdentity CDeviceDiscovery::Slot(int index) const {
    std::lock_guard lock(m_slotsMutex);
    if (index < 0 || static_cast<std::size_t>(index) >= m_slots.size()) {
        return DeviceIdentity{};
    }
    return m_slots[static_cast<std::size_t>(index)];
}

std::vector<DeviceIdentity> CDeviceDiscovery::Slots() const {
    std::lock_guard lock(m_slotsMutex);
    return m_slots;
}

int CDeviceDiscovery::FreeSlotMatching(const DeviceIdentity& candidate, bool withUsage) const {
    std::lock_guard lock(m_slotsMutex);
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        const auto& slot = m_slots[i];
        if (slot.IsFree() && !IsReservedRow(slot) && SameSixValues(slot, candidate, withUsage)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CDeviceDiscovery::ScanForArrivals(CHidDevice& device) {
    if (!device.FindDevices()) {
        // One failed enumeration must not end hot-plug for the rest of the session: say so and
        // try again on the next pass.
        diag::Line("discovery: enumeration failed; retrying on the next pass");
        return;
    }
    while (const char* path = device.NextPath()) {
        if (m_stop.IsSet()) {
            break;
        }
        DeviceIdentity candidate;
        candidate.vendorId = VendorIdFromPath(path);
        candidate.productId = ProductIdFromPath(path);
        candidate.interfaceNumber = InterfaceNumberFromPath(path);
        candidate.collectionNumber = CollectionNumberFromPath(path);
        // First step, from the path alone.
        if (TableRowMatching(candidate, false) < 0 || FreeSlotMatching(candidate, false) < 0) {
            continue;
        }
        // Second step, from the opened interface.
        if (!device.Open(path, true, false, true, false)) {
            continue; // gone, or not ours to open: retried on the next pass
        }
        candidate.vendorId = device.Attributes().vendorId;
        candidate.productId = device.Attributes().productId;
        candidate.usagePage = device.Caps().usagePage;
        candidate.usage = device.Caps().usage;
        device.Close();
        if (TableRowMatching(candidate, true) < 0) {
            continue;
        }
        int slot = -1;
        {
            std::lock_guard lock(m_slotsMutex);
            for (std::size_t i = 0; i < m_slots.size(); ++i) {
                auto& entry = m_slots[i];
                if (entry.IsFree() && !IsReservedRow(entry) &&
                    SameSixValues(entry, candidate, true)) {
                    entry.occupied = 1;
                    entry.devicePath = path;
                    slot = static_cast<int>(i);
                    break;
                }
            }
        }
        if (slot >= 0) {
            m_listener.OnDeviceArrived(slot);
        }
    }
    device.ClearPaths();
}

void CDeviceDiscovery::CheckPresence() {
    for (int i = 0; i < SlotCount(); ++i) {
        std::string path;
        {
            std::lock_guard lock(m_slotsMutex);
            const auto& slot = m_slots[static_cast<std::size_t>(i)];
            if (slot.occupied == 0) {
                continue;
            }
            path = slot.devicePath;
        }
        if (m_backend.IsPresent(path)) {
            continue;
        }
        {
            std::lock_guard lock(m_slotsMutex);
            auto& slot = m_slots[static_cast<std::size_t>(i)];
            slot.occupied = 0;
            slot.devicePath.clear();
        }
        m_listener.OnDeviceRemoved(i);
    }
}

void CDeviceDiscovery::RunPass() {
    // The thread's private record; a pass run by hand gets its own.
    CHidDevice device(m_backend);
    bool anyFree = false;
    {
        std::lock_guard lock(m_slotsMutex);
        for (const auto& slot : m_slots) {
            anyFree = anyFree || slot.IsFree();
        }
    }
    if (anyFree) {
        ScanForArrivals(device);
    }
    if (m_firstPass) {
        m_firstPass = false;
        m_listener.OnFirstPassComplete();
    }
    CheckPresence();
}

void CDeviceDiscovery::ThreadMain() {
    const auto watch = m_backend.WatchChanges();
    while (!m_stop.IsSet()) {
        RunPass();
        if (m_stop.IsSet()) {
            break;
        }
        watch->Wait(kPassInterval, m_stop);
    }
    diag::Line("抓取设备线程设定退出");
    m_finished.Set();
}

} // namespace q407::hid
