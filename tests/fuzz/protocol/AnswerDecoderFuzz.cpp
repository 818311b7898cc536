// Fuzzes what the protocol does with an answer a device sends: the decoder on its own, then a
// whole command whose answers are the fuzz bytes (through the virtual bus, so the report rules of
// the HID layer apply as they would to a real device).
//
// Input: byte 0 selects the connection and the command, the rest is the answer (or answers, cut
// every 64 bytes) the device sends to every request.

#include "protocol/CDeviceProtocol.h"
#include "protocol/Frame.h"
#include "sim/ProductInterfaces.h"
#include "sim/VirtualHidBus.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {

namespace p = q407::protocol;

class NoPause final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds) override {}
};

struct Rig {
    Rig() {
        q407::sim::VirtualHidDeviceInfo info;
        info.vendorId = 0xF5A7;
        info.productId = 0x4A01;
        info.reportDescriptor =
            q407::sim::BuildReportDescriptor({q407::sim::CollectionKind::Vendor});
        device = std::make_shared<q407::sim::VirtualHidDevice>(info);
        device->SetOutputHandler(
            [this](q407::sim::VirtualHidDevice& self, std::span<const std::uint8_t>) {
                for (std::size_t at = 0; at < answer.size(); at += p::kReportSize) {
                    const std::size_t n = std::min(p::kReportSize, answer.size() - at);
                    self.SendInputReport(std::span(answer).subspan(at, n));
                }
            });
        path = bus.Plug(device).front();
        p::TransactTimeouts timeouts{1, 1, 1, 0, 0};
        protocol.SetTimeouts(timeouts);
    }
    q407::sim::VirtualHidBus bus;
    std::shared_ptr<q407::sim::VirtualHidDevice> device;
    std::string path;
    NoPause pacer;
    p::CDeviceProtocol protocol{bus, pacer};
    std::vector<std::uint8_t> answer;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 4 * p::kReportSize + 1) {
        return 0;
    }
    const std::uint8_t selector = data[0];
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);

    // The decoder alone.
    p::Report answer{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), p::kReportSize), answer.begin());
    const p::Report request = p::BuildRequest(answer[p::kPosCommand], 0, {}, 24);
    const p::AnswerCheck check{(selector & 1) != 0, (selector & 2) != 0};
    const p::AnswerKind kind =
        p::ClassifyAnswer(request, answer, std::min(bytes.size(), p::kReportSize), check);
    if (kind == p::AnswerKind::Match && bytes.size() < p::kHeaderSize) {
        __builtin_trap(); // a match needs a whole header
    }
    (void)p::StatusResult(answer);
    (void)p::HexLines(answer);

    // A whole command answered with these bytes.
    static Rig rig;
    rig.answer.assign(bytes.begin(), bytes.end());
    const int mode = (selector & 1) != 0 ? p::kModeReceiver : p::kModeCable;
    if (!rig.protocol.IsOpened() || rig.protocol.IsWireless() != (mode == p::kModeReceiver)) {
        rig.protocol.Attach(mode, rig.path);
    }
    std::array<std::uint8_t, 512> destination{};
    int result = 0;
    switch ((selector >> 2) % 5) {
    case 0:
        result = rig.protocol.ReadDeviceInfo(std::span(destination).first<p::kDeviceInfoSize>());
        break;
    case 1:
        result = rig.protocol.ReadSettings(destination.data(), 80, 96);
        break;
    case 2:
        result = rig.protocol.StreamLight(destination.data(), 60);
        break;
    case 3:
        result = rig.protocol.ReadPowerState(destination.data(), selector, 0);
        break;
    default:
        result = rig.protocol.QueryWirelessLink() ? 1 : 0;
        break;
    }
    // Whatever came back, the protocol is idle again and the result is one of its codes.
    if (rig.protocol.IsBusy() || result < p::kResultStatusFE || result > p::kResultOk) {
        __builtin_trap();
    }
    return 0;
}
