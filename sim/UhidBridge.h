#pragma once

// Puts a simulated device on the real kernel: the device is created through /dev/uhid with its
// own report descriptor and ids, the kernel's hid-generic driver exposes it as a hidraw node, and
// the bridge carries reports both ways (output reports the host writes go to the device's
// handler, the device's input reports go to the kernel). The interface number reaches the kernel
// as the "inputN" suffix of the device's phys, as a USB device's would.

#include "common/Event.h"
#include "sim/VirtualHidDevice.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace q407::sim {

class UhidBridge final : public VirtualHidDevice::Port {
public:
    // Creates the kernel device. Null when /dev/uhid cannot be opened, the descriptor does not
    // parse or the kernel refuses the device; `error` then says why.
    static std::unique_ptr<UhidBridge> Create(std::shared_ptr<VirtualHidDevice> device,
                                              std::string* error = nullptr);
    ~UhidBridge() override;
    UhidBridge(const UhidBridge&) = delete;
    UhidBridge& operator=(const UhidBridge&) = delete;

    // Waits until the kernel has started the device and its hidraw node exists. Returns the node
    // ("/dev/hidrawN"), or an empty string on time-out.
    std::string WaitForNode(std::chrono::milliseconds timeout);

    // Removes the device from the kernel (as unplugging it would). Safe to call twice.
    void Destroy();

    bool DeliverInputReport(std::span<const std::uint8_t> report) override;

private:
    UhidBridge(int fd, std::shared_ptr<VirtualHidDevice> device, std::string uniq,
               bool usesReportIds);
    void ThreadMain();
    bool WriteEvent(const void* event, std::size_t size);

    int m_fd;
    std::shared_ptr<VirtualHidDevice> m_device;
    std::string m_uniq;
    bool m_usesReportIds;
    std::mutex m_writeMutex;
    std::atomic<bool> m_destroyed{false};
    Event m_started{Event::Reset::Manual};
    Event m_stop{Event::Reset::Manual};
    std::thread m_thread;
};

} // namespace q407::sim
