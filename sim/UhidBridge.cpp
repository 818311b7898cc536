#include "sim/UhidBridge.h"

#include "common/Diag.h"
#include "hid/ReportDescriptor.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <linux/input.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sstream>
#include <unistd.h>

namespace q407::sim {

namespace {

void Fail(std::string* error, std::string why) {
    if (error != nullptr) {
        *error = std::move(why);
    }
}

template <std::size_t N>
void CopyText(__u8 (&target)[N], const std::string& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(target, text.data(), length);
    target[length] = 0;
}

// The hidraw node whose HID device carries `uniq`, or an empty string.
std::string FindNodeByUniq(const std::string& uniq) {
    DIR* folder = ::opendir("/sys/class/hidraw");
    if (folder == nullptr) {
        return {};
    }
    std::string found;
    while (const dirent* entry = ::readdir(folder)) {
        if (entry->d_name[0] == '.') {
            continue;
        }
        std::ifstream uevent(std::string("/sys/class/hidraw/") + entry->d_name + "/device/uevent");
        std::string line;
        while (std::getline(uevent, line)) {
            if (line == "HID_UNIQ=" + uniq) {
                found = std::string("/dev/") + entry->d_name;
                break;
            }
        }
        if (!found.empty()) {
            break;
        }
    }
    ::closedir(folder);
    return found;
}

std::atomic<unsigned> g_bridgeCount{0};

} // namespace

std::unique_ptr<UhidBridge> UhidBridge::Create(std::shared_ptr<VirtualHidDevice> device,
                                               std::string* error) {
    if (!device) {
        Fail(error, "no device");
        return nullptr;
    }
    const auto& info = device->Info();
    std::string parseError;
    const auto parsed = hid::ParseReportDescriptor(info.reportDescriptor, &parseError);
    if (!parsed) {
        Fail(error, "report descriptor: " + parseError);
        return nullptr;
    }
    if (info.reportDescriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        Fail(error, "report descriptor too large for uhid");
        return nullptr;
    }
    const int fd = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        Fail(error, std::string("cannot open /dev/uhid: ") + std::strerror(errno));
        return nullptr;
    }
    // A serial that names this bridge, so its hidraw node can be told from an identical device's.
    std::ostringstream uniq;
    uniq << "q407-" << ::getpid() << '-' << g_bridgeCount++;

    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof(uhid_event));
    event->type = UHID_CREATE2;
    auto& create = event->u.create2;
    CopyText(create.name, info.name);
    CopyText(create.phys, "q407-virtual/input" + std::to_string(info.interfaceNumber));
    CopyText(create.uniq, uniq.str());
    create.rd_size = static_cast<__u16>(info.reportDescriptor.size());
    create.bus = BUS_USB;
    create.vendor = info.vendorId;
    create.product = info.productId;
    create.version = info.version;
    std::memcpy(create.rd_data, info.reportDescriptor.data(), info.reportDescriptor.size());

    std::unique_ptr<UhidBridge> bridge(
        new UhidBridge(fd, std::move(device), uniq.str(), parsed->usesReportIds));
    if (!bridge->WriteEvent(event.get(), sizeof(uhid_event))) {
        Fail(error, std::string("UHID_CREATE2 refused: ") + std::strerror(errno));
        bridge->m_destroyed = true; // nothing to destroy in the kernel
        return nullptr;
    }
    bridge->m_device->AttachPort(bridge.get());
    bridge->m_thread = std::thread([raw = bridge.get()] { raw->ThreadMain(); });
    return bridge;
}

UhidBridge::UhidBridge(int fd, std::shared_ptr<VirtualHidDevice> device, std::string uniq,
                       bool usesReportIds)
    : m_fd(fd), m_device(std::move(device)), m_uniq(std::move(uniq)),
      m_usesReportIds(usesReportIds) {}

UhidBridge::~UhidBridge() {
    Destroy();
    m_stop.Set();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    ::close(m_fd);
}

bool UhidBridge::WriteEvent(const void* event, std::size_t size) {
    std::lock_guard lock(m_writeMutex);
    ssize_t written = 0;
    do {
        written = ::write(m_fd, event, size);
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(size);
}

void UhidBridge::Destroy() {
    if (m_destroyed.exchange(true)) {
        return;
    }
    m_device->DetachPort(this);
    uhid_event event{};
    event.type = UHID_DESTROY;
    WriteEvent(&event, sizeof event);
}

bool UhidBridge::DeliverInputReport(std::span<const std::uint8_t> report) {
    if (m_destroyed || report.empty()) {
        return false;
    }
    // Without numbered reports the kernel expects the bare data, without the 0 id byte.
    const auto data = m_usesReportIds ? report : report.subspan(1);
    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof(uhid_event));
    if (data.size() > sizeof event->u.input2.data) {
        return false;
    }
    event->type = UHID_INPUT2;
    event->u.input2.size = static_cast<__u16>(data.size());
    std::memcpy(event->u.input2.data, data.data(), data.size());
    return WriteEvent(event.get(), sizeof(uhid_event));
}

std::string UhidBridge::WaitForNode(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    if (!m_started.Wait(timeout)) {
        return {};
    }
    for (;;) {
        std::string node = FindNodeByUniq(m_uniq);
        if (!node.empty() && ::access(node.c_str(), F_OK) == 0) {
            return node;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return {};
        }
        m_stop.Wait(std::chrono::milliseconds(5));
    }
}

void UhidBridge::ThreadMain() {
    auto event = std::make_unique<uhid_event>();
    for (;;) {
        const int handles[2] = {m_stop.NativeHandle(), m_fd};
        if (WaitForAny(handles, 2, std::chrono::milliseconds(-1)) != 1) {
            return; // stopped
        }
        const ssize_t n = ::read(m_fd, event.get(), sizeof(uhid_event));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            diag::Printf("uhid: read failed: %s", std::strerror(errno));
            return;
        }
        switch (event->type) {
        case UHID_START:
            m_started.Set();
            break;
        case UHID_OUTPUT:
            m_device->OnOutputReport(
                {event->u.output.data,
                 std::min<std::size_t>(event->u.output.size, sizeof event->u.output.data)});
            break;
        case UHID_GET_REPORT: {
            uhid_event reply{};
            reply.type = UHID_GET_REPORT_REPLY;
            reply.u.get_report_reply.id = event->u.get_report.id;
            reply.u.get_report_reply.err = EIO; // the models keep no feature reports
            WriteEvent(&reply, sizeof reply);
            break;
        }
        case UHID_SET_REPORT: {
            const bool output = event->u.set_report.rtype == UHID_OUTPUT_REPORT;
            if (output) {
                m_device->OnOutputReport({event->u.set_report.data,
                                          std::min<std::size_t>(event->u.set_report.size,
                                                                sizeof event->u.set_report.data)});
            }
            uhid_event reply{};
            reply.type = UHID_SET_REPORT_REPLY;
            reply.u.set_report_reply.id = event->u.set_report.id;
            reply.u.set_report_reply.err = output ? 0 : EIO;
            WriteEvent(&reply, sizeof reply);
            break;
        }
        default:
            break; // open, close, stop: nothing to do
        }
    }
}

} // namespace q407::sim
