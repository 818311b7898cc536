#include "app/CDeviceHook.h"

#include "common/Diag.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QWidget>

namespace q407::app {
namespace {

namespace dev = q407::devices;

// Caps Lock, Num Lock and Scroll Lock go on to the program that has the focus, so their lights
// and states keep following the keyboard while it is captured.
bool IsLockKey(dev::ScanCode scan) {
    return scan == dev::ScanCode{0x3A, false} || scan == dev::ScanCode{0x45, true} ||
           scan == dev::ScanCode{0x46, false};
}

std::optional<dev::MouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return dev::MouseButton::Left;
    case Qt::RightButton:
        return dev::MouseButton::Right;
    case Qt::MiddleButton:
        return dev::MouseButton::Middle;
    case Qt::BackButton:
        return dev::MouseButton::Back;
    case Qt::ForwardButton:
        return dev::MouseButton::Forward;
    default:
        return std::nullopt;
    }
}

} // namespace

// --- The window's grab ---------------------------------------------------------------------------

GrabInputSource::GrabInputSource(QWidget& window) : m_window(&window) {}

GrabInputSource::~GrabInputSource() {
    Stop();
}

bool GrabInputSource::Start(bool withMouse, dev::InputSink& sink) {
    Stop();
    if (m_window == nullptr) {
        return false;
    }
    m_sink = &sink;
    m_withMouse = withMouse;
    qApp->installEventFilter(this);
    m_window->grabKeyboard();
    if (withMouse) {
        m_window->grabMouse();
    }
    return true;
}

void GrabInputSource::Stop() {
    if (m_sink == nullptr) {
        return;
    }
    qApp->removeEventFilter(this);
    if (m_window != nullptr) {
        m_window->releaseKeyboard();
        if (m_withMouse) {
            m_window->releaseMouse();
        }
    }
    m_sink = nullptr;
}

bool GrabInputSource::eventFilter(QObject* watched, QEvent* event) {
    if (m_sink == nullptr || !watched->isWidgetType()) {
        return false; // each event once, where it reaches a widget
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept(); // no shortcut of the program fires while capturing
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto scan = dev::ScanCodeOfXKeycode(static_cast<int>(key->nativeScanCode()));
        if (!scan) {
            return true;
        }
        if (IsLockKey(*scan)) {
            // Passed on; a key its first receiver ignores comes back here for the parent.
            const QWidget* first = QWidget::keyboardGrabber() != nullptr
                                       ? QWidget::keyboardGrabber()
                                       : qApp->focusWidget();
            if (watched == first || first == nullptr) {
                m_sink->OnKeyInput({event->type() == QEvent::KeyPress, *scan});
            }
            return false;
        }
        m_sink->OnKeyInput({event->type() == QEvent::KeyPress, *scan});
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        if (!m_withMouse) {
            return false;
        }
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (const auto button = ButtonOf(mouse->button())) {
            const QPoint at = mouse->globalPosition().toPoint();
            m_sink->OnMouseInput(
                {*button, event->type() != QEvent::MouseButtonRelease, at.x(), at.y()});
        }
        return true;
    }
    default:
        return false;
    }
}

// --- The hook ------------------------------------------------------------------------------------

CDeviceHook::CDeviceHook(QWidget& window, KeyHandler onKey, MouseHandler onMouse)
    : m_window(window), m_onKey(std::move(onKey)), m_onMouse(std::move(onMouse)) {
    SetSource(nullptr);
}

CDeviceHook::~CDeviceHook() {
    Remove();
}

void CDeviceHook::SetSource(std::unique_ptr<dev::InputSource> source) {
    const int mode = m_mode;
    Remove();
    m_source = source ? std::move(source) : std::make_unique<GrabInputSource>(m_window);
    if (mode != dev::kHookOff) {
        Install(mode);
    }
}

bool CDeviceHook::Install(int mode) {
    Remove();
    if (mode != dev::kHookSingleKey && !dev::IsRecordingMode(mode)) {
        return false;
    }
    m_mode = mode;
    if (!m_source->Start(dev::IsRecordingMode(mode), *this)) {
        diag::Printf("input capture in mode %d: nothing to capture from", mode);
    }
    return true;
}

void CDeviceHook::Remove() {
    if (m_mode == dev::kHookOff) {
        return;
    }
    m_source->Stop();
    m_mode = dev::kHookOff;
    ++*m_generation;
}

void CDeviceHook::Deliver(std::function<void()> event) {
    if (QThread::currentThread() == thread()) {
        event();
        return;
    }
    // From a reader thread: in order, on the UI thread, unless the capture ended meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this, event = std::move(event), generation = *m_generation, live = m_generation] {
            if (*live == generation) {
                event();
            }
        },
        Qt::QueuedConnection);
}

void CDeviceHook::OnKeyInput(const dev::KeyInput& key) {
    Deliver([this, key] {
        if (m_mode != dev::kHookOff && m_onKey) {
            m_onKey(m_mode, key);
        }
    });
}

void CDeviceHook::OnMouseInput(const dev::MouseInput& mouse) {
    const bool placed = QThread::currentThread() == thread();
    Deliver([this, mouse, placed] {
        if (m_mode == dev::kHookOff || !m_onMouse) {
            return;
        }
        dev::MouseInput at = mouse;
        if (!placed) {
            // Kernel events carry no screen position: the pointer is where it is now.
            const QPoint pointer = QCursor::pos();
            at.x = pointer.x();
            at.y = pointer.y();
        }
        m_onMouse(m_mode, at);
    });
}

} // namespace q407::app
