#pragma once

// Tells the main window when the machine goes to sleep and wakes up: logind's PrepareForSleep
// signal on the system bus. Without a system bus nothing is reported, and the program simply
// keeps its light control as it is.

#include <QObject>
#include <functional>

namespace q407::app {

class SleepWatch : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(bool goingToSleep)>;
    explicit SleepWatch(Callback callback);
    bool IsWatching() const { return m_watching; }

private Q_SLOTS:
    void OnPrepareForSleep(bool goingToSleep);

private:
    Callback m_callback;
    bool m_watching = false;
};

} // namespace q407::app
