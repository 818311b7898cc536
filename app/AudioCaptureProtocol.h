#pragma once

// What Q407 and its audio capture program (q407-audio-capture) exchange on the session bus.
//
// The capture program owns kCaptureBusService, so the main window finds it by that name, and
// offers at kCaptureBusPath, interface kCaptureBusInterface:
//   AudioRecordCtrl(x command, x value)  commands of RegisteredMessage::AudioRecordCtrl
//   CopyData(x kind, ay data)            kind kStyleColourKind: the music style's colour
// It sends to the instance's CopyData (RegisteredMessages.h) kind kSpectrumKind (500 int32,
// little-endian) and kind kColourInputKind (6 int32).

#include "devices/MusicBands.h"

#include <QByteArray>
#include <cstdint>
#include <span>

namespace q407::app {

inline constexpr const char* kCaptureBusService = "org.q407.Q407AudioRecord";
inline constexpr const char* kCaptureBusPath = "/org/q407/Q407AudioRecord";
inline constexpr const char* kCaptureBusInterface = "org.q407.Q407AudioRecord";
inline constexpr const char* kCaptureProgram = "q407-audio-capture";

// Commands (wParam of AudioRecordCtrl). The main window sends 2, 4 and 5 in that order when it
// no longer needs the program; each of them ends it.
enum CaptureCommand : std::int64_t {
    kCaptureStopRecording = 2,
    kCaptureStopAnalysis = 4,
    kCaptureExit = 5,
    // The colour the colour input shows at full loudness, one component each (value 0-255).
    kCaptureRed = 6,
    kCaptureGreen = 7,
    kCaptureBlue = 8,
};

// Spectrum blocks are sent in bursts of this many, the number of blocks after which the main
// window hands its band levels on; sending only whole bursts keeps its count in step with them.
inline constexpr std::size_t kBurstBlocks = devices::kBlocksPerHandOn;

// Data block kinds.
inline constexpr std::int64_t kSpectrumKind = 1;
inline constexpr std::int64_t kColourInputKind = 2;
inline constexpr std::int64_t kStyleColourKind = 10;
inline constexpr int kStyleColourBytes = 40;
// Style colour components run 0-9.
inline constexpr int kStyleComponentMax = 9;

// How the capture program ends.
enum CaptureExitCode : int {
    kCaptureEnded = 0,         // told to end, or the instance went away
    kCaptureFailed = 1,        // anything else
    kCaptureNoBus = 2,         // no session bus
    kCaptureNoSoundServer = 3, // no sound server, or the recording broke off
    kCaptureNoInstance = 4,    // no running Q407 to send to
};

// Little-endian bytes of 32-bit values, as the data blocks carry them.
inline QByteArray Int32Bytes(std::span<const std::int32_t> values) {
    QByteArray bytes(static_cast<qsizetype>(values.size() * 4), '\0');
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto value = static_cast<std::uint32_t>(values[i]);
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[static_cast<qsizetype>(i * 4 + b)] = static_cast<char>((value >> (8 * b)) & 0xFF);
        }
    }
    return bytes;
}

} // namespace q407::app
