#pragma once

// An in-process HID backend. Simulated devices are plugged and unplugged at run time; each
// plugged device gets a node ("/virtual/hidrawN", numbers reused like the kernel's) and one
// interface path per top-level collection of its report descriptor, with the same markers and
// the same report rules as the Linux backend. Output reports written by the host go to the
// device's handler; the device's input reports go to every open handle of its node.

#include "hid/HidBackend.h"
#include "sim/VirtualHidDevice.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace q407::sim {

class VirtualHidBus final : public hid::HidBackend {
public:
    VirtualHidBus();
    ~VirtualHidBus() override;
    VirtualHidBus(const VirtualHidBus&) = delete;
    VirtualHidBus& operator=(const VirtualHidBus&) = delete;

    // Plugs a device. Returns its interface paths, or nothing when its report descriptor does not
    // parse or it is plugged already.
    std::vector<std::string> Plug(const std::shared_ptr<VirtualHidDevice>& device);
    // Unplugs it: open handles report the device gone. False when it was not plugged.
    bool Unplug(const std::shared_ptr<VirtualHidDevice>& device);
    // Interface paths of a plugged device (empty when it is not plugged).
    std::vector<std::string> PathsOf(const std::shared_ptr<VirtualHidDevice>& device) const;

    // Makes the next `count` enumerations fail, as a broken device database would.
    void FailEnumerations(int count);

    bool Enumerate(std::vector<std::string>& paths) override;
    std::unique_ptr<hid::HidHandle> Open(std::string_view path,
                                         const hid::HidOpenFlags& flags) override;
    bool IsPresent(std::string_view path) override;
    std::unique_ptr<hid::HidChangeWatch> WatchChanges() override;

    struct Node;
    struct Watchers;

private:
    void NotifyWatchers();

    mutable std::mutex m_mutex;
    std::map<int, std::shared_ptr<Node>> m_nodes; // by node number
    hid::PathOwners m_pathOwners;                 // instances are node instance numbers
    std::uint64_t m_nextInstance = 1;
    int m_failEnumerations = 0;
    std::shared_ptr<Watchers> m_watchers;
};

} // namespace q407::sim
