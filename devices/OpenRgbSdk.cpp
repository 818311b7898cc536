#include "devices/OpenRgbSdk.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace q407::devices::sdk {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic{'O', 'R', 'G', 'B'};
constexpr std::size_t kMaxNameBytes = 256;
constexpr std::size_t kMaxCount = std::numeric_limits<std::uint16_t>::max();

class Writer {
public:
    void U16(std::uint16_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    // Length including the terminating zero, then the bytes and the zero.
    void String(const std::string& text) {
        const std::size_t length = std::min(text.size(), kMaxCount - 1);
        U16(static_cast<std::uint16_t>(length + 1));
        m_bytes.insert(m_bytes.end(), text.begin(), text.begin() + static_cast<long>(length));
        m_bytes.push_back(0);
    }
    void Colour(Rgb colour) {
        m_bytes.insert(m_bytes.end(), {colour.red, colour.green, colour.blue, 0});
    }
    template <typename Range>
    void Bytes(const Range& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    void Colours(const std::vector<Rgb>& colours) {
        const std::size_t count = std::min(colours.size(), kMaxCount);
        U16(static_cast<std::uint16_t>(count));
        for (std::size_t i = 0; i < count; ++i) {
            Colour(colours[i]);
        }
    }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }
    std::size_t Size() const { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads little-endian values; once a read runs past the end every later one fails too.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool Ok() const { return m_ok; }
    void Fail() { m_ok = false; }
    std::size_t Left() const { return m_ok ? m_bytes.size() - m_at : 0; }
    std::uint32_t U32() {
        if (!Has(4)) {
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | m_bytes[m_at + static_cast<std::size_t>(i)];
        }
        m_at += 4;
        return value;
    }
    std::uint16_t U16() {
        if (!Has(2)) {
            return 0;
        }
        const auto value = static_cast<std::uint16_t>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
        m_at += 2;
        return value;
    }
    Rgb Colour() {
        if (!Has(4)) {
            return {};
        }
        const Rgb colour{m_bytes[m_at], m_bytes[m_at + 1], m_bytes[m_at + 2]};
        m_at += 4;
        return colour;
    }
    std::vector<Rgb> Colours() {
        const std::size_t count = U16();
        std::vector<Rgb> colours;
        if (!Has(4 * count)) {
            return colours;
        }
        colours.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            colours.push_back(Colour());
        }
        return colours;
    }
    std::string String() {
        const std::size_t length = U16();
        if (!Has(length)) {
            return {};
        }
        std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_at), length);
        m_at += length;
        text.resize(std::strlen(text.c_str()));
        return text;
    }

private:
    bool Has(std::size_t count) {
        if (!m_ok || m_bytes.size() - m_at < count) {
            m_ok = false;
        }
        return m_ok;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
    bool m_ok = true;
};

void WriteMode(Writer& out, const Mode& mode, std::uint32_t protocol) {
    out.String(mode.name);
    if (protocol < 6) {
        out.I32(mode.value);
    }
    out.U32(mode.flags);
    out.U32(mode.speedMin);
    out.U32(mode.speedMax);
    if (protocol >= 3) {
        out.U32(mode.brightnessMin);
        out.U32(mode.brightnessMax);
    }
    out.U32(mode.coloursMin);
    out.U32(mode.coloursMax);
    out.U32(mode.speed);
    if (protocol >= 3) {
        out.U32(mode.brightness);
    }
    out.U32(mode.direction);
    out.U32(mode.colourMode);
    out.Colours(mode.colours);
}

Mode ReadMode(Reader& in, std::uint32_t protocol) {
    Mode mode;
    mode.name = in.String();
    if (protocol < 6) {
        mode.value = static_cast<std::int32_t>(in.U32());
    }
    mode.flags = in.U32();
    mode.speedMin = in.U32();
    mode.speedMax = in.U32();
    if (protocol >= 3) {
        mode.brightnessMin = in.U32();
        mode.brightnessMax = in.U32();
    }
    mode.coloursMin = in.U32();
    mode.coloursMax = in.U32();
    mode.speed = in.U32();
    if (protocol >= 3) {
        mode.brightness = in.U32();
    }
    mode.direction = in.U32();
    mode.colourMode = in.U32();
    mode.colours = in.Colours();
    return mode;
}

