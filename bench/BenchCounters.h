#pragma once

// Helpers that turn measurements into the counters every benchmark reports under the same names.

#include <benchmark/benchmark.h>
#include <fstream>
#include <string>

namespace q407::bench {

// Resident set size of this process in MiB, read from /proc.
inline double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0.0;
}

inline void ReportRss(benchmark::State& state) {
    state.counters["rss_mb"] = ResidentMegabytes();
}

} // namespace q407::bench
