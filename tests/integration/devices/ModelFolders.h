#pragma once

// A user folder and a data folder of a test's own (XDG_DATA_HOME and Q407_DATA_DIR point there
// while it lives), with the named shipped default data files copied in; removed afterwards.

#include "support/ScopedEnv.h"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <unistd.h>
#include <utility>

namespace testutil {

struct ModelFolders {
    // `name` tells the test's folder apart, `profileFolder` is the device's folder in the user
    // folder.
    ModelFolders(const std::string& name, std::initializer_list<const char*> defaultFiles,
                 std::string profileFolder = {})
        : root(std::filesystem::temp_directory_path() /
               ("q407-" + name + "-" + std::to_string(::getpid()))),
          home("XDG_DATA_HOME", (root / "home").string()),
          data("Q407_DATA_DIR", (root / "data").string()),
          m_profileFolder(std::move(profileFolder)) {
        std::filesystem::remove_all(root);
        const std::filesystem::path shipped =
            std::filesystem::path(Q407_TEST_DATA_DIR).parent_path().parent_path() / "data";
        std::filesystem::create_directories(DefaultData());
        for (const char* file : defaultFiles) {
            std::filesystem::copy_file(shipped / file, DefaultData() / file);
        }
    }
    ~ModelFolders() { std::filesystem::remove_all(root); }
    ModelFolders(const ModelFolders&) = delete;
    ModelFolders& operator=(const ModelFolders&) = delete;

    std::filesystem::path DefaultData() const { return root / "data" / "DefaultData"; }
    std::filesystem::path Profiles() const { return root / "home" / "Q407" / m_profileFolder; }

    std::filesystem::path root;
    ScopedEnv home;
    ScopedEnv data;

private:
    std::string m_profileFolder;
};

} // namespace testutil
