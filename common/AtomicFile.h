#pragma once

// Files on disk are the reference for every stored list, so a write must never leave half a file
// behind: the new contents go to a temporary file in the same folder, which is flushed and then
// renamed over the old one. A failed write removes the temporary file and leaves the old one.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace q407 {

// Writes `contents` to `path` atomically. On failure returns false and, when `error` is given,
// a short description of what failed; the previous file (if any) is untouched.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::string* error = nullptr);

// Reads a whole file of at most `maxBytes`. Missing, unreadable or larger files give nullopt, so
// a huge or hostile file never causes an unbounded allocation.
std::optional<std::string> ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes);

namespace testing {
// Makes the next atomic write fail after `bytes` bytes reached the temporary file, as a crash or
// a full disk would; with `writesFirst`, that many writes succeed before it. For tests only.
void FailNextWriteAfter(std::size_t bytes, unsigned writesFirst = 0);
} // namespace testing

} // namespace q407
