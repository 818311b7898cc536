#include "sim/VirtualHidBus.h"

#include "common/Event.h"
#include "hid/HidPath.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>

namespace q407::sim {

using hid::HidIoResult;

namespace {

constexpr std::string_view kNodePrefix = "/virtual/hidraw";
constexpr std::size_t kQueuedReports = 64; // like a hidraw node's buffer

// The reading side of one open handle: the reports queued for it and its cancel state.
struct HandleQueue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::vector<std::uint8_t>> reports;
    bool cancelled = false;
    bool gone = false;
};

int NodeNumberOfPath(std::string_view path) {
    const std::string_view node = hid::NodeOfPath(path);
    if (node.substr(0, kNodePrefix.size()) != kNodePrefix) {
        return -1;
    }
    int number = 0;
    const std::string_view digits = node.substr(kNodePrefix.size());
    if (digits.empty() || digits.size() > 6) {
        return -1;
    }
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

} // namespace

struct VirtualHidBus::Node final : VirtualHidDevice::Port {
    std::uint64_t instance = 0;
    std::shared_ptr<VirtualHidDevice> device;
    hid::ReportDescriptor descriptor;
    std::vector<std::string> paths;

    std::mutex mutex;
    std::vector<std::shared_ptr<HandleQueue>> readers;
    bool unplugged = false;

    bool DeliverInputReport(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mutex);
        if (unplugged || report.empty()) {
            return false;
        }
        for (const auto& reader : readers) {
            std::lock_guard readerLock(reader->mutex);
            if (reader->reports.size() >= kQueuedReports) {
                reader->reports.pop_front();
            }
            reader->reports.emplace_back(report.begin(), report.end());
            reader->wake.notify_all();
        }
        return true;
    }

    void MarkGone() {
        std::lock_guard lock(mutex);
        unplugged = true;
        for (const auto& reader : readers) {
            std::lock_guard readerLock(reader->mutex);
            reader->gone = true;
            reader->wake.notify_all();
        }
    }
};

struct VirtualHidBus::Watchers {
    std::mutex mutex;
    std::vector<Event*> events;
};

namespace {

class VirtualHandle final : public hid::HidHandle {
public:
    VirtualHandle(std::shared_ptr<VirtualHidBus::Node> node, std::size_t collection,
                  const hid::HidOpenFlags& flags)
        : m_node(std::move(node)), m_collection(m_node->descriptor.collections[collection]),
          m_flags(flags), m_queue(std::make_shared<HandleQueue>()) {
        const auto& info = m_node->device->Info();
        m_attributes = {info.vendorId, info.productId, info.version};
        std::lock_guard lock(m_node->mutex);
        m_queue->gone = m_node->unplugged;
        m_node->readers.push_back(m_queue);
    }
    ~VirtualHandle() override {
        std::lock_guard lock(m_node->mutex);
        std::erase(m_node->readers, m_queue);
    }
    VirtualHandle(const VirtualHandle&) = delete;
    VirtualHandle& operator=(const VirtualHandle&) = delete;

    const hid::HidAttributes& Attributes() const override { return m_attributes; }
    const hid::HidCollection& Collection() const override { return m_collection; }

    HidIoResult ReadReport(std::span<std::uint8_t> buffer, std::size_t& transferred,
                           int timeoutMs) override {
        transferred = 0;
        if (!m_flags.read) {
            return HidIoResult::Failed;
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        std::unique_lock lock(m_queue->mutex);
        for (;;) {
            const auto ready = [&] {
                return m_queue->cancelled || !m_queue->reports.empty() || m_queue->gone;
            };
            if (timeoutMs < 0) {
                m_queue->wake.wait(lock, ready);
            } else if (timeoutMs == 0 && !ready()) {
                return HidIoResult::TimedOut; // a poll: a timed wait would still sleep a while
            } else if (!m_queue->wake.wait_until(lock, deadline, ready)) {
                return HidIoResult::TimedOut;
            }
            if (m_queue->cancelled) {
                m_queue->cancelled = false;
                return HidIoResult::Cancelled;
            }
            if (m_queue->reports.empty()) {
                return HidIoResult::Disconnected;
            }
            const std::vector<std::uint8_t> report = std::move(m_queue->reports.front());
            m_queue->reports.pop_front();
            switch (hid::report_rules::TakeInputReport(m_collection, report, buffer, transferred)) {
            case hid::report_rules::InputVerdict::Deliver:
                return HidIoResult::Ok;
            case hid::report_rules::InputVerdict::Short:
                return HidIoResult::Failed;
            case hid::report_rules::InputVerdict::NotMine:
                if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline) {
                    return HidIoResult::TimedOut;
                }
                break;
            }
        }
    }

