#pragma once

// The platform side of HID access. A backend lists interface paths (one per top-level
// collection, see HidPath.h), opens one by path, tells whether a path is still present and
// wakes a waiter when interfaces come or go. The Linux backend works on hidraw; the virtual bus
// in sim/ is a second backend with the same paths and collections.

#include "common/Event.h"
#include "hid/HidTypes.h"
#include "hid/ReportDescriptor.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q407::hid {

// Time-out value for a transfer that waits without limit.
inline constexpr int kHidInfinite = -1;

enum class HidIoResult {
    Ok,
    TimedOut,
    Cancelled,
    Disconnected, // the device went away
    Failed,       // refused: wrong report id or length, write error, closed handle
};

// One open interface (one top-level collection of one node).
class HidHandle {
public:
    virtual ~HidHandle() = default;

    virtual const HidAttributes& Attributes() const = 0;
    virtual const HidCollection& Collection() const = 0;

    // Reads the next input report of this collection into `buffer`, report id in byte 0 (0 when
    // the device numbers no reports), zero-padded to the collection's input report length.
    // Waits at most `timeoutMs` (kHidInfinite: no limit) and ends at once on Cancel().
    virtual HidIoResult ReadReport(std::span<std::uint8_t> buffer, std::size_t& transferred,
                                   int timeoutMs) = 0;
    // Writes one output report (report id in byte 0) on the interrupt path.
    virtual HidIoResult WriteReport(std::span<const std::uint8_t> report, std::size_t& transferred,
                                    int timeoutMs) = 0;
    // Sends one output report on the control path (the "set output report" request).
    virtual bool SetOutputReport(std::span<const std::uint8_t> report) = 0;

    // May be called from any thread: the transfer waiting now, or else the next one, ends at
    // once with HidIoResult::Cancelled.
    virtual void Cancel() = 0;
};

// Wakes the discovery thread when interfaces may have come or gone.
class HidChangeWatch {
public:
    virtual ~HidChangeWatch() = default;
    // Waits until a change is seen, `stop` is signalled or the time-out passes. Returns true when
    // a change was seen (pending notifications are consumed).
    virtual bool Wait(std::chrono::milliseconds timeout, const Event& stop) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every interface path present now, in enumeration order. False when enumeration failed.
    virtual bool Enumerate(std::vector<std::string>& paths) = 0;
    // Opens a path; null when it is absent, belongs to another device than its markers say, or
    // its report descriptor cannot be read or parsed.
    virtual std::unique_ptr<HidHandle> Open(std::string_view path, const HidOpenFlags& flags) = 0;
    // True while the path names a present interface of the device its markers name. Does not
    // disturb the handles that are open on it.
    virtual bool IsPresent(std::string_view path) = 0;
    virtual std::unique_ptr<HidChangeWatch> WatchChanges() = 0;
};

// Which device instance each listed path belonged to. The first instance seen under a path keeps
// it until the path is no longer listed, so a node reused by an identical device is reported
// gone once before the newcomer is taken for present.
class PathOwners {
public:
    // Call with every path of one enumeration and its instance, then EndListing().
    void Listed(const std::string& path, const std::string& instance);
    void EndListing(const std::vector<std::string>& listed);
    // False (once, forgetting the old owner) when the path now belongs to another instance.
    bool StillOwnedBy(std::string_view path, const std::string& instance);

private:
    std::map<std::string, std::string, std::less<>> m_owners;
};

// Rules every backend applies to report traffic, so both behave the same.
namespace report_rules {

enum class InputVerdict { Deliver, NotMine, Short };

// Decides what to do with a raw input report (report id in byte 0) on a handle of `collection`:
// deliver it (copied into `buffer`, zero-padded to the collection's input report length and
// clipped to the buffer), ignore it (another collection's report id) or refuse it (shorter than
// its report).
InputVerdict TakeInputReport(const HidCollection& collection, std::span<const std::uint8_t> raw,
                             std::span<std::uint8_t> buffer, std::size_t& transferred);

// Builds the bytes of an output report write: the report id must name an output report of
// `collection` and the report must fit its output report length; shorter reports are padded with
// zeros. False (and `out` empty) when the report is refused.
bool PrepareOutputReport(const HidCollection& collection, std::span<const std::uint8_t> report,
                         std::vector<std::uint8_t>& out);

} // namespace report_rules

} // namespace q407::hid
