#include "hid/LinuxHidBackend.h"

#include "common/Diag.h"
#include "hid/HidPath.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace q407::hid {

namespace {

constexpr std::size_t kReadBufferBytes = 4096 + 1;
constexpr const char* kHidrawClass = "/sys/class/hidraw";

using Clock = std::chrono::steady_clock;

struct UdevDeviceDeleter {
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
using UdevDevicePtr = std::unique_ptr<udev_device, UdevDeviceDeleter>;

struct NodeIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t interfaceNumber = 0;
    std::uint16_t version = 0;
    std::string syspath;    // of the hidraw device
    std::string hidSyspath; // of its HID parent
};

std::uint16_t ParseHex16(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    unsigned value = 0;
    std::from_chars(text, text + std::strlen(text), value, 16);
    return static_cast<std::uint16_t>(value);
}

std::string_view PropertyOrEmpty(udev_device* device, const char* key) {
    const char* value = udev_device_get_property_value(device, key);
    return value != nullptr ? std::string_view(value) : std::string_view();
}

// Identity of a hidraw udev device from its HID parent's HID_ID and HID_PHYS and its USB parents.
std::optional<NodeIdentity> IdentityOf(udev_device* hidraw) {
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    if (hid == nullptr) {
        return std::nullopt;
    }
    const char* hidId = udev_device_get_property_value(hid, "HID_ID");
    unsigned bus = 0;
    unsigned vendor = 0;
    unsigned product = 0;
    if (hidId == nullptr || std::sscanf(hidId, "%x:%x:%x", &bus, &vendor, &product) != 3) {
        return std::nullopt;
    }
    NodeIdentity identity;
    identity.vendorId = static_cast<std::uint16_t>(vendor);
    identity.productId = static_cast<std::uint16_t>(product);
    identity.syspath = udev_device_get_syspath(hidraw);
    identity.hidSyspath = udev_device_get_syspath(hid);
    if (udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_interface")) {
        identity.interfaceNumber =
            ParseHex16(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber"));
    } else {
        identity.interfaceNumber = InterfaceNumberFromPhys(PropertyOrEmpty(hid, "HID_PHYS"));
    }
    if (udev_device* usbDevice =
            udev_device_get_parent_with_subsystem_devtype(hid, "usb", "usb_device")) {
        identity.version = ParseHex16(udev_device_get_sysattr_value(usbDevice, "bcdDevice"));
    }
    return identity;
}

std::optional<std::vector<std::uint8_t>> ReadSysfsDescriptor(const std::string& hidSyspath) {
    const std::string file = hidSyspath + "/report_descriptor";
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(kMaxDescriptorBytes + 1);
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + total, bytes.size() - total);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        total += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(total);
    return bytes;
}

template <typename Facts>
bool SameIdentityAsPath(const Facts& facts, std::string_view path) {
    return facts.attributes.vendorId == VendorIdFromPath(path) &&
           facts.attributes.productId == ProductIdFromPath(path) &&
           facts.interfaceNumber == InterfaceNumberFromPath(path);
}

int RemainingMs(Clock::time_point deadline, bool forever) {
    if (forever) {
        return -1;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

class LinuxHidHandle final : public HidHandle {
public:
    LinuxHidHandle(int fd, const HidOpenFlags& flags, HidAttributes attributes,
                   HidCollection collection, bool usesReportIds)
        : m_fd(fd), m_flags(flags), m_attributes(attributes), m_collection(std::move(collection)),
          m_usesReportIds(usesReportIds), m_cancel(Event::Reset::Automatic) {}
    ~LinuxHidHandle() override { ::close(m_fd); }
    LinuxHidHandle(const LinuxHidHandle&) = delete;
    LinuxHidHandle& operator=(const LinuxHidHandle&) = delete;

    const HidAttributes& Attributes() const override { return m_attributes; }
    const HidCollection& Collection() const override { return m_collection; }

    HidIoResult ReadReport(std::span<std::uint8_t> buffer, std::size_t& transferred,
                           int timeoutMs) override {
        transferred = 0;
        if (!m_flags.read) {
            return HidIoResult::Failed;
        }
        const bool forever = timeoutMs < 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
        std::array<std::uint8_t, kReadBufferBytes> raw{};
        for (;;) {
            const HidIoResult ready = WaitFor(POLLIN, RemainingMs(deadline, forever));
            if (ready != HidIoResult::Ok) {
                return ready;
            }
            // Without numbered reports the node delivers bare data; give it the 0 report id the
            // rest of the program expects in byte 0.
            const std::size_t offset = m_usesReportIds ? 0 : 1;
            const ssize_t n = ::read(m_fd, raw.data() + offset, raw.size() - offset);
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) {
                    continue;
                }
                return errno == EIO || errno == ENODEV ? HidIoResult::Disconnected
                                                       : HidIoResult::Failed;
            }
            const std::span<const std::uint8_t> report(raw.data(),
                                                       static_cast<std::size_t>(n) + offset);
            switch (report_rules::TakeInputReport(m_collection, report, buffer, transferred)) {
            case report_rules::InputVerdict::Deliver:
                return HidIoResult::Ok;
            case report_rules::InputVerdict::Short:
                diag::Printf("hidraw: dropped a short input report (id %u, %zu bytes)", report[0],
                             report.size());
                return HidIoResult::Failed;
            case report_rules::InputVerdict::NotMine:
                // Another collection's report: keep waiting for ours, but no longer than asked
                // even while the other collections keep reporting.
                if (!forever && Clock::now() >= deadline) {
                    return HidIoResult::TimedOut;
                }
                break;
            }
        }
    }

    HidIoResult WriteReport(std::span<const std::uint8_t> report, std::size_t& transferred,
                            int timeoutMs) override {
        transferred = 0;
        std::vector<std::uint8_t> bytes;
        if (!m_flags.write || !report_rules::PrepareOutputReport(m_collection, report, bytes)) {
            return HidIoResult::Failed;
        }
        const HidIoResult ready = WaitFor(POLLOUT, timeoutMs < 0 ? -1 : timeoutMs);
        if (ready != HidIoResult::Ok) {
            return ready;
        }
        ssize_t n = 0;
        do {
            n = ::write(m_fd, bytes.data(), bytes.size());
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            return errno == ENODEV || errno == EIO ? HidIoResult::Disconnected
                                                   : HidIoResult::Failed;
        }
        transferred = static_cast<std::size_t>(n);
        return static_cast<std::size_t>(n) == bytes.size() ? HidIoResult::Ok : HidIoResult::Failed;
    }

    bool SetOutputReport(std::span<const std::uint8_t> report) override {
        std::vector<std::uint8_t> bytes;
        if (!m_flags.write || !report_rules::PrepareOutputReport(m_collection, report, bytes)) {
            return false;
        }
        return ::ioctl(m_fd, HIDIOCSOUTPUT(bytes.size()), bytes.data()) >= 0;
    }

    void Cancel() override { m_cancel.Set(); }

private:
    // Waits for `events` on the node, the cancel event or the time-out.
    HidIoResult WaitFor(short events, int timeoutMs) {
        pollfd entries[2] = {{m_fd, events, 0}, {m_cancel.NativeHandle(), POLLIN, 0}};
        const bool forever = timeoutMs < 0;
        const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);
        for (;;) {
            const int ready = ::poll(entries, 2, RemainingMs(deadline, forever));
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready < 0) {
                return HidIoResult::Failed;
            }
            if (ready == 0) {
                return HidIoResult::TimedOut;
            }
            if ((entries[1].revents & POLLIN) != 0) {
                m_cancel.Consume();
                return HidIoResult::Cancelled;
            }
            if ((entries[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
                return HidIoResult::Disconnected;
            }
            return HidIoResult::Ok;
        }
    }

    int m_fd;
    HidOpenFlags m_flags;
    HidAttributes m_attributes;
    HidCollection m_collection;
    bool m_usesReportIds;
    Event m_cancel;
};

// Wakes on events of one subsystem from two sources: the kernel's own (always there, even
// without a udev daemon) and the udev daemon's, which arrive after its rules ran (on a desktop,
// after the uaccess rule made the node readable), so the arrival is not left to the next
// periodic pass.
class UdevChangeWatch final : public HidChangeWatch {
public:
    explicit UdevChangeWatch(std::string subsystem)
        : m_udev(udev_new()), m_subsystem(std::move(subsystem)) {
        if (m_udev != nullptr) {
            for (const char* source : {"kernel", "udev"}) {
                if (udev_monitor* monitor = OpenMonitor(source)) {
                    m_monitors.push_back(monitor);
                }
            }
        }
        if (m_monitors.empty()) {
            diag::Line(m_subsystem +
                       ": no device event monitor; devices are found by polling only");
        }
    }
    ~UdevChangeWatch() override {
        for (udev_monitor* monitor : m_monitors) {
            udev_monitor_unref(monitor);
        }
        if (m_udev != nullptr) {
            udev_unref(m_udev);
        }
    }
    UdevChangeWatch(const UdevChangeWatch&) = delete;
    UdevChangeWatch& operator=(const UdevChangeWatch&) = delete;

