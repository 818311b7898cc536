#pragma once

// Table-driven conversion between a fixed-layout record and the members of a JSON object, so
// each record's member names are listed once and read and written by the same table.

#include "profiles/JsonFile.h"

#include <array>
#include <cstddef>
#include <json/value.h>

namespace q407::profiles::detail {

enum class ReadAs { Int, Bool };

template <typename Record, typename Field>
struct FieldSpec {
    const char* key;
    Field Record::*member;
    ReadAs readAs = ReadAs::Int;
};

// Members missing from `object` (or a missing object) read as 0.
template <typename Record, typename Field, std::size_t N>
void ReadFields(const Json::Value& object, Record& record,
                const std::array<FieldSpec<Record, Field>, N>& fields) {
    for (const auto& field : fields) {
        const Json::Value& value = Member(object, field.key);
        record.*field.member =
            static_cast<Field>(field.readAs == ReadAs::Bool ? AsBool(value) : AsInt(value));
    }
}

// Every field is written as a JSON integer, booleans included.
template <typename Record, typename Field, std::size_t N>
void WriteFields(Json::Value& object, const Record& record,
                 const std::array<FieldSpec<Record, Field>, N>& fields) {
    for (const auto& field : fields) {
        MutableMember(object, field.key) = Json::Value(static_cast<int>(record.*field.member));
    }
}

} // namespace q407::profiles::detail
