#include "common/AtomicFile.h"

#include <filesystem>
#include <gtest/gtest.h>

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

} // namespace
