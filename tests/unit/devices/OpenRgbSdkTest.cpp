// The OpenRGB SDK protocol codec: packets split from a byte stream however it arrives, the
// controller data block for every protocol version byte by byte, the server's own packets of
// version 6, each lighting, mode and segment request, and damaged input refused without reading
// past it.

#include "devices/OpenRgbSdk.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sdk = q407::devices::sdk;
using Bytes = std::vector<std::uint8_t>;
using q407::devices::Rgb;

namespace {

// Builds expected bytes in the protocol's little-endian layout.
struct Expect {
    Bytes bytes;
    Expect& U16(unsigned v) {
        bytes.insert(bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
        return *this;
    }
    Expect& U32(unsigned v) {
        bytes.insert(bytes.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                                   std::uint8_t(v >> 24)});
        return *this;
    }
    // `count` numbers of value 0: a mode's numbers where their values do not matter.
    Expect& Zeros(int count) {
        for (int i = 0; i < count; ++i) {
            U32(0);
        }
        return *this;
    }
    Expect& Str(const std::string& s) {
        U16(static_cast<unsigned>(s.size() + 1));
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        return *this;
    }
    Expect& Colour(Rgb c) {
        bytes.insert(bytes.end(), {c.red, c.green, c.blue, 0});
        return *this;
    }
};

sdk::Controller SmallKeyboard() {
    sdk::Controller c;
    c.type = sdk::kTypeKeyboard;
    c.name = "K";
    c.vendor = "V";
    c.description = "D";
    c.version = "1";
    c.serial = "S";
    c.location = "L";
    sdk::Mode direct;
    direct.name = "Direct";
    direct.value = 30;
    direct.flags = sdk::kModeHasPerLedColour;
    direct.brightnessMax = 4;
    direct.brightness = 4;
    direct.colourMode = sdk::kColourModePerLed;
    c.modes = {direct};
    sdk::Zone keys;
    keys.name = "Keys";
    keys.type = sdk::kZoneMatrix;
    keys.ledCount = 2;
    keys.matrixHeight = 1;
    keys.matrixWidth = 3;
    keys.matrix = {0, sdk::kNoLed, 1};
    sdk::Segment segment;
    segment.name = "Seg";
    segment.type = 1;
    segment.start = 1;
    segment.ledCount = 1;
    segment.matrixHeight = 1;
    segment.matrixWidth = 1;
    segment.matrix = {0};
    segment.flags = 2;
    keys.segments = {segment};
    keys.flags = 0x11;
    keys.displayName = "Z";
    c.zones = {keys};
    c.ledNames = {"A", "B"};
    c.colours = {{1, 2, 3}, {4, 5, 6}};
    c.ledDisplayNames = {"a", "bb"};
    c.flags = 0x22;
    c.displayName = "N";
    c.configuration = "{}";
    return c;
}

Bytes ExpectedKeyboard(unsigned protocol) {
    Expect body;
    body.U32(sdk::kTypeKeyboard).Str("K");
    if (protocol >= 1) {
        body.Str("V");
    }
    body.Str("D").Str("1").Str("S").Str("L");
    body.U16(1).U32(0); // one mode, mode 0 active
    body.Str("Direct");
    if (protocol < 6) {
        body.U32(30); // the mode's value: from version 6 on a mode is known by its index
    }
    body.U32(sdk::kModeHasPerLedColour).U32(0).U32(0);
    if (protocol >= 3) {
        body.U32(0).U32(4);
    }
    body.U32(0).U32(0).U32(0);
    if (protocol >= 3) {
        body.U32(4);
    }
    body.U32(0).U32(sdk::kColourModePerLed).U16(0);
    body.U16(1).Str("Keys").U32(sdk::kZoneMatrix).U32(2).U32(2).U32(2);
    body.U16(8 + 12).U32(1).U32(3).U32(0).U32(sdk::kNoLed).U32(1);
    if (protocol >= 4) {
        body.U16(1).Str("Seg").U32(1).U32(1).U32(1);
    }
    if (protocol >= 6) {
        body.U16(8 + 4).U32(1).U32(1).U32(0).U32(2); // the segment's matrix and flags
    }
    if (protocol >= 5) {
        body.U32(0x11);
    }
    if (protocol >= 6) {
        // The zone follows the controller's mode: no modes of its own.
        body.U32(0xFFFFFFFF).U16(0).Str("Z");
    }
    body.U16(2).Str("A");
    if (protocol < 6) {
        body.U32(0); // the LED's value
    }
    body.Str("B");
    if (protocol < 6) {
        body.U32(1);
    }
    body.U16(2).Colour({1, 2, 3}).Colour({4, 5, 6});
    if (protocol >= 5) {
        body.U16(2).Str("a").Str("bb").U32(0x22);
    }
    if (protocol >= 6) {
        body.Str("N").U32(3).bytes.insert(body.bytes.end(), {'{', '}', 0});
    }
    Expect block;
    block.U32(static_cast<unsigned>(body.bytes.size() + 4));
    block.bytes.insert(block.bytes.end(), body.bytes.begin(), body.bytes.end());
    return block.bytes;
}

} // namespace

