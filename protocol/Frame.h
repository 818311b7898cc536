#pragma once

// The byte layout of the command protocol: 64-byte requests and answers on the command
// interface, their check value and the wireless frame CRC, the result codes, and the rules that
// decide whether an answer belongs to a request. Pure functions, no I/O, so the decoder can be
// tested and fuzzed on its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace q407::protocol {

inline constexpr std::size_t kReportSize = 64;
inline constexpr std::uint8_t kCommandReportId = 4;
inline constexpr std::size_t kHeaderSize = 8;                      // data starts at byte 8
inline constexpr std::size_t kMaxData = kReportSize - kHeaderSize; // 56
inline constexpr std::size_t kWirelessFrameSize = 32; // bytes carried through the receiver
inline constexpr std::uint8_t kCableChunk = 56;
inline constexpr std::uint8_t kReceiverChunk = 24;

// Request and answer byte positions.
inline constexpr std::size_t kPosReportId = 0;
inline constexpr std::size_t kPosCheckLow = 1;
inline constexpr std::size_t kPosCheckHigh = 2;
inline constexpr std::size_t kPosCommand = 3;
inline constexpr std::size_t kPosLength = 4;
inline constexpr std::size_t kPosAddressLow = 5;
inline constexpr std::size_t kPosAddressHigh = 6;
inline constexpr std::size_t kPosStatus = 7;

// Status bytes a device puts in byte 7 of an answer.
inline constexpr std::uint8_t kStatusFailed = 0xFF;
inline constexpr std::uint8_t kStatusRefused = 0xFE;

// Result codes of transactions and commands.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNoAnswer = 0; // not connected, or the answer read failed
inline constexpr int kResultWriteFailed = -1;
inline constexpr int kResultUnreachable = -101; // receiver: device does not answer, or bad CRC
inline constexpr int kResultStatusFF = -102;
inline constexpr int kResultStatusFE = -103;
inline constexpr int kResultBadBank = -201;

// Command bytes.
enum Command : std::uint8_t {
    kCmdBegin = 0x01,
    kCmdEnd = 0x02,
    kCmdReadDeviceInfo = 0x03,
    kCmdReadSettings = 0x05,
    kCmdWriteSettings = 0x06,
    kCmdReadDefaultKeyTable = 0x07,
    kCmdReadKeyTable = 0x08,
    kCmdWriteKeyTable = 0x09,
    kCmdReadIndexedBlock = 0x0A,
    kCmdWriteIndexedBlock = 0x0B,
    kCmdLightStream = 0x12,
    kCmdWriteMacroImage = 0x15,
    kCmdWriteRecoilData = 0x17,
    kCmdReadPowerState = 0x1A,
    kCmdReadLedIndexTable = 0x1B,
    kCmdResumeHostLighting = 0x1C,
    kCmdQueryLink = 0xAA,
};

using Report = std::array<std::uint8_t, kReportSize>;

// The 16-bit sum of bytes 3..63 (bytes 1 and 2 are not part of it).
std::uint16_t CheckValue(std::span<const std::uint8_t, kReportSize> report);

// CRC-16/MODBUS (reflected 0x8005, initial 0xFFFF, no final XOR).
std::uint16_t Crc16Modbus(std::span<const std::uint8_t> bytes);
// The CRC of a wireless frame: bytes 3..31 of the report.
std::uint16_t FrameCrc(std::span<const std::uint8_t, kReportSize> report);

// Builds a request: report id, command, data length, address, data (at most 56 bytes), with the
// check value filled in.
Report BuildRequest(std::uint8_t command, std::uint16_t address = 0,
                    std::span<const std::uint8_t> data = {}, std::uint8_t length = 0);
// Sets bytes 1..2 of a request (after its other bytes are final).
void SealRequest(Report& request);

// How one read answer relates to the request it was read for.
enum class AnswerKind {
    Match,       // the answer to this request
    Other,       // an answer to another command, or not a command answer at all
    Unreachable, // receiver: the device behind it does not answer (echo 0xAA)
    BadCrc,      // receiver, CRC-protected transaction: the frame is corrupted
};

struct AnswerCheck {
    bool wireless = false;
    bool checkCrc = false; // CRC-protected transaction through the receiver
};

// Decides what an answer (as read, `count` bytes valid, the rest zero) means for `request`.
// An answer too short to hold its header, or not carrying the command report id, never matches.
AnswerKind ClassifyAnswer(std::span<const std::uint8_t, kReportSize> request,
                          std::span<const std::uint8_t, kReportSize> answer, std::size_t count,
                          const AnswerCheck& check);

// The command result of a transaction that succeeded: the status byte mapped to its code.
int StatusResult(std::span<const std::uint8_t, kReportSize> answer);

// The two diagnostic lines of a report: bytes 0..31 and 32..63 in groups of four.
std::array<std::string, 2> HexLines(std::span<const std::uint8_t, kReportSize> report);

} // namespace q407::protocol
