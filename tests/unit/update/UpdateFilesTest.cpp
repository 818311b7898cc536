#include "update/UpdateFiles.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>
#include <json/json.h>

namespace q407::update {
namespace {

class UpdateFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("q407-update-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    std::filesystem::path File(const char* name) const { return m_folder / name; }

    std::filesystem::path m_folder;
};

TEST_F(UpdateFilesTest, DatesHaveNoZeroPadding) {
    std::tm date{};
    date.tm_year = 2026 - 1900;
    date.tm_mon = 2;
    date.tm_mday = 5;
    EXPECT_EQ(DateText(date), "2026-3-5");
    date.tm_mon = 11;
    date.tm_mday = 31;
    EXPECT_EQ(DateText(date), "2026-12-31");
}

TEST_F(UpdateFilesTest, LastCheckRecordIsReadAndRewrittenKeepingOtherMembers) {
    const auto file = File("updatetime.config");
    EXPECT_FALSE(ReadLastCheckDate(file));

    ASSERT_TRUE(WriteLastCheckDate(file, "2026-1-2"));
    EXPECT_EQ(ReadLastCheckDate(file), "2026-1-2");
    const auto text = ReadFileBounded(file, 4096);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("\"updatelasttime\""), std::string::npos);
    EXPECT_NE(text->find("\n   "), std::string::npos); // three-space indentation
    EXPECT_EQ(text->back(), '\n');

    ASSERT_TRUE(WriteFileAtomically(file, R"({"other": 5, "updatelasttime": {"value": 3}})"));
    EXPECT_FALSE(ReadLastCheckDate(file)); // a value that is not text counts as missing
    ASSERT_TRUE(WriteLastCheckDate(file, "2026-12-9"));
    EXPECT_EQ(ReadLastCheckDate(file), "2026-12-9");
    Json::Value root;
    std::istringstream(*ReadFileBounded(file, 4096)) >> root;
    EXPECT_EQ(root["other"].asInt(), 5);

    ASSERT_TRUE(WriteFileAtomically(file, "not json"));
    EXPECT_FALSE(ReadLastCheckDate(file));
    ASSERT_TRUE(WriteLastCheckDate(file, "2027-1-1"));
    EXPECT_EQ(ReadLastCheckDate(file), "2027-1-1");
}

TEST_F(UpdateFilesTest, ServerSettingsDefaultToHttpsAndRefusePlainRemoteServers) {
    const auto file = File("update.json");
    UpdateServerSettings settings = LoadUpdateServerSettings(file);
    EXPECT_EQ(settings.baseUrl, kDefaultUpdateBaseUrl);
    EXPECT_EQ(settings.baseUrl.rfind("https://", 0), 0u);
    EXPECT_TRUE(settings.caFile.empty());

    ASSERT_TRUE(WriteFileAtomically(
        file, R"({"BaseUrl": "http://127.0.0.1:8123/api", "CaFile": "/etc/q407/ca.pem"})"));
    settings = LoadUpdateServerSettings(file);
    EXPECT_EQ(settings.baseUrl, "http://127.0.0.1:8123/api/");
    EXPECT_EQ(settings.caFile, "/etc/q407/ca.pem");

    ASSERT_TRUE(WriteFileAtomically(file, R"({"BaseUrl": "http://updates.example.invalid/api/"})"));
    EXPECT_EQ(LoadUpdateServerSettings(file).baseUrl, kDefaultUpdateBaseUrl);
    ASSERT_TRUE(WriteFileAtomically(file, R"({"BaseUrl": "https://mirror.invalid/u/"})"));
    EXPECT_EQ(LoadUpdateServerSettings(file).baseUrl, "https://mirror.invalid/u/");
}

} // namespace
} // namespace q407::update
