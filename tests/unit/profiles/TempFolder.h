#pragma once

// A fresh folder per test, removed afterwards, with small helpers to read and write its files.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>

namespace q407::profiles::testing {

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "q407-profiles-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path Path(const std::string& name) const { return m_dir / name; }

    void Write(const std::filesystem::path& path, const std::string& text) const {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Every entry below the folder, recursively, as paths relative to it.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_dir)) {
            names.insert(std::filesystem::relative(entry.path(), m_dir).string());
        }
        return names;
    }

    std::filesystem::path m_dir;
};

inline std::string DataFile(const std::string& relative) {
    std::ifstream in(std::filesystem::path(Q407_TEST_DATA_DIR) / "profiles" / relative,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace q407::profiles::testing