    bool Wait(std::chrono::milliseconds timeout, const Event& stop) override {
        std::vector<int> handles = {stop.NativeHandle()};
        for (udev_monitor* monitor : m_monitors) {
            handles.push_back(udev_monitor_get_fd(monitor));
        }
        if (WaitForAny(handles.data(), static_cast<int>(handles.size()), timeout) < 1) {
            return false;
        }
        for (udev_monitor* monitor : m_monitors) {
            while (udev_device* device = udev_monitor_receive_device(monitor)) {
                udev_device_unref(device);
            }
        }
        return true;
    }

private:
    udev_monitor* OpenMonitor(const char* source) {
        udev_monitor* monitor = udev_monitor_new_from_netlink(m_udev, source);
        if (monitor != nullptr && (udev_monitor_filter_add_match_subsystem_devtype(
                                       monitor, m_subsystem.c_str(), nullptr) < 0 ||
                                   udev_monitor_enable_receiving(monitor) < 0)) {
            udev_monitor_unref(monitor);
            monitor = nullptr;
        }
        return monitor;
    }

    udev* m_udev = nullptr;
    std::string m_subsystem;
    std::vector<udev_monitor*> m_monitors;
};

// The target of a sysfs link made absolute. For /sys/class/hidraw/<name> and /sys/dev/char/M:m
// it names the device instance (the HID device's name carries a per-instance number), the same
// string libudev gives as the device's syspath.
std::string SysfsTargetOf(const std::string& link) {
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0) {
        return {};
    }
    std::string_view relative(target, static_cast<std::size_t>(length));
    while (relative.substr(0, 3) == "../") {
        relative.remove_prefix(3);
    }
    return "/sys/" + std::string(relative);
}

