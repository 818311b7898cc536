#pragma once

// A notification from a control: its type string ("click", "selectchanged", "timer", ...), the
// control that raised it and two integers whose meaning depends on the type (the selected index,
// the timer id, the new value ...).

#include <QPointer>
#include <QString>
#include <QWidget>

namespace q407::toolkit {

struct TNotifyUI {
    QString sType;
    QPointer<QWidget> pSender;
    qint64 wParam = 0;
    qint64 lParam = 0;

    QString SenderName() const { return pSender ? pSender->objectName() : QString(); }
};

// Anything that receives notifications: windows and the pages registered as virtual windows.
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Raises a notification on behalf of `control`. It goes to the page registered under the control's
// virtual-window name, or else to the window the control lives in. Custom controls use it for
// their own types ("colorchanged", "click_wpadd", ...).
void SendNotify(QWidget* control, const QString& type, qint64 wParam = 0, qint64 lParam = 0);

// The virtual-window name of a control: the "virtualwnd" property of the control or of its
// nearest ancestor that has one; empty when none has.
QString VirtualWndName(const QWidget* control);

} // namespace q407::toolkit
