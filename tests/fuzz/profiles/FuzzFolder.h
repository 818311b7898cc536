#pragma once

// A private scratch folder for fuzz targets that work on files: one per process, emptied before
// each input. A sentinel file beside the device folder proves that nothing reached outside it.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace q407::profiles::fuzz {

class FuzzFolder {
public:
    FuzzFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "q407-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        m_root = pattern;
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // Empties the scratch folder, makes the device folder and writes the sentinel.
    void Reset() {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_root)) {
            std::filesystem::remove_all(entry.path(), ec);
        }
        std::filesystem::create_directories(Device());
        Write(m_root / "sentinel", "sentinel");
    }

    std::filesystem::path Device() const { return m_root / "dev"; }
    std::filesystem::path Root() const { return m_root; }

    static void Write(const std::filesystem::path& path, const std::uint8_t* data,
                      std::size_t size) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    static void Write(const std::filesystem::path& path, const std::string& text) {
        Write(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }

    // Aborts when anything beside the device folder appeared or the sentinel changed.
    void CheckNothingEscaped() const {
        std::ifstream in(m_root / "sentinel", std::ios::binary);
        const std::string sentinel{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_root)) {
            ++entries;
        }
        if (sentinel != "sentinel" || entries != 2) {
            std::abort();
        }
    }

private:
    std::filesystem::path m_root;
};

} // namespace q407::profiles::fuzz
