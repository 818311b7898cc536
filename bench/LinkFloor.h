#pragma once

// The protocol's own floor on the 1 ms USB frame link, for ratio_to_floor: per transaction of a
// command its 20 ms pause plus the one frame its request waits for, plus 10 ms before each end
// of sequence; per light-stream transaction two frames (request, then answer).

#include "protocol/Frame.h"
#include "sim/FirmwareModel.h"

#include <chrono>
#include <ctime>

namespace q407::bench {

inline constexpr std::chrono::milliseconds kLinkFrame{1};

// The floor of every request the firmware saw since the last call (which forgets them).
inline std::chrono::duration<double> FloorSinceLastCall(sim::FirmwareModel& firmware) {
    using namespace std::chrono_literals;
    std::chrono::duration<double> floor{0};
    for (const protocol::Report& request : firmware.Requests()) {
        const std::uint8_t command = request[protocol::kPosCommand];
        if (command == protocol::kCmdLightStream) {
            floor += 2 * kLinkFrame;
        } else {
            floor += 20ms + kLinkFrame;
            if (command == protocol::kCmdEnd) {
                floor += 10ms;
            }
        }
    }
    firmware.ClearRequests();
    return floor;
}

// CPU time of the whole process, in seconds.
inline double CpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

} // namespace q407::bench
