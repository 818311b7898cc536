#pragma once

// The files of the update flow: the server settings in the config folder, the record of the last
// check in the user folder, and the folder downloads go to.
//
// "update.json" in the config folder (optional; every member optional):
//   { "BaseUrl": "https://updates.example/api/", "CaFile": "/path/to/authorities.pem" }
// BaseUrl is where "updates" is asked; it must be https (plain http only to this machine).
// CaFile names certificate authorities trusted instead of the system's, for a private server.

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace q407::update {

inline constexpr const char* kDefaultUpdateBaseUrl = "https://updates.q407.invalid/api/";

struct UpdateServerSettings {
    std::string baseUrl = kDefaultUpdateBaseUrl; // always ends in "/"
    std::filesystem::path caFile;                // empty: the system's authorities
};

std::filesystem::path UpdateSettingsFile();    // config folder / "update.json"
std::filesystem::path UpdateTimeFile();        // user folder / "updatetime.config"
std::filesystem::path DefaultDownloadFolder(); // cache folder / "UpdateData"

// Reads the server settings; a missing or unusable file, or an unusable member, gives the
// defaults for what it could not supply.
UpdateServerSettings LoadUpdateServerSettings(const std::filesystem::path& file);

// "%d-%d-%d" of year, month and day, without zero padding.
std::string DateText(const std::tm& date);
std::string TodayText();

// The date stored under "updatelasttime"."value"; nullopt when the file, the member or its
// string value is missing.
std::optional<std::string> ReadLastCheckDate(const std::filesystem::path& file);

// Stores `date` under "updatelasttime"."value", keeping the file's other members.
bool WriteLastCheckDate(const std::filesystem::path& file, const std::string& date);

} // namespace q407::update
