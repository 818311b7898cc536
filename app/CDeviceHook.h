#pragma once

// The main window's input hook: it captures the keyboard (and, while a macro is recorded, the
// mouse buttons) in one of the hook modes of devices/InputCapture.h and hands every captured
// event to the window on the UI thread, in order.
//
// Its default source is the window's own grab (GrabInputSource): on X11 the server then sends
// every key and button to this program alone, so nothing typed while capturing reaches another
// program; on Wayland the focused window is all a client can have. Key events carry the X key
// code as their native scan code, which the capture maps to the set-1 scan code the key tables
// know. Caps Lock, Num Lock and Scroll Lock are passed on, so they keep toggling. Another source
// (libevdev, or a scripted one in tests) can take its place.

#include "devices/InputCapture.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class QWidget;

namespace q407::app {

// Captures through a grab of `window`'s keyboard (and mouse): events of every receiver of this
// program are taken before they are delivered, and all but the lock keys are swallowed.
class GrabInputSource final : public QObject, public q407::devices::InputSource {
public:
    explicit GrabInputSource(QWidget& window);
    ~GrabInputSource() override;
    bool Start(bool withMouse, q407::devices::InputSink& sink) override;
    void Stop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
    q407::devices::InputSink* m_sink = nullptr;
    bool m_withMouse = false;
};

class CDeviceHook final : public QObject, public q407::devices::InputSink {
public:
    using KeyHandler = std::function<void(int mode, const q407::devices::KeyInput&)>;
    using MouseHandler = std::function<void(int mode, const q407::devices::MouseInput&)>;

    // `window` is grabbed by the default source; the handlers get the captured events.
    CDeviceHook(QWidget& window, KeyHandler onKey, MouseHandler onMouse);
    ~CDeviceHook() override;

    // Replaces the input source (nullptr: the window's grab again). A running capture moves to
    // the new source.
    void SetSource(std::unique_ptr<q407::devices::InputSource> source);
    // Starts capturing in `mode` (a previous capture ends first); mouse buttons are captured in
    // the recording modes only. False for a mode that captures nothing.
    bool Install(int mode);
    void Remove();
    int Mode() const { return m_mode; }

    // InputSink: from the source's thread; handed to the UI thread.
    void OnKeyInput(const q407::devices::KeyInput& key) override;
    void OnMouseInput(const q407::devices::MouseInput& mouse) override;

private:
    void Deliver(std::function<void()> event);

    QWidget& m_window;
    KeyHandler m_onKey;
    MouseHandler m_onMouse;
    std::unique_ptr<q407::devices::InputSource> m_source;
    int m_mode = q407::devices::kHookOff;
    // Events of a capture that ended while they were on their way are dropped.
    std::shared_ptr<int> m_generation = std::make_shared<int>(0);
};

} // namespace q407::app
