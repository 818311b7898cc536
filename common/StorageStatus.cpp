#include "common/StorageStatus.h"

#include "common/Diag.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

namespace q407::storage {
namespace {

struct State {
    std::mutex mutex;
    UnwritableFolderListener listener;
    std::set<std::filesystem::path> told;
    std::vector<std::pair<std::filesystem::path, std::string>> waiting; // told before a listener
};

State& Shared() {
    static State state;
    return state;
}

std::string Reason(int errorNumber) {
    return std::strerror(errorNumber); // NOLINT(concurrency-mt-unsafe): glibc's is thread-safe
}

} // namespace

bool MeansFolderUnwritable(int errorNumber) {
    switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOSPC:
    case EDQUOT:
        return true;
    default:
        return false;
    }
}

void SetUnwritableFolderListener(UnwritableFolderListener listener) {
    State& state = Shared();
    std::vector<std::pair<std::filesystem::path, std::string>> waiting;
    UnwritableFolderListener current;
    {
        std::lock_guard lock(state.mutex);
        state.listener = std::move(listener);
        if (state.listener) {
            waiting.swap(state.waiting);
            current = state.listener;
        }
    }
    for (const auto& [folder, reason] : waiting) {
        current(folder, reason);
    }
}

void ReportWriteFailure(const std::filesystem::path& folder, int errorNumber) {
    const std::string reason = Reason(errorNumber);
    diag::Line("cannot write in " + folder.string() + ": " + reason);
    if (!MeansFolderUnwritable(errorNumber)) {
        return;
    }
    State& state = Shared();
    UnwritableFolderListener listener;
    {
        std::lock_guard lock(state.mutex);
        if (!state.told.insert(folder.lexically_normal()).second) {
            return;
        }
        if (!state.listener) {
            state.waiting.emplace_back(folder, reason);
            return;
        }
        listener = state.listener;
    }
    listener(folder, reason);
}

namespace testing {
void ForgetToldFolders() {
    State& state = Shared();
    std::lock_guard lock(state.mutex);
    state.told.clear();
    state.waiting.clear();
}
} // namespace testing

} // namespace q407::storage
