// The mouse model on the 1 ms USB frame link with the protocol's real pauses, by cable and
// through the receiver, as ratio_to_floor (see LinkFloor.h):
//  - activation: read the mouse, load the selected profile, read the settings block back into
//    it (the profile file is written), as the page does on its first activation;
//  - one DPI edit: the stage changes, the profile file is saved and the block is written.

#include "BenchCounters.h"
#include "BenchUserFolder.h"
#include "LinkFloor.h"
#include "devices/MouseModel.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace q407::bench {
namespace {

using namespace std::chrono_literals;
using sim::SimProduct;
using Clock = std::chrono::steady_clock;

struct MouseRig {
    explicit MouseRig(SimProduct which)
        : product(sim::SimulatedProduct::Create(which)), model(bus) {
        product->PlugInto(bus);
        product->SetLink({0us, kLinkFrame});
        const bool receiver = which != SimProduct::MouseA;
        hid::DeviceIdentity identity;
        identity.vendorId = hid::kVendorId;
        identity.productId = receiver ? hid::kProductMouseAReceiver : hid::kProductMouseA;
        identity.deviceType = receiver ? hid::kDeviceMouseReceiver : hid::kDeviceMouse;
        model.SetIdentity(identity);
        model.SetDeviceFolderName("Mouse");
        model.SetProfileUuid("2026_12_09_10_00_00_000");
        model.SetLightConfigName("ravik_light");
        model.AttachCommand(receiver ? protocol::kModeReceiver : protocol::kModeCable,
                            product->CommandPath(bus));
    }

    UserFolder folder{"mouse"};
    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    devices::MouseModel model;
};

template <typename Body>
void RunAgainstFloor(benchmark::State& state, MouseRig& rig, Body body) {
    std::chrono::duration<double> elapsed{0};
    std::chrono::duration<double> floor{0};
    double cpu = 0;
    FloorSinceLastCall(rig.product->Firmware());
    for (auto _ : state) {
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        if (!body()) {
            state.SkipWithError("the mouse did not take it");
            return;
        }
        elapsed += Clock::now() - start;
        cpu += CpuSeconds() - cpuStart;
        floor += FloorSinceLastCall(rig.product->Firmware());
    }
    state.counters["ratio_to_floor"] = elapsed / floor;
    state.counters["latency_ms"] =
        1000.0 * elapsed.count() / static_cast<double>(state.iterations());
    state.counters["cpu_share"] = cpu / elapsed.count();
    ReportRss(state);
}

void BM_MouseActivation(benchmark::State& state) {
    MouseRig rig(static_cast<SimProduct>(state.range(0)));
    RunAgainstFloor(state, rig, [&] {
        return rig.model.ReadDevice() == 1 && rig.model.LoadProfile() == 1 &&
               rig.model.ReadDeviceConfig() == 1;
    });
}
BENCHMARK(BM_MouseActivation)
    ->ArgName("product")
    ->Arg(static_cast<int>(SimProduct::MouseA))
    ->Arg(static_cast<int>(SimProduct::MouseAReceiver))
    ->Iterations(4)
    ->UseRealTime();

void BM_MouseDpiEdit(benchmark::State& state) {
    MouseRig rig(static_cast<SimProduct>(state.range(0)));
    if (rig.model.ReadDevice() != 1 || rig.model.LoadProfile() != 1 ||
        rig.model.ReadDeviceConfig() != 1) {
        state.SkipWithError("activation failed");
        return;
    }
    int dpi = 400;
    RunAgainstFloor(state, rig, [&] {
        dpi = dpi >= 20000 ? 400 : dpi + 50;
        return rig.model.SetDpiValue(1, dpi) == 1;
    });
}
BENCHMARK(BM_MouseDpiEdit)
    ->ArgName("product")
    ->Arg(static_cast<int>(SimProduct::MouseA))
    ->Arg(static_cast<int>(SimProduct::MouseAReceiver))
    ->Iterations(8)
    ->UseRealTime();

} // namespace
} // namespace q407::bench
