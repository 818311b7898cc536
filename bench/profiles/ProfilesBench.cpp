// Costs the user feels on every change: loading a profile when a profile is selected, saving it
// after an edit (read, change, atomic write of the whole file), a profile list change, and
// building the macro image before a download. The floor is the filesystem, so the counters are
// latency and memory.

#include "BenchCounters.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CProfileList.h"
#include "profiles/DeviceKinds.h"
#include "profiles/MacroImage.h"

#include <chrono>
#include <filesystem>

namespace {

using namespace q407::profiles;

std::filesystem::path Scratch(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

template <typename Body>
void Measure(benchmark::State& state, Body body) {
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        body();
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
    state.counters["latency_ms"] =
        totalMs / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    q407::bench::ReportRss(state);
}

void BM_LoadKeyboardProfile(benchmark::State& state) {
    const auto path = DefaultProfilePath(DeviceFolderName(kKindKeyboard));
    CKeyboardProfiledata record;
    record.SetDefaultPath(path);
    Measure(state, [&] {
        record.LoadProfile(path);
        benchmark::DoNotOptimize(record.GetKeyList());
        benchmark::DoNotOptimize(record.GetCustomColours(0, 126));
        benchmark::DoNotOptimize(record.GetLightInfo());
    });
}
BENCHMARK(BM_LoadKeyboardProfile)->Unit(benchmark::kMicrosecond);

void BM_SaveKeyboardProfile(benchmark::State& state) {
    const auto dir = Scratch("q407-bench-profile");
    CKeyboardProfiledata record;
    record.SetDefaultPath(DefaultProfilePath(DeviceFolderName(kKindKeyboard)));
    record.SetProfilePath(dir / "p.Json");
    record.LoadProfile(dir / "p.Json");
    int mode = 0;
    Measure(state, [&] {
        record.SetLightInfo(LightInfo{.mode = static_cast<std::uint8_t>(++mode % 20)});
        if (!record.SaveProfile()) {
            state.SkipWithError("save failed");
        }
    });
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveKeyboardProfile)->Unit(benchmark::kMicrosecond);

void BM_RenameProfileInFullList(benchmark::State& state) {
    const auto dir = Scratch("q407-bench-list");
    CProfileList list(dir, DefaultProfilePath(DeviceFolderName(kKindMouse)), kKindMouse);
    list.InitProfiles();
    while (list.AddProfile() == CProfileList::kDone) {
    }
    int n = 0;
    Measure(state, [&] {
        if (list.RenameProfile("Name" + std::to_string(++n)) != CProfileList::kDone) {
            state.SkipWithError("rename failed");
        }
    });
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RenameProfileInFullList)->Unit(benchmark::kMicrosecond);

void BM_BuildFullMacroImage(benchmark::State& state) {
    // Fifty macros filling the largest macro memory a device can report.
    const std::size_t capacity = 255 * kMacroMemoryUnitBytes;
    const std::size_t eventsEach = (capacity - 16 - 6 * 50) / 4 / 50;
    const std::vector<std::vector<MacroEvent>> macros(
        50, std::vector<MacroEvent>(eventsEach, MacroEvent{true, 10, 4, 20}));
    std::vector<std::uint8_t> image;
    Measure(state, [&] {
        if (BuildMacroImage(macros, capacity, image) != 0) {
            state.SkipWithError("image refused");
        }
        benchmark::DoNotOptimize(image.data());
    });
}
BENCHMARK(BM_BuildFullMacroImage)->Unit(benchmark::kMicrosecond);

} // namespace
