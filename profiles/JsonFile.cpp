#include "profiles/JsonFile.h"

#include "common/AtomicFile.h"
#include "common/Diag.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <json/reader.h>
#include <json/writer.h>
#include <memory>

namespace q407::profiles {
namespace {

// Our files nest a few levels deep; a hostile file nested thousands of levels deep must not
// exhaust the stack of the parser, the writer or the destructor.
constexpr int kMaxNesting = 64;

const Json::Value& Null() {
    return Json::Value::nullSingleton();
}

void ReportUnreadable(int code) {
    diag::Printf("readjsonFile 错误吗：：%d\n", code);
}

} // namespace

Json::Value ParseJsonText(const std::string& text, bool* ok) {
    Json::CharReaderBuilder builder;
    builder["allowComments"] = true;
    builder["collectComments"] = false;
    builder["stackLimit"] = kMaxNesting;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    std::string errors;
    bool parsed = false;
    try {
        parsed = reader->parse(text.data(), text.data() + text.size(), &value, &errors);
    } catch (const std::exception&) { // the parser throws when the nesting limit is exceeded
        parsed = false;
    }
    if (ok != nullptr) {
        *ok = parsed;
    }
    return parsed ? value : Json::Value();
}

JsonDocument ReadJsonDocument(const std::filesystem::path& path) {
    JsonDocument document;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        ReportUnreadable(ec ? ec.value() : ENOENT);
        document.state = JsonFileState::Missing;
        return document;
    }
    const auto text = ReadFileBounded(path, kMaxJsonFileBytes);
    if (!text) {
        ReportUnreadable(EFBIG);
        document.state = JsonFileState::Invalid;
        return document;
    }
    if (text->empty()) {
        diag::Line(path.string());
        document.state = JsonFileState::Empty;
        return document;
    }
    bool parsed = false;
    document.value = ParseJsonText(*text, &parsed);
    document.state = parsed ? JsonFileState::Ok : JsonFileState::Invalid;
    return document;
}

Json::Value ReadJsonFile(const std::filesystem::path& path) {
    return ReadJsonDocument(path).value;
}

std::string StyledJsonText(const Json::Value& value) {
    Json::StyledWriter writer;
    std::string text = writer.write(value);
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    text += '\n';
    return text;
}

bool WriteJsonFile(const Json::Value& value, const std::filesystem::path& path) {
    if (!path.has_filename()) {
        diag::Line("no file to write: \"" + path.string() + "\"");
        return false;
    }
    std::string error;
    if (!WriteFileAtomically(path, StyledJsonText(value), &error)) {
        diag::Line(error);
        return false;
    }
    return true;
}

bool SetAsideDamagedFile(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::rename(path, path.string() + ".bak", ec);
    if (ec) {
        diag::Line("cannot keep the damaged file " + path.string() + ": " + ec.message());
        return false;
    }
    return true;
}

const Json::Value& Member(const Json::Value& object, const char* key) {
    return object.isObject() ? object[key] : Null();
}

const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index) {
    return array.isArray() && index < array.size() ? array[index] : Null();
}

int AsInt(const Json::Value& value) {
    if (value.isBool()) {
        return value.asBool() ? 1 : 0;
    }
    if (value.isInt()) {
        return value.asInt();
    }
    if (value.type() == Json::realValue) {
        const double real = value.asDouble();
        if (std::isfinite(real) && real >= INT_MIN && real <= INT_MAX) {
            return static_cast<int>(real);
        }
    }
    return 0;
}

int AsBool(const Json::Value& value) {
    switch (value.type()) {
    case Json::booleanValue:
        return value.asBool() ? 1 : 0;
    case Json::intValue:
        return value.asLargestInt() != 0 ? 1 : 0;
    case Json::uintValue:
        return value.asLargestUInt() != 0 ? 1 : 0;
    case Json::realValue:
        return value.asDouble() != 0.0 ? 1 : 0;
    default:
        return 0;
    }
}

std::string AsString(const Json::Value& value) {
    return value.isString() ? value.asString() : std::string();
}

Json::Value& MutableMember(Json::Value& object, const char* key) {
    if (!object.isObject()) {
        object = Json::Value(Json::objectValue);
    }
    return object[key];
}

Json::Value& MutableElement(Json::Value& array, Json::ArrayIndex index) {
    if (!array.isArray()) {
        array = Json::Value(Json::arrayValue);
    }
    return array[index];
}

} // namespace q407::profiles
