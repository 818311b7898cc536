#include "update/UpdateProtocol.h"

#include "common/Diag.h"
#include "update/HttpClient.h"
#include "update/Sha256.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <curl/curl.h>
#include <json/json.h>
#include <memory>
#include <vector>

namespace q407::update {
namespace {

bool IsUnreserved(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.' || c == '~';
}

// Form encoding; the component texts are plain, so this normally changes nothing.
std::string FormEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsUnreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string StringMember(const Json::Value& object, const char* key) {
    const Json::Value& value = object[key];
    return value.isString() ? value.asString() : std::string();
}

std::int32_t IntMember(const Json::Value& object, const char* key) {
    const Json::Value& value = object[key];
    return value.isInt() ? value.asInt() : 0;
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

std::string UrlPart(std::string_view url, CURLUPart which) {
    struct Deleter {
        void operator()(CURLU* parts) const { curl_url_cleanup(parts); }
    };
    std::unique_ptr<CURLU, Deleter> parts(curl_url());
    const std::string text(url);
    char* value = nullptr;
    if (!parts || curl_url_set(parts.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK ||
        curl_url_get(parts.get(), which, &value, 0) != CURLUE_OK) {
        return {};
    }
    std::string result(value);
    curl_free(value);
    return result;
}

} // namespace

std::string BuildAppKey(const UpdateComponent& component) {
    return component.vendor + "_" + std::to_string(component.hexVersions) + "_" + component.chip +
           "_" + component.type + "_" + std::to_string(component.connection);
}

std::string BuildRequestBody(std::string_view appKey, std::int32_t installedVersion, bool hex) {
    char version[16];
    std::snprintf(version, sizeof version, hex ? "%x" : "%d",
                  hex ? static_cast<unsigned>(installedVersion) : installedVersion);
    std::string body = "app_key=" + FormEncode(appKey) + "&version=" + version;
    body.push_back('\0');
    return body;
}

std::optional<Json::Value> ParseJsonObject(std::string_view text) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = 64;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors) ||
            !root.isObject()) {
            return std::nullopt;
        }
    } catch (const Json::Exception&) {
        return std::nullopt; // nesting deeper than the limit
    }
    return root;
}

std::optional<ServerAnswer> ParseUpdateAnswer(std::string_view text) {
    const auto parsed = ParseJsonObject(text);
    if (!parsed) {
        return std::nullopt;
    }
    const Json::Value& root = *parsed;
    ServerAnswer answer;
    answer.path = StringMember(root, "path");
    answer.name = StringMember(root, "name");
    answer.versionName = StringMember(root, "version_name");
    answer.version = StringMember(root, "version");
    answer.deviceId = IntMember(root, "device_id");
    if (root.isMember("sha256")) {
        answer.sha256 = StringMember(root, "sha256");
    }
    return answer;
}

std::uint32_t ParseServerVersion(std::string_view text, bool hex) {
    const int base = hex ? 16 : 10;
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    if (i < text.size() && text[i] == '+') {
        ++i;
    }
    if (hex && text.size() - i >= 3 && text[i] == '0' &&
        (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2]) < base) {
        i += 2;
    }
    std::uint64_t value = 0;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        value = std::min<std::uint64_t>(value * static_cast<std::uint64_t>(base) +
                                            static_cast<std::uint64_t>(DigitValue(text[i])),
                                        UINT32_MAX);
    }
    return static_cast<std::uint32_t>(value);
}

std::string InstalledVersionText(std::int32_t version, bool hex) {
    char text[24];
    if (hex) {
        std::snprintf(text, sizeof text, "V%04x", static_cast<unsigned>(version));
    } else {
        std::snprintf(text, sizeof text, "V0%d", version);
    }
    return text;
}

UpdateInfo EvaluateAnswer(const ServerAnswer& answer, std::int32_t installedVersion, bool hex) {
    UpdateInfo info;
    info.downloadUrl = answer.path;
    info.name = answer.name;
    info.versionName = answer.versionName;
    info.serverVersionText = "V" + answer.version;
    info.deviceId = answer.deviceId;
    info.sha256 = answer.sha256.value_or(std::string());
    const std::uint32_t serverVersion = ParseServerVersion(answer.version, hex);
    info.installedVersionText = InstalledVersionText(installedVersion, hex);
    if (!hex) {
        info.serverVersionText = answer.versionName;
    }
    info.status = static_cast<std::int64_t>(installedVersion) < std::int64_t{serverVersion}
                      ? RowState::UpdateAvailable
                      : RowState::UpToDate;
    if (!info.name.empty() && !IsSafeFileName(info.name)) {
        diag::Line("update: the answer's name cannot be a file name; answer ignored");
        info.name.clear();
    } else if (info.status == RowState::UpdateAvailable &&
               !IsAllowedDownloadUrl(info.downloadUrl)) {
        diag::Line("update: the answer's download address is not allowed; answer ignored");
        info.name.clear();
    } else if (answer.sha256 && !IsSha256Hex(*answer.sha256)) {
        diag::Line("update: the answer's sha256 is not a SHA-256 digest; answer ignored");
        info.name.clear();
    }
    return info;
}

UpdateInfo CheckForUpdate(std::string_view baseUrl, std::string_view appKey,
                          std::int32_t installedVersion, bool hex, HttpCancel* cancel) {
    ResetHttpClient();
    const std::string url = std::string(baseUrl) + "updates";
    const std::string body = BuildRequestBody(appKey, installedVersion, hex);
    std::vector<char> buffer(kUpdateAnswerCapacity, '\0');
    const std::int32_t received =
        HttpRequest("POST", url, body.data(), static_cast<std::int32_t>(body.size()),
                    std::span<char>(buffer), cancel);
    UpdateInfo info;
    if (received <= 0) {
        // Nothing arrived: the buffer holds the no-connection marker or nothing at all.
        info.name.assign(buffer.data(), ::strnlen(buffer.data(), buffer.size()));
        return info;
    }
    const auto answer =
        ParseUpdateAnswer(std::string_view(buffer.data(), static_cast<std::size_t>(received)));
    if (!answer) {
        diag::Line("update: the answer is not a JSON object");
        return info;
    }
    return EvaluateAnswer(*answer, installedVersion, hex);
}

bool IsSafeFileName(std::string_view name) {
    if (name.empty() || name.size() > 128 || name.front() == '.') {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char ch) {
        const auto c = static_cast<unsigned char>(ch);
        return c == '/' || c == '\\' || c < 0x20 || c == 0x7F;
    });
}

bool IsAllowedDownloadUrl(std::string_view url) {
    std::string scheme = UrlPart(url, CURLUPART_SCHEME);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (scheme == "https") {
        return true;
    }
    return scheme == "http" && IsLoopbackUrl(url);
}

std::filesystem::path DownloadFilePath(const std::filesystem::path& folder, std::string_view name,
                                       std::string_view url) {
    if (!IsSafeFileName(name)) {
        return {};
    }
    std::string file(name);
    const std::string path = UrlPart(url, CURLUPART_PATH);
    const std::string segment = path.substr(path.find_last_of('/') + 1);
    const std::size_t dot = segment.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        const std::string extension = segment.substr(dot + 1);
        if (!extension.empty() && extension.size() <= 16 &&
            std::all_of(extension.begin(), extension.end(),
                        [](unsigned char c) { return std::isalnum(c) != 0; })) {
            file += "." + extension;
        }
    }
    const std::filesystem::path result = folder / file;
    // The name has no separator, so this holds; checked again because the file is run later.
    return result.filename() == file ? result : std::filesystem::path();
}

} // namespace q407::update
