#include "toolkit/CMsgWnd.h"

#include "common/Diag.h"
#include "toolkit/ResourceManager.h"

#include <QLabel>
#include <array>
#include <memory>

namespace q407::toolkit {

int ValidDpiOr96(int dpi, const char* diagLine) {
    constexpr std::array<int, 7> kSupported{48, 72, 96, 120, 144, 168, 192};
    for (int supported : kSupported) {
        if (dpi == supported) {
            return dpi;
        }
    }
    q407::diag::Line(diagLine);
    return 96;
}

CMsgWnd::CMsgWnd(QWidget* owner) : WindowImplBase(owner) {
    setWindowFlag(Qt::Tool, true);
}

int CMsgWnd::ShowMessageBox(QWidget* owner, const QString& title, const QString& text, int dpi,
                            bool resourceText, int buttonMode) {
    auto box = std::make_unique<CMsgWnd>(owner);
    if (!box->Create(QStringLiteral("msgwnd"))) {
        return 0;
    }
    if (!title.isEmpty()) {
        SetControlText(box->FindControl(QStringLiteral("MessageTitle")), title);
    }
    if (auto* message = box->FindControl<QLabel>(QStringLiteral("MessageText"));
        message != nullptr && !text.isEmpty()) {
        if (resourceText) {
            SetControlText(message, text);
        } else {
            message->setProperty("textid", QVariant());
            message->setText(text);
        }
    }
    ResourceManager::Instance().SetAllDPI(ValidDpiOr96(dpi, "MSG_WND DPI SET ERROR"));
    QWidget* cancel = box->FindControl(QStringLiteral("cancel_btn"));
    QWidget* confirm = box->FindControl(QStringLiteral("confirm_btn"));
    if (buttonMode == 0 || buttonMode == 1) {
        if (cancel != nullptr) {
            cancel->setVisible(buttonMode == 1);
        }
        if (confirm != nullptr) {
            confirm->setVisible(true);
        }
    }
    box->CenterWindow();
    return box->ShowModal() == 1 ? 1 : 0;
}

void CMsgWnd::Notify(TNotifyUI& msg) {
    if (msg.sType != QLatin1String("click")) {
        return;
    }
    const QString name = msg.SenderName();
    if (name == QLatin1String("confirm_btn")) {
        Close(1);
    } else if (name == QLatin1String("cancel_btn") || name == QLatin1String("closebtn")) {
        Close(0);
    } else {
        HandleCaptionButton(name);
    }
}

} // namespace q407::toolkit