    HidIoResult WriteReport(std::span<const std::uint8_t> report, std::size_t& transferred,
                            int /*timeoutMs*/) override {
        transferred = 0;
        {
            std::lock_guard lock(m_queue->mutex);
            if (m_queue->cancelled) {
                m_queue->cancelled = false;
                return HidIoResult::Cancelled;
            }
        }
        const HidIoResult result = Send(report);
        if (result == HidIoResult::Ok) {
            transferred = m_collection.Caps().outputReportByteLength;
        }
        return result;
    }

    bool SetOutputReport(std::span<const std::uint8_t> report) override {
        return Send(report) == HidIoResult::Ok;
    }

    void Cancel() override {
        std::lock_guard lock(m_queue->mutex);
        m_queue->cancelled = true;
        m_queue->wake.notify_all();
    }

private:
    HidIoResult Send(std::span<const std::uint8_t> report) {
        std::vector<std::uint8_t> bytes;
        if (!m_flags.write ||
            !hid::report_rules::PrepareOutputReport(m_collection, report, bytes)) {
            return HidIoResult::Failed;
        }
        {
            std::lock_guard lock(m_node->mutex);
            if (m_node->unplugged) {
                return HidIoResult::Disconnected;
            }
        }
        m_node->device->OnOutputReport(bytes);
        return HidIoResult::Ok;
    }

    std::shared_ptr<VirtualHidBus::Node> m_node;
    hid::HidCollection m_collection;
    hid::HidOpenFlags m_flags;
    hid::HidAttributes m_attributes;
    std::shared_ptr<HandleQueue> m_queue;
};

class VirtualWatch final : public hid::HidChangeWatch {
public:
    explicit VirtualWatch(std::shared_ptr<VirtualHidBus::Watchers> watchers)
        : m_watchers(std::move(watchers)) {
        std::lock_guard lock(m_watchers->mutex);
        m_watchers->events.push_back(&m_changed);
    }
    ~VirtualWatch() override {
        std::lock_guard lock(m_watchers->mutex);
        std::erase(m_watchers->events, &m_changed);
    }
    VirtualWatch(const VirtualWatch&) = delete;
    VirtualWatch& operator=(const VirtualWatch&) = delete;

    bool Wait(std::chrono::milliseconds timeout, const Event& stop) override {
        const int handles[2] = {stop.NativeHandle(), m_changed.NativeHandle()};
        if (WaitForAny(handles, 2, timeout) != 1) {
            return false;
        }
        m_changed.Consume();
        return true;
    }

private:
    std::shared_ptr<VirtualHidBus::Watchers> m_watchers;
    Event m_changed{Event::Reset::Automatic};
};

} // namespace

VirtualHidBus::VirtualHidBus() : m_watchers(std::make_shared<Watchers>()) {}

VirtualHidBus::~VirtualHidBus() {
    std::vector<std::shared_ptr<Node>> nodes;
    {
        std::lock_guard lock(m_mutex);
        for (auto& [number, node] : m_nodes) {
            nodes.push_back(node);
        }
        m_nodes.clear();
    }
    for (const auto& node : nodes) {
        node->MarkGone();
        node->device->DetachPort(node.get());
    }
}

void VirtualHidBus::NotifyWatchers() {
    std::lock_guard lock(m_watchers->mutex);
    for (Event* event : m_watchers->events) {
        event->Set();
    }
}

