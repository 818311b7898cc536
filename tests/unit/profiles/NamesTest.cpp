#include "profiles/Names.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <set>

namespace q407::profiles {
namespace {

using namespace std::chrono;

// 2024-03-05 07:08:09.010 UTC.
system_clock::time_point SampleTime() {
    return system_clock::time_point(seconds(1709622489)) + milliseconds(10);
}

class LocalZone {
public:
    explicit LocalZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~LocalZone() {
        if (m_old.empty()) {
            ::unsetenv("TZ");
        } else {
            ::setenv("TZ", m_old.c_str(), 1);
        }
        ::tzset();
    }

private:
    std::string m_old;
};

TEST(TimestampName, FormatsLocalTimeToTheMillisecond) {
    LocalZone utc("UTC");
    EXPECT_EQ(MakeTimestampName(SampleTime()), "2024_03_05_07_08_09_010");
    LocalZone plusTwo("XYZ-2");
    EXPECT_EQ(MakeTimestampName(SampleTime()), "2024_03_05_09_08_09_010") << "local time is used";
    EXPECT_EQ(FormatTimestampName({2030, 12, 31, 23, 59, 58, 999}), "2030_12_31_23_59_58_999");
}

TEST(TimestampName, TakenNamesMoveOnToTheNextMillisecond) {
    LocalZone utc("UTC");
    const WallClock frozen = [] { return SampleTime(); };
    std::set<std::string> taken;
    for (int i = 0; i < 3; ++i) {
        taken.insert(MakeUniqueTimestampName(
            frozen, [&](const std::string& name) { return taken.count(name) > 0; }));
    }
    EXPECT_EQ(taken, (std::set<std::string>{"2024_03_05_07_08_09_010", "2024_03_05_07_08_09_011",
                                            "2024_03_05_07_08_09_012"}));
}

TEST(SafeFileStem, AcceptsIdentifiersAndRefusesHostileNames) {
    for (const char* good : {"2024_03_05_07_08_09_010", "{0A1B-22}", "macro.v2", "Console"}) {
        EXPECT_TRUE(IsSafeFileStem(good)) << good;
    }
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "..\\..\\x", ".hidden", "con",
                            "CON", "nul.txt", "com1", "LPT9", "a b", "tab\there", "x:y", "a*"}) {
        EXPECT_FALSE(IsSafeFileStem(bad)) << bad;
    }
    EXPECT_FALSE(IsSafeFileStem(std::string(129, 'a')));
    EXPECT_TRUE(IsSafeFileStem(std::string(128, 'a')));
    EXPECT_FALSE(IsSafeFileStem(std::string("a\0b", 3)));
}

TEST(UserNames, CompareWithoutLetterCase) {
    EXPECT_TRUE(EqualsIgnoringCase("Profile1", "PROFILE1"));
    EXPECT_FALSE(EqualsIgnoringCase("Profile1", "Profile10"));
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_TRUE(IsBlank(" \t "));
    EXPECT_FALSE(IsBlank(" a "));
}

} // namespace
} // namespace q407::profiles
