#pragma once

// Files on disk are the reference for every stored list, so a write must never leave half a file
// behind: the new contents go to a temporary file in the same folder, which is flushed and then
// renamed over the old one. A failed write removes the temporary file and leaves the old one.

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace q407 {

// Writes `contents` to `path` atomically. On failure returns false and, when `error` is given,
// a short description of what failed; the previous file (if any) is untouched. A failure that
// says the folder cannot take files (no permission, read-only, full) is also reported to the
// storage status (common/StorageStatus.h).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::string* error = nullptr);

// Reads a whole file of at most `maxBytes`. Missing, unreadable or larger files give nullopt, so
// a huge or hostile file never causes an unbounded allocation.
std::optional<std::string> ReadFileBounded(const std::filesystem::path& path, std::size_t maxBytes);

// A crash in the middle of WriteFileAtomically leaves its temporary file ("<name>.tmp.XXXXXX")
// behind. This removes such files from `folder` and from the folders directly below it: only
// regular files of exactly that pattern, and only those no write has touched for `minimumAge`,
// so a write under way elsewhere is never cut short. Returns how many were removed.
int RemoveInterruptedWrites(const std::filesystem::path& folder,
                            std::chrono::seconds minimumAge = std::chrono::seconds(60));

namespace testing {
// Makes the next atomic write fail after `bytes` bytes reached the temporary file, as a crash or
// a full disk would, with `errorNumber` as the cause; with `writesFirst`, that many writes
// succeed before it. For tests only.
void FailNextWriteAfter(std::size_t bytes, unsigned writesFirst = 0, int errorNumber = EIO);
} // namespace testing

} // namespace q407
