#include "common/Diag.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace q407::diag {
namespace {

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

Sink& CurrentSink() {
    static Sink sink;
    return sink;
}

bool DebugFromEnvironment() {
    static const bool enabled = [] {
        const char* value = std::getenv("Q407_DEBUG"); // NOLINT(concurrency-mt-unsafe): read once
        return value != nullptr && value[0] != '\0' && value[0] != '0';
    }();
    return enabled;
}

} // namespace

void Line(std::string_view text) {
    std::lock_guard lock(SinkMutex());
    if (CurrentSink()) {
        CurrentSink()(text);
    } else if (DebugFromEnvironment()) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    }
}

void Printf(const char* format, ...) {
    if (!Enabled()) {
        return;
    }
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length >= 0) {
        Line(std::string_view(buffer,
                              std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1)));
    }
}

bool Enabled() {
    std::lock_guard lock(SinkMutex());
    return static_cast<bool>(CurrentSink()) || DebugFromEnvironment();
}

void SetSink(Sink sink) {
    std::lock_guard lock(SinkMutex());
    CurrentSink() = std::move(sink);
}

struct Capture::State {
    mutable std::mutex mutex;
    std::vector<std::string> lines;
};

Capture::Capture() : m_state(std::make_shared<State>()) {
    SetSink([state = m_state](std::string_view line) {
        std::lock_guard lock(state->mutex);
        state->lines.emplace_back(line);
    });
}

Capture::~Capture() {
    SetSink({});
}

std::vector<std::string> Capture::Lines() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->lines;
}

bool Capture::Contains(std::string_view fragment) const {
    std::lock_guard lock(m_state->mutex);
    for (const auto& line : m_state->lines) {
        if (line.find(fragment) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace q407::diag
