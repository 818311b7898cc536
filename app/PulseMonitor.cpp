#include "app/PulseMonitor.h"

#include <chrono>
#include <pulse/pulseaudio.h>
#include <pulse/rtclock.h>

namespace q407::app {
namespace {

// How long the connection to the server may take before the recording is given up.
constexpr auto kConnectTimeout = std::chrono::seconds(5);

} // namespace

struct PulseMonitor::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    Samples samples;
    Failure failure;
    bool running = false;
    bool failed = false;

    static void OnContextState(pa_context* context, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        const pa_context_state_t state = pa_context_get_state(context);
        if ((state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) && self->running) {
            self->Fail("the sound server went away");
        }
        pa_threaded_mainloop_signal(self->loop, 0);
    }

    static void OnStreamState(pa_stream* stream, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        const pa_stream_state_t state = pa_stream_get_state(stream);
        if ((state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) && self->running) {
            self->Fail("the recording ended");
        }
        pa_threaded_mainloop_signal(self->loop, 0);
    }

    static void OnRead(pa_stream* stream, std::size_t, void* userdata) {
        auto* self = static_cast<State*>(userdata);
        const void* data = nullptr;
        std::size_t bytes = 0;
        while (pa_stream_readable_size(stream) > 0) {
            if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) {
                return;
            }
            // A hole (data == nullptr) is dropped: the analysis just sees the next samples.
            if (data != nullptr && self->samples) {
                self->samples(std::span(static_cast<const float*>(data), bytes / sizeof(float)));
            }
            pa_stream_drop(stream);
        }
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
        auto* self = static_cast<State*>(userdata);
        self->pastDeadline = true;
        pa_threaded_mainloop_signal(self->loop, 0);
    }

    // Waits (with the loop locked) until `ready` or `broken` says so, or the time-out passes: a
    // timer of the loop wakes the wait even when a server never answers.
    template <typename Ready, typename Broken>
    bool WaitFor(Ready ready, Broken broken) {
        pastDeadline = false;
        const auto timeout = std::chrono::duration_cast<std::chrono::microseconds>(kConnectTimeout);
        pa_time_event* deadline = pa_context_rttime_new(
            context, pa_rtclock_now() + static_cast<pa_usec_t>(timeout.count()), &OnDeadline, this);
        bool done = true;
        while (!ready()) {
            if (broken() || pastDeadline) {
                done = false;
                break;
            }
            pa_threaded_mainloop_wait(loop);
        }
        if (deadline != nullptr) {
            pa_threaded_mainloop_get_api(loop)->time_free(deadline);
        }
        return done;
    }
    bool pastDeadline = false;
};

PulseMonitor::PulseMonitor() = default;

PulseMonitor::~PulseMonitor() {
    Stop();
}

bool PulseMonitor::Start(unsigned sampleRate, unsigned fragmentMs, Samples samples, Failure failure,
                         std::string& reason) {
    Stop();
    m_state = std::make_unique<State>();
    State& s = *m_state;
    s.samples = std::move(samples);
    s.failure = std::move(failure);
    s.loop = pa_threaded_mainloop_new();
    if (s.loop == nullptr) {
        reason = "cannot make libpulse's main loop";
        return false;
    }
    s.context = pa_context_new(pa_threaded_mainloop_get_api(s.loop), "Q407 audio capture");
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
    pa_threaded_mainloop_lock(s.loop);
    if (pa_threaded_mainloop_start(s.loop) < 0) {
        pa_threaded_mainloop_unlock(s.loop);
        reason = "cannot start libpulse's thread";
        Stop();
        return false;
    }
    const bool connected =
        s.WaitFor([&] { return pa_context_get_state(s.context) == PA_CONTEXT_READY; },
                  [&] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(s.context)); });
    if (!connected) {
        reason = std::string("no sound server: ") + pa_strerror(pa_context_errno(s.context));
        pa_threaded_mainloop_unlock(s.loop);
        Stop();
        return false;
    }
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, sampleRate, 1};
    s.stream = pa_stream_new(s.context, "what the computer plays", &spec, nullptr);
    if (s.stream == nullptr) {
        reason = std::string("cannot record: ") + pa_strerror(pa_context_errno(s.context));
        pa_threaded_mainloop_unlock(s.loop);
        Stop();
        return false;
    }
    pa_stream_set_state_callback(s.stream, &State::OnStreamState, &s);
    pa_stream_set_read_callback(s.stream, &State::OnRead, &s);
    // Small fragments keep the light close behind the sound.
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.fragsize =
        static_cast<std::uint32_t>(sampleRate * sizeof(float) * fragmentMs / 1000);
    attributes.tlength = attributes.prebuf = attributes.minreq = static_cast<std::uint32_t>(-1);
    const bool recording =
        pa_stream_connect_record(s.stream, "@DEFAULT_MONITOR@", &attributes,
                                 PA_STREAM_ADJUST_LATENCY) == 0 &&
        s.WaitFor([&] { return pa_stream_get_state(s.stream) == PA_STREAM_READY; },
                  [&] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(s.stream)); });
    if (!recording) {
        reason = std::string("cannot record the output's monitor: ") +
                 pa_strerror(pa_context_errno(s.context));
        pa_threaded_mainloop_unlock(s.loop);
        Stop();
        return false;
    }
    s.running = true;
    pa_threaded_mainloop_unlock(s.loop);
    return true;
}

void PulseMonitor::Stop() {
    if (!m_state) {
        return;
    }
    State& s = *m_state;
    if (s.loop != nullptr) {
        pa_threaded_mainloop_lock(s.loop);
        s.running = false;
        if (s.stream != nullptr) {
            pa_stream_set_read_callback(s.stream, nullptr, nullptr);
            pa_stream_set_state_callback(s.stream, nullptr, nullptr);
            pa_stream_disconnect(s.stream);
            pa_stream_unref(s.stream);
            s.stream = nullptr;
        }
        if (s.context != nullptr) {
            pa_context_set_state_callback(s.context, nullptr, nullptr);
            pa_context_disconnect(s.context);
            pa_context_unref(s.context);
            s.context = nullptr;
        }
        pa_threaded_mainloop_unlock(s.loop);
        pa_threaded_mainloop_stop(s.loop);
        pa_threaded_mainloop_free(s.loop);
        s.loop = nullptr;
    }
    m_state.reset();
}

} // namespace q407::app
