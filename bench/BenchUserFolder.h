#pragma once

// A user folder of a benchmark's own for the profile files: XDG_DATA_HOME points there and it is
// removed at the end.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace q407::bench {

class UserFolder {
public:
    // `name` tells one benchmark's folder from another's.
    explicit UserFolder(const std::string& name)
        : m_root(std::filesystem::temp_directory_path() /
                 ("q407-" + name + "-bench-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_root);
        ::setenv("XDG_DATA_HOME", m_root.c_str(), 1);
    }
    ~UserFolder() { std::filesystem::remove_all(m_root); }
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;

private:
    std::filesystem::path m_root;
};

} // namespace q407::bench
