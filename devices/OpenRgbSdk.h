#pragma once

// The OpenRGB SDK protocol, as lighting programs speak it to a server on TCP port 6742: packets
// of a 16-byte header ("ORGB", controller index, packet id, payload size, little-endian) and a
// payload. This side is the server's: it splits a byte stream into packets, encodes the
// controller descriptions for protocol versions 0 to 6 and the server's own packets of version 6
// (acknowledgements, its name and flags, detection and update notices), and decodes the client's
// lighting, mode and segment requests. Every length a client sends is checked against the bytes
// that came, so a short, damaged or oversized packet is refused, never read past.

#include "devices/LightTables.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q407::devices::sdk {

// The newest protocol version this server speaks; a client asking for more gets this one.
inline constexpr std::uint32_t kNewestProtocol = 6;
// From this version on controllers are addressed by ids that stay with them while the server
// runs, and the server acknowledges what a client sends that gets no other answer.
inline constexpr std::uint32_t kIdProtocol = 6;
inline constexpr std::uint16_t kDefaultPort = 6742;
inline constexpr std::size_t kHeaderSize = 16;
// A payload larger than this ends the connection: the largest honest request (new colours for
// 65535 LEDs) is about 256 KiB.
inline constexpr std::uint32_t kMaxPayload = 1U << 20;

enum PacketId : std::uint32_t {
    kRequestControllerCount = 0,
    kRequestControllerData = 1,
    kAck = 10, // protocol 6 on, as the ids below up to kSignalUpdate unless marked
    kRequestProtocolVersion = 40,
    kSetClientName = 50,
    kSetServerName = 51,
    kSetClientFlags = 52,
    kSetServerFlags = 53,
    kDeviceListUpdated = 100,
    kDetectionStarted = 101,
    kDetectionProgressChanged = 102,
    kDetectionComplete = 103,
    kGetI2cBusInfo = 120,
    kGetHidDeviceInfo = 121,
    kGetUsbDeviceInfo = 122,
    kGetSerialPorts = 123,
    kGetUsbSerialPorts = 124,
    kRequestRescanDevices = 140,
    kRequestProfileList = 150, // protocol 2 on
    kSaveProfile = 151,
    kLoadProfile = 152,
    kDeleteProfile = 153,
    kUploadProfile = 154,
    kDownloadProfile = 155,
    kGetActiveProfile = 156,
    kClearActiveProfile = 161,
    kRequestPluginList = 200, // protocol 4 on
    kPluginSpecific = 201,
    kGetSettings = 250,
    kGetSettingsSchema = 251,
    kModifySettings = 252,
    kSetSettings = 253,
    kSaveSettings = 254,
    kClearLogBuffer = 300,
    kGetLogBuffer = 301,
    kGetLogLevel = 302,
    kSetLogLevel = 303,
    kResizeZone = 1000,
    kClearSegments = 1001, // protocol 5 on
    kAddSegment = 1002,    // protocol 5 on
    kConfigureZone = 1003,
    kConfigureDevice = 1004,
    kSetHidden = 1005,
    kUpdateLeds = 1050,
    kUpdateZoneLeds = 1051,
    kUpdateSingleLed = 1052,
    kSetCustomMode = 1100,
    kUpdateMode = 1101,
    kSaveMode = 1102,
    kUpdateZoneMode = 1103,
    kSetDeviceConfiguration = 1130,
    kSetZoneConfiguration = 1131,
    kSignalUpdate = 1150,
};

// The status an acknowledgement carries.
enum AckStatus : std::uint32_t {
    kStatusOk = 0,
    kStatusError = 1,
    kStatusUnsupported = 2,
    kStatusNotAllowed = 3,
    kStatusInvalidId = 4,
    kStatusInvalidData = 5,
};

// Flags: what a client asks for, what the server offers and grants.
inline constexpr std::uint32_t kClientRequestsLocal = 1U << 16;
inline constexpr std::uint32_t kServerSupportsControllers = 1U << 0;
inline constexpr std::uint32_t kServerSupportsDetection = 1U << 5;
inline constexpr std::uint32_t kServerLocalClient = 1U << 16;

// Why a controller changed, as an update notice says.
enum UpdateReason : std::uint32_t {
    kReasonUpdateLeds = 0, // the notice carries the colours only
    kReasonUpdateMode = 1, // this and the others carry the whole controller data
    kReasonSaveMode = 2,
    kReasonClearSegments = 4,
    kReasonAddSegment = 5,
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
// A zone's active mode when it follows the controller's mode (it has no modes of its own).
inline constexpr std::int32_t kControllerMode = -1;

struct Mode {
    std::string name;
    std::int32_t value = 0; // up to protocol 5: from 6 on a mode is known by its index only
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
    // Protocol 6 on: the segment's own matrix (cells hold LED indexes of the segment or kNoLed;
    // empty without one) and its flags.
    std::uint32_t matrixHeight = 0;
    std::uint32_t matrixWidth = 0;
    std::vector<std::uint32_t> matrix;
    std::uint32_t flags = 0;
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
    // Protocol 6 on: the zone's own modes; without any, the zone shows the controller's mode.
    std::int32_t activeMode = kControllerMode;
    std::vector<Mode> modes;
    std::string displayName;
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
    std::uint32_t flags = 0;   // protocol 5 on
    std::string displayName;   // protocol 6 on
    std::string configuration; // protocol 6 on: the product's own settings as JSON, or empty
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
// The reply to the profile, plugin and device information list requests of a server that has
// none of them.
std::vector<std::uint8_t> EncodeEmptyList();
// The reply to a controller count request from protocol 6 on: the count, then each controller's id.
std::vector<std::uint8_t> EncodeControllerIds(const std::vector<std::uint32_t>& ids);
// The acknowledgement of packet `id` (sent with the device id of the packet it acknowledges).
std::vector<std::uint8_t> EncodeAck(std::uint32_t id, AckStatus status);
// A text as the name, profile and settings packets carry it: its bytes and a zero.
std::vector<std::uint8_t> EncodeText(const std::string& text);
std::vector<std::uint8_t> EncodeDetectionProgress(std::uint32_t percent, const std::string& text);
// The notice that a controller changed: its colours for kReasonUpdateLeds, else its whole
// controller data laid out for `protocol`.
std::vector<std::uint8_t> EncodeSignalUpdate(UpdateReason reason, const Controller& controller,
                                             std::uint32_t protocol);

// The version both sides speak: the client's (a payload of at least four bytes) or ours,
// whichever is lower. A request without a version asks for version 0.
std::uint32_t NegotiatedProtocol(std::span<const std::uint8_t> payload);
// A client's name: the payload up to its first zero, at most 256 bytes.
std::string DecodeName(std::span<const std::uint8_t> payload);
// A payload of one number (client flags, a log level); nothing when shorter.
std::optional<std::uint32_t> DecodeU32(std::span<const std::uint8_t> payload);

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
struct ZoneModeUpdate {
    std::uint32_t zone = 0;
    std::int32_t index = kControllerMode; // a mode of the zone, or the controller's
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
// Protocol 6 on; nothing also for a mode index below kControllerMode.
std::optional<ZoneModeUpdate> DecodeUpdateZoneMode(std::span<const std::uint8_t> payload);
// Nothing also for a matrix whose size does not match its height and width.
std::optional<SegmentAdd> DecodeAddSegment(std::span<const std::uint8_t> payload,
                                           std::uint32_t protocol);
// The zone whose segments a client clears.
std::optional<std::uint32_t> DecodeClearSegments(std::span<const std::uint8_t> payload);

} // namespace q407::devices::sdk
