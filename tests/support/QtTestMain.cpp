// main() for tests that need Qt widgets: one QApplication on the platform ctest chose (offscreen).
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Nobody clicks on the offscreen platform: a modal window that a test did not script would wait
// for good and the test would hang until ctest's limit. One left open this long fails the test
// that opened it and is closed, so the run goes on and says what was shown.
void WatchForForgottenModalWindows(QApplication& application) {
    constexpr qint64 kForgottenAfterMs = 10000;
    auto* timer = new QTimer(&application);
    auto seen = std::make_shared<QPointer<QWidget>>();
    auto since = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, timer, [seen, since] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal != seen->data()) {
            *seen = modal;
            since->start();
            return;
        }
        if (since->elapsed() < kForgottenAfterMs) {
            return;
        }
        ADD_FAILURE() << "a modal window was left open for " << since->elapsed()
                      << " ms: " << modal->metaObject()->className() << " \""
                      << modal->windowTitle().toStdString() << "\" ("
                      << modal->objectName().toStdString() << ")";
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        *seen = nullptr;
    });
    timer->start(200);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    WatchForForgottenModalWindows(application);
    return RUN_ALL_TESTS();
}
