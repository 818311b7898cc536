#include "common/AtomicFile.h"

#include "common/StorageStatus.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace q407 {
namespace {

constexpr std::size_t kNoFault = static_cast<std::size_t>(-1);
std::atomic<std::size_t> g_failAfter{kNoFault};
std::atomic<unsigned> g_writesBeforeFault{0};
std::atomic<int> g_faultErrno{EIO};

void SetError(std::string* error, std::string_view what, int errorNumber) {
    if (error != nullptr) {
        *error =
            std::string(what) + ": " + std::strerror(errorNumber); // NOLINT(concurrency-mt-unsafe)
    }
}

std::size_t TakeFault() {
    if (g_failAfter.load() == kNoFault) {
        return kNoFault;
    }
    unsigned through = g_writesBeforeFault.load();
    while (through > 0) {
        if (g_writesBeforeFault.compare_exchange_weak(through, through - 1)) {
            return kNoFault;
        }
    }
    return g_failAfter.exchange(kNoFault);
}

bool WriteAll(int fd, std::string_view contents) {
    const std::size_t failAfter = TakeFault();
    std::size_t limit = contents.size();
    if (failAfter != kNoFault) {
        limit = std::min(limit, failAfter);
    }
    std::size_t written = 0;
    while (written < limit) {
        const ssize_t n = ::write(fd, contents.data() + written, limit - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    if (failAfter != kNoFault) {
        errno = g_faultErrno.load();
        return false;
    }
    return true;
}

// What an interrupted write leaves: "<name>.tmp." followed by mkstemp's six characters.
bool IsInterruptedWriteName(const std::string& name) {
    constexpr std::string_view kMarker = ".tmp.";
    constexpr std::size_t kSuffix = 6;
    if (name.size() <= kMarker.size() + kSuffix) {
        return false;
    }
    const std::size_t marker = name.size() - kSuffix - kMarker.size();
    return name.compare(marker, kMarker.size(), kMarker) == 0 &&
           std::all_of(name.end() - kSuffix, name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

int RemoveInterruptedWritesIn(const std::filesystem::path& folder,
                              std::filesystem::file_time_type before) {
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code entryError;
        // Never through a link: only files that really lie in our folder.
        if (!it->is_regular_file(entryError) || it->is_symlink(entryError) ||
            !IsInterruptedWriteName(it->path().filename().string()) ||
            it->last_write_time(entryError) > before || entryError) {
            continue;
        }
        if (std::filesystem::remove(it->path(), entryError)) {
            ++removed;
        }
    }
    return removed;
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::string* error) {
    std::string pattern = path.string() + ".tmp.XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        const int createErrno = errno;
        SetError(error, "cannot create a temporary file beside " + path.string(), createErrno);
        storage::ReportWriteFailure(path.parent_path(), createErrno);
        return false;
    }
    // Keep the permissions a new file would get rather than mkstemp's 0600.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    const bool written = WriteAll(fd, contents) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        const int failure = written ? errno : writeErrno;
        ::unlink(pattern.c_str());
        SetError(error, "cannot write " + path.string(), failure);
        storage::ReportWriteFailure(path.parent_path(), failure);
        return false;
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(pattern.c_str());
        SetError(error, "cannot replace " + path.string(), renameErrno);
        storage::ReportWriteFailure(path.parent_path(), renameErrno);
        return false;
    }
    return true;
}

std::optional<std::string> ReadFileBounded(const std::filesystem::path& path,
                                           std::size_t maxBytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string contents;
    char buffer[8192];
    while (in) {
        in.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (contents.size() + got > maxBytes) {
            return std::nullopt;
        }
        contents.append(buffer, got);
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return contents;
}

int RemoveInterruptedWrites(const std::filesystem::path& folder, std::chrono::seconds minimumAge) {
    const auto before = std::filesystem::file_time_type::clock::now() - minimumAge;
    int removed = RemoveInterruptedWritesIn(folder, before);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        std::error_code entryError;
        if (it->is_directory(entryError) && !it->is_symlink(entryError)) {
            removed += RemoveInterruptedWritesIn(it->path(), before);
        }
    }
    return removed;
}

namespace testing {
void FailNextWriteAfter(std::size_t bytes, unsigned writesFirst, int errorNumber) {
    g_faultErrno = errorNumber;
    g_writesBeforeFault = writesFirst;
    g_failAfter = bytes;
}
} // namespace testing

} // namespace q407
