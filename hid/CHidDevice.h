#pragma once

// One HID interface record: the enumeration list, one open interface with its attributes,
// capabilities and parsed report items, and report transfers with a time-out and a cancel
// signal. Every user of a device holds its own records.
//
// Threads: the record is not locked for its owner. Another thread may call Close() (or
// CancelTransfer()) while the owner waits in Read() or Write(); the waiting transfer then ends
// at once with false. The open interface stays alive until that transfer has returned, so a
// cancelled request never touches released state.

#include "hid/HidBackend.h"
#include "hid/HidTypes.h"
#include "hid/ReportDescriptor.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q407::hid {

class CHidDevice {
public:
    explicit CHidDevice(HidBackend& backend);
    ~CHidDevice();
    CHidDevice(const CHidDevice&) = delete;
    CHidDevice& operator=(const CHidDevice&) = delete;

    // Enumeration list.
    bool FindDevices();
    // The path at the cursor, advancing it; null at the end of the list. The pointer stays valid
    // until the next FindDevices() or ClearPaths().
    const char* NextPath();
    void ClearPaths();
    std::size_t PathCount() const { return m_paths.size(); }

    // Opens `path` (closing first whatever was open) and reads its capabilities.
    bool Open(std::string_view path, bool read, bool write, bool overlapped, bool exclusive);
    // Ends a waiting transfer, releases the capabilities and buffers. Safe on a closed record.
    void Close();
    bool IsOpen() const;

    // One report transfer of `length` bytes; true when it completed within `timeoutMs`
    // (kHidInfinite: no limit). `transferred` (when given) is the byte count, 0 unless the
    // transfer completed.
    bool Read(std::uint8_t* buffer, std::size_t length, std::size_t* transferred, int timeoutMs);
    bool Write(const std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
               int timeoutMs);
    // The output report sent with the class "set output report" request instead of a write.
    bool SetOutputReport(const std::uint8_t* buffer, std::size_t length);
    // Signals the cancel event: the transfer waiting now (or else the next one) returns false.
    void CancelTransfer();

    // Open interface.
    const std::string& DevicePath() const { return m_devicePath; }
    const HidAttributes& Attributes() const { return m_attributes; }
    const HidCaps& Caps() const { return m_caps; }
    std::uint16_t InterfaceNumber() const { return m_interfaceNumber; }
    std::uint16_t CollectionNumber() const { return m_collectionNumber; }
    // The parsed collection of the open interface; null when closed.
    const HidCollection* PreparsedData() const;

    // Report buffers (report byte length, zeroed on open) and parsed items per report type.
    std::vector<std::uint8_t>& ReportBuffer(HidReportType type);
    std::vector<HidData>& Data(HidReportType type);
    const std::vector<HidButtonCaps>& ButtonCaps(HidReportType type) const;
    const std::vector<HidValueCaps>& ValueCaps(HidReportType type) const;

    HidOpenFlags OpenFlags() const { return m_flags; }

private:
    std::shared_ptr<HidHandle> CurrentHandle() const;
    // One Read or Write: marks it in progress, holds the open interface for its duration.
    template <typename Transfer>
    bool RunTransfer(std::atomic<bool>& inProgress, const void* buffer, std::size_t length,
                     std::size_t* transferred, Transfer&& transfer);
    void ReleaseOpenState();

    HidBackend& m_backend;

    std::vector<std::string> m_paths;
    std::size_t m_cursor = 0;

    HidOpenFlags m_flags;
    mutable std::mutex m_handleMutex; // guards m_handle against Close() from another thread
    std::shared_ptr<HidHandle> m_handle;
    std::string m_devicePath;
    HidCaps m_caps;
    HidAttributes m_attributes;
    std::vector<std::uint8_t> m_reportBuffers[kHidReportTypeCount];
    std::vector<HidData> m_data[kHidReportTypeCount];
    std::uint16_t m_interfaceNumber = 0;
    std::uint16_t m_collectionNumber = 0;
    std::atomic<bool> m_readInProgress{false};
    std::atomic<bool> m_writeInProgress{false};
};

// Fills the entries of `data` that belong to the report's id (byte 0 of `report`) from the
// report: the usages on for button items (only those within the item's usage range, in order,
// zero-terminated), the raw and scaled value for value items. False when the report is empty or
// a value cannot be read (a report shorter than its declared length, for one).
bool UnpackReport(std::span<const std::uint8_t> report, HidReportType type, std::span<HidData> data,
                  const HidCollection& preparsed);

// Builds the parsed report items of one report type of a collection: one button entry per button
// capability, then one value entry per usage of each value capability.
std::vector<HidData> MakeReportData(const HidCollection& collection, HidReportType type);

} // namespace q407::hid
