#pragma once

// The base of every window: builds its control tree from its skin file, initialises itself,
// pumps notifications to itself or to the pages registered as virtual windows, handles the
// program's own messages, runs per-control timers, and can be shown modelessly or modally.

#include "toolkit/Notify.h"
#include "toolkit/SkinLoader.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>

class QEventLoop;
class QTimer;

namespace q407::toolkit {

class WindowImplBase : public QWidget, public INotifyUI {
    Q_OBJECT
public:
    explicit WindowImplBase(QWidget* owner = nullptr);
    ~WindowImplBase() override;

    // Builds the skin, then calls InitWindow and raises "windowinit". `size` overrides the
    // layout's own size when valid. Returns false when the skin cannot be built.
    bool Create(const QString& title, QSize size = {});

    virtual QString GetSkinFile() const = 0;
    virtual QString GetWindowClassName() const = 0;
    virtual void InitWindow() {}
    void Notify(TNotifyUI& msg) override { (void)msg; }
    // The program's own messages. Returns true when handled; `result` is the answer to a send.
    virtual bool HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result);
    // Asked for layout class names the control factory does not know.
    virtual QWidget* CreateControl(const QString& className, QWidget* parent);

    // --- messages --------------------------------------------------------------------------
    // Queues a message for the UI thread; safe from any thread.
    void PostMessage(uint message, qint64 wParam = 0, qint64 lParam = 0);
    // Handles a message on the UI thread and returns its result. From another thread the caller
    // waits, but stops waiting (result 0) as soon as `stopRequested` says so: the UI thread may
    // itself be waiting for that worker to end.
    qint64 SendMessage(uint message, qint64 wParam = 0, qint64 lParam = 0,
                       const std::function<bool()>& stopRequested = {});

    // --- controls --------------------------------------------------------------------------
    QWidget* Root() const { return m_root; }
    QWidget* FindControl(const QString& name) const;
    template <typename Control>
    Control* FindControl(const QString& name) const {
        return qobject_cast<Control*>(FindControl(name));
    }

    // --- notification routing -------------------------------------------------------------
    void AddVirtualWnd(const QString& name, INotifyUI* handler);
    bool RemoveVirtualWnd(const QString& name);
    // Delivers a notification to the virtual window of its sender, or else to Notify.
    void DispatchNotify(TNotifyUI& msg);

    // --- per-control timers: "timer" notifications with the id in wParam, until killed -----
    bool SetTimer(QWidget* control, int id, int milliseconds);
    bool KillTimer(QWidget* control, int id);
    void KillTimer(QWidget* control);
    bool HasTimer(QWidget* control, int id) const;

    // --- showing ---------------------------------------------------------------------------
    int ShowModal();
    void Close(int result = 0);
    void CenterWindow();
    // "minbtn", "maxbtn" and "restorebtn" minimise, maximise and restore the window; returns
    // false for any other name.
    bool HandleCaptionButton(const QString& name);

    // The window a control lives in (the nearest enclosing window of this kind).
    static WindowImplBase* WindowOf(const QWidget* control);
    static QList<WindowImplBase*> AllWindows();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_root = nullptr;
    QHash<QString, INotifyUI*> m_virtualWnds;
    std::map<std::pair<QWidget*, int>, QPointer<QTimer>> m_timers;
    QEventLoop* m_modalLoop = nullptr;
};

} // namespace q407::toolkit
