#include "update/UpdateComponents.h"

#include "update/UpdateProtocol.h"

#include <algorithm>
#include <string>

namespace q407::update {
namespace {

UpdateComponent Row(std::int32_t hexVersions, const char* chip, const char* type, const char* name,
                    const char* versionText) {
    UpdateComponent row;
    row.hexVersions = hexVersions;
    row.connection = 1;
    row.vendor = "Q407";
    row.chip = chip;
    row.type = type;
    row.name = name;
    row.versionText = versionText;
    return row;
}

} // namespace

std::vector<UpdateComponent> UpdateComponentTable() {
    return {Row(1, "M1", "MS", "Ms", ""), Row(1, "M2", "MS", "Ms", ""),
            Row(1, "M3", "MS", "Ms", ""), Row(2, "T62B", "KB", "T62", ""),
            Row(0, "ALL", "AP", "Driver", "V0101")};
}

std::vector<UpdateComponent> BuildUpdateComponents(std::span<const SelectorEntryState> entries,
                                                   std::int32_t applicationVersion) {
    std::vector<UpdateComponent> rows = UpdateComponentTable();
    const std::size_t deviceRows = rows.size() - 1;
    bool lastOpenWasWireless = false;
    for (std::size_t k = 0; k < entries.size() && k < deviceRows; ++k) {
        const SelectorEntryState& entry = entries[k];
        if (!entry.open) {
            rows[k].version = 0;
            continue;
        }
        lastOpenWasWireless = entry.wirelessReachable;
        if (entry.wirelessReachable) {
            rows[k].version = entry.receiverVersion;
            if (entry.shown) {
                rows[k].connection = 2;
            }
        } else {
            rows[k].version = entry.cableVersion;
        }
    }
    if (lastOpenWasWireless) {
        rows[0].connection = 2;
    }
    rows.back().version = applicationVersion;
    return rows;
}

std::vector<UpdateComponent> OfferedComponents(const std::vector<UpdateComponent>& rows) {
    std::vector<UpdateComponent> offered;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(offered),
                 [](const UpdateComponent& row) { return row.version != 0; });
    return offered;
}

std::int32_t ApplicationVersionNumber(std::string_view versionText) {
    std::string digits;
    std::copy_if(versionText.begin(), versionText.end(), std::back_inserter(digits),
                 [](char c) { return c != '.'; });
    const std::uint32_t value = ParseServerVersion(digits, false);
    return static_cast<std::int32_t>(std::min<std::uint32_t>(value, INT32_MAX));
}

} // namespace q407::update
