#pragma once

// The JSON file helpers every stored list uses: bounded reading (comments allowed, never an
// exception, never an unbounded allocation), styled writing (three-space indentation, right
// margin 74, one trailing line feed) through an atomic replace, and accessors that read a member
// of any type without throwing, because files edited outside the program may hold anything.

#include <cstddef>
#include <filesystem>
#include <json/value.h>
#include <string>

namespace q407::profiles {

// Largest JSON file read. A keyboard profile with every colour group stays far below this.
inline constexpr std::size_t kMaxJsonFileBytes = 8u << 20;

enum class JsonFileState {
    Missing, // no such file (or not a regular file)
    Empty,   // zero bytes
    Invalid, // unreadable, too large, or not parsable as JSON
    Ok,
};

struct JsonDocument {
    Json::Value value;
    JsonFileState state = JsonFileState::Missing;
};

// Reads and parses a JSON file. Anything but a parsable file gives a null value; `state` tells
// the callers that must not overwrite a damaged file why.
JsonDocument ReadJsonDocument(const std::filesystem::path& path);

// The value of ReadJsonDocument: null for a missing, empty, damaged or huge file.
Json::Value ReadJsonFile(const std::filesystem::path& path);

// Parses JSON text with the same rules as ReadJsonFile; null when it does not parse (and `ok`,
// when given, tells whether it did).
Json::Value ParseJsonText(const std::string& text, bool* ok = nullptr);

// The styled text of a value, ending in exactly one line feed.
std::string StyledJsonText(const Json::Value& value);

// Writes the styled text atomically. False (and a diagnostic line) when the write failed; the
// previous file is then untouched.
bool WriteJsonFile(const Json::Value& value, const std::filesystem::path& path);

// Moves a damaged file out of the way as `path` + ".bak" before a fresh file replaces it, so the
// user's data is never overwritten. False (and a diagnostic line) when it could not be moved.
bool SetAsideDamagedFile(const std::filesystem::path& path);

// --- Reading members of untrusted documents -------------------------------------------------

// The member `key` of `object`, or a null value when `object` is not an object.
const Json::Value& Member(const Json::Value& object, const char* key);
// Element `index` of `array`, or a null value when `array` is not an array or too short.
const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index);

// Integers: JSON integers, booleans (0/1) and finite reals in range; anything else reads as 0.
int AsInt(const Json::Value& value);
// Booleans: true/false or numbers (non-zero is 1); anything else reads as 0.
int AsBool(const Json::Value& value);
// Strings: the text of a string value, empty for anything else.
std::string AsString(const Json::Value& value);

// --- Writing members ----------------------------------------------------------------------

// The member `key` of `object` for writing; `object` becomes an empty object first when it is
// of another type (a damaged entry is replaced rather than aborting the write).
Json::Value& MutableMember(Json::Value& object, const char* key);
// Element `index` of `array` for writing; `array` becomes an empty array first when it is of
// another type, and grows with null elements up to `index`.
Json::Value& MutableElement(Json::Value& array, Json::ArrayIndex index);

} // namespace q407::profiles