// A matrix behind its byte length; a length of 0 when there is none, or when it does not fit
// the length field or its cells do not match its size.
void WriteMatrix(Writer& out, std::uint32_t height, std::uint32_t width,
                 const std::vector<std::uint32_t>& cells) {
    const std::uint64_t count = std::uint64_t{height} * width;
    if (count == 0 || cells.size() != count || 8 + 4 * count > kMaxCount) {
        out.U16(0);
        return;
    }
    out.U16(static_cast<std::uint16_t>(8 + 4 * count));
    out.U32(height);
    out.U32(width);
    for (const std::uint32_t cell : cells) {
        out.U32(cell);
    }
}

// Fails the reader when the length does not match the height and width it gives.
void ReadMatrix(Reader& in, std::uint32_t& height, std::uint32_t& width,
                std::vector<std::uint32_t>& cells) {
    const std::size_t length = in.U16();
    if (length == 0) {
        return;
    }
    height = in.U32();
    width = in.U32();
    if (length < 8 || (length - 8) % 4 != 0 || std::uint64_t{height} * width != (length - 8) / 4) {
        in.Fail();
        return;
    }
    const std::size_t count = (length - 8) / 4;
    if (in.Left() < 4 * count) {
        in.Fail();
        return;
    }
    cells.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        cells.push_back(in.U32());
    }
}

void WriteSegment(Writer& out, const Segment& segment, std::uint32_t protocol) {
    out.String(segment.name);
    out.I32(segment.type);
    out.U32(segment.start);
    out.U32(segment.ledCount);
    if (protocol >= 6) {
        WriteMatrix(out, segment.matrixHeight, segment.matrixWidth, segment.matrix);
        out.U32(segment.flags);
    }
}

Segment ReadSegment(Reader& in, std::uint32_t protocol) {
    Segment segment;
    segment.name = in.String();
    segment.type = static_cast<std::int32_t>(in.U32());
    segment.start = in.U32();
    segment.ledCount = in.U32();
    if (protocol >= 6) {
        ReadMatrix(in, segment.matrixHeight, segment.matrixWidth, segment.matrix);
        segment.flags = in.U32();
    }
    return segment;
}

template <typename T, typename WriteOne>
void WriteList(Writer& out, const std::vector<T>& items, WriteOne writeOne) {
    const std::size_t count = std::min(items.size(), kMaxCount);
    out.U16(static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        writeOne(items[i]);
    }
}

void WriteZone(Writer& out, const Zone& zone, std::uint32_t protocol) {
    out.String(zone.name);
    out.I32(zone.type);
    out.U32(zone.ledCount); // the zones cannot be resized: least, most and count are the same
    out.U32(zone.ledCount);
    out.U32(zone.ledCount);
    WriteMatrix(out, zone.matrixHeight, zone.matrixWidth, zone.matrix);
    if (protocol >= 4) {
        WriteList(out, zone.segments,
                  [&](const Segment& segment) { WriteSegment(out, segment, protocol); });
    }
    if (protocol >= 5) {
        out.U32(zone.flags);
    }
    if (protocol >= 6) {
        out.I32(zone.activeMode);
        WriteList(out, zone.modes, [&](const Mode& mode) { WriteMode(out, mode, protocol); });
        out.String(zone.displayName);
    }
}

