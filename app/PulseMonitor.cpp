#include "app/PulseMonitor.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <poll.h>
#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace q407::app {
namespace {

using Clock = std::chrono::steady_clock;

// How long the connection to the server may take before the recording is given up.
constexpr auto kConnectTimeout = std::chrono::seconds(5);

} // namespace

struct PulseMonitor::State {
    pa_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    Samples samples;
    Failure failure;
    unsigned sampleRate = 1;
    std::size_t batchFrames = 0;
    // Samples handed over since the last batch boundary, and when the last piece came.
    std::size_t sinceBatch = 0;
    Clock::time_point lastPiece = Clock::now();
    bool running = false;
    bool failed = false;
    bool pastDeadline = false;
    // Stop's signal to the recording's thread, also while it sleeps between batches.
    int stopFd = -1;
    std::atomic<bool> stopping{false};
    std::thread thread;

    static void OnContextState(pa_context* context, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        const pa_context_state_t state = pa_context_get_state(context);
        if ((state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) && self->running) {
            self->Fail("the sound server went away");
        }
    }

    static void OnStreamState(pa_stream* stream, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if ((state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) && self->running) {
            self->Fail("the recording ended");
        }
    }

    static void OnRead(pa_stream* stream, std::size_t readable, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        const void* data = nullptr;
        std::size_t bytes = 0;
        // Everything that came is taken, piece by piece.
        while (readable > 0) {
            if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) {
                return;
            }
            readable -= std::min(readable, bytes);
            // A hole (data == nullptr) is dropped: the analysis just sees the next samples.
            if (data != nullptr && self->samples) {
                const std::size_t count = bytes / sizeof(float);
                if (self->batchFrames > 0) {
                    self->sinceBatch = (self->sinceBatch + count) % self->batchFrames;
                }
                self->lastPiece = Clock::now();
                self->samples(std::span(static_cast<const float*>(data), count));
            }
            pa_stream_drop(stream);
        }
    }

    // libpulse's poll: while recording, when nothing is ready it first sleeps until the rest of
    // the current batch should have been recorded (or Stop calls), then waits as asked.
    static int Poll(pollfd* fds, unsigned long count, int timeoutMs, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        if (timeoutMs == 0 || !self->running || self->batchFrames == 0) {
            return ::poll(fds, count, timeoutMs);
        }
        // The first descriptor is the loop's own wake-up pipe, which only this thread writes to.
        if (const int ready = ::poll(fds, count, 0);
            ready > 1 || (ready == 1 && fds[0].revents == 0) || ready < 0) {
            return ready;
        }
        const auto missing = std::chrono::microseconds((self->batchFrames - self->sinceBatch) *
                                                       1'000'000 / self->sampleRate);
        const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(
            self->lastPiece + missing - Clock::now());
        if (wait.count() > 0) {
            const auto sleep = timeoutMs < 0 ? wait
                                             : std::min<std::chrono::microseconds>(
                                                   wait, std::chrono::milliseconds(timeoutMs));
            pollfd stop{self->stopFd, POLLIN, 0};
            const timespec span{static_cast<time_t>(sleep.count() / 1'000'000),
                                static_cast<long>(sleep.count() % 1'000'000) * 1000};
            ::ppoll(&stop, 1, &span, nullptr);
            if (timeoutMs > 0) {
                timeoutMs = std::max(
                    0,
                    timeoutMs - static_cast<int>(
                                    std::chrono::ceil<std::chrono::milliseconds>(sleep).count()));
            }
        }
        return ::poll(fds, count, timeoutMs);
    }

    void Fail(const std::string& reason) {
        if (failed) {
            return;
        }
        failed = true;
        running = false;
        if (failure) {
            failure(reason);
        }
    }

    static void OnDeadline(pa_mainloop_api*, pa_time_event*, const struct timeval*,
                           void* userdata) {
        static_cast<State*>(userdata)->pastDeadline = true;
    }

    // Runs the loop on the calling thread until `ready` or `broken` says so, or the time-out
    // passes: a timer of the loop ends the wait even when a server never answers.
    template <typename Ready, typename Broken>
    bool WaitFor(Ready ready, Broken broken) {
        pastDeadline = false;
        const auto timeout = std::chrono::duration_cast<std::chrono::microseconds>(kConnectTimeout);
        pa_time_event* deadline = pa_context_rttime_new(
            context, pa_rtclock_now() + static_cast<pa_usec_t>(timeout.count()), &OnDeadline, this);
        bool done = true;
        while (!ready()) {
            if (broken() || pastDeadline || pa_mainloop_iterate(loop, 1, nullptr) < 0) {
                done = false;
                break;
            }
        }
        if (deadline != nullptr) {
            pa_mainloop_get_api(loop)->time_free(deadline);
        }
        return done;
    }

    void Run() {
        while (!stopping.load() && pa_mainloop_iterate(loop, 1, nullptr) >= 0) {
        }
    }
};

