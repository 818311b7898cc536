#pragma once

// The Linux HID backend: hidraw nodes found with libudev, report descriptors parsed by our own
// parser, one interface path per top-level collection. Reads wait in poll() on the node and an
// eventfd, so a cancel from another thread ends them at once. Hot-plug is seen through a udev
// monitor on the kernel's own events (no udev daemon needed).

#include "hid/HidBackend.h"

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>

struct udev;

namespace q407::hid {

class LinuxHidBackend final : public HidBackend {
public:
    LinuxHidBackend();
    ~LinuxHidBackend() override;
    LinuxHidBackend(const LinuxHidBackend&) = delete;
    LinuxHidBackend& operator=(const LinuxHidBackend&) = delete;

    bool Enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<HidHandle> Open(std::string_view path, const HidOpenFlags& flags) override;
    bool IsPresent(std::string_view path) override;
    std::unique_ptr<HidChangeWatch> WatchChanges() override;

private:
    struct NodeEntry {
        std::vector<std::string> paths;
        HidAttributes attributes;
        std::uint16_t interfaceNumber = 0;
        bool identified = false;
        bool seen = false;
    };
    struct NodeFacts {
        std::string syspath; // names the device instance
        HidAttributes attributes;
        std::uint16_t interfaceNumber = 0;
    };

    // What the node with this device number is, from the listing's cache when it was listed,
    // else from sysfs. Called with m_mutex held.
    std::optional<NodeFacts> LookUpNode(dev_t devnum);

    std::mutex m_mutex; // libudev contexts are not thread-safe
    udev* m_udev = nullptr;
    // Parsed nodes by sysfs path. A sysfs path names one device instance, so a node reused by
    // another device gets a new entry; this keeps the periodic pass from re-reading descriptors.
    std::map<std::string, NodeEntry> m_nodes;
    PathOwners m_pathOwners; // instances are sysfs paths
};

// A watch on the devices of one udev subsystem ("hidraw", "sound"): it wakes when one comes, goes
// or changes, from the kernel's events and the udev daemon's.
std::unique_ptr<HidChangeWatch> WatchUdevSubsystem(const std::string& subsystem);

// Interface number of a hidraw device as the kernel describes it: bInterfaceNumber of its USB
// interface, else the "inputN" suffix of its HID_PHYS, else 0. Exposed for tests.
std::uint16_t InterfaceNumberFromPhys(std::string_view phys);

} // namespace q407::hid
