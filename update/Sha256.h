#pragma once

// SHA-256 digests (OpenSSL's) of downloads and of files about to be run, as lower-case hex text.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace q407::update {

inline constexpr std::size_t kSha256HexLength = 64;

// A digest computed piece by piece.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void Add(const void* bytes, std::size_t size);
    // The digest of everything added; the object is spent afterwards.
    std::string HexDigest();

private:
    struct Context;
    std::unique_ptr<Context> m_context;
};

// The digest of a whole file; nullopt when it cannot be read.
std::optional<std::string> Sha256OfFile(const std::filesystem::path& file);

// 64 hexadecimal digits, in either case.
bool IsSha256Hex(std::string_view text);
// Both are digests and name the same one, letter case ignored.
bool SameSha256(std::string_view a, std::string_view b);

} // namespace q407::update
