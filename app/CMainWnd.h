#pragma once

// The program's main window: built from "XML_MAIN", hidden while it initialises and shown when
// the first device scan has finished, kept alive in the tray when closed, and the receiver of
// the program-wide messages from the instance bus.

#include "app/InstanceBus.h"
#include "app/SleepWatch.h"
#include "app/toolkit/TrayIcon.h"
#include "app/toolkit/WindowImplBase.h"

#include <memory>

namespace app {

// Message numbers the main window handles besides the registered ones.
enum MainWindowMessage : uint {
    kDisplayChangeMessage = 0x007E,
    kPowerBroadcastMessage = 0x0218, // wParam kPowerSuspend or kPowerResume
    kTrayCallbackMessage = 0x0401,   // lParam kTrayLeftUp or kTrayRightUp
    kMenuClickMessage = 0x0479,
};
inline constexpr qint64 kPowerSuspend = 0x0004;
inline constexpr qint64 kPowerResume = 0x0012;
inline constexpr qint64 kTrayLeftUp = 0x0202;
inline constexpr qint64 kTrayRightUp = 0x0205;

// Timers of the main window.
enum MainWindowTimer : int {
    kTimerDpiFit = 1011,
    kTimerTrayMenu = 1032,
};

// The UI DPI for a screen of this size: 144 on screens larger than 1500 x 960, else 96.
int DpiForScreen(QSize screen);

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
    bool LightControl() const { return m_lightControl; }
    bool Running() const { return m_running; }
    int UiDpi() const { return m_uiDpi; }

    // Sizes the window for its screen: 1000 x 640 at DPI 96 or 1500 x 960 at DPI 144, centred,
    // keeping it shown or hidden as it was.
    void DpiFit();

private:
    void ShowAndRaise();
    void ToggleFromTray();
    void OnMenuItem(const QString& item);
    void ExitRoutine();
    // This program drives the device lighting (true) or leaves it to others.
    void SetLightControl(bool on);
    void ApplyLightControl();

    InstanceBus* m_bus = nullptr;
    ui::TrayIcon m_tray;
    std::unique_ptr<SleepWatch> m_sleepWatch;
    bool m_exiting = false;
    bool m_lightControl = true;
    bool m_running = true; // false while the machine sleeps
    bool m_displayChanged = false;
    int m_uiDpi = 96;
};

} // namespace app