TEST(OpenRgbSdk, PacketsComeOutWholeHoweverTheStreamIsCut) {
    Bytes stream = sdk::EncodePacket(3, sdk::kUpdateSingleLed, Bytes{1, 2, 3, 4, 5, 6, 7, 8});
    const Bytes second = sdk::EncodePacket(0, sdk::kRequestControllerCount);
    stream.insert(stream.end(), second.begin(), second.end());
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{15}, std::size_t{16},
                            std::size_t{23}, std::size_t{24}, stream.size()}) {
        sdk::PacketReader reader;
        reader.Append(std::span(stream).first(cut));
        std::vector<sdk::Packet> packets;
        while (auto packet = reader.Next()) {
            packets.push_back(*packet);
        }
        reader.Append(std::span(stream).subspan(cut));
        while (auto packet = reader.Next()) {
            packets.push_back(*packet);
        }
        ASSERT_EQ(packets.size(), 2U) << "cut at " << cut;
        EXPECT_EQ(packets[0].device, 3U);
        EXPECT_EQ(packets[0].id, sdk::kUpdateSingleLed);
        EXPECT_EQ(packets[0].payload, (Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_EQ(packets[1].id, sdk::kRequestControllerCount);
        EXPECT_TRUE(packets[1].payload.empty());
        EXPECT_FALSE(reader.Broken());
    }
}

TEST(OpenRgbSdk, AWrongMagicOrAnOversizedPayloadBreaksTheStream) {
    struct Case {
        const char* what;
        Bytes header;
    };
    Bytes oversized = sdk::EncodePacket(0, sdk::kUpdateLeds);
    oversized[12] = 0x01;
    oversized[14] = 0x10; // 0x00100001 bytes
    const std::vector<Case> cases{
        {"magic", Bytes{'O', 'R', 'G', 'X', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"size", oversized},
    };
    for (const Case& c : cases) {
        sdk::PacketReader reader;
        reader.Append(c.header);
        EXPECT_FALSE(reader.Next()) << c.what;
        EXPECT_TRUE(reader.Broken()) << c.what;
        reader.Append(sdk::EncodePacket(0, 0));
        EXPECT_FALSE(reader.Next()) << c.what << ": nothing after a break";
    }
}

TEST(OpenRgbSdk, ControllerDataFollowsTheRequestedProtocolVersion) {
    for (unsigned protocol : {0U, 1U, 3U, 4U, 5U, 6U}) {
        EXPECT_EQ(sdk::EncodeControllerData(SmallKeyboard(), protocol), ExpectedKeyboard(protocol))
            << "protocol " << protocol;
    }
    // A client that speaks a newer version than ours gets ours.
    EXPECT_EQ(sdk::EncodeControllerData(SmallKeyboard(), 9), ExpectedKeyboard(6));
}

TEST(OpenRgbSdk, VersionNegotiationTakesTheLowerVersion) {
    EXPECT_EQ(sdk::kNewestProtocol, 6U);
    EXPECT_EQ(sdk::NegotiatedProtocol(Expect().U32(7).bytes), 6U);
    EXPECT_EQ(sdk::NegotiatedProtocol(Expect().U32(6).bytes), 6U);
    EXPECT_EQ(sdk::NegotiatedProtocol(Expect().U32(5).bytes), 5U);
    EXPECT_EQ(sdk::NegotiatedProtocol(Expect().U32(2).bytes), 2U);
    EXPECT_EQ(sdk::NegotiatedProtocol({}), 0U);
    EXPECT_EQ(sdk::NegotiatedProtocol(Bytes{3, 0}), 0U);
}

TEST(OpenRgbSdk, TheServersOwnPacketsAreLaidOutByteByByte) {
    sdk::Controller keyboard = SmallKeyboard();
    const Bytes block6 = ExpectedKeyboard(6);
    const Bytes body6(block6.begin() + 4, block6.end());
    Expect modeNotice;
    modeNotice.U32(static_cast<unsigned>(body6.size() + 8)).U32(sdk::kReasonUpdateMode);
    modeNotice.bytes.insert(modeNotice.bytes.end(), body6.begin(), body6.end());
    struct Case {
        const char* what;
        Bytes encoded;
        Bytes expected;
    };
    const std::vector<Case> cases{
        {"ids", sdk::EncodeControllerIds({7, 0, 3}), Expect().U32(3).U32(7).U32(0).U32(3).bytes},
        {"no ids", sdk::EncodeControllerIds({}), Expect().U32(0).bytes},
        {"ack", sdk::EncodeAck(sdk::kUpdateZoneMode, sdk::kStatusInvalidId),
         Expect().U32(1103).U32(4).bytes},
        {"text", sdk::EncodeText("Q407"), Bytes{'Q', '4', '0', '7', 0}},
        {"empty text", sdk::EncodeText(""), Bytes{0}},
        {"empty list", sdk::EncodeEmptyList(), Expect().U32(6).U16(0).bytes},
        {"progress", sdk::EncodeDetectionProgress(100, "ok"),
         Expect().U32(4 + 4 + 2 + 3).U32(100).Str("ok").bytes},
        {"colours notice", sdk::EncodeSignalUpdate(sdk::kReasonUpdateLeds, keyboard, 6),
         Expect().U32(4 + 4 + 2 + 8).U32(0).U16(2).Colour({1, 2, 3}).Colour({4, 5, 6}).bytes},
        {"mode notice", sdk::EncodeSignalUpdate(sdk::kReasonUpdateMode, keyboard, 6),
         modeNotice.bytes},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.encoded, c.expected) << c.what;
    }
}

TEST(OpenRgbSdk, ClientNamesEndAtTheirZeroAndAreBounded) {
    EXPECT_EQ(sdk::DecodeName(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(sdk::DecodeName(Bytes{'a', 'b'}), "ab");
    EXPECT_EQ(sdk::DecodeName(Bytes(1000, 'x')).size(), 256U);
}

TEST(OpenRgbSdk, LightingRequestsDecode) {
    const auto leds =
        sdk::DecodeUpdateLeds(Expect().U32(14).U16(2).Colour({9, 8, 7}).Colour({1, 2, 3}).bytes);
    ASSERT_TRUE(leds);
    EXPECT_EQ(*leds, (std::vector<Rgb>{{9, 8, 7}, {1, 2, 3}}));

    const auto zone =
        sdk::DecodeUpdateZoneLeds(Expect().U32(14).U32(2).U16(1).Colour({5, 6, 7}).bytes);
    ASSERT_TRUE(zone);
    EXPECT_EQ(zone->zone, 2U);
    EXPECT_EQ(zone->colours, (std::vector<Rgb>{{5, 6, 7}}));

    const auto single = sdk::DecodeUpdateSingleLed(Expect().U32(17).Colour({1, 0, 255}).bytes);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->led, 17U);
    EXPECT_EQ(single->colour, (Rgb{1, 0, 255}));

    // A segment as clients send it: size, zone, then the segment as the zone data carries it.
    const Bytes segment5 =
        Expect().U32(27).U32(1).Str("Left").U32(sdk::kZoneLinear).U32(3).U32(4).bytes;
    const auto add = sdk::DecodeAddSegment(segment5, 5);
    ASSERT_TRUE(add);
    EXPECT_EQ(add->zone, 1U);
    sdk::Segment left;
    left.name = "Left";
    left.type = sdk::kZoneLinear;
    left.start = 3;
    left.ledCount = 4;
    EXPECT_EQ(add->segment, left);
    // From version 6 on a segment carries its own matrix and flags.
    Bytes segment6 = segment5;
    Expect tail;
    tail.U16(8 + 8).U32(2).U32(1).U32(1).U32(sdk::kNoLed).U32(1);
    segment6.insert(segment6.end(), tail.bytes.begin(), tail.bytes.end());
    const auto add6 = sdk::DecodeAddSegment(segment6, 6);
    ASSERT_TRUE(add6);
    left.matrixHeight = 2;
    left.matrixWidth = 1;
    left.matrix = {1, sdk::kNoLed};
    left.flags = 1;
    EXPECT_EQ(add6->segment, left);
    EXPECT_EQ(sdk::DecodeClearSegments(Expect().U32(2).bytes), 2U);
    EXPECT_EQ(sdk::DecodeU32(Expect().U32(0x10001).bytes), 0x10001U);

    // A mode as the controller data carries it, behind its size and index (version 6: behind
    // the zone's index too, and without the mode's value).
    for (unsigned protocol : {2U, 3U, 6U}) {
        sdk::Controller one = SmallKeyboard();
        one.modes[0].colours = {{10, 20, 30}};
        one.modes[0].speed = 2;
        const Bytes block = sdk::EncodeControllerData(one, protocol);
        // type, the six strings of one byte, mode count and active mode come first
        const std::size_t modeAt = 4 + 4 + (protocol >= 1 ? 6 : 5) * 4 + 2 + 4;
        // name, nine (twelve from protocol 3, eleven from 6) numbers, one colour
        const std::size_t modeSize = 9 + (protocol >= 6 ? 44 : protocol >= 3 ? 48 : 36) + 6;
        const Bytes mode(block.begin() + static_cast<long>(modeAt),
                         block.begin() + static_cast<long>(modeAt + modeSize));
        Bytes request = Expect().U32(0).U32(7).bytes;
        request.insert(request.end(), mode.begin(), mode.end());
        const auto update = sdk::DecodeUpdateMode(request, protocol);
        ASSERT_TRUE(update) << "protocol " << protocol;
        EXPECT_EQ(update->index, 7U);
        sdk::Mode expected = one.modes[0];
        if (protocol < 3) {
            expected.brightnessMax = expected.brightness = 0;
        }
        if (protocol >= 6) {
            expected.value = 0;
            Bytes zoneRequest = Expect().U32(0).U32(0).U32(0xFFFFFFFF).bytes;
            zoneRequest.insert(zoneRequest.end(), mode.begin(), mode.end());
            const auto zoneUpdate = sdk::DecodeUpdateZoneMode(zoneRequest);
            ASSERT_TRUE(zoneUpdate);
            EXPECT_EQ(zoneUpdate->zone, 0U);
            EXPECT_EQ(zoneUpdate->index, sdk::kControllerMode);
            EXPECT_EQ(zoneUpdate->mode, expected);
        }
        EXPECT_EQ(update->mode, expected) << "protocol " << protocol;
    }
}

TEST(OpenRgbSdk, ShortOrLyingRequestsAreRefused) {
    struct Case {
        const char* what;
        std::function<bool(const Bytes&)> decodes;
        Bytes payload;
    };
    const std::vector<Case> cases{
        {"leds: no count", [](const Bytes& b) { return bool(sdk::DecodeUpdateLeds(b)); },
         Expect().U32(4).bytes},
        {"leds: count above the colours",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateLeds(b)); },
         Expect().U32(14).U16(3).Colour({1, 1, 1}).Colour({2, 2, 2}).bytes},
        {"leds: most colours, few bytes",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateLeds(b)); },
         Expect().U32(6).U16(65535).bytes},
        {"zone: short", [](const Bytes& b) { return bool(sdk::DecodeUpdateZoneLeds(b)); },
         Expect().U32(8).U32(0).bytes},
        {"zone: index out of range",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateZoneLeds(b)); },
         Expect().U32(10).U32(0xFFFFFFFF).U16(0).bytes},
        {"single: short", [](const Bytes& b) { return bool(sdk::DecodeUpdateSingleLed(b)); },
         Expect().U32(1).bytes},
        {"single: negative led", [](const Bytes& b) { return bool(sdk::DecodeUpdateSingleLed(b)); },
         Expect().U32(0xFFFFFFFF).Colour({1, 2, 3}).bytes},
        {"segment: cut before its count",
         [](const Bytes& b) { return bool(sdk::DecodeAddSegment(b, 5)); },
         Expect().U32(23).U32(0).Str("S").U32(1).U32(0).bytes},
        {"segment: negative zone", [](const Bytes& b) { return bool(sdk::DecodeAddSegment(b, 5)); },
         Expect().U32(24).U32(0xFFFFFFFF).Str("S").U32(1).U32(0).U32(1).bytes},
        {"segment 6: without its flags",
         [](const Bytes& b) { return bool(sdk::DecodeAddSegment(b, 6)); },
         Expect().U32(0).U32(0).Str("S").U32(1).U32(0).U32(1).U16(0).bytes},
        {"segment 6: matrix size not its height and width",
         [](const Bytes& b) { return bool(sdk::DecodeAddSegment(b, 6)); },
         Expect()
             .U32(0)
             .U32(0)
             .Str("S")
             .U32(1)
             .U32(0)
             .U32(1)
             .U16(12)
             .U32(2)
             .U32(1)
             .U32(0)
             .U32(0)
             .U32(0)
             .bytes},
        {"segment 6: matrix of most cells, few bytes",
         [](const Bytes& b) { return bool(sdk::DecodeAddSegment(b, 6)); },
         Expect()
             .U32(0)
             .U32(0)
             .Str("S")
             .U32(1)
             .U32(0)
             .U32(1)
             .U16(65532)
             .U32(1)
             .U32(16381)
             .U32(0)
             .bytes},
        {"zone mode: index below the controller's",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateZoneMode(b)); },
         Expect().U32(0).U32(0).U32(0xFFFFFFFE).Str("M").Zeros(11).U16(0).bytes},
        {"zone mode: cut in its mode",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateZoneMode(b)); },
         Expect().U32(0).U32(0).U32(1).Str("M").U32(0).bytes},
        {"one number: short", [](const Bytes& b) { return bool(sdk::DecodeU32(b)); },
         Bytes{1, 2, 3}},
        {"clear segments: negative zone",
         [](const Bytes& b) { return bool(sdk::DecodeClearSegments(b)); },
         Expect().U32(0xFFFFFFFF).bytes},
        {"mode: name longer than the packet",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateMode(b, 4)); },
         Expect().U32(12).U32(0).U16(500).bytes},
        {"mode: cut before its colours",
         [](const Bytes& b) { return bool(sdk::DecodeUpdateMode(b, 4)); },
         Expect().U32(0).U32(0).Str("M").Zeros(8).bytes},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(c.decodes(c.payload)) << c.what;
        // Every shorter piece of a refused payload is refused as well.
        for (std::size_t n = 0; n < c.payload.size(); ++n) {
            EXPECT_FALSE(
                c.decodes(Bytes(c.payload.begin(), c.payload.begin() + static_cast<long>(n))))
                << c.what << " cut to " << n;
        }
    }
}