// The controller data without its leading size.
std::vector<std::uint8_t> DeviceData(const Controller& controller, std::uint32_t protocol) {
    protocol = std::min(protocol, kNewestProtocol);
    Writer out;
    out.I32(controller.type);
    out.String(controller.name);
    if (protocol >= 1) {
        out.String(controller.vendor);
    }
    out.String(controller.description);
    out.String(controller.version);
    out.String(controller.serial);
    out.String(controller.location);
    const std::size_t modes = std::min(controller.modes.size(), kMaxCount);
    out.U16(static_cast<std::uint16_t>(modes));
    out.I32(controller.activeMode);
    for (std::size_t m = 0; m < modes; ++m) {
        WriteMode(out, controller.modes[m], protocol);
    }
    WriteList(out, controller.zones, [&](const Zone& zone) { WriteZone(out, zone, protocol); });
    const std::size_t leds = std::min(controller.ledNames.size(), kMaxCount);
    out.U16(static_cast<std::uint16_t>(leds));
    for (std::size_t l = 0; l < leds; ++l) {
        out.String(controller.ledNames[l]);
        if (protocol < 6) {
            out.U32(static_cast<std::uint32_t>(l));
        }
    }
    out.Colours(controller.colours);
    if (protocol >= 5) {
        WriteList(out, controller.ledDisplayNames,
                  [&](const std::string& name) { out.String(name); });
        out.U32(controller.flags);
    }
    if (protocol >= 6) {
        out.String(controller.displayName);
        // The only string with a four-byte length.
        out.U32(static_cast<std::uint32_t>(controller.configuration.size() + 1));
        out.Bytes(EncodeText(controller.configuration));
    }
    return out.Take();
}

// A block that starts with its own size, counted with it.
std::vector<std::uint8_t> Sized(const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> block = EncodeU32(static_cast<std::uint32_t>(body.size() + 4));
    block.insert(block.end(), body.begin(), body.end());
    return block;
}

} // namespace

void PacketReader::Append(std::span<const std::uint8_t> bytes) {
    if (!m_broken) {
        m_buffer.insert(m_buffer.end(), bytes.begin(), bytes.end());
    }
}

std::optional<Packet> PacketReader::Next() {
    if (m_broken || m_buffer.size() < kHeaderSize) {
        return std::nullopt;
    }
    if (!std::equal(kMagic.begin(), kMagic.end(), m_buffer.begin())) {
        m_broken = true;
        m_buffer.clear();
        return std::nullopt;
    }
    Reader header{std::span(m_buffer).subspan(4, kHeaderSize - 4)};
    Packet packet;
    packet.device = header.U32();
    packet.id = header.U32();
    const std::uint32_t size = header.U32();
    if (size > kMaxPayload) {
        m_broken = true;
        m_buffer.clear();
        return std::nullopt;
    }
    if (m_buffer.size() - kHeaderSize < size) {
        return std::nullopt;
    }
    const auto begin = m_buffer.begin() + static_cast<long>(kHeaderSize);
    packet.payload.assign(begin, begin + size);
    m_buffer.erase(m_buffer.begin(), begin + size);
    return packet;
}

std::vector<std::uint8_t> EncodePacket(std::uint32_t device, std::uint32_t id,
                                       std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> packet(kMagic.begin(), kMagic.end());
    for (const std::uint32_t value : {device, id, static_cast<std::uint32_t>(payload.size())}) {
        const std::vector<std::uint8_t> bytes = EncodeU32(value);
        packet.insert(packet.end(), bytes.begin(), bytes.end());
    }
    packet.insert(packet.end(), payload.begin(), payload.end());
    return packet;
}

std::vector<std::uint8_t> EncodeU32(std::uint32_t value) {
    Writer out;
    out.U32(value);
    return out.Take();
}

std::vector<std::uint8_t> EncodeControllerData(const Controller& controller,
                                               std::uint32_t protocol) {
    return Sized(DeviceData(controller, protocol));
}

std::vector<std::uint8_t> EncodeEmptyList() {
    Writer out;
    out.U16(0);
    return Sized(out.Take());
}

std::vector<std::uint8_t> EncodeControllerIds(const std::vector<std::uint32_t>& ids) {
    Writer out;
    out.U32(static_cast<std::uint32_t>(ids.size()));
    for (const std::uint32_t id : ids) {
        out.U32(id);
    }
    return out.Take();
}

