#pragma once

// Records what the computer plays: the monitor of the sound server's default output, through
// libpulse (PulseAudio, or PipeWire's PulseAudio interface), as mono float samples, handed over
// on the recording's own thread.
//
// A server may deliver the monitor in pieces of a few milliseconds each. Waking for every piece
// would cost more than the analysis itself, so the thread sleeps until a whole batch of samples
// (the analysis' hop) should have been recorded and then takes everything that came: a batch
// is complete no later than it would be otherwise.

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace q407::app {

class PulseMonitor {
public:
    using Samples = std::function<void(std::span<const float>)>;
    // Called once, on the recording's thread, when the server or the recording goes away.
    using Failure = std::function<void(const std::string& reason)>;

    PulseMonitor();
    ~PulseMonitor();
    PulseMonitor(const PulseMonitor&) = delete;
    PulseMonitor& operator=(const PulseMonitor&) = delete;

    // Connects (never starting a server) and starts recording at `sampleRate`, asking the
    // server for pieces of about `fragmentMs` and waking once per `batchFrames` samples (0: for
    // every piece). False with a reason when there is no server or the monitor cannot be
    // recorded.
    bool Start(unsigned sampleRate, unsigned fragmentMs, std::size_t batchFrames, Samples samples,
               Failure failure, std::string& reason);
    // Ends the recording and the connection; safe to call more than once, not from `samples`.
    void Stop();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace q407::app
