// What the headset page costs while the program drives the headset's LEDs itself: every repaint
// of the preview (timer 1000, 10 ms by cable) sends a new frame as twelve LED output reports on
// the UI thread. The headset sits on the virtual bus. latency_ms is the time one frame's twelve
// reports take to send (the UI thread waits that long), fps the frames sent per second, and
// cpu_share the process CPU time over the wall time, as a fraction of one core.

#include "BenchCounters.h"
#include "devices/HeadsetModel.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

using namespace q407;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double ProcessCpuSeconds() {
    timespec spec{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spec);
    return static_cast<double>(spec.tv_sec) + static_cast<double>(spec.tv_nsec) * 1e-9;
}

void BM_HeadsetLedFrames(benchmark::State& state) {
    sim::VirtualHidBus bus;
    auto headset = sim::SimulatedProduct::Create(sim::SimProduct::Headset);
    headset->PlugInto(bus);
    devices::HeadsetModel model(bus);
    model.SetLedCount(13);
    model.AttachCommand(protocol::kModeCable, headset->CommandPath(bus));
    profiles::LightInfo light;
    light.mode = 1; // spectrum: a new frame on every step
    light.brightness = 4;
    model.SetLightParams(light);

    double cpu = 0;
    double wall = 0;
    double sending = 0;
    int frames = 0;
    for (auto _ : state) {
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = Clock::now();
        auto due = wall0;
        while (Clock::now() - wall0 < 500ms) {
            model.PreviewSpectrum();
            const auto send0 = Clock::now();
            model.WriteLedReports(model.LedColours());
            sending += std::chrono::duration<double, std::milli>(Clock::now() - send0).count();
            ++frames;
            due += 10ms;
            std::this_thread::sleep_until(due);
        }
        wall += std::chrono::duration<double>(Clock::now() - wall0).count();
        cpu += ProcessCpuSeconds() - cpu0;
    }
    state.counters["latency_ms"] = frames > 0 ? sending / frames : 0;
    state.counters["fps"] = wall > 0 ? frames / wall : 0;
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    bench::ReportRss(state);
}
BENCHMARK(BM_HeadsetLedFrames)->Iterations(4)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
