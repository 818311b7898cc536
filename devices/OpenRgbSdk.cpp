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
    out.I32(mode.value);
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
    mode.value = static_cast<std::int32_t>(in.U32());
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

void WriteZone(Writer& out, const Zone& zone, std::uint32_t protocol) {
    out.String(zone.name);
    out.I32(zone.type);
    out.U32(zone.ledCount); // the zones cannot be resized: least, most and count are the same
    out.U32(zone.ledCount);
    out.U32(zone.ledCount);
    const std::size_t cells = std::size_t{zone.matrixHeight} * zone.matrixWidth;
    if (cells == 0 || zone.matrix.size() != cells || 8 + 4 * cells > kMaxCount) {
        out.U16(0);
    } else {
        out.U16(static_cast<std::uint16_t>(8 + 4 * cells));
        out.U32(zone.matrixHeight);
        out.U32(zone.matrixWidth);
        for (const std::uint32_t cell : zone.matrix) {
            out.U32(cell);
        }
    }
    if (protocol >= 4) {
        const std::size_t segments = std::min(zone.segments.size(), kMaxCount);
        out.U16(static_cast<std::uint16_t>(segments));
        for (std::size_t s = 0; s < segments; ++s) {
            const Segment& segment = zone.segments[s];
            out.String(segment.name);
            out.I32(segment.type);
            out.U32(segment.start);
            out.U32(segment.ledCount);
        }
    }
    if (protocol >= 5) {
        out.U32(zone.flags);
    }
}

void WriteStrings(Writer& out, const std::vector<std::string>& texts) {
    const std::size_t count = std::min(texts.size(), kMaxCount);
    out.U16(static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < count; ++i) {
        out.String(texts[i]);
    }
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
    const std::size_t zones = std::min(controller.zones.size(), kMaxCount);
    out.U16(static_cast<std::uint16_t>(zones));
    for (std::size_t z = 0; z < zones; ++z) {
        WriteZone(out, controller.zones[z], protocol);
    }
    const std::size_t leds = std::min(controller.ledNames.size(), kMaxCount);
    out.U16(static_cast<std::uint16_t>(leds));
    for (std::size_t l = 0; l < leds; ++l) {
        out.String(controller.ledNames[l]);
        out.U32(static_cast<std::uint32_t>(l));
    }
    out.Colours(controller.colours);
    if (protocol >= 5) {
        WriteStrings(out, controller.ledDisplayNames);
        out.U32(controller.flags);
    }

    std::vector<std::uint8_t> body = out.Take();
    std::vector<std::uint8_t> block = EncodeU32(static_cast<std::uint32_t>(body.size() + 4));
    block.insert(block.end(), body.begin(), body.end());
    return block;
}

std::vector<std::uint8_t> EncodeEmptyList() {
    Writer out;
    out.U32(6);
    out.U16(0);
    return out.Take();
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

std::optional<SegmentAdd> DecodeAddSegment(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    in.U32();
    SegmentAdd add;
    add.zone = in.U32();
    add.segment.name = in.String();
    add.segment.type = static_cast<std::int32_t>(in.U32());
    add.segment.start = in.U32();
    add.segment.ledCount = in.U32();
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
