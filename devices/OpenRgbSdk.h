#pragma once

// The OpenRGB SDK protocol, as lighting programs speak it to a server on TCP port 6742: packets
// of a 16-byte header ("ORGB", controller index, packet id, payload size, little-endian) and a
// payload. This side is the server's: it splits a byte stream into packets, encodes the
// controller descriptions for protocol versions 0 to 5, and decodes the client's lighting and
// segment requests. Every length a client sends is checked against the bytes that came, so a short,
// damaged or oversized packet is refused, never read past.

#include "devices/LightTables.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q407::devices::sdk {

// The newest protocol version this server speaks; a client asking for more gets this one.
inline constexpr std::uint32_t kNewestProtocol = 5;
inline constexpr std::uint16_t kDefaultPort = 6742;
inline constexpr std::size_t kHeaderSize = 16;
// A payload larger than this ends the connection: the largest honest request (new colours for
// 65535 LEDs) is about 256 KiB.
inline constexpr std::uint32_t kMaxPayload = 1U << 20;

enum PacketId : std::uint32_t {
    kRequestControllerCount = 0,
    kRequestControllerData = 1,
    kRequestProtocolVersion = 40,
    kSetClientName = 50,
    kDeviceListUpdated = 100,
    kRequestRescanDevices = 140,
    kRequestProfileList = 150,
    kSaveProfile = 151,
    kLoadProfile = 152,
    kDeleteProfile = 153,
    kRequestPluginList = 200,
    kPluginSpecific = 201,
    kResizeZone = 1000,
    kClearSegments = 1001, // protocol 5 on
    kAddSegment = 1002,    // protocol 5 on
    kUpdateLeds = 1050,
    kUpdateZoneLeds = 1051,
    kUpdateSingleLed = 1052,
    kSetCustomMode = 1100,
    kUpdateMode = 1101,
    kSaveMode = 1102,
};

// Controller types and zone types as clients know them.
enum ControllerType : std::int32_t {
    kTypeKeyboard = 5,
    kTypeMouse = 6,
    kTypeMouseMat = 7,
    kTypeHeadset = 8,
};
enum ZoneType : std::int32_t { kZoneSingle = 0, kZoneLinear = 1, kZoneMatrix = 2 };

// Mode flags and colour modes.
inline constexpr std::uint32_t kModeHasSpeed = 1U << 0;
inline constexpr std::uint32_t kModeHasBrightness = 1U << 4;
inline constexpr std::uint32_t kModeHasPerLedColour = 1U << 5;
inline constexpr std::uint32_t kModeHasModeSpecificColour = 1U << 6;
inline constexpr std::uint32_t kColourModeNone = 0;
inline constexpr std::uint32_t kColourModePerLed = 1;
inline constexpr std::uint32_t kColourModeSpecific = 2;
// A matrix cell without an LED.
inline constexpr std::uint32_t kNoLed = 0xFFFFFFFF;

struct Mode {
    std::string name;
    std::int32_t value = 0;
    std::uint32_t flags = 0;
    std::uint32_t speedMin = 0;
    std::uint32_t speedMax = 0;
    std::uint32_t brightnessMin = 0; // protocol 3 on
    std::uint32_t brightnessMax = 0;
    std::uint32_t coloursMin = 0;
    std::uint32_t coloursMax = 0;
    std::uint32_t speed = 0;
    std::uint32_t brightness = 0;
    std::uint32_t direction = 0;
    std::uint32_t colourMode = kColourModeNone;
    std::vector<Rgb> colours;
    friend bool operator==(const Mode&, const Mode&) = default;
};

// A named run of a zone's LEDs (protocol 4 on); clients add and clear them (protocol 5 on).
struct Segment {
    std::string name;
    std::int32_t type = kZoneLinear;
    std::uint32_t start = 0; // the first LED, counted within the zone
    std::uint32_t ledCount = 0;
    friend bool operator==(const Segment&, const Segment&) = default;
};

