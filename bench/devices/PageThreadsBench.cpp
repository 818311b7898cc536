// What a device page's own threads cost while nothing happens: a mouse on the virtual bus with
// its listening thread waiting for event reports and its light thread animating the preview, and
// the same page with its device closed (light thread idling). cpu_share is the process CPU time
// over the wall time of the window, as a fraction of one core; fps is the preview frames the
// light thread produced per second (500 at the fastest mode: one frame per 2 ms step).

#include "BenchCounters.h"
#include "devices/DeviceModel.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

using namespace q407;
using namespace std::chrono_literals;

double ProcessCpuSeconds() {
    timespec spec{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &spec);
    return static_cast<double>(spec.tv_sec) + static_cast<double>(spec.tv_nsec) * 1e-9;
}

// args: light mode, speed level, device open (1) or closed (0)
void BM_PageThreadsIdle(benchmark::State& state) {
    sim::VirtualHidBus bus;
    auto mouse = sim::SimulatedProduct::Create(sim::SimProduct::MouseA);
    mouse->PlugInto(bus);
    devices::DeviceModel model(bus);
    hid::DeviceIdentity identity;
    identity.deviceType = hid::kDeviceMouse;
    model.SetIdentity(identity);
    model.SetLedCount(15);
    profiles::LightInfo light;
    light.mode = static_cast<std::uint8_t>(state.range(0));
    light.speed = static_cast<std::uint8_t>(state.range(1));
    light.brightness = 4;
    light.multiColor = 1;
    model.SetLightParams(light);
    if (state.range(2) != 0) {
        model.AttachCommand(protocol::kModeCable, mouse->CommandPath(bus));
    }
    model.StartListening(mouse->EventPath(bus), hid::kDeviceMouse);
    model.StartLightThread();
    std::this_thread::sleep_for(50ms);

    double cpu = 0;
    double wall = 0;
    std::uint32_t frames = 0;
    for (auto _ : state) {
        const auto frames0 = model.FrameCount();
        const double cpu0 = ProcessCpuSeconds();
        const auto wall0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(500ms);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        cpu += ProcessCpuSeconds() - cpu0;
        frames += model.FrameCount() - frames0;
    }
    model.StopPageThreads();
    state.counters["cpu_share"] = wall > 0 ? cpu / wall : 0;
    state.counters["fps"] = wall > 0 ? frames / wall : 0;
    q407::bench::ReportRss(state);
}
BENCHMARK(BM_PageThreadsIdle)
    ->ArgNames({"mode", "speed", "open"})
    ->Args({2, 4, 1}) // breathing, fastest: a frame every step
    ->Args({5, 0, 1}) // mode 5, slowest: a frame every 16 steps
    ->Args({2, 4, 0}) // device closed: the light thread idles
    ->Iterations(4)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
