// Benchmarks of the command protocol against the firmware models on the virtual bus.
//
//  - Transaction overhead: one command with the pauses skipped and an instant link, i.e. what our
//    own code (framing, locks, HID record, virtual bus, firmware model) costs per transaction.
//  - Settings write and full mouse read on the 1 ms USB frame model with the real pauses, as
//    ratio_to_floor: elapsed time over the protocol's floor, which is, per transaction of a
//    command, its 20 ms pause plus the one frame its request waits for, plus 10 ms before each
//    end of sequence; per light-stream transaction, two frames (request, then answer).
//  - Light stream of a 510-byte keyboard frame on the same link: fps, and link_share against the
//    link's limit of one chunk per two frames.

#include "BenchCounters.h"
#include "LinkFloor.h"
#include "protocol/CDeviceProtocol.h"
#include "protocol/Sequences.h"
#include "sim/SimulatedProduct.h"

#include <benchmark/benchmark.h>

namespace q407::bench {
namespace {

using namespace std::chrono_literals;
namespace p = protocol;
using sim::SimProduct;
using Clock = std::chrono::steady_clock;

constexpr auto kFrame = kLinkFrame;

class NoPause final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds) override {}
};

bool IsReceiver(SimProduct product) {
    return product == SimProduct::MouseAReceiver || product == SimProduct::MouseBReceiver ||
           product == SimProduct::KeyboardKReceiver;
}

struct Rig {
    Rig(SimProduct which, p::Pacer& pacer, const sim::LinkModel& link)
        : product(sim::SimulatedProduct::Create(which)), protocol(bus, pacer) {
        product->PlugInto(bus);
        protocol.Attach(IsReceiver(which) ? p::kModeReceiver : p::kModeCable,
                        product->CommandPath(bus));
        product->SetLink(link);
    }
    // The floor of everything the device has been asked since the last call.
    std::chrono::duration<double> FloorSinceLastCall() {
        return bench::FloorSinceLastCall(product->Firmware());
    }

    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    p::CDeviceProtocol protocol;
};

// Runs `body` per iteration on the frame-model link with the real pauses; reports
// ratio_to_floor, latency_ms and cpu_share.
template <typename Body>
void RunAgainstFloor(benchmark::State& state, SimProduct which, Body body) {
    Rig rig(which, p::DefaultPacer(), {0us, kFrame});
    std::chrono::duration<double> elapsed{0};
    std::chrono::duration<double> floor{0};
    double cpu = 0;
    rig.FloorSinceLastCall();
    for (auto _ : state) {
        const double cpuStart = CpuSeconds();
        const auto start = Clock::now();
        if (body(rig.protocol) != p::kResultOk) {
            state.SkipWithError("command sequence failed");
            return;
        }
        elapsed += Clock::now() - start;
        cpu += CpuSeconds() - cpuStart;
        floor += rig.FloorSinceLastCall();
    }
    state.counters["ratio_to_floor"] = elapsed / floor;
    state.counters["latency_ms"] =
        1000.0 * elapsed.count() / static_cast<double>(state.iterations());
    state.counters["cpu_share"] = cpu / elapsed.count();
    ReportRss(state);
}

void BM_TransactionOverhead(benchmark::State& state) {
    NoPause pacer;
    Rig rig(static_cast<SimProduct>(state.range(0)), pacer, {});
    double cpu = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const double cpuStart = CpuSeconds();
        benchmark::DoNotOptimize(rig.protocol.BeginConfig());
        cpu += CpuSeconds() - cpuStart;
    }
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    state.counters["latency_ms"] =
        1000.0 * elapsed.count() / static_cast<double>(state.iterations());
    state.counters["cpu_share"] = cpu / elapsed.count();
}
BENCHMARK(BM_TransactionOverhead)
    ->ArgName("receiver")
    ->Arg(static_cast<int>(SimProduct::MouseA))
    ->Arg(static_cast<int>(SimProduct::MouseAReceiver));

void BM_SettingsWriteRoundTrip(benchmark::State& state) {
    const std::vector<std::uint8_t> block = sim::SaneMouseA().settingsMemory;
    RunAgainstFloor(state, static_cast<SimProduct>(state.range(0)), [&](p::CDeviceProtocol& pr) {
        return p::WriteSettingsSequence(pr, p::kMouseSettings, 1, block);
    });
}
BENCHMARK(BM_SettingsWriteRoundTrip)
    ->ArgName("product")
    ->Arg(static_cast<int>(SimProduct::MouseA))
    ->Arg(static_cast<int>(SimProduct::MouseAReceiver))
    ->Iterations(5)
    ->UseRealTime();

void BM_FullMouseRead(benchmark::State& state) {
    RunAgainstFloor(state, static_cast<SimProduct>(state.range(0)), [](p::CDeviceProtocol& pr) {
        p::DeviceTables tables;
        return p::ReadMouse(pr, tables);
    });
}
BENCHMARK(BM_FullMouseRead)
    ->ArgName("product")
    ->Arg(static_cast<int>(SimProduct::MouseA))
    ->Arg(static_cast<int>(SimProduct::MouseAReceiver))
    ->Iterations(3)
    ->UseRealTime();

void BM_LightStream510(benchmark::State& state) {
    const auto which = static_cast<SimProduct>(state.range(0));
    NoPause pacer; // the light stream has no pause of its own
    Rig rig(which, pacer, {0us, kFrame});
    std::vector<std::uint8_t> frame(510);
    const std::size_t chunks =
        (frame.size() + rig.protocol.ChunkSize() - 1) / rig.protocol.ChunkSize();
    const auto start = Clock::now();
    double cpu = 0;
    for (auto _ : state) {
        const double cpuStart = CpuSeconds();
        frame[0] = static_cast<std::uint8_t>(frame[0] + 1);
        if (rig.protocol.StreamLight(frame.data(), frame.size()) != p::kResultOk) {
            state.SkipWithError("light stream failed");
            return;
        }
        cpu += CpuSeconds() - cpuStart;
    }
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    const double fps = static_cast<double>(state.iterations()) / elapsed.count();
    const double limit =
        1.0 / (static_cast<double>(chunks) * 2 * std::chrono::duration<double>(kFrame).count());
    state.counters["fps"] = fps;
    state.counters["link_share"] = fps / limit;
    state.counters["cpu_share"] = cpu / elapsed.count();
}
BENCHMARK(BM_LightStream510)
    ->ArgName("product")
    ->Arg(static_cast<int>(SimProduct::KeyboardK))
    ->Arg(static_cast<int>(SimProduct::KeyboardKReceiver))
    ->Iterations(40)
    ->UseRealTime();

} // namespace
} // namespace q407::bench
