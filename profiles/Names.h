#pragma once

// Names of stored items: the time-stamp identifiers that name profile and macro files, the check
// that keeps identifiers read from files inside their folder, and the case-insensitive naming
// rules of the user's lists.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace q407::profiles {

using WallClock = std::function<std::chrono::system_clock::time_point()>;

struct LocalTime {
    int year = 0;
    int month = 0; // 1-12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

LocalTime ToLocalTime(std::chrono::system_clock::time_point when);

// "%d_%02d_%02d_%02d_%02d_%02d_%03d": year, month, day, hour, minute, second, millisecond.
std::string FormatTimestampName(const LocalTime& time);

// The time-stamp name of `when` in local time.
std::string MakeTimestampName(std::chrono::system_clock::time_point when);

// A time-stamp name that `taken` rejects for no item: two items made within one millisecond
// would otherwise share one file, so a taken name moves on to the next millisecond.
std::string MakeUniqueTimestampName(const WallClock& clock,
                                    const std::function<bool(const std::string&)>& taken);

// True when `stem` may name a file in a data folder: 1-128 characters of letters, digits, '_',
// '-', '.', '{' and '}', not starting with '.', and not a name other systems reserve for devices
// ("con", "nul", "com1", ...). Identifiers read from files are checked with it before any file
// is opened, written or deleted, so an edited file can never reach outside its folder.
bool IsSafeFileStem(std::string_view stem);

// Letter case is ignored for ASCII letters; other bytes compare exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool ContainsIgnoringCase(const std::vector<std::string>& names, std::string_view name);

// True for an empty name or one of white space only.
bool IsBlank(std::string_view name);

// The first `prefix` + k (k = 1, 2, ...) that is not in `names`.
std::string FirstFreeNumberedName(const std::vector<std::string>& names, std::string_view prefix);

// Appends `suffix(n)` to the candidate, n = 1, 2, ..., while the candidate is in `names`; each
// suffix is added to the previous candidate (a, a_1, a_1_2 ...).
std::string UniqueBySuffix(const std::vector<std::string>& names, std::string candidate,
                           const std::function<std::string(int)>& suffix);

} // namespace q407::profiles
