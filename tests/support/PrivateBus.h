#pragma once

// A D-Bus session daemon of a test's own, so tests that claim bus names never meet another
// test (or a desktop session) on one bus, with or without dbus-run-session around them.

#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace testutil {

class PrivateBus {
public:
    PrivateBus() {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted(10000)) {
            return;
        }
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
        }
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }
    QString Address() const { return m_address; }
    QDBusConnection Connect() const {
        return QDBusConnection::connectToBus(m_address, QStringLiteral("test-") + m_address);
    }

private:
    QProcess m_daemon;
    QString m_address;
};

} // namespace testutil