std::string SysfsPathOfClassEntry(std::string_view name) {
    return SysfsTargetOf(std::string(kHidrawClass) + "/" + std::string(name));
}

std::string SysfsPathOfDevnum(dev_t devnum) {
    return SysfsTargetOf("/sys/dev/char/" + std::to_string(major(devnum)) + ":" +
                         std::to_string(minor(devnum)));
}

} // namespace

std::uint16_t InterfaceNumberFromPhys(std::string_view phys) {
    const std::size_t at = phys.rfind("input");
    if (at == std::string_view::npos) {
        return 0;
    }
    unsigned value = 0;
    const char* first = phys.data() + at + 5;
    const auto [end, error] = std::from_chars(first, phys.data() + phys.size(), value, 10);
    if (error != std::errc{} || end != phys.data() + phys.size() || value > 0xFFFF) {
        return 0;
    }
    return static_cast<std::uint16_t>(value);
}

LinuxHidBackend::LinuxHidBackend() : m_udev(udev_new()) {}

LinuxHidBackend::~LinuxHidBackend() {
    if (m_udev != nullptr) {
        udev_unref(m_udev);
    }
}

bool LinuxHidBackend::Enumerate(std::vector<std::string>& paths) {
    paths.clear();
    // The periodic pass runs ten times a second while a slot is free, so the listing itself is
    // one directory read and one readlink per node; libudev and the descriptor are only consulted
    // for a node (device instance) not seen before.
    DIR* folder = ::opendir(kHidrawClass);
    if (folder == nullptr) {
        return errno == ENOENT; // no hidraw driver loaded: nothing present
    }
    std::vector<std::pair<unsigned, std::string>> nodes; // number, sysfs path
    while (const dirent* entry = ::readdir(folder)) {
        unsigned number = 0;
        const std::string_view name(entry->d_name);
        if (name.substr(0, 6) != "hidraw" ||
            std::from_chars(name.data() + 6, name.data() + name.size(), number).ec != std::errc{}) {
            continue;
        }
        std::string syspath = SysfsPathOfClassEntry(name);
        if (!syspath.empty()) {
            nodes.emplace_back(number, std::move(syspath));
        }
    }
    ::closedir(folder);
    std::sort(nodes.begin(), nodes.end());

    std::lock_guard lock(m_mutex);
    if (m_udev == nullptr) {
        return false;
    }
    for (auto& [syspath, node] : m_nodes) {
        node.seen = false;
    }
    for (const auto& [number, syspath] : nodes) {
        auto cached = m_nodes.find(syspath);
        if (cached == m_nodes.end()) {
            UdevDevicePtr device(udev_device_new_from_syspath(m_udev, syspath.c_str()));
            if (!device) {
                continue; // gone between listing and reading
            }
            NodeEntry node;
            const char* devnode = udev_device_get_devnode(device.get());
            const auto identity = IdentityOf(device.get());
            const auto descriptor =
                identity ? ReadSysfsDescriptor(identity->hidSyspath) : std::nullopt;
            const auto parsed = descriptor ? ParseReportDescriptor(*descriptor) : std::nullopt;
            if (identity) {
                node.attributes = {identity->vendorId, identity->productId, identity->version};
                node.interfaceNumber = identity->interfaceNumber;
                node.identified = true;
            }
            if (devnode != nullptr && parsed) {
                const std::size_t count = parsed->collections.size();
                for (std::size_t i = 0; i < count; ++i) {
                    node.paths.push_back(
                        MakeInterfacePath(devnode, identity->vendorId, identity->productId,
                                          identity->interfaceNumber, i + 1, count));
                }
            }
            cached = m_nodes.emplace(syspath, std::move(node)).first;
        }
        cached->second.seen = true;
        for (const auto& path : cached->second.paths) {
            paths.push_back(path);
            m_pathOwners.Listed(path, cached->first);
        }
    }
    std::erase_if(m_nodes, [](const auto& item) { return !item.second.seen; });
    m_pathOwners.EndListing(paths);
    return true;
}

