#pragma once

// The device side of a simulated HID device: its identity and report descriptor, what it does
// with the output reports the host sends, and a way to send input reports. The same device can
// be plugged into the in-process VirtualHidBus or put on the real kernel by the uhid bridge.

#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace q407::sim {

struct VirtualHidDeviceInfo {
    std::string name = "Q407 virtual device";
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0x0100;
    std::uint16_t interfaceNumber = 0;
    std::vector<std::uint8_t> reportDescriptor;
};

class VirtualHidDevice {
public:
    // Where the device's input reports go: the bus node or the uhid device it is plugged into.
    class Port {
    public:
        virtual ~Port() = default;
        virtual bool DeliverInputReport(std::span<const std::uint8_t> report) = 0;
    };

    using OutputHandler =
        std::function<void(VirtualHidDevice& device, std::span<const std::uint8_t> report)>;

    explicit VirtualHidDevice(VirtualHidDeviceInfo info);
    virtual ~VirtualHidDevice();
    VirtualHidDevice(const VirtualHidDevice&) = delete;
    VirtualHidDevice& operator=(const VirtualHidDevice&) = delete;

    const VirtualHidDeviceInfo& Info() const { return m_info; }

    // Called for every output report the host sends (report id in byte 0, 0 when the device
    // numbers no reports), by a write or by a set-output-report request. It runs on the host's
    // writing thread (virtual bus) or on the bridge's thread (uhid), and may answer at once with
    // SendInputReport(). The default calls the handler given to SetOutputHandler().
    virtual void OnOutputReport(std::span<const std::uint8_t> report);
    void SetOutputHandler(OutputHandler handler);

    // Sends one whole input report (report id in byte 0) to the host. False when unplugged.
    bool SendInputReport(std::span<const std::uint8_t> report);
    bool IsPlugged() const;

    // For the bus and the bridge.
    void AttachPort(Port* port);
    void DetachPort(Port* port);

private:
    const VirtualHidDeviceInfo m_info;
    mutable std::mutex m_handlerMutex;
    OutputHandler m_handler;
    mutable std::mutex m_portMutex; // held while delivering, so a port is never used after detach
    Port* m_port = nullptr;
};

} // namespace q407::sim
