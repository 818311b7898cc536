#include "update/UpdateFiles.h"

#include "common/AtomicFile.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "update/UpdateProtocol.h"

#include <json/json.h>
#include <memory>

namespace q407::update {
namespace {

constexpr std::size_t kMaxFileBytes = 64 * 1024;

std::optional<Json::Value> ReadJsonObject(const std::filesystem::path& file) {
    const auto text = ReadFileBounded(file, kMaxFileBytes);
    if (!text) {
        return std::nullopt;
    }
    auto root = ParseJsonObject(*text);
    if (!root) {
        diag::Printf("update: %s is not a JSON object", file.c_str());
    }
    return root;
}

std::string ToStyledText(const Json::Value& root) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "   ";
    return Json::writeString(builder, root) + "\n";
}

} // namespace

std::filesystem::path UpdateSettingsFile() {
    return paths::ConfigDir() / "update.json";
}

std::filesystem::path UpdateTimeFile() {
    return paths::UserDir() / "updatetime.config";
}

std::filesystem::path DefaultDownloadFolder() {
    return paths::CacheDir() / "UpdateData";
}

UpdateServerSettings LoadUpdateServerSettings(const std::filesystem::path& file) {
    UpdateServerSettings settings;
    const auto root = ReadJsonObject(file);
    if (!root) {
        return settings;
    }
    if (const Json::Value& url = (*root)["BaseUrl"]; url.isString()) {
        std::string text = url.asString();
        if (!text.empty() && text.back() != '/') {
            text += '/';
        }
        if (IsAllowedDownloadUrl(text)) {
            settings.baseUrl = text;
        } else {
            diag::Line("update: BaseUrl must be https (http only to this machine); default used");
        }
    }
    if (const Json::Value& ca = (*root)["CaFile"]; ca.isString()) {
        settings.caFile = ca.asString();
    }
    return settings;
}

std::string DateText(const std::tm& date) {
    return std::to_string(date.tm_year + 1900) + "-" + std::to_string(date.tm_mon + 1) + "-" +
           std::to_string(date.tm_mday);
}

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return DateText(local);
}

std::optional<std::string> ReadLastCheckDate(const std::filesystem::path& file) {
    const auto root = ReadJsonObject(file);
    if (!root) {
        return std::nullopt;
    }
    const Json::Value& record = (*root)["updatelasttime"];
    if (!record.isObject() || !record["value"].isString()) {
        return std::nullopt;
    }
    return record["value"].asString();
}

bool WriteLastCheckDate(const std::filesystem::path& file, const std::string& date) {
    Json::Value root = ReadJsonObject(file).value_or(Json::Value(Json::objectValue));
    if (!root["updatelasttime"].isObject()) {
        root["updatelasttime"] = Json::Value(Json::objectValue);
    }
    root["updatelasttime"]["value"] = date;
    std::string error;
    if (!WriteFileAtomically(file, ToStyledText(root), &error)) {
        diag::Printf("update: %s", error.c_str());
        return false;
    }
    return true;
}

} // namespace q407::update
