#include "app/AudioCaptureLink.h"

#include "app/AudioCaptureProtocol.h"
#include "common/Diag.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QFileInfo>
#include <cstdint>

namespace q407::app {
namespace {

constexpr int kRetryMs = 10000;
// How long an ended program may take before it is made to end.
constexpr int kEndGraceMs = 2000;
constexpr int kStyleColourTimeoutMs = 1500;

QString Service() {
    return QString::fromLatin1(kCaptureBusService);
}

} // namespace

AudioCaptureLink::AudioCaptureLink(QDBusConnection connection, QString program)
    : m_connection(std::move(connection)), m_program(std::move(program)) {
    m_retry.setSingleShot(true);
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_needed && !Running()) {
            Start();
        }
    });
    connect(&m_process, &QProcess::finished, this, &AudioCaptureLink::OnFinished);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            diag::Line("audio capture program cannot start: " +
                       m_process.errorString().toStdString());
            SetProblem(Problem::NotStarted);
        }
    });
    // What the program reports goes to the program's own diagnostics.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (m_connection.isConnected()) {
        m_watcher =
            std::make_unique<QDBusServiceWatcher>(Service(), m_connection,
                                                  QDBusServiceWatcher::WatchForRegistration |
                                                      QDBusServiceWatcher::WatchForUnregistration);
        connect(m_watcher.get(), &QDBusServiceWatcher::serviceRegistered, this,
                [this] { SetOnBus(true); });
        connect(m_watcher.get(), &QDBusServiceWatcher::serviceUnregistered, this,
                [this] { SetOnBus(false); });
    }
}

AudioCaptureLink::~AudioCaptureLink() {
    m_needed = false;
    if (Running()) {
        Stop();
        if (!m_process.waitForFinished(kEndGraceMs)) {
            m_process.kill();
            m_process.waitForFinished(kEndGraceMs);
        }
    }
}

QString AudioCaptureLink::InstalledProgram() {
    const QString beside =
        QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(kCaptureProgram);
    return QFileInfo(beside).isExecutable() ? beside : QString::fromLatin1(kCaptureProgram);
}

void AudioCaptureLink::SetNeeded(bool needed) {
    if (needed == m_needed) {
        return;
    }
    m_needed = needed;
    if (needed) {
        if (!Running()) {
            Start();
        }
        return;
    }
    m_retry.stop();
    SetProblem(Problem::None);
    if (Running()) {
        Stop();
    }
}

void AudioCaptureLink::Start() {
    m_retry.stop();
    if (!m_connection.isConnected()) {
        return; // it would have nobody to send to
    }
    // Another program of this session may hold the name already: it is then the one used.
    if (m_connection.interface()->isServiceRegistered(Service()).value()) {
        SetOnBus(true);
        return;
    }
    m_process.start(m_program, {});
}

void AudioCaptureLink::OnFinished(int exitCode, QProcess::ExitStatus status) {
    SetOnBus(m_connection.isConnected() &&
             m_connection.interface()->isServiceRegistered(Service()).value());
    if (status == QProcess::NormalExit && exitCode == kCaptureNoSoundServer) {
        SetProblem(Problem::NoSoundServer);
    } else if (status == QProcess::NormalExit && exitCode == kCaptureEnded) {
        SetProblem(Problem::None);
    } else {
        diag::Printf("audio capture program ended with %d", exitCode);
    }
    if (!m_needed) {
        return;
    }
    // Told to end just before it was needed again: it comes back at once. Anything else is tried
    // again later, so a missing sound server or a failing program is not started over and over.
    if (status == QProcess::NormalExit && exitCode == kCaptureEnded) {
        Start();
    } else {
        m_retry.start();
    }
}

bool AudioCaptureLink::SendCommand(qint64 command, qint64 value) {
    if (!m_onBus) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service(), QString::fromLatin1(kCaptureBusPath), QString::fromLatin1(kCaptureBusInterface),
        QStringLiteral("AudioRecordCtrl"));
    call << command << value;
    call.setAutoStartService(false);
    return m_connection.send(call);
}

bool AudioCaptureLink::SendStyleColour(const std::array<int, 3>& colour) {
    if (!m_onBus) {
        return false;
    }
    std::array<std::int32_t, kStyleColourBytes / 4> values{};
    for (std::size_t c = 0; c < colour.size(); ++c) {
        values[c] = colour[c];
    }
    // The style colour never goes out with a green of 0: it is sent as 1.
    if (values[1] == 0) {
        values[1] = 1;
    }
    const QByteArray data = Int32Bytes(values);
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service(), QString::fromLatin1(kCaptureBusPath), QString::fromLatin1(kCaptureBusInterface),
        QStringLiteral("CopyData"));
    call << qint64{kStyleColourKind} << data;
    call.setAutoStartService(false);
    const QDBusMessage reply = m_connection.call(call, QDBus::Block, kStyleColourTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void AudioCaptureLink::Stop() {
    m_retry.stop();
    bool told = true;
    for (qint64 command : {kCaptureStopRecording, kCaptureStopAnalysis, kCaptureExit}) {
        told = SendCommand(command, 0) && told;
    }
    if (!told && Running()) {
        m_process.terminate();
    }
    if (Running()) {
        // Made to end if it does not, unless a new one was started meanwhile.
        QTimer::singleShot(
            kEndGraceMs, &m_process, [process = &m_process, pid = m_process.processId()] {
                if (process->state() != QProcess::NotRunning && process->processId() == pid) {
                    process->kill();
                }
            });
    }
}

void AudioCaptureLink::SetProblem(Problem problem) {
    if (problem != m_problem) {
        m_problem = problem;
        Q_EMIT ProblemChanged(problem);
    }
}

void AudioCaptureLink::SetOnBus(bool onBus) {
    if (onBus != m_onBus) {
        m_onBus = onBus;
        Q_EMIT OnBusChanged(onBus);
    }
}

} // namespace q407::app
