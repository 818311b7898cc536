#include "sim/VirtualHidDevice.h"

namespace q407::sim {

VirtualHidDevice::VirtualHidDevice(VirtualHidDeviceInfo info) : m_info(std::move(info)) {}

VirtualHidDevice::~VirtualHidDevice() = default;

void VirtualHidDevice::OnOutputReport(std::span<const std::uint8_t> report) {
    OutputHandler handler;
    {
        std::lock_guard lock(m_handlerMutex);
        handler = m_handler;
    }
    if (handler) {
        handler(*this, report);
    }
}

void VirtualHidDevice::SetOutputHandler(OutputHandler handler) {
    std::lock_guard lock(m_handlerMutex);
    m_handler = std::move(handler);
}

bool VirtualHidDevice::SendInputReport(std::span<const std::uint8_t> report) {
    std::lock_guard lock(m_portMutex);
    return m_port != nullptr && m_port->DeliverInputReport(report);
}

bool VirtualHidDevice::IsPlugged() const {
    std::lock_guard lock(m_portMutex);
    return m_port != nullptr;
}

void VirtualHidDevice::AttachPort(Port* port) {
    std::lock_guard lock(m_portMutex);
    m_port = port;
}

void VirtualHidDevice::DetachPort(Port* port) {
    std::lock_guard lock(m_portMutex);
    if (m_port == port) {
        m_port = nullptr;
    }
}

} // namespace q407::sim
