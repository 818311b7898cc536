// Cost of one atomic profile write (temporary file, fsync, rename) for typical profile sizes.
// The floor here is the filesystem itself, so the counters are latency and memory only.

#include "BenchCounters.h"
#include "common/AtomicFile.h"

#include <chrono>
#include <filesystem>

namespace {

void BM_AtomicWrite(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path() / "q407-bench-atomic";
    std::filesystem::create_directories(dir);
    const std::string contents(static_cast<size_t>(state.range(0)), 'x');
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!q407::WriteFileAtomically(dir / "profile.json", contents)) {
            state.SkipWithError("write failed");
            break;
        }
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    }
    state.counters["latency_ms"] =
        totalMs / static_cast<double>(std::max<int64_t>(1, state.iterations()));
    q407::bench::ReportRss(state);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_AtomicWrite)->Arg(4 << 10)->Arg(64 << 10)->Unit(benchmark::kMicrosecond);

} // namespace
