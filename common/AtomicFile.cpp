#include "common/AtomicFile.h"

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
        errno = EIO;
        return false;
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view contents,
                         std::string* error) {
    std::string pattern = path.string() + ".tmp.XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        SetError(error, "cannot create a temporary file beside " + path.string(), errno);
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
        ::unlink(pattern.c_str());
        SetError(error, "cannot write " + path.string(), written ? errno : writeErrno);
        return false;
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int renameErrno = errno;
        ::unlink(pattern.c_str());
        SetError(error, "cannot replace " + path.string(), renameErrno);
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

namespace testing {
void FailNextWriteAfter(std::size_t bytes, unsigned writesFirst) {
    g_writesBeforeFault = writesFirst;
    g_failAfter = bytes;
}
} // namespace testing

} // namespace q407
