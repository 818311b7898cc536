#pragma once

// Kernel-tier tests run inside the hid-vm (run-in-vm.sh sets RUNVM=1), as root, with /dev/uhid
// and the VM's two ALSA cards; elsewhere they report themselves skipped.

#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace testutil {

inline bool InsideHidVm() {
    const char* runvm = std::getenv("RUNVM"); // NOLINT(concurrency-mt-unsafe): read at start
    return runvm != nullptr && std::string_view(runvm) == "1" && ::access("/dev/uhid", W_OK) == 0;
}

} // namespace testutil
