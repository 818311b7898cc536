#include "hid/HidBackend.h"

#include <algorithm>

namespace q407::hid {

void PathOwners::Listed(const std::string& path, const std::string& instance) {
    m_owners.emplace(path, instance);
}

void PathOwners::EndListing(const std::vector<std::string>& listed) {
    std::erase_if(m_owners, [&](const auto& item) {
        return std::find(listed.begin(), listed.end(), item.first) == listed.end();
    });
}

bool PathOwners::StillOwnedBy(std::string_view path, const std::string& instance) {
    const auto owner = m_owners.find(path);
    if (owner != m_owners.end() && owner->second != instance) {
        m_owners.erase(owner);
        return false;
    }
    return true;
}

} // namespace q407::hid

namespace q407::hid::report_rules {

InputVerdict TakeInputReport(const HidCollection& collection, std::span<const std::uint8_t> raw,
                             std::span<std::uint8_t> buffer, std::size_t& transferred) {
    transferred = 0;
    if (raw.empty() || !collection.HasReport(HidReportType::Input, raw[0])) {
        return InputVerdict::NotMine;
    }
    if (raw.size() < collection.ReportByteLength(HidReportType::Input, raw[0])) {
        return InputVerdict::Short;
    }
    const std::size_t length =
        std::min<std::size_t>(collection.Caps().inputReportByteLength, buffer.size());
    const std::size_t copied = std::min(length, raw.size());
    std::copy_n(raw.begin(), copied, buffer.begin());
    std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(copied), buffer.end(), std::uint8_t{0});
    transferred = length;
    return InputVerdict::Deliver;
}

bool PrepareOutputReport(const HidCollection& collection, std::span<const std::uint8_t> report,
                         std::vector<std::uint8_t>& out) {
    out.clear();
    const std::size_t length = collection.Caps().outputReportByteLength;
    if (report.empty() || report.size() > length ||
        !collection.HasReport(HidReportType::Output, report[0])) {
        return false;
    }
    out.assign(report.begin(), report.end());
    out.resize(length, 0);
    return true;
}

} // namespace q407::hid::report_rules
