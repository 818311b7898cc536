#pragma once

// Small helpers for widget tests.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <functional>

namespace testutil {

// Runs the event loop until `done` holds or `timeoutMs` passed; returns whether it held.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline QString TestData(const char* relative) {
    return QStringLiteral(Q407_TEST_DATA_DIR "/") + QString::fromUtf8(relative);
}

} // namespace testutil
