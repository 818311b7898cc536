#include "profiles/Names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <ctime>

namespace q407::profiles {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsReservedDeviceName(std::string_view stem) {
    const auto dot = stem.find('.');
    const std::string_view base = stem.substr(0, dot);
    static constexpr std::array<std::string_view, 4> kFixed{"con", "prn", "aux", "nul"};
    for (const auto name : kFixed) {
        if (EqualsIgnoringCase(base, name)) {
            return true;
        }
    }
    if (base.size() == 4 && base[3] >= '0' && base[3] <= '9') {
        const std::string_view head = base.substr(0, 3);
        return EqualsIgnoringCase(head, "com") || EqualsIgnoringCase(head, "lpt");
    }
    return false;
}

} // namespace

LocalTime ToLocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto sinceEpoch = when.time_since_epoch();
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000;
    if (millis < 0) {
        millis += 1000;
    }
    std::tm parts{};
    ::localtime_r(&seconds, &parts);
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,           parts.tm_hour,
                     parts.tm_min,         parts.tm_sec,     static_cast<int>(millis)};
}

std::string FormatTimestampName(const LocalTime& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second, time.millisecond);
    return text;
}

std::string MakeTimestampName(std::chrono::system_clock::time_point when) {
    return FormatTimestampName(ToLocalTime(when));
}

std::string MakeUniqueTimestampName(const WallClock& clock,
                                    const std::function<bool(const std::string&)>& taken) {
    auto when = clock ? clock() : std::chrono::system_clock::now();
    std::string name = MakeTimestampName(when);
    while (taken(name)) {
        when += std::chrono::milliseconds(1);
        name = MakeTimestampName(when);
    }
    return name;
}

bool IsSafeFileStem(std::string_view stem) {
    if (stem.empty() || stem.size() > 128 || stem.front() == '.') {
        return false;
    }
    const bool allowed = std::all_of(stem.begin(), stem.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) != 0 || c == '_' || c == '-' || c == '.' || c == '{' || c == '}';
    });
    return allowed && !IsReservedDeviceName(stem);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

bool ContainsIgnoringCase(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& other) { return EqualsIgnoringCase(other, name); });
}

bool IsBlank(std::string_view name) {
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

std::string FirstFreeNumberedName(const std::vector<std::string>& names, std::string_view prefix) {
    for (int k = 1;; ++k) {
        std::string candidate = std::string(prefix) + std::to_string(k);
        if (!ContainsIgnoringCase(names, candidate)) {
            return candidate;
        }
    }
}

std::string UniqueBySuffix(const std::vector<std::string>& names, std::string candidate,
                           const std::function<std::string(int)>& suffix) {
    for (int n = 1; ContainsIgnoringCase(names, candidate); ++n) {
        candidate += suffix(n);
    }
    return candidate;
}

} // namespace q407::profiles
