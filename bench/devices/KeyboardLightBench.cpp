// Cost of one step of each keyboard light mode over all 170 keys. The light thread steps at most
// about 500 times a second, so cpu_share is the step time × 500: the fraction of one core the
// engine would take running that mode flat out (goal: under 0.025, i.e. well under 50 µs a step).

#include "BenchCounters.h"
#include "devices/KeyboardLightEngine.h"

#include <array>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace q407::devices;

class BenchClock final : public LightClock {
public:
    std::uint32_t NowMs() const override { return now; }
    std::uint32_t now = 1000;
};

constexpr double kStepsPerSecond = 500.0;

void Report(benchmark::State& state, std::chrono::steady_clock::duration spent) {
    const double seconds = std::chrono::duration<double>(spent).count();
    const double perStep = seconds / static_cast<double>(state.iterations());
    state.counters["latency_ms"] = perStep * 1e3;
    state.counters["cpu_share"] = perStep * kStepsPerSecond;
    q407::bench::ReportRss(state);
}

KeyboardLight BenchLight(int mode) {
    KeyboardLight light;
    light.mode = static_cast<std::uint8_t>(mode);
    light.brightness = 4;
    light.speed = 4;
    light.direction = 1;
    light.multiColour = true;
    light.colour = {10, 20, 30};
    return light;
}

// One step of light mode state.range(0); mode 29 runs audio mode state.range(1) and takes fresh
// band levels before each step, as it does while music plays.
void BM_KeyboardLightStep(benchmark::State& state) {
    const int mode = static_cast<int>(state.range(0));
    BenchClock clock;
    SeededLightRandom random(1);
    KeyboardLightEngine engine(clock, random);
    KeyboardAudioLight audio;
    audio.audioMode = static_cast<std::uint8_t>(state.range(1));
    audio.sevenColour = true;
    std::vector<EffectStep> effect(2);
    effect[0].mode = 4;
    effect[0].multiColour = true;
    effect[0].timeMs = 5;
    effect[1].mode = 0;
    effect[1].timeMs = 5;
    engine.LoadLighting(BenchLight(mode), audio, {}, effect);
    KeyboardLightEngine::KeyBytes positions;
    for (std::size_t k = 0; k < positions.size(); ++k) {
        positions[k] = static_cast<std::uint8_t>(k < 126 ? k : 255);
    }
    engine.SetPositionMap(positions);
    std::array<std::int32_t, 25> levels{};
    std::uint32_t tick = 0;
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        ++tick;
        clock.now += 1;
        if (mode == 29) {
            for (std::size_t b = 0; b < levels.size(); ++b) {
                levels[b] = static_cast<std::int32_t>((tick * 37 + b * 211) % 2400);
            }
            engine.SetMusicLevels(levels);
        } else if (tick % 16 == 0) {
            engine.OnDeviceKey(tick % 126, 1 + (tick / 16) % 2);
        }
        const auto start = std::chrono::steady_clock::now();
        engine.StepOnce();
        spent += std::chrono::steady_clock::now() - start;
        benchmark::DoNotOptimize(engine.GetFrame());
    }
    Report(state, spent);
}

void StepArguments(benchmark::internal::Benchmark* bench) {
    for (int mode = 1; mode <= 30; ++mode) {
        if (mode == 29) {
            for (int audioMode = 0; audioMode <= 6; ++audioMode) {
                bench->Args({mode, audioMode});
            }
        } else {
            bench->Args({mode, 0});
        }
    }
}
BENCHMARK(BM_KeyboardLightStep)->Apply(StepArguments)->ArgNames({"mode", "audio"});

// A whole wake with a full light list: step, then 170 per-LED overrides of every kind.
void BM_KeyboardLightWakeWithOverrides(benchmark::State& state) {
    BenchClock clock;
    SeededLightRandom random(1);
    KeyboardLightEngine engine(clock, random);
    std::vector<LedOverride> overrides(170);
    for (std::size_t i = 0; i < overrides.size(); ++i) {
        overrides[i].mode = static_cast<std::uint8_t>(i % 5);
        overrides[i].brightness = 4;
        overrides[i].speed = static_cast<std::uint8_t>(i % 5);
        overrides[i].multiColour = i % 2 == 0;
        overrides[i].valid = true;
    }
    KeyboardLight light = BenchLight(1);
    engine.LoadLighting(light, {}, overrides, {});
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        clock.now += 2;
        const auto start = std::chrono::steady_clock::now();
        engine.Wake();
        spent += std::chrono::steady_clock::now() - start;
    }
    Report(state, spent);
}
BENCHMARK(BM_KeyboardLightWakeWithOverrides);

} // namespace
