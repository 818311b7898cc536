#include "toolkit/WindowImplBase.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <chrono>
#include <future>
#include <thread>

namespace q407::toolkit {
namespace {

QList<WindowImplBase*>& Registry() {
    static QList<WindowImplBase*> windows;
    return windows;
}

} // namespace

WindowImplBase::WindowImplBase(QWidget* owner) : QWidget(owner, owner ? Qt::Dialog : Qt::Window) {
    Registry().append(this);
}

WindowImplBase::~WindowImplBase() {
    Registry().removeAll(this);
    if (m_modalLoop != nullptr) {
        m_modalLoop->exit(0);
    }
}

bool WindowImplBase::Create(const QString& title, QSize size) {
    setObjectName(GetWindowClassName());
    setWindowTitle(title);
    m_root = BuildFromSkin(GetSkinFile(), this, [this](const QString& className, QWidget* parent) {
        return CreateControl(className, parent);
    });
    if (m_root == nullptr) {
        return false;
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_root);
    resize(size.isValid() ? size : m_root->size());
    InitWindow();
    TNotifyUI init{QStringLiteral("windowinit"), this, 0, 0};
    DispatchNotify(init);
    return true;
}

bool WindowImplBase::HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) {
    (void)message;
    (void)wParam;
    (void)lParam;
    result = 0;
    return false;
}

QWidget* WindowImplBase::CreateControl(const QString& className, QWidget* parent) {
    (void)className;
    (void)parent;
    return nullptr;
}

void WindowImplBase::PostMessage(uint message, qint64 wParam, qint64 lParam) {
    QMetaObject::invokeMethod(
        this,
        [this, message, wParam, lParam] {
            qint64 result = 0;
            HandleMessage(message, wParam, lParam, result);
        },
        Qt::QueuedConnection);
}

qint64 WindowImplBase::SendMessage(uint message, qint64 wParam, qint64 lParam,
                                   const std::function<bool()>& stopRequested) {
    if (QThread::currentThread() == thread()) {
        qint64 result = 0;
        HandleMessage(message, wParam, lParam, result);
        return result;
    }
    auto answer = std::make_shared<std::promise<qint64>>();
    std::future<qint64> future = answer->get_future();
    QMetaObject::invokeMethod(
        this,
        [this, message, wParam, lParam, answer] {
            qint64 result = 0;
            HandleMessage(message, wParam, lParam, result);
            answer->set_value(result);
        },
        Qt::QueuedConnection);
    using namespace std::chrono_literals;
    while (future.wait_for(10ms) != std::future_status::ready) {
        if (stopRequested && stopRequested()) {
            return 0;
        }
    }
    try {
        return future.get();
    } catch (const std::future_error&) {
        return 0; // the window went away before it handled the message
    }
}

QWidget* WindowImplBase::FindControl(const QString& name) const {
    if (name.isEmpty()) {
        return nullptr;
    }
    return findChild<QWidget*>(name);
}

void WindowImplBase::AddVirtualWnd(const QString& name, INotifyUI* handler) {
    if (!name.isEmpty() && handler != nullptr) {
        m_virtualWnds.insert(name, handler);
    }
}

bool WindowImplBase::RemoveVirtualWnd(const QString& name) {
    return m_virtualWnds.remove(name) > 0;
}

void WindowImplBase::DispatchNotify(TNotifyUI& msg) {
    const QString virtualWnd = VirtualWndName(msg.pSender);
    if (!virtualWnd.isEmpty()) {
        if (INotifyUI* handler = m_virtualWnds.value(virtualWnd)) {
            handler->Notify(msg);
            return;
        }
    }
    Notify(msg);
}

bool WindowImplBase::SetTimer(QWidget* control, int id, int milliseconds) {
    if (control == nullptr || milliseconds < 0) {
        return false;
    }
    // A timer dies with its control; drop the entries such controls left behind.
    std::erase_if(m_timers, [](const auto& entry) { return entry.second.isNull(); });
    QPointer<QTimer>& timer = m_timers[{control, id}];
    if (timer == nullptr) {
        timer = new QTimer(control);
        QPointer<QWidget> sender(control);
        connect(timer, &QTimer::timeout, this, [this, sender, id] {
            if (sender) {
                TNotifyUI msg{QStringLiteral("timer"), sender, id, 0};
                DispatchNotify(msg);
            }
        });
    }
    timer->start(milliseconds);
    return true;
}

bool WindowImplBase::KillTimer(QWidget* control, int id) {
    const auto it = m_timers.find({control, id});
    if (it == m_timers.end()) {
        return false;
    }
    const bool wasRunning = it->second && it->second->isActive();
    delete it->second.data();
    m_timers.erase(it);
    return wasRunning;
}

void WindowImplBase::KillTimer(QWidget* control) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == control) {
            delete it->second.data();
            it = m_timers.erase(it);
        } else {
            ++it;
        }
    }
}

bool WindowImplBase::HasTimer(QWidget* control, int id) const {
    const auto it = m_timers.find({control, id});
    return it != m_timers.end() && it->second && it->second->isActive();
}

int WindowImplBase::ShowModal() {
    QEventLoop loop;
    m_modalLoop = &loop;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    const int result = loop.exec();
    m_modalLoop = nullptr;
    hide();
    return result;
}

void WindowImplBase::Close(int result) {
    if (m_modalLoop != nullptr) {
        m_modalLoop->exit(result);
    }
    hide();
}

bool WindowImplBase::HandleCaptionButton(const QString& name) {
    if (name == QLatin1String("minbtn")) {
        showMinimized();
    } else if (name == QLatin1String("maxbtn")) {
        showMaximized();
    } else if (name == QLatin1String("restorebtn")) {
        showNormal();
    } else {
        return false;
    }
    return true;
}

void WindowImplBase::CenterWindow() {
    const QWidget* owner = parentWidget();
    QRect area;
    if (owner != nullptr && owner->isVisible()) {
        area = owner->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (!area.isValid()) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

WindowImplBase* WindowImplBase::WindowOf(const QWidget* control) {
    for (const QWidget* widget = control; widget != nullptr; widget = widget->parentWidget()) {
        if (auto* window = dynamic_cast<WindowImplBase*>(const_cast<QWidget*>(widget))) {
            return window;
        }
    }
    return nullptr;
}

QList<WindowImplBase*> WindowImplBase::AllWindows() {
    return Registry();
}

void WindowImplBase::closeEvent(QCloseEvent* event) {
    event->accept();
    Close(0);
}

} // namespace q407::toolkit