std::unique_ptr<HidHandle> LinuxHidBackend::Open(std::string_view path, const HidOpenFlags& flags) {
    const std::string node(NodeOfPath(path));
    if (node.empty()) {
        return nullptr;
    }
    const int mode = flags.read && flags.write ? O_RDWR : flags.write ? O_WRONLY : O_RDONLY;
    const int fd = ::open(node.c_str(), mode | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return nullptr;
    }
    auto fail = [&](const char* why) -> std::unique_ptr<HidHandle> {
        diag::Printf("hidraw: cannot open %s: %s", node.c_str(), why);
        ::close(fd);
        return nullptr;
    };

    // Check the node still belongs to the device the path names: nodes are reused.
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) {
        return fail("not a character device");
    }
    std::optional<NodeFacts> facts;
    {
        std::lock_guard lock(m_mutex);
        facts = LookUpNode(status.st_rdev);
    }
    if (!facts || !SameIdentityAsPath(*facts, path)) {
        return fail("the node belongs to another device");
    }
    hidraw_devinfo info{};
    if (::ioctl(fd, HIDIOCGRAWINFO, &info) < 0 ||
        static_cast<std::uint16_t>(info.vendor) != facts->attributes.vendorId ||
        static_cast<std::uint16_t>(info.product) != facts->attributes.productId) {
        return fail("device information does not match");
    }
    int size = 0;
    hidraw_report_descriptor descriptor{};
    if (::ioctl(fd, HIDIOCGRDESCSIZE, &size) < 0 || size < 0 ||
        static_cast<std::size_t>(size) > sizeof descriptor.value) {
        return fail("no report descriptor");
    }
    descriptor.size = static_cast<std::uint32_t>(size);
    if (::ioctl(fd, HIDIOCGRDESC, &descriptor) < 0) {
        return fail("no report descriptor");
    }
    std::string error;
    auto parsed = ParseReportDescriptor({descriptor.value, descriptor.size}, &error);
    if (!parsed) {
        return fail(error.c_str());
    }
    const int index = CollectionIndexOfPath(path, parsed->collections.size());
    if (index < 0) {
        return fail("no such collection");
    }
    return std::make_unique<LinuxHidHandle>(
        fd, flags, facts->attributes,
        std::move(parsed->collections[static_cast<std::size_t>(index)]), parsed->usesReportIds);
}

bool LinuxHidBackend::IsPresent(std::string_view path) {
    const std::string node(NodeOfPath(path));
    struct stat status {};
    if (node.empty() || ::stat(node.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    const auto facts = LookUpNode(status.st_rdev);
    if (!facts || !SameIdentityAsPath(*facts, path)) {
        return false;
    }
    // The same ids on a node of a new device instance are a different device too.
    return m_pathOwners.StillOwnedBy(path, facts->syspath);
}

std::optional<LinuxHidBackend::NodeFacts> LinuxHidBackend::LookUpNode(dev_t devnum) {
    NodeFacts facts;
    facts.syspath = SysfsPathOfDevnum(devnum);
    if (facts.syspath.empty()) {
        return std::nullopt;
    }
    // A listed instance: what the listing learnt, without asking sysfs again.
    if (const auto cached = m_nodes.find(facts.syspath);
        cached != m_nodes.end() && cached->second.identified) {
        facts.attributes = cached->second.attributes;
        facts.interfaceNumber = cached->second.interfaceNumber;
        return facts;
    }
    if (m_udev == nullptr) {
        return std::nullopt;
    }
    UdevDevicePtr device(udev_device_new_from_syspath(m_udev, facts.syspath.c_str()));
    const auto identity = device ? IdentityOf(device.get()) : std::nullopt;
    if (!identity) {
        return std::nullopt;
    }
    facts.attributes = {identity->vendorId, identity->productId, identity->version};
    facts.interfaceNumber = identity->interfaceNumber;
    return facts;
}

std::unique_ptr<HidChangeWatch> LinuxHidBackend::WatchChanges() {
    return WatchUdevSubsystem("hidraw");
}

std::unique_ptr<HidChangeWatch> WatchUdevSubsystem(const std::string& subsystem) {
    return std::make_unique<UdevChangeWatch>(subsystem);
}

} // namespace q407::hid
