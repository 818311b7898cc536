#pragma once

// The components the settings window offers for updating, and how the main window fills in
// their installed versions from its device selector entries.

#include "update/UpdateTypes.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace q407::update {

inline constexpr std::size_t kUpdateComponentCount = 5;

// What the main window knows about its k-th device selector entry when the window opens.
struct SelectorEntryState {
    bool open = false;                // the page's command connection is open
    bool wirelessReachable = false;   // a wireless page whose link query answered
    bool shown = false;               // the entry is visible
    std::int32_t receiverVersion = 0; // version number of the receiver interface's attributes
    std::int32_t cableVersion = 0;    // version number of the cable interface's attributes
};

// The five rows, parallel to the device option table, all with version 0: three mice and a
// board in hexadecimal, and the application itself ("ALL", decimal).
std::vector<UpdateComponent> UpdateComponentTable();

// Fills the installed versions: entry k gives row k its receiver version (and, when shown,
// connection 2) if it is wireless and reachable, its cable version if it is open otherwise, 0
// when closed; when the last open entry was a reachable wireless one, row 0's connection
// becomes 2. The application row gets `applicationVersion`. Entries past the table are ignored.
std::vector<UpdateComponent> BuildUpdateComponents(std::span<const SelectorEntryState> entries,
                                                   std::int32_t applicationVersion);

// The rows to hand to the settings window: those with an installed version, in table order.
std::vector<UpdateComponent> OfferedComponents(const std::vector<UpdateComponent>& rows);

// The program's own version text as a number: every "." removed, read as a decimal integer
// ("1.0.1" gives 101); 0 when it does not start with a digit.
std::int32_t ApplicationVersionNumber(std::string_view versionText);

} // namespace q407::update