struct Zone {
    std::string name;
    std::int32_t type = kZoneSingle;
    std::uint32_t ledCount = 0;
    // Row-major cells holding an LED index of the zone or kNoLed; empty without a matrix.
    std::uint32_t matrixHeight = 0;
    std::uint32_t matrixWidth = 0;
    std::vector<std::uint32_t> matrix;
    std::vector<Segment> segments; // protocol 4 on
    std::uint32_t flags = 0;       // protocol 5 on
};

struct Controller {
    std::int32_t type = kTypeKeyboard;
    std::string name;
    std::string vendor; // protocol 1 on
    std::string description;
    std::string version;
    std::string serial;
    std::string location;
    std::vector<Mode> modes;
    std::int32_t activeMode = 0;
    std::vector<Zone> zones;
    std::vector<std::string> ledNames; // one per LED, zones' LEDs one after the other
    std::vector<Rgb> colours;          // one per LED
    // Names a client may show instead of ledNames, one per LED or none (protocol 5 on).
    std::vector<std::string> ledDisplayNames;
    std::uint32_t flags = 0; // protocol 5 on
};

struct Packet {
    std::uint32_t device = 0;
    std::uint32_t id = 0;
    std::vector<std::uint8_t> payload;
};

// Splits the bytes a client sends into packets. A header without the magic or with a payload
// above kMaxPayload breaks the stream for good: the server then closes the connection.
class PacketReader {
public:
    void Append(std::span<const std::uint8_t> bytes);
    // The next whole packet, or nothing while it is incomplete (or the stream is broken).
    std::optional<Packet> Next();
    bool Broken() const { return m_broken; }

private:
    std::vector<std::uint8_t> m_buffer;
    bool m_broken = false;
};

std::vector<std::uint8_t> EncodePacket(std::uint32_t device, std::uint32_t id,
                                       std::span<const std::uint8_t> payload = {});
std::vector<std::uint8_t> EncodeU32(std::uint32_t value);

// The controller data block (with its leading size) for protocol version `protocol`; versions
// above kNewestProtocol are encoded as kNewestProtocol. Strings longer than 65534 bytes and
// lists longer than 65535 entries are cut.
std::vector<std::uint8_t> EncodeControllerData(const Controller& controller,
                                               std::uint32_t protocol);
// The reply to the profile and plugin list requests of a server that has neither.
std::vector<std::uint8_t> EncodeEmptyList();

// The version both sides speak: the client's (a payload of at least four bytes) or ours,
// whichever is lower. A request without a version asks for version 0.
std::uint32_t NegotiatedProtocol(std::span<const std::uint8_t> payload);
// A client's name: the payload up to its first zero, at most 256 bytes.
std::string DecodeName(std::span<const std::uint8_t> payload);

struct ZoneColours {
    std::uint32_t zone = 0;
    std::vector<Rgb> colours;
};
struct SingleLed {
    std::uint32_t led = 0;
    Rgb colour;
};
struct ModeUpdate {
    std::uint32_t index = 0;
    Mode mode;
};
struct SegmentAdd {
    std::uint32_t zone = 0;
    Segment segment;
};

// Nothing when the payload is shorter than its counts say or an index is negative.
std::optional<std::vector<Rgb>> DecodeUpdateLeds(std::span<const std::uint8_t> payload);
std::optional<ZoneColours> DecodeUpdateZoneLeds(std::span<const std::uint8_t> payload);
std::optional<SingleLed> DecodeUpdateSingleLed(std::span<const std::uint8_t> payload);
std::optional<ModeUpdate> DecodeUpdateMode(std::span<const std::uint8_t> payload,
                                           std::uint32_t protocol);
std::optional<SegmentAdd> DecodeAddSegment(std::span<const std::uint8_t> payload);
// The zone whose segments a client clears.
std::optional<std::uint32_t> DecodeClearSegments(std::span<const std::uint8_t> payload);

} // namespace q407::devices::sdk
