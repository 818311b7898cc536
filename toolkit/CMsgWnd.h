#pragma once

// The confirmation box every window uses for questions and messages ("MsgWnd", skin "XML_MSG").
// Controls: "MessageTitle", "MessageText", "confirm_btn", "cancel_btn", "closebtn", "minbtn",
// "maxbtn", "restorebtn".

#include "toolkit/WindowImplBase.h"

namespace q407::toolkit {

class CMsgWnd : public WindowImplBase {
    Q_OBJECT
public:
    explicit CMsgWnd(QWidget* owner);

    // Shows the box modally. An empty title or text leaves the skin's own. `resourceText` makes
    // the text a language text id. `dpi` must be one of 48, 72, 96, 120, 144, 168, 192 (else 96)
    // and is applied to all windows. Button mode 0 shows only "confirm_btn", 1 shows both, other
    // values leave the buttons as the skin has them. Returns 1 when confirmed, else 0; also 0
    // when the skin cannot be built.
    static int ShowMessageBox(QWidget* owner, const QString& title, const QString& text, int dpi,
                              bool resourceText, int buttonMode);

    QString GetSkinFile() const override { return QStringLiteral("XML_MSG"); }
    QString GetWindowClassName() const override { return QStringLiteral("MsgWnd"); }
    void Notify(TNotifyUI& msg) override;
};

// A DPI the toolkit supports, or 96 (with `diagLine` written to the diagnostics) for others.
int ValidDpiOr96(int dpi, const char* diagLine);

} // namespace q407::toolkit
