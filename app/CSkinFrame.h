#pragma once

// The skin chooser: a pop-up under the main window's "skinbtn" offering background pictures and
// colours ("skin.xml"), a picture of the user's own and the default background. Each choice is
// broadcast as a SkinChangedParam; a picture from the list or the default is also written to
// "main.ini" in the user folder (section "SKINIMAGE", keys "FLAGS" and "IMAGE"). It closes when
// it loses the focus and deletes itself when closed.

#include "app/SkinChange.h"
#include "toolkit/WindowImplBase.h"

#include <QPointer>

namespace q407::app {

class CSkinFrame : public toolkit::WindowImplBase {
    Q_OBJECT
public:
    // Opens a chooser under `button` (a control of `mainWindow`).
    static CSkinFrame* Open(QWidget* mainWindow, QWidget* button);

    QString GetSkinFile() const override { return QStringLiteral("skin.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("UISkinFrame"); }
    void InitWindow() override;
    void Notify(toolkit::TNotifyUI& msg) override;

    static constexpr const char* kDefaultBackground = "common/background.png";

private:
    CSkinFrame(QWidget* mainWindow, QWidget* button);
    void ShowTab(int page);
    void ChooseOwnPicture();
    // "main.ini": what the background was set to from the list.
    static void WriteMainIni(const QString& flags, const QString& image);

    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_button;
};

} // namespace q407::app
