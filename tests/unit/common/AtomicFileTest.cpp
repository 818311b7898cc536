#include "common/AtomicFile.h"

#include "common/StorageStatus.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir =
            fs::temp_directory_path() /
            ("q407-atomic-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    size_t FileCount() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(m_dir), {}));
    }

    fs::path m_dir;
};

TEST_F(AtomicFileTest, WritesAndReplacesWholeContents) {
    const auto file = m_dir / "list.json";
    ASSERT_TRUE(q407::WriteFileAtomically(file, "first version, rather long\n"));
    ASSERT_TRUE(q407::WriteFileAtomically(file, "second\n"));
    EXPECT_EQ(q407::ReadFileBounded(file, 1024), "second\n");
    EXPECT_EQ(FileCount(), 1u) << "no temporary file is left behind";
}

TEST_F(AtomicFileTest, FailedWriteKeepsTheOldFileAndReportsIt) {
    const auto file = m_dir / "profile.json";
    ASSERT_TRUE(q407::WriteFileAtomically(file, "old contents\n"));
    q407::testing::FailNextWriteAfter(3);
    std::string error;
    EXPECT_FALSE(q407::WriteFileAtomically(file, "new contents that never land\n", &error));
    EXPECT_NE(error.find("profile.json"), std::string::npos) << error;
    EXPECT_EQ(q407::ReadFileBounded(file, 1024), "old contents\n");
    EXPECT_EQ(FileCount(), 1u);
    // The fault was for one write only.
    EXPECT_TRUE(q407::WriteFileAtomically(file, "next\n"));
}

TEST_F(AtomicFileTest, WriteIntoMissingFolderFailsCleanly) {
    std::string error;
    EXPECT_FALSE(q407::WriteFileAtomically(m_dir / "missing" / "x.json", "x", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(AtomicFileTest, BoundedReadRefusesLargeMissingAndFolders) {
    const auto file = m_dir / "big";
    ASSERT_TRUE(q407::WriteFileAtomically(file, std::string(5000, 'x')));
    EXPECT_FALSE(q407::ReadFileBounded(file, 4999).has_value());
    EXPECT_EQ(q407::ReadFileBounded(file, 5000)->size(), 5000u);
    EXPECT_FALSE(q407::ReadFileBounded(m_dir / "nothing", 10).has_value());
    EXPECT_FALSE(q407::ReadFileBounded(m_dir, 10).has_value());
}

TEST_F(AtomicFileTest, InterruptedWritesAreRemovedAndNothingElse) {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const fs::path user = m_dir / "user";
    const fs::path outside = m_dir / "outside";
    for (const auto& folder : {user / "Mouse" / "deeper", outside}) {
        fs::create_directories(folder);
    }
    const std::map<std::string, bool> files{
        {"user/ProfileList.ini.tmp.a8Zq0x", true},
        {"user/Mouse/2024_01_01_00_00_00_000.Json.tmp.QWERTY", true},
        {"user/Mouse/deeper/x.tmp.abcdef", false},  // two levels down: not ours to judge
        {"user/Mouse/x.tmp.abc", false},            // not mkstemp's six characters
        {"user/Mouse/x.tmp.abc-ef", false},         // nor its alphabet
        {"user/Mouse/notes.tmp.abcdef.txt", false}, // the pattern must end the name
        {"user/.tmp.abcdef", false},                // no file was being written
        {"user/Mouse/fw.bin.part.abcdef", false},   // the update's leftovers are its own
        {"user/ProfileList.ini", false},
        {"outside/y.tmp.abcdef", false}, // reached only through links below
    };
    for (const auto& [name, _] : files) {
        std::ofstream(m_dir / name) << "x";
        fs::last_write_time(m_dir / name, old);
    }
    // A write under way (fresh), a folder and links of the same pattern stay.
    std::ofstream(user / "fresh.tmp.abcdef") << "x";
    fs::create_directories(user / "folder.tmp.abcdef");
    fs::create_symlink(outside / "y.tmp.abcdef", user / "link.tmp.abcdef");
    fs::create_directory_symlink(outside, user / "linked");

    EXPECT_EQ(q407::RemoveInterruptedWrites(user), 2);
    for (const auto& [name, removed] : files) {
        EXPECT_EQ(fs::exists(m_dir / name), !removed) << name;
    }
    for (const char* kept : {"fresh.tmp.abcdef", "folder.tmp.abcdef", "link.tmp.abcdef"}) {
        EXPECT_TRUE(fs::exists(fs::symlink_status(user / kept))) << kept;
    }
}

TEST_F(AtomicFileTest, UnwritableFolderIsToldOnceWithItsPath) {
    q407::storage::testing::ForgetToldFolders();
    std::vector<std::string> told;
    q407::storage::SetUnwritableFolderListener(
        [&](const fs::path& folder, const std::string&) { told.push_back(folder.string()); });
    const auto file = m_dir / "profile.json";
    // A failing disk is one file's trouble; a full or read-only folder is the user's to know.
    for (const int cause : {EIO, ENOSPC, EROFS, ENOSPC}) {
        q407::testing::FailNextWriteAfter(1, 0, cause);
        EXPECT_FALSE(q407::WriteFileAtomically(file, "contents")) << cause;
    }
    EXPECT_FALSE(q407::WriteFileAtomically(m_dir / "missing" / "x.json", "x"));
    EXPECT_EQ(told, std::vector<std::string>{m_dir.string()});

    // Told before anyone listened: passed on when the window starts listening.
    q407::storage::SetUnwritableFolderListener({});
    q407::storage::ReportWriteFailure(m_dir / "other", EACCES);
    EXPECT_EQ(told.size(), 1u);
    q407::storage::SetUnwritableFolderListener(
        [&](const fs::path& folder, const std::string&) { told.push_back(folder.string()); });
    EXPECT_EQ(told.back(), (m_dir / "other").string());
    q407::storage::SetUnwritableFolderListener({});
}

} // namespace
