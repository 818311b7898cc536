#pragma once

// The conversation with the update server, without the network: what is sent for a component,
// how an answer is read and judged, and which names and addresses may be used for a download.
// CheckForUpdate puts these together with one HTTP request.

#include "update/UpdateTypes.h"

#include <cstdint>
#include <filesystem>
#include <json/value.h>
#include <optional>
#include <string>
#include <string_view>

namespace q407::update {

class HttpCancel;

// The answer buffer of one update request.
inline constexpr std::size_t kUpdateAnswerCapacity = 102400;

// What the server says about one component; absent members read as empty or 0.
struct ServerAnswer {
    std::string path; // download URL
    std::string name;
    std::string versionName;
    std::string version;
    std::int32_t deviceId = 0;
    // "sha256" of the file at "path": absent when the server names none; a member that is not
    // a string reads as an empty text, which no download can match.
    std::optional<std::string> sha256 = std::nullopt;
};

// "<vendor>_<hexVersions>_<chip>_<type>_<connection>", identifying the component to the server.
std::string BuildAppKey(const UpdateComponent& component);

// The form body "app_key=...&version=..." with the version in hexadecimal or decimal, followed by
// the terminating zero byte the server expects.
std::string BuildRequestBody(std::string_view appKey, std::int32_t installedVersion, bool hex);

// Reads a JSON object from outside input; nullopt when it is not one (or nests too deeply).
std::optional<Json::Value> ParseJsonObject(std::string_view text);

// Reads an answer; nullopt when it is not a JSON object.
std::optional<ServerAnswer> ParseUpdateAnswer(std::string_view text);

// The server's version text as an unsigned number in base 16 or 10: leading blanks and (in
// base 16) a "0x" are skipped, reading stops at the first other character, values saturate at
// 0xFFFFFFFF, and text without digits (or with a minus sign) reads as 0.
std::uint32_t ParseServerVersion(std::string_view text, bool hex);

// How an installed version is shown once an answer arrived: "V%04x" or "V0%d".
std::string InstalledVersionText(std::int32_t version, bool hex);

// Judges an answer for a component at `installedVersion`. The result has status 1 when the
// server's version is newer, else 7. An answer whose name could not serve as a file name, that
// offers a newer version at an address downloads may not use, or whose "sha256" is not 64
// hexadecimal digits, comes back with an empty name: it is unusable and treated as no answer.
UpdateInfo EvaluateAnswer(const ServerAnswer& answer, std::int32_t installedVersion, bool hex);

// Asks the server at `baseUrl` (ending in "/") about one component. When no usable bytes
// arrived the result carries only a name: the no-connection marker when the request could not
// be sent, else empty.
UpdateInfo CheckForUpdate(std::string_view baseUrl, std::string_view appKey,
                          std::int32_t installedVersion, bool hex, HttpCancel* cancel = nullptr);

// A name may become a file name in the download folder: not empty, at most 128 bytes, no path
// separators, no control characters, not starting with a dot.
bool IsSafeFileName(std::string_view name);

// Programs are fetched only over https; plain http is allowed to this machine alone
// (IsLoopbackUrl), for local test servers.
bool IsAllowedDownloadUrl(std::string_view url);

// Where the file for a row named `name` goes: `folder` / name, plus the extension of the URL's
// last path segment when it has a short alphanumeric one. Empty when the name is unsafe.
std::filesystem::path DownloadFilePath(const std::filesystem::path& folder, std::string_view name,
                                       std::string_view url);

} // namespace q407::update
