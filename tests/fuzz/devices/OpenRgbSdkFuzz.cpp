// Arbitrary bytes as a lighting client's stream to the SDK server: whatever packets come out are
// run through every request decoder at the protocol version the header's device id picks. A
// decoder must never read past a payload, and what it accepts must fit in the bytes that came
// (checked here, so a lying count is a crash); accepted segments and modes are encoded back.

#include "devices/OpenRgbSdk.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

namespace sdk = q407::devices::sdk;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void Decode(const sdk::Packet& packet) {
    const std::span<const std::uint8_t> payload(packet.payload);
    const std::uint32_t protocol = packet.device % (sdk::kNewestProtocol + 2);
    sdk::Controller controller;
    controller.zones.resize(1);
    if (const auto leds = sdk::DecodeUpdateLeds(payload)) {
        Require(6 + 4 * leds->size() <= payload.size());
        controller.colours = *leds;
    }
    if (const auto zone = sdk::DecodeUpdateZoneLeds(payload)) {
        Require(10 + 4 * zone->colours.size() <= payload.size());
    }
    sdk::DecodeUpdateSingleLed(payload);
    sdk::DecodeClearSegments(payload);
    sdk::DecodeU32(payload);
    Require(sdk::DecodeName(payload).size() <= payload.size());
    sdk::NegotiatedProtocol(payload);
    if (const auto update = sdk::DecodeUpdateMode(payload, protocol)) {
        Require(4 * update->mode.colours.size() + update->mode.name.size() <= payload.size());
        controller.modes.push_back(update->mode);
    }
    if (const auto update = sdk::DecodeUpdateZoneMode(payload)) {
        Require(update->index >= sdk::kControllerMode);
        controller.zones[0].modes.push_back(update->mode);
    }
    if (const auto add = sdk::DecodeAddSegment(payload, protocol)) {
        const sdk::Segment& segment = add->segment;
        Require(segment.matrix.size() == std::size_t{segment.matrixHeight} * segment.matrixWidth);
        Require(4 * segment.matrix.size() <= payload.size());
        controller.zones[0].segments.push_back(segment);
    }
    const std::vector<std::uint8_t> block = sdk::EncodeControllerData(controller, protocol);
    Require(block.size() >= 4);
    sdk::EncodeSignalUpdate(sdk::kReasonUpdateMode, controller, protocol);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sdk::PacketReader reader;
    // The stream arrives in pieces of varying size, as from a socket.
    std::size_t at = 0;
    std::size_t piece = 1;
    while (at < size) {
        const std::size_t count = std::min(piece, size - at);
        reader.Append(std::span(data + at, count));
        at += count;
        piece = piece * 3 % 97 + 1;
        while (auto packet = reader.Next()) {
            Require(packet->payload.size() <= sdk::kMaxPayload);
            Decode(*packet);
        }
    }
    return 0;
}