PulseMonitor::PulseMonitor() = default;

PulseMonitor::~PulseMonitor() {
    Stop();
}

bool PulseMonitor::Start(unsigned sampleRate, unsigned fragmentMs, std::size_t batchFrames,
                         Samples samples, Failure failure, std::string& reason) {
    Stop();
    m_state = std::make_unique<State>();
    State& s = *m_state;
    s.samples = std::move(samples);
    s.failure = std::move(failure);
    s.sampleRate = std::max(1u, sampleRate);
    s.batchFrames = batchFrames;
    s.stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    s.loop = pa_mainloop_new();
    if (s.loop == nullptr || s.stopFd < 0) {
        reason = "cannot make libpulse's main loop";
        Stop();
        return false;
    }
    pa_mainloop_set_poll_func(s.loop, &State::Poll, &s);
    s.context = pa_context_new(pa_mainloop_get_api(s.loop), "Q407 audio capture");
    if (s.context == nullptr) {
        reason = "cannot make a sound server connection";
        Stop();
        return false;
    }
    pa_context_set_state_callback(s.context, &State::OnContextState, &s);
    // Never start a server of our own: without one the user is told so.
    if (pa_context_connect(s.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        reason = std::string("no sound server: ") + pa_strerror(pa_context_errno(s.context));
        Stop();
        return false;
    }
    const bool connected =
        s.WaitFor([&] { return pa_context_get_state(s.context) == PA_CONTEXT_READY; },
                  [&] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(s.context)); });
    if (!connected) {
        reason = std::string("no sound server: ") + pa_strerror(pa_context_errno(s.context));
        Stop();
        return false;
    }
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, s.sampleRate, 1};
    s.stream = pa_stream_new(s.context, "what the computer plays", &spec, nullptr);
    if (s.stream == nullptr) {
        reason = std::string("cannot record: ") + pa_strerror(pa_context_errno(s.context));
        Stop();
        return false;
    }
    pa_stream_set_state_callback(s.stream, &State::OnStreamState, &s);
    pa_stream_set_read_callback(s.stream, &State::OnRead, &s);
    // Small fragments keep the light close behind the sound.
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.fragsize =
        static_cast<std::uint32_t>(s.sampleRate * sizeof(float) * fragmentMs / 1000);
    attributes.tlength = attributes.prebuf = attributes.minreq = static_cast<std::uint32_t>(-1);
    const bool recording =
        pa_stream_connect_record(s.stream, "@DEFAULT_MONITOR@", &attributes,
                                 PA_STREAM_ADJUST_LATENCY) == 0 &&
        s.WaitFor([&] { return pa_stream_get_state(s.stream) == PA_STREAM_READY; },
                  [&] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(s.stream)); });
    if (!recording) {
        reason = std::string("cannot record the output's monitor: ") +
                 pa_strerror(pa_context_errno(s.context));
        Stop();
        return false;
    }
    s.running = true;
    s.lastPiece = Clock::now();
    s.thread = std::thread([&s] { s.Run(); });
    return true;
}

void PulseMonitor::Stop() {
    if (!m_state) {
        return;
    }
    State& s = *m_state;
    if (s.thread.joinable()) {
        s.stopping = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(s.stopFd, &one, sizeof(one));
        pa_mainloop_wakeup(s.loop);
        s.thread.join();
    }
    // The recording's thread has ended: everything below is this thread's alone.
    s.running = false;
    if (s.stream != nullptr) {
        pa_stream_set_read_callback(s.stream, nullptr, nullptr);
        pa_stream_set_state_callback(s.stream, nullptr, nullptr);
        pa_stream_disconnect(s.stream);
        pa_stream_unref(s.stream);
    }
    if (s.context != nullptr) {
        pa_context_set_state_callback(s.context, nullptr, nullptr);
        pa_context_disconnect(s.context);
        pa_context_unref(s.context);
    }
    if (s.loop != nullptr) {
        pa_mainloop_free(s.loop);
    }
    if (s.stopFd >= 0) {
        ::close(s.stopFd);
    }
    m_state.reset();
}

} // namespace q407::app
