#pragma once

// The program's main window: built from "XML_MAIN", hidden while it initialises and shown when
// the first device scan has finished, kept alive in the tray when closed, and the receiver of
// the program-wide messages from the instance bus.

#include "app/InstanceBus.h"
#include "app/toolkit/TrayIcon.h"
#include "app/toolkit/WindowImplBase.h"

namespace app {

// Message numbers the main window handles besides the registered ones.
enum MainWindowMessage : uint {
    kTrayCallbackMessage = 0x0401,
    kMenuClickMessage = 0x0479,
};

// Timers of the main window.
enum MainWindowTimer : int {
    kTimerTrayMenu = 1032,
};

class CMainWnd : public ui::WindowImplBase {
    Q_OBJECT
public:
    explicit CMainWnd(InstanceBus* bus = nullptr);
    ~CMainWnd() override;

    QString GetSkinFile() const override { return QStringLiteral("XML_MAIN"); }
    QString GetWindowClassName() const override { return QStringLiteral("MainWnd"); }
    void InitWindow() override;
    void Notify(ui::TNotifyUI& msg) override;
    bool HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) override;

    // The instance bus hands every received registered message here.
    QByteArray OnRegisteredMessage(RegisteredMessage message, qint64 wParam, qint64 lParam);

    const ui::TrayIcon& Tray() const { return m_tray; }

private:
    void ShowAndRaise();
    void ToggleFromTray();
    void OnMenuItem(const QString& item);
    void ExitRoutine();

    InstanceBus* m_bus = nullptr;
    ui::TrayIcon m_tray;
    bool m_exiting = false;
};

} // namespace app