std::vector<std::uint8_t> EncodeAck(std::uint32_t id, AckStatus status) {
    Writer out;
    out.U32(id);
    out.U32(status);
    return out.Take();
}

std::vector<std::uint8_t> EncodeText(const std::string& text) {
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> EncodeDetectionProgress(std::uint32_t percent, const std::string& text) {
    Writer out;
    out.U32(percent);
    out.String(text);
    return Sized(out.Take());
}

std::vector<std::uint8_t> EncodeSignalUpdate(UpdateReason reason, const Controller& controller,
                                             std::uint32_t protocol) {
    Writer out;
    out.U32(reason);
    if (reason == kReasonUpdateLeds) {
        out.Colours(controller.colours);
    } else {
        out.Bytes(DeviceData(controller, protocol));
    }
    return Sized(out.Take());
}

std::uint32_t NegotiatedProtocol(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    const std::uint32_t client = in.U32();
    return in.Ok() ? std::min(client, kNewestProtocol) : 0;
}

std::string DecodeName(std::span<const std::uint8_t> payload) {
    const auto bytes = payload.first(std::min(payload.size(), kMaxNameBytes));
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

std::optional<std::uint32_t> DecodeU32(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    const std::uint32_t value = in.U32();
    return in.Ok() ? std::optional(value) : std::nullopt;
}

std::optional<std::vector<Rgb>> DecodeUpdateLeds(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    in.U32(); // data size: the counts below are checked against the payload itself
    std::vector<Rgb> colours = in.Colours();
    if (!in.Ok()) {
        return std::nullopt;
    }
    return colours;
}

std::optional<ZoneColours> DecodeUpdateZoneLeds(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    in.U32();
    ZoneColours update;
    update.zone = in.U32();
    update.colours = in.Colours();
    if (!in.Ok() || update.zone > static_cast<std::uint32_t>(kMaxCount)) {
        return std::nullopt;
    }
    return update;
}

std::optional<SingleLed> DecodeUpdateSingleLed(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    SingleLed update;
    update.led = in.U32();
    update.colour = in.Colour();
    if (!in.Ok() || update.led > static_cast<std::uint32_t>(kMaxCount)) {
        return std::nullopt;
    }
    return update;
}

std::optional<ModeUpdate> DecodeUpdateMode(std::span<const std::uint8_t> payload,
                                           std::uint32_t protocol) {
    Reader in(payload);
    in.U32();
    ModeUpdate update;
    update.index = in.U32();
    update.mode = ReadMode(in, std::min(protocol, kNewestProtocol));
    if (!in.Ok() || update.index > static_cast<std::uint32_t>(kMaxCount)) {
        return std::nullopt;
    }
    return update;
}

std::optional<ZoneModeUpdate> DecodeUpdateZoneMode(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    in.U32();
    ZoneModeUpdate update;
    update.zone = in.U32();
    update.index = static_cast<std::int32_t>(in.U32());
    update.mode = ReadMode(in, 6);
    if (!in.Ok() || update.zone > static_cast<std::uint32_t>(kMaxCount) ||
        update.index < kControllerMode || update.index > static_cast<std::int32_t>(kMaxCount)) {
        return std::nullopt;
    }
    return update;
}

std::optional<SegmentAdd> DecodeAddSegment(std::span<const std::uint8_t> payload,
                                           std::uint32_t protocol) {
    Reader in(payload);
    in.U32();
    SegmentAdd add;
    add.zone = in.U32();
    add.segment = ReadSegment(in, std::min(protocol, kNewestProtocol));
    if (!in.Ok() || add.zone > static_cast<std::uint32_t>(kMaxCount)) {
        return std::nullopt;
    }
    return add;
}

std::optional<std::uint32_t> DecodeClearSegments(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    const std::uint32_t zone = in.U32();
    if (!in.Ok() || zone > static_cast<std::uint32_t>(kMaxCount)) {
        return std::nullopt;
    }
    return zone;
}

} // namespace q407::devices::sdk
