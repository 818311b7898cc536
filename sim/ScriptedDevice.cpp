#include "sim/ScriptedDevice.h"

#include <vector>

namespace q407::sim {

std::shared_ptr<VirtualHidDevice> MakeInvertingEchoDevice(VirtualHidDeviceInfo info) {
    auto device = std::make_shared<VirtualHidDevice>(std::move(info));
    device->SetOutputHandler([](VirtualHidDevice& self, std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> answer(request.begin(), request.end());
        for (std::size_t i = 1; i < answer.size(); ++i) {
            answer[i] = static_cast<std::uint8_t>(~answer[i]);
        }
        self.SendInputReport(answer);
    });
    return device;
}

} // namespace q407::sim
