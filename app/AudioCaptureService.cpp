#include "app/AudioCaptureService.h"

#include "app/AudioCaptureProtocol.h"
#include "app/RegisteredMessages.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace q407::app {
namespace {

// After this many silent bursts (33 blocks) the means of the main window have fallen to nothing,
// so more silence is not sent until the sound comes back.
constexpr int kSilentBurstsSent = 11;
// How much of the loudness envelope is left after each block without louder sound.
constexpr double kEnvelopeRelease = 0.85;
// The colour input's level in silence.
constexpr double kQuietGlow = 0.25;

bool IsSilent(const SpectrumBlock& block) {
    return std::all_of(block.begin(), block.end(), [](std::int32_t v) { return v == 0; });
}

} // namespace

AudioCaptureService::AudioCaptureService(QDBusConnection connection, QString instanceService,
                                         Settings settings)
    : m_connection(std::move(connection)), m_instanceService(std::move(instanceService)),
      m_instanceName(m_instanceService.toStdString()), m_settings(settings),
      m_analyser(settings.sampleRate, settings.window, settings.hop) {}

AudioCaptureService::~AudioCaptureService() {
    m_monitor.Stop();
    if (m_ownsName) {
        m_connection.unregisterObject(QString::fromLatin1(kCaptureBusPath));
        m_connection.interface()->unregisterService(QString::fromLatin1(kCaptureBusService));
    }
}

std::optional<int> AudioCaptureService::Claim() {
    QDBusConnectionInterface* bus = m_connection.interface();
    if (!m_connection.isConnected() || bus == nullptr) {
        return kCaptureNoBus;
    }
    if (!bus->isServiceRegistered(m_instanceService).value()) {
        std::fprintf(stderr, "q407-audio-capture: Q407 is not running on this session bus\n");
        return kCaptureNoInstance;
    }
    const auto reply = bus->registerService(QString::fromLatin1(kCaptureBusService),
                                            QDBusConnectionInterface::DontQueueService,
                                            QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        // One capture program per session is enough.
        return kCaptureEnded;
    }
    m_ownsName = true;
    if (!m_connection.registerObject(QString::fromLatin1(kCaptureBusPath), this,
                                     QDBusConnection::ExportScriptableSlots)) {
        return kCaptureFailed;
    }
    // Without the Q407 it serves there is nothing left to do.
    m_instanceWatcher = std::make_unique<QDBusServiceWatcher>(
        m_instanceService, m_connection, QDBusServiceWatcher::WatchForUnregistration);
    connect(m_instanceWatcher.get(), &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { End(kCaptureEnded); });
    if (!bus->isServiceRegistered(m_instanceService).value()) {
        return kCaptureEnded; // it left while the name was taken
    }
    return std::nullopt;
}

bool AudioCaptureService::StartRecording(std::string& reason) {
    if (!m_sender.Connect(reason)) {
        return false;
    }
    // The thread wakes once for every burst due, whatever size of pieces the server sends.
    return m_monitor.Start(
        m_settings.sampleRate, m_settings.fragmentMs, m_settings.hop * kBurstBlocks,
        [this](std::span<const float> samples) { Feed(samples); },
        [this](const std::string& why) {
            std::fprintf(stderr, "q407-audio-capture: %s\n", why.c_str());
            QMetaObject::invokeMethod(
                this, [this] { End(kCaptureNoSoundServer); }, Qt::QueuedConnection);
        },
        reason);
}

void AudioCaptureService::Feed(std::span<const float> samples) {
    // Analysed and sent on the recording's own thread (the bus connection may be used from any
    // thread): handing each block to the main thread first would wake one more thread per block.
    m_analyser.Feed(
        samples, [this](const SpectrumBlock& block, double loudness) { OnBlock(block, loudness); });
}

