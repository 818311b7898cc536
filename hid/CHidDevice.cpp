#include "hid/CHidDevice.h"

#include "hid/HidPath.h"

#include <algorithm>

namespace q407::hid {

namespace {

constexpr int Index(HidReportType type) {
    return static_cast<int>(type);
}

const std::vector<HidButtonCaps> kNoButtonCaps;
const std::vector<HidValueCaps> kNoValueCaps;

// Marks a transfer as in progress for the lifetime of the guard.
class InProgress {
public:
    explicit InProgress(std::atomic<bool>& flag) : m_flag(flag) { m_flag = true; }
    ~InProgress() { m_flag = false; }
    InProgress(const InProgress&) = delete;
    InProgress& operator=(const InProgress&) = delete;

private:
    std::atomic<bool>& m_flag;
};

} // namespace

CHidDevice::CHidDevice(HidBackend& backend) : m_backend(backend) {}

CHidDevice::~CHidDevice() {
    Close();
    ClearPaths();
}

bool CHidDevice::FindDevices() {
    ClearPaths();
    std::vector<std::string> paths;
    if (!m_backend.Enumerate(paths)) {
        return false;
    }
    m_paths = std::move(paths);
    return true;
}

const char* CHidDevice::NextPath() {
    if (m_cursor >= m_paths.size()) {
        return nullptr;
    }
    return m_paths[m_cursor++].c_str();
}

void CHidDevice::ClearPaths() {
    m_paths.clear();
    m_paths.shrink_to_fit();
    m_cursor = 0;
}

std::shared_ptr<HidHandle> CHidDevice::CurrentHandle() const {
    std::lock_guard lock(m_handleMutex);
    return m_handle;
}

bool CHidDevice::IsOpen() const {
    return CurrentHandle() != nullptr;
}

const HidCollection* CHidDevice::PreparsedData() const {
    const auto handle = CurrentHandle();
    return handle ? &handle->Collection() : nullptr;
}

void CHidDevice::ReleaseOpenState() {
    std::shared_ptr<HidHandle> handle;
    {
        std::lock_guard lock(m_handleMutex);
        handle = std::move(m_handle);
        m_handle.reset();
    }
    if (handle) {
        handle->Cancel(); // ends a transfer another thread may be waiting in
    }
    // A transfer still waiting holds its own reference; the interface closes when it returns.
    handle.reset();
    for (int t = 0; t < kHidReportTypeCount; ++t) {
        m_reportBuffers[t].clear();
        m_reportBuffers[t].shrink_to_fit();
        m_data[t].clear();
        m_data[t].shrink_to_fit();
    }
    m_caps = HidCaps{};
    m_attributes = HidAttributes{};
    m_interfaceNumber = 0;
    m_collectionNumber = 0;
}

void CHidDevice::Close() {
    ReleaseOpenState();
}

bool CHidDevice::Open(std::string_view path, bool read, bool write, bool overlapped,
                      bool exclusive) {
    ReleaseOpenState();
    m_devicePath.assign(path);
    m_flags = HidOpenFlags{read, write, overlapped, exclusive};
    std::shared_ptr<HidHandle> handle = m_backend.Open(path, m_flags);
    if (!handle) {
        return false;
    }
    const HidCollection& collection = handle->Collection();
    m_attributes = handle->Attributes();
    m_caps = collection.Caps();
    const std::size_t lengths[kHidReportTypeCount] = {m_caps.inputReportByteLength,
                                                      m_caps.outputReportByteLength,
                                                      m_caps.featureReportByteLength};
    for (int t = 0; t < kHidReportTypeCount; ++t) {
        m_reportBuffers[t].assign(lengths[t], 0);
        m_data[t] = MakeReportData(collection, static_cast<HidReportType>(t));
    }
    m_interfaceNumber = InterfaceNumberFromPath(path);
    m_collectionNumber = CollectionNumberFromPath(path);
    std::lock_guard lock(m_handleMutex);
    m_handle = std::move(handle);
    return true;
}

template <typename Transfer>
bool CHidDevice::RunTransfer(std::atomic<bool>& inProgress, const void* buffer, std::size_t length,
                             std::size_t* transferred, Transfer&& transfer) {
    InProgress guard(inProgress);
    if (transferred != nullptr) {
        *transferred = 0;
    }
    const auto handle = CurrentHandle();
    if (!handle || buffer == nullptr || length == 0) {
        return false;
    }
    std::size_t count = 0;
    if (transfer(*handle, count) != HidIoResult::Ok) {
        return false;
    }
    if (transferred != nullptr) {
        *transferred = count;
    }
    return true;
}

bool CHidDevice::Read(std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
                      int timeoutMs) {
    return RunTransfer(m_readInProgress, buffer, length, transferred,
                       [&](HidHandle& handle, std::size_t& count) {
                           return handle.ReadReport({buffer, length}, count, timeoutMs);
                       });
}

bool CHidDevice::Write(const std::uint8_t* buffer, std::size_t length, std::size_t* transferred,
                       int timeoutMs) {
    return RunTransfer(m_writeInProgress, buffer, length, transferred,
                       [&](HidHandle& handle, std::size_t& count) {
                           return handle.WriteReport({buffer, length}, count, timeoutMs);
                       });
}

bool CHidDevice::SetOutputReport(const std::uint8_t* buffer, std::size_t length) {
    const auto handle = CurrentHandle();
    return handle && buffer != nullptr && length > 0 && handle->SetOutputReport({buffer, length});
}

void CHidDevice::CancelTransfer() {
    if (const auto handle = CurrentHandle()) {
        handle->Cancel();
    }
}

std::vector<std::uint8_t>& CHidDevice::ReportBuffer(HidReportType type) {
    return m_reportBuffers[Index(type)];
}

std::vector<HidData>& CHidDevice::Data(HidReportType type) {
    return m_data[Index(type)];
}

const std::vector<HidButtonCaps>& CHidDevice::ButtonCaps(HidReportType type) const {
    const HidCollection* collection = PreparsedData();
    return collection != nullptr ? collection->ButtonCaps(type) : kNoButtonCaps;
}

const std::vector<HidValueCaps>& CHidDevice::ValueCaps(HidReportType type) const {
    const HidCollection* collection = PreparsedData();
    return collection != nullptr ? collection->ValueCaps(type) : kNoValueCaps;
}

std::vector<HidData> MakeReportData(const HidCollection& collection, HidReportType type) {
    std::vector<HidData> data;
    for (const auto& button : collection.ButtonCaps(type)) {
        HidData entry;
        entry.isButton = true;
        entry.usagePage = button.usagePage;
        entry.reportId = button.reportId;
        entry.usageMin = button.usageMin;
        entry.usageMax = button.usageMax;
        entry.maxUsageListLength = collection.MaxUsageListLength(type, button.usagePage);
        entry.usages.assign(entry.maxUsageListLength, 0);
        data.push_back(std::move(entry));
    }
    for (const auto& value : collection.ValueCaps(type)) {
        for (std::uint32_t usage = value.usageMin; usage <= value.usageMax; ++usage) {
            HidData entry;
            entry.usagePage = value.usagePage;
            entry.reportId = value.reportId;
            entry.usage = static_cast<std::uint16_t>(usage);
            data.push_back(std::move(entry));
        }
    }
    return data;
}

bool UnpackReport(std::span<const std::uint8_t> report, HidReportType type, std::span<HidData> data,
                  const HidCollection& preparsed) {
    if (report.empty()) {
        return false;
    }
    const std::uint8_t reportId = report[0];
    for (auto& entry : data) {
        if (entry.reportId != reportId) {
            continue;
        }
        if (entry.isButton) {
            entry.usages.resize(entry.maxUsageListLength);
            std::size_t count = 0;
            entry.status = preparsed.GetUsages(type, entry.usagePage, report, entry.usages, count);
            // Keep, in order, only the usages of this item's range.
            const auto inRange = [&](std::uint16_t usage) {
                return usage >= entry.usageMin && usage <= entry.usageMax;
            };
            const auto end = std::stable_partition(
                entry.usages.begin(), entry.usages.begin() + static_cast<std::ptrdiff_t>(count),
                inRange);
            std::fill(end, entry.usages.end(), std::uint16_t{0});
        } else {
            std::uint32_t value = 0;
            entry.status =
                preparsed.GetUsageValue(type, entry.usagePage, entry.usage, report, value);
            if (entry.status != kHidStatusSuccess) {
                return false;
            }
            entry.value = value;
            std::int32_t scaled = 0;
            entry.status =
                preparsed.GetScaledUsageValue(type, entry.usagePage, entry.usage, report, scaled);
            entry.scaledValue = scaled;
        }
        entry.isSet = true;
    }
    return true;
}

} // namespace q407::hid
