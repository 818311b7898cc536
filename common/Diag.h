#pragma once

// The diagnostics sink: one line at a time, UTF-8. Off by default; Q407_DEBUG=1 in the
// environment sends the lines to stderr, and tests install their own sink to read them.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace q407::diag {

using Sink = std::function<void(std::string_view line)>;

// Writes one line to the current sink (nothing when diagnostics are off).
void Line(std::string_view text);

// printf-style convenience for the numeric lines most callers write.
void Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when a line would go anywhere; callers use it to skip building expensive lines.
bool Enabled();

// Replaces the sink; an empty function restores the default (stderr when Q407_DEBUG=1).
void SetSink(Sink sink);

// Collects every line written while it lives; for tests.
class Capture {
public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    std::vector<std::string> Lines() const;
    bool Contains(std::string_view fragment) const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace q407::diag
