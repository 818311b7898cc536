// The keyboard model streaming its engine's frame in light mode 30 (colour input) on the 1 ms USB
// frame link, by cable and through the receiver, with its own light and stream threads as the
// page runs them. The colour input changes every 2 ms, so every frame is a new one:
//  - fps: frames the keyboard completed per second;
//  - link_share: fps over the link's limit of one 510-byte frame per (chunks × two frames);
//    goal 0.9;
//  - cpu_share: the process's CPU time over the wall time (the simulated keyboard included).

#include "BenchCounters.h"
#include "BenchUserFolder.h"
#include "LinkFloor.h"
#include "devices/KeyboardModel.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace q407::bench {
namespace {

using namespace std::chrono_literals;
using sim::SimProduct;
using Clock = std::chrono::steady_clock;

class NoPause final : public protocol::Pacer {
public:
    void Pause(std::chrono::milliseconds) override {}
};

struct KeyboardRig {
    explicit KeyboardRig(SimProduct which)
        : receiver(which == SimProduct::KeyboardKReceiver),
          product(sim::SimulatedProduct::Create(which)), model(bus, nullptr, nullptr, pacer) {
        product->PlugInto(bus);
        product->SetLink({0us, kLinkFrame});
        hid::DeviceIdentity identity;
        identity.vendorId = hid::kVendorId;
        identity.productId = receiver ? hid::kProductKeyboardKReceiver : hid::kProductKeyboardK;
        identity.deviceType = receiver ? hid::kDeviceKeyboardReceiver : hid::kDeviceKeyboard;
        model.SetIdentity(identity);
        model.SetDeviceFolderName("Keyboard");
        model.SetProfileUuid("2026_12_09_11_00_00_000");
        model.SetLightConfigName("ravik_light");
        model.SetLedCount(170);
        model.SetLightOutput(true);
        model.SetPreviewPaused(true); // the window is hidden: only the stream runs
        model.AttachCommand(receiver ? protocol::kModeReceiver : protocol::kModeCable,
                            product->CommandPath(bus));
    }
    bool Activate() {
        if (model.ReadKeyTables() != 1 || model.LoadProfile() != 1 ||
            model.ReadSettingsBlock() != 1) {
            return false;
        }
        profiles::LightInfo info = model.GetLightParams();
        info.mode = devices::kColourInputMode;
        info.speed = 4; // the engine takes the input on every step
        return model.ApplyLightParams(info) == 1;
    }

    bool receiver;
    UserFolder folder{"keyboard"};
    NoPause pacer;
    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    devices::KeyboardModel model;
};

void BM_KeyboardStreamMode30(benchmark::State& state) {
    KeyboardRig rig(static_cast<SimProduct>(state.range(0)));
    if (!rig.Activate()) {
        state.SkipWithError("the keyboard could not be read");
        return;
    }
    rig.model.StartLightThread();
    int colour = 0;
    const auto feed = [&](std::chrono::milliseconds length) {
        for (const auto end = Clock::now() + length; Clock::now() < end;) {
            const std::int32_t input[] = {colour++ & 0xFF, 40, 90};
            rig.model.SetColourInput(input);
            std::this_thread::sleep_for(2ms);
        }
    };
    feed(300ms); // the stream settles into its pace
    int frames = 0;
    std::chrono::duration<double> elapsed{0};
    double cpu = 0;
    for (auto _ : state) {
        const int before = rig.product->Firmware().LightFramesCompleted();
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        feed(3s);
        elapsed += Clock::now() - start;
        cpu += CpuSeconds() - cpuStart;
        frames += rig.product->Firmware().LightFramesCompleted() - before;
    }
    rig.model.StopPageThreads();
    const std::size_t chunk = rig.receiver ? protocol::kReceiverChunk : protocol::kMaxData;
    const std::size_t chunks = (510 + chunk - 1) / chunk;
    const double limit =
        1.0 / (static_cast<double>(chunks) * 2 * std::chrono::duration<double>(kLinkFrame).count());
    const double fps = frames / elapsed.count();
    state.counters["fps"] = fps;
    state.counters["link_share"] = fps / limit;
    state.counters["cpu_share"] = cpu / elapsed.count();
    ReportRss(state);
}
BENCHMARK(BM_KeyboardStreamMode30)
    ->ArgName("product")
    ->Arg(static_cast<int>(SimProduct::KeyboardK))
    ->Arg(static_cast<int>(SimProduct::KeyboardKReceiver))
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace q407::bench
