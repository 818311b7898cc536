#include "app/SleepWatch.h"

#include <QDBusConnection>

namespace q407::app {

SleepWatch::SleepWatch(Callback callback) : m_callback(std::move(callback)) {
    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected()) {
        m_watching = system.connect(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
            this, SLOT(OnPrepareForSleep(bool)));
    }
}

void SleepWatch::OnPrepareForSleep(bool goingToSleep) {
    if (m_callback) {
        m_callback(goingToSleep);
    }
}

} // namespace q407::app
