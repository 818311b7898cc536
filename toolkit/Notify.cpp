#include "toolkit/Notify.h"

#include "toolkit/WindowImplBase.h"

#include <QVariant>

namespace q407::toolkit {

QString VirtualWndName(const QWidget* control) {
    for (const QWidget* widget = control; widget != nullptr; widget = widget->parentWidget()) {
        const QVariant name = widget->property("virtualwnd");
        if (name.isValid() && !name.toString().isEmpty()) {
            return name.toString();
        }
    }
    return {};
}

void SendNotify(QWidget* control, const QString& type, qint64 wParam, qint64 lParam) {
    if (control == nullptr) {
        return;
    }
    WindowImplBase* window = WindowImplBase::WindowOf(control);
    if (window == nullptr) {
        return;
    }
    TNotifyUI msg{type, control, wParam, lParam};
    window->DispatchNotify(msg);
}

} // namespace q407::toolkit
