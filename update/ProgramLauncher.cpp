#include "update/ProgramLauncher.h"

#include "common/Diag.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ; // NOLINT(readability-redundant-declaration): posix_spawn wants it

namespace q407::update {
namespace {

// Reaps a child nobody waits for any more, so it does not stay behind as a zombie.
void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

pid_t Spawn(const std::filesystem::path& program, const char* argument, bool searchPath) {
    std::string programText = program.string();
    std::string argumentText = argument != nullptr ? argument : "";
    char* argv[] = {programText.data(), argument != nullptr ? argumentText.data() : nullptr,
                    nullptr};
    pid_t pid = -1;
    const int error =
        searchPath ? ::posix_spawnp(&pid, programText.c_str(), nullptr, nullptr, argv, environ)
                   : ::posix_spawn(&pid, programText.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0) {
        diag::Printf("update: cannot start %s: %s", programText.c_str(),
                     std::strerror(error)); // NOLINT(concurrency-mt-unsafe)
        return -1;
    }
    return pid;
}

class ChildProcess final : public RunningProgram {
public:
    explicit ChildProcess(pid_t pid)
        : m_pid(pid), m_pidfd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
    ~ChildProcess() override {
        if (m_pidfd >= 0) {
            ::close(m_pidfd);
        }
        if (!m_ended) {
            ReapInBackground(m_pid); // an installer is never killed half-way
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool WaitFor(std::chrono::milliseconds timeout) override {
        if (m_ended) {
            return true;
        }
        if (m_pidfd >= 0) {
            pollfd entry{m_pidfd, POLLIN, 0};
            ::poll(&entry, 1, static_cast<int>(timeout.count()));
        } else {
            std::this_thread::sleep_for(timeout); // kernels without pidfd: check after the wait
        }
        int status = 0;
        const pid_t result = ::waitpid(m_pid, &status, WNOHANG);
        m_ended = result == m_pid || (result < 0 && errno == ECHILD);
        return m_ended;
    }

private:
    pid_t m_pid;
    int m_pidfd;
    bool m_ended = false;
};

class SystemLauncher final : public ProgramLauncher {
public:
    explicit SystemLauncher(std::filesystem::path opener) : m_opener(std::move(opener)) {}

    std::unique_ptr<RunningProgram> Run(const std::filesystem::path& program) override {
        if (::chmod(program.c_str(), S_IRWXU) != 0) {
            diag::Printf("update: cannot make %s executable", program.c_str());
            return nullptr;
        }
        const pid_t pid = Spawn(program, nullptr, false);
        return pid < 0 ? nullptr : std::make_unique<ChildProcess>(pid);
    }

    bool Open(const std::filesystem::path& file) override {
        const pid_t pid = Spawn(m_opener, file.c_str(), true);
        if (pid < 0) {
            return false;
        }
        ReapInBackground(pid);
        return true;
    }

private:
    std::filesystem::path m_opener;
};

} // namespace

std::unique_ptr<ProgramLauncher> MakeSystemLauncher(std::filesystem::path opener) {
    return std::make_unique<SystemLauncher>(std::move(opener));
}

} // namespace q407::update
