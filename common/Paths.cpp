#include "common/Paths.h"

#include <cstdlib>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace q407::paths {
namespace {

std::filesystem::path EnvPath(const char* name) {
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe): environment is fixed
    if (value == nullptr || value[0] != '/') {
        return {}; // XDG says relative values are invalid and must be ignored
    }
    return value;
}

std::filesystem::path HomeDir() {
    if (auto home = EnvPath("HOME"); !home.empty()) {
        return home;
    }
    if (const passwd* entry = ::getpwuid(::getuid());
        entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/tmp";
}

std::filesystem::path XdgDir(const char* variable, const char* fallbackBelowHome) {
    if (auto dir = EnvPath(variable); !dir.empty()) {
        return dir;
    }
    return HomeDir() / fallbackBelowHome;
}

} // namespace

std::filesystem::path ExecutableDir() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}

std::filesystem::path DataDir() {
    if (auto dir = EnvPath("Q407_DATA_DIR"); !dir.empty()) {
        return dir;
    }
    return (ExecutableDir() / ".." / "share" / "q407").lexically_normal();
}

std::filesystem::path UserDir() {
    auto dir = XdgDir("XDG_DATA_HOME", ".local/share") / "Q407";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
}

std::filesystem::path ConfigDir() {
    return XdgDir("XDG_CONFIG_HOME", ".config") / "Q407";
}

std::filesystem::path CacheDir() {
    auto dir = XdgDir("XDG_CACHE_HOME", ".cache") / "Q407";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    return dir;
}

std::filesystem::path RuntimeDir() {
    if (auto dir = EnvPath("XDG_RUNTIME_DIR"); !dir.empty()) {
        return dir;
    }
    std::error_code ec;
    return std::filesystem::temp_directory_path(ec);
}

} // namespace q407::paths
