#pragma once

// Records what the computer plays: the monitor of the sound server's default output, through
// libpulse (PulseAudio, or PipeWire's PulseAudio interface), as mono float samples. Samples are
// handed over on libpulse's own thread in pieces of about `fragmentMs`.

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace q407::app {

class PulseMonitor {
public:
    using Samples = std::function<void(std::span<const float>)>;
    // Called once, on libpulse's thread, when the server or the recording goes away.
    using Failure = std::function<void(const std::string& reason)>;

    PulseMonitor();
    ~PulseMonitor();
    PulseMonitor(const PulseMonitor&) = delete;
    PulseMonitor& operator=(const PulseMonitor&) = delete;

    // Connects (never starting a server) and starts recording at `sampleRate`. False with a
    // reason when there is no server or the monitor cannot be recorded.
    bool Start(unsigned sampleRate, unsigned fragmentMs, Samples samples, Failure failure,
               std::string& reason);
    // Ends the recording and the connection; safe to call more than once.
    void Stop();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace q407::app
