#pragma once

// The audio capture program's side of the bus (AudioCaptureProtocol.h): it owns the capture name,
// takes the main window's commands and the music style's colour, and sends the running Q407 a
// spectrum block for every analysed hop of sound and, with every burst of them, the colour input:
// its colour (the sliders' or the style's) dimmed by how loud the sound is, glowing a little in
// silence, and given at once when the colour changes. It ends when told to,
// when the recording breaks off, or when the Q407 it sends to leaves the bus.
//
// Blocks go out in bursts of kBurstBlocks, the count after which the main window hands the band
// levels on: a burst arrives when the last of its blocks would have, so the lights see the sound
// no later than with blocks sent one by one, for a third of the wake-ups.

#include "app/AudioCaptureProtocol.h"
#include "app/DirectBusSender.h"
#include "app/PulseMonitor.h"
#include "app/SpectrumAnalyser.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

class QDBusServiceWatcher;

namespace q407::app {

class AudioCaptureService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.q407.Q407AudioRecord")
public:
    struct Settings {
        unsigned sampleRate = 48000;
        std::size_t window = 1024; // about 21 ms of sound per spectrum
        std::size_t hop = 512;     // a block every 10.7 ms
        unsigned fragmentMs = 10;
    };

    AudioCaptureService(QDBusConnection connection, QString instanceService, Settings settings);
    ~AudioCaptureService() override;

    // Takes the capture name and offers the interface. An exit code when the program must end
    // instead: kCaptureEnded when another capture program runs already, kCaptureNoInstance when
    // there is no Q407 to send to, kCaptureFailed when the bus refused.
    std::optional<int> Claim();
    // Records the monitor of the default output; false with the reason when it cannot.
    bool StartRecording(std::string& reason);
    // Analyses samples as recorded ones are and sends the blocks, on the calling thread (one
    // thread at a time: the recording's).
    void Feed(std::span<const float> samples);

    // The colour the colour input shows at full loudness.
    std::array<int, 3> Colour() const { return {m_colour[0], m_colour[1], m_colour[2]}; }
    int SpectrumBlocksSent() const { return m_spectrumSent.load(); }

    // The commands and the style colour (D-Bus methods).
public Q_SLOTS:
    Q_SCRIPTABLE void AudioRecordCtrl(qlonglong command, qlonglong value);
    Q_SCRIPTABLE void CopyData(qlonglong kind, const QByteArray& data);

Q_SIGNALS:
    // The program should end with this code.
    void Finished(int exitCode);

private:
    void OnBlock(const SpectrumBlock& block, double loudness);
    void SendToInstance(std::int64_t kind, std::span<const std::int32_t> values);
    // The colour input at a loudness (1: a full-scale sine).
    std::array<std::int32_t, 6> ColourInput(double loudness) const;
    void ShowColourNow();
    void End(int exitCode);

    QDBusConnection m_connection;
    QString m_instanceService;
    std::string m_instanceName; // the same, as the sender takes it
    Settings m_settings;
    SpectrumAnalyser m_analyser;
    PulseMonitor m_monitor;
    // Blocks go out on the recording's thread through a connection of their own.
    DirectBusSender m_sender;
    std::array<std::uint8_t, kSpectrumBins * 4> m_bytes{};
    std::unique_ptr<QDBusServiceWatcher> m_instanceWatcher;
    // Set by the commands on the main thread, read by the recording's thread.
    std::array<std::atomic<int>, 3> m_colour{255, 255, 255};
    double m_envelope = 0;
    std::atomic<double> m_loudness{0}; // the envelope, for the main thread
    std::array<SpectrumBlock, kBurstBlocks> m_burst{};
    std::size_t m_burstSize = 0;
    int m_silentBursts = 0;
    std::array<std::int32_t, 6> m_lastColourInput{-1, -1, -1, -1, -1, -1};
    std::atomic<int> m_spectrumSent{0};
    std::atomic<bool> m_ended{false};
    bool m_ownsName = false;
};

} // namespace q407::app