std::vector<std::string> VirtualHidBus::Plug(const std::shared_ptr<VirtualHidDevice>& device) {
    if (!device) {
        return {};
    }
    auto parsed = hid::ParseReportDescriptor(device->Info().reportDescriptor);
    if (!parsed) {
        return {};
    }
    auto node = std::make_shared<Node>();
    node->device = device;
    node->descriptor = std::move(*parsed);
    {
        std::lock_guard lock(m_mutex);
        int number = 0;
        for (const auto& [used, existing] : m_nodes) {
            if (existing->device == device) {
                return {};
            }
            if (used == number) {
                ++number;
            }
        }
        node->instance = m_nextInstance++;
        const auto& info = device->Info();
        const std::string name = std::string(kNodePrefix) + std::to_string(number);
        const std::size_t count = node->descriptor.collections.size();
        for (std::size_t i = 0; i < count; ++i) {
            node->paths.push_back(hid::MakeInterfacePath(name, info.vendorId, info.productId,
                                                         info.interfaceNumber, i + 1, count));
        }
        m_nodes.emplace(number, node);
    }
    device->AttachPort(node.get());
    NotifyWatchers();
    return node->paths;
}

bool VirtualHidBus::Unplug(const std::shared_ptr<VirtualHidDevice>& device) {
    std::shared_ptr<Node> node;
    {
        std::lock_guard lock(m_mutex);
        for (auto it = m_nodes.begin(); it != m_nodes.end(); ++it) {
            if (it->second->device == device) {
                node = it->second;
                m_nodes.erase(it);
                break;
            }
        }
    }
    if (!node) {
        return false;
    }
    node->MarkGone();
    device->DetachPort(node.get());
    NotifyWatchers();
    return true;
}

std::vector<std::string>
VirtualHidBus::PathsOf(const std::shared_ptr<VirtualHidDevice>& device) const {
    std::lock_guard lock(m_mutex);
    for (const auto& [number, node] : m_nodes) {
        if (node->device == device) {
            return node->paths;
        }
    }
    return {};
}

void VirtualHidBus::FailEnumerations(int count) {
    std::lock_guard lock(m_mutex);
    m_failEnumerations = count;
}

bool VirtualHidBus::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    std::lock_guard lock(m_mutex);
    if (m_failEnumerations > 0) {
        --m_failEnumerations;
        return false;
    }
    for (const auto& [number, node] : m_nodes) {
        for (const auto& path : node->paths) {
            paths.push_back(path);
            m_pathOwners.Listed(path, std::to_string(node->instance));
        }
    }
    m_pathOwners.EndListing(paths);
    return true;
}

std::unique_ptr<hid::HidHandle> VirtualHidBus::Open(std::string_view path,
                                                    const hid::HidOpenFlags& flags) {
    std::shared_ptr<Node> node;
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_nodes.find(NodeNumberOfPath(path));
        if (it == m_nodes.end()) {
            return nullptr;
        }
        node = it->second;
    }
    const auto& info = node->device->Info();
    if (hid::VendorIdFromPath(path) != info.vendorId ||
        hid::ProductIdFromPath(path) != info.productId ||
        hid::InterfaceNumberFromPath(path) != info.interfaceNumber) {
        return nullptr; // the node now belongs to another device
    }
    const int index = hid::CollectionIndexOfPath(path, node->descriptor.collections.size());
    if (index < 0) {
        return nullptr;
    }
    return std::make_unique<VirtualHandle>(node, static_cast<std::size_t>(index), flags);
}

bool VirtualHidBus::IsPresent(std::string_view path) {
    std::lock_guard lock(m_mutex);
    const auto it = m_nodes.find(NodeNumberOfPath(path));
    if (it == m_nodes.end()) {
        return false;
    }
    const auto& paths = it->second->paths;
    if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
        return false;
    }
    return m_pathOwners.StillOwnedBy(path, std::to_string(it->second->instance));
}

std::unique_ptr<hid::HidChangeWatch> VirtualHidBus::WatchChanges() {
    return std::make_unique<VirtualWatch>(m_watchers);
}

} // namespace q407::sim