void AudioCaptureService::OnBlock(const SpectrumBlock& block, double loudness) {
    m_envelope = std::max(loudness, m_envelope * kEnvelopeRelease);
    m_burst[m_burstSize++] = block;
    if (m_burstSize < m_burst.size()) {
        return;
    }
    m_burstSize = 0;
    if (m_ended) {
        return;
    }
    const bool silent = std::all_of(m_burst.begin(), m_burst.end(), IsSilent);
    m_silentBursts = silent ? m_silentBursts + 1 : 0;
    if (m_silentBursts <= kSilentBurstsSent) {
        // Always whole bursts: the main window's count of blocks stays in step with them.
        for (const SpectrumBlock& each : m_burst) {
            SendToInstance(kSpectrumKind, each);
        }
        m_spectrumSent.fetch_add(static_cast<int>(m_burst.size()));
    }
    const std::array<std::int32_t, 6> input = ColourInput(m_envelope);
    m_loudness.store(m_envelope);
    if (input != m_lastColourInput) {
        m_lastColourInput = input;
        SendToInstance(kColourInputKind, input);
    }
}

std::array<std::int32_t, 6> AudioCaptureService::ColourInput(double loudness) const {
    // Loudness is heard roughly as its square root; in silence the colour still glows a little,
    // so whoever sets it sees which colour it is.
    const double level = std::max(kQuietGlow, std::sqrt(std::clamp(loudness, 0.0, 1.0)));
    std::array<std::int32_t, 6> input{};
    for (std::size_t c = 0; c < 3; ++c) {
        input[c] = static_cast<std::int32_t>(std::lround(m_colour[c].load() * level));
    }
    input[3] = static_cast<std::int32_t>(std::lround(255 * level));
    return input;
}

void AudioCaptureService::ShowColourNow() {
    // From the main thread, on Qt's connection: the recording's thread may be waiting for sound
    // that does not come (a server idles its output), yet the keyboard shows the new colour now.
    QDBusMessage call = QDBusMessage::createMethodCall(
        m_instanceService, QString::fromLatin1(kBusPath), QString::fromLatin1(kBusInterface),
        QString::fromLatin1(kCopyDataMember));
    call << qint64{kColourInputKind} << Int32Bytes(ColourInput(m_loudness.load()));
    call.setAutoStartService(false);
    m_connection.send(call);
}

void AudioCaptureService::SendToInstance(std::int64_t kind, std::span<const std::int32_t> values) {
    const std::size_t count = std::min(values.size(), m_bytes.size() / 4);
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<std::uint32_t>(values[i]);
        for (std::size_t b = 0; b < 4; ++b) {
            m_bytes[i * 4 + b] = static_cast<std::uint8_t>(value >> (8 * b));
        }
    }
    // Blocks are sent without waiting: a late answer must not hold the next block back.
    m_sender.Send(m_instanceName.c_str(), kBusPath, kBusInterface, kCopyDataMember, kind,
                  std::span(m_bytes.data(), count * 4));
}

void AudioCaptureService::AudioRecordCtrl(qlonglong command, qlonglong value) {
    switch (command) {
    case kCaptureStopRecording:
    case kCaptureStopAnalysis:
    case kCaptureExit:
        End(kCaptureEnded);
        break;
    case kCaptureRed:
    case kCaptureGreen:
    case kCaptureBlue:
        m_colour[static_cast<std::size_t>(command - kCaptureRed)].store(
            static_cast<int>(std::clamp<qlonglong>(value, 0, 255)));
        ShowColourNow();
        break;
    default:
        break;
    }
}

void AudioCaptureService::CopyData(qlonglong kind, const QByteArray& data) {
    if (kind != kStyleColourKind || data.size() < 12) {
        return;
    }
    for (std::size_t c = 0; c < 3; ++c) {
        std::uint32_t raw = 0;
        for (std::size_t b = 0; b < 4; ++b) {
            raw |= std::uint32_t{static_cast<std::uint8_t>(data[static_cast<qsizetype>(c * 4 + b)])}
                   << (8 * b);
        }
        const int component = std::clamp(static_cast<int>(static_cast<std::int32_t>(raw)), 0,
                                         static_cast<int>(kStyleComponentMax));
        m_colour[c].store(component * 255 / kStyleComponentMax);
    }
    ShowColourNow();
}

void AudioCaptureService::End(int exitCode) {
    if (m_ended.exchange(true)) {
        return;
    }
    m_monitor.Stop();
    Q_EMIT Finished(exitCode);
}

} // namespace q407::app
