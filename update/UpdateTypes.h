#pragma once

// The records of the update flow: the components the main window offers for updating, the
// server's answer for one of them, and the states of a row and of the whole window.

#include <cstdint>
#include <string>

namespace q407::update {

// One updatable component, as the main window hands it over.
struct UpdateComponent {
    std::int32_t hexVersions = 0; // non-zero: versions are written and compared in hexadecimal
    std::int32_t connection = 1;  // 2 when the device is reached through its receiver
    std::int32_t version = 0;     // installed version; 0 = not present
    std::string vendor;
    std::string chip; // "ALL" for the application itself
    std::string type;
    std::string name;        // shown to the user and used for the downloaded file's name
    std::string versionText; // installed version as shown, for decimal components
};

// Row states; the numbers are the ones the row control shows.
enum class RowState : std::int32_t {
    Unknown = 0,
    UpdateAvailable = 1,
    UpdateAvailableAlt = 2, // accepted like 1, never produced
    WaitingForDownload = 3,
    Downloading = 4,
    Downloaded = 5,
    Installing = 6,
    UpToDate = 7,
    Failed = 8,
};

// Window status, shown in the status line.
enum class WindowStatus : std::int32_t {
    Checking = 0,
    UpdatesAvailable = 1,
    NoInformation = 2,
    Updating = 3,
    UpToDate = 4,
};

// The answer for one component and the state of its row.
struct UpdateInfo {
    RowState status = RowState::Unknown;
    std::int32_t deviceId = 0; // 1: hand the file to the desktop and do not wait for it
    std::string name;
    std::string installedVersionText; // "OldRev"
    std::string versionName;          // "version_name" of the answer
    std::string serverVersionText;    // "updateRev"; empty when there is nothing newer
    std::string downloadUrl;          // "path" of the answer
    std::string sha256;               // "sha256" of the answer; empty when it named none
    std::string filePath;             // where the download goes; empty when the name is unusable
};

} // namespace q407::update
