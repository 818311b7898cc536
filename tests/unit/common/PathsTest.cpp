#include "common/Paths.h"

#include "support/ScopedEnv.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

using testutil::ScopedEnv;

TEST(Paths, UserFolderFollowsXdgAndIsCreated) {
    const auto base = fs::temp_directory_path() / "q407-paths-test";
    fs::remove_all(base);
    ScopedEnv xdg("XDG_DATA_HOME", base.c_str());
    EXPECT_EQ(q407::paths::UserDir(), base / "Q407");
    EXPECT_TRUE(fs::is_directory(base / "Q407"));
    fs::remove_all(base);
}

TEST(Paths, CacheFolderFollowsXdgAndIsCreated) {
    const auto base = fs::temp_directory_path() / "q407-cache-test";
    fs::remove_all(base);
    ScopedEnv xdg("XDG_CACHE_HOME", base.c_str());
    EXPECT_EQ(q407::paths::CacheDir(), base / "Q407");
    EXPECT_TRUE(fs::is_directory(base / "Q407"));
    fs::remove_all(base);
}

TEST(Paths, RelativeXdgValuesAreIgnored) {
    ScopedEnv home("HOME", "/home/someone");
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(q407::paths::ConfigDir(), fs::path("/home/someone/.config/Q407"));
}

TEST(Paths, DataFolderSitsBesideTheExecutableUnlessOverridden) {
    {
        ScopedEnv data("Q407_DATA_DIR", nullptr);
        EXPECT_EQ(q407::paths::DataDir(),
                  (q407::paths::ExecutableDir() / ".." / "share" / "q407").lexically_normal());
    }
    ScopedEnv data("Q407_DATA_DIR", "/opt/elsewhere");
    EXPECT_EQ(q407::paths::DataDir(), fs::path("/opt/elsewhere"));
}

} // namespace
