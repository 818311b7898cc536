#pragma once

// Q407's side of the audio capture program (AudioCaptureProtocol.h): started while some page
// shows an audio-reactive light mode, found on the session bus as soon as it claims its name (so
// the colour sliders and the music style reach it while it runs, not only at the end), and told
// to end (commands 2, 4, 5) once no page needs it. When it cannot record because there is no
// sound server, that is kept as the link's problem for the audio page to show, and it is tried
// again now and then while still needed.

#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTimer>
#include <array>
#include <memory>

class QDBusServiceWatcher;

namespace q407::app {

class AudioCaptureLink : public QObject {
    Q_OBJECT
public:
    enum class Problem {
        None,
        NoSoundServer, // the program found no sound server, or its recording broke off
        NotStarted,    // the program could not be started at all
    };

    // `program` is the capture program to start; `connection` the session bus it joins.
    AudioCaptureLink(QDBusConnection connection, QString program);
    ~AudioCaptureLink() override;

    // The capture program installed next to the running one.
    static QString InstalledProgram();

    // Starts the program when it is needed and not running, ends it when it is no longer needed.
    void SetNeeded(bool needed);
    bool Needed() const { return m_needed; }
    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    // The program holds its name on the bus, so commands reach it.
    bool OnBus() const { return m_onBus; }
    Problem LastProblem() const { return m_problem; }
    // The running program's process id (0 when none runs).
    qint64 ProcessId() const { return m_process.processId(); }

    // A command with its value (6, 7, 8: the colour input's red, green, blue); false while the
    // program is not on the bus.
    bool SendCommand(qint64 command, qint64 value);
    // The music style's colour, components 0-9 (a green of 0 goes as 1), waiting up to 1500 ms
    // for the program to take it; false when it did not.
    bool SendStyleColour(const std::array<int, 3>& colour);
    // Tells the program to end (2, then 4, then 5) whether or not it is still needed.
    void Stop();

    // How long a missing sound server is left alone before the program is tried again.
    void SetRetryInterval(int milliseconds) { m_retry.setInterval(milliseconds); }

Q_SIGNALS:
    void ProblemChanged(q407::app::AudioCaptureLink::Problem problem);
    void OnBusChanged(bool onBus);

private:
    void Start();
    void OnFinished(int exitCode, QProcess::ExitStatus status);
    void SetProblem(Problem problem);
    void SetOnBus(bool onBus);

    QDBusConnection m_connection;
    QString m_program;
    QProcess m_process;
    QTimer m_retry;
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    bool m_needed = false;
    bool m_onBus = false;
    Problem m_problem = Problem::None;
};

} // namespace q407::app
