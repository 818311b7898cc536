#pragma once

// A PulseAudio server of a test's own, with one null output ("q407null", whose monitor is the
// default source to record what is played), in a temporary folder, as PrivateBus.h starts a D-Bus
// daemon: tests never meet the desktop's sound, nor each other. It runs in user mode also as root
// (CI), where PulseAudio only warns. Tones are played into it with pacat.

#include "support/QtTestUtil.h"

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace testutil {

class PrivateSoundServer {
public:
    static constexpr int kRate = 48000;

    PrivateSoundServer() {
        if (!m_folder.isValid() || !Available()) {
            return;
        }
        QDir(m_folder.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(m_folder.path() + QStringLiteral("/runtime"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ExeOwner);
        m_socket = m_folder.path() + QStringLiteral("/native");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_folder.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                           m_folder.path() + QStringLiteral("/runtime"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_folder.path() + QStringLiteral("/config"));
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        m_daemon.setProcessEnvironment(environment);
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        m_daemon.start(
            QStringLiteral("pulseaudio"),
            {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
             QStringLiteral("--disable-shm=yes"), QStringLiteral("--log-target=stderr"),
             QStringLiteral("-L"),
             QStringLiteral("module-null-sink sink_name=q407null rate=%1 channels=2").arg(kRate),
             QStringLiteral("-L"),
             QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + m_socket});
        if (!m_daemon.waitForStarted(10000)) {
            return;
        }
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000 && m_daemon.state() == QProcess::Running) {
            if (QFile::exists(m_socket) && Pactl({QStringLiteral("info")})) {
                m_ready = true;
                return;
            }
            QThread::msleep(50);
        }
    }
    ~PrivateSoundServer() {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Whether the server's programs are installed at all.
    static bool Available() {
        return !QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty() &&
               !QStandardPaths::findExecutable(QStringLiteral("pacat")).isEmpty();
    }
    bool IsReady() const { return m_ready; }
    // What the server said, for a failing test's message.
    QString Log() { return QString::fromUtf8(m_daemon.readAll()); }
    // The address a client is given in PULSE_SERVER.
    QString Address() const { return QStringLiteral("unix:") + m_socket; }
    // `environment` with this server as the one every libpulse client uses.
    QProcessEnvironment Environment(QProcessEnvironment environment) const {
        environment.insert(QStringLiteral("PULSE_SERVER"), Address());
        return environment;
    }

    // Mono 32-bit float samples of a sine.
    static QByteArray Tone(double hz, double amplitude, int milliseconds) {
        const int count = kRate * milliseconds / 1000;
        QByteArray bytes(count * static_cast<int>(sizeof(float)), '\0');
        auto* samples = reinterpret_cast<float*>(bytes.data());
        for (int i = 0; i < count; ++i) {
            samples[i] =
                static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate));
        }
        return bytes;
    }
    static QByteArray Silence(int milliseconds) {
        return QByteArray(kRate * milliseconds / 1000 * static_cast<int>(sizeof(float)), '\0');
    }

    // A playback stream into the null output: write samples (Tone, Silence) to it as they should
    // sound; `latencyMs` is how far ahead the player may buffer.
    class Player {
    public:
        Player(const PrivateSoundServer& server, int latencyMs) {
            m_process.setProcessEnvironment(
                server.Environment(QProcessEnvironment::systemEnvironment()));
            m_process.start(QStringLiteral("pacat"),
                            {QStringLiteral("--playback"), QStringLiteral("--device=q407null"),
                             QStringLiteral("--format=float32le"), QStringLiteral("--channels=1"),
                             QStringLiteral("--rate=%1").arg(kRate),
                             QStringLiteral("--latency-msec=%1").arg(latencyMs)});
            m_process.waitForStarted(10000);
        }
        ~Player() {
            m_process.closeWriteChannel();
            if (!m_process.waitForFinished(3000)) {
                m_process.kill();
                m_process.waitForFinished(3000);
            }
        }
        Player(const Player&) = delete;
        Player& operator=(const Player&) = delete;
        bool IsRunning() const { return m_process.state() == QProcess::Running; }
        void Write(const QByteArray& samples) {
            m_process.write(samples);
            m_process.waitForBytesWritten(1000);
        }
        // Writes the samples as fast as they sound, keeping the event loop going so what the
        // sound causes is taken as it comes, then waits `settleMs` for the last of it.
        void Play(const QByteArray& samples, int settleMs = 150) {
            constexpr int kBytesPerMs = kRate / 1000 * 4;
            constexpr int kPiece = kBytesPerMs * 20;
            QElapsedTimer clock;
            clock.start();
            for (int at = 0; at < samples.size(); at += kPiece) {
                Write(samples.mid(at, kPiece));
                const qint64 due = std::min<qint64>(at + kPiece, samples.size()) / kBytesPerMs;
                testutil::WaitUntil([&] { return clock.elapsed() >= due; }, 1000);
            }
            testutil::WaitUntil([] { return false; }, settleMs);
        }

    private:
        QProcess m_process;
    };

private:
    // Runs pactl against this server; true when it succeeded.
    bool Pactl(const QStringList& arguments) const {
        QProcess pactl;
        pactl.setProcessEnvironment(Environment(QProcessEnvironment::systemEnvironment()));
        pactl.start(QStringLiteral("pactl"), arguments);
        return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
               pactl.exitCode() == 0;
    }

    QTemporaryDir m_folder;
    QString m_socket;
    QProcess m_daemon;
    bool m_ready = false;
};

} // namespace testutil
