#include "app/CMainWnd.h"

#include "app/toolkit/CMsgWnd.h"
#include "app/toolkit/ResourceManager.h"
#include "common/Diag.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>

namespace app {
namespace diag = q407::diag;

int DpiForScreen(QSize screen) {
    return screen.width() > 1500 && screen.height() > 960 ? 144 : 96;
}

CMainWnd::CMainWnd(InstanceBus* bus) : m_bus(bus) {}

CMainWnd::~CMainWnd() {
    m_tray.Delete();
}

void CMainWnd::InitWindow() {
    diag::Line("InitWindow");
    auto& resources = ui::ResourceManager::Instance();
    // The main window answers text queries but supplies no texts of its own: the language
    // file does.
    resources.SetTextQuery([](const QString&) { return QString(); });
    resources.LoadLanguage(QStringLiteral("lan_cn.xml"));
    resources.ReloadText();

    const QIcon icon(resources.ResolveFile(QStringLiteral("common/logo.png")));
    setWindowIcon(icon);
    m_tray.Create(icon, QStringLiteral("Q407"), [this](ui::TrayClick click) {
        qint64 result = 0;
        HandleMessage(kTrayCallbackMessage, 0,
                      click == ui::TrayClick::Right ? kTrayRightUp : kTrayLeftUp, result);
    });
    // At start this program drives the lighting; tell the others.
    if (m_bus != nullptr) {
        m_bus->Broadcast(RegisteredMessage::LightOwnerNotify, 1, 1);
    }
    m_sleepWatch = std::make_unique<SleepWatch>([this](bool goingToSleep) {
        qint64 result = 0;
        HandleMessage(kPowerBroadcastMessage, goingToSleep ? kPowerSuspend : kPowerResume, 0,
                      result);
    });
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        connect(screen, &QScreen::geometryChanged, this, [this] {
            qint64 result = 0;
            HandleMessage(kDisplayChangeMessage, 0, 0, result);
        });
    }
    // Hidden until the first device scan has finished.
    hide();
    SetTimer(Root(), kTimerDpiFit, 100);
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType != QLatin1String("timer")) {
        diag::Line(QString(msg.sType + QLatin1Char(' ') + msg.SenderName()).toStdString());
    }
    if (msg.sType == QLatin1String("timer")) {
        // Every timer of the main window is one-shot unless re-armed.
        KillTimer(msg.pSender, static_cast<int>(msg.wParam));
        if (msg.wParam == kTimerTrayMenu) {
            ui::ShowPopupMenu(QStringLiteral("menu.xml"), this, QCursor::pos(),
                              [this](const QString& item) { OnMenuItem(item); });
        } else if (msg.wParam == kTimerDpiFit) {
            DpiFit();
            update();
        }
        return;
    }
    if (msg.sType == QLatin1String("windowsize")) {
        if (msg.SenderName() == QLatin1String("root") && m_displayChanged) {
            m_displayChanged = false;
            DpiFit();
        }
        return;
    }
    if (msg.sType != QLatin1String("click")) {
        return;
    }
    const QString name = msg.SenderName();
    if (name == QLatin1String("closebtn")) {
        hide();
    } else if (name == QLatin1String("control_light_status")) {
        SetLightControl(!m_lightControl);
        if (m_bus != nullptr) {
            m_bus->Broadcast(RegisteredMessage::LightOwnerNotify, 1, m_lightControl ? 1 : 0);
        }
    } else {
        HandleCaptionButton(name);
    }
}

bool CMainWnd::HandleMessage(uint message, qint64 wParam, qint64 lParam, qint64& result) {
    result = 0;
    if (message == MessageNumber(RegisteredMessage::AppControl) && wParam == 4) {
        ExitRoutine();
        return true;
    }
    if (message == MessageNumber(RegisteredMessage::ShowInstance)) {
        diag::Printf("软件标示 %u，%llxd%llxd", message, static_cast<unsigned long long>(wParam),
                     static_cast<unsigned long long>(lParam));
        ShowAndRaise();
        return false;
    }
    if (message == MessageNumber(RegisteredMessage::LightOwnerSet) && wParam == 1 &&
        (lParam == 0 || lParam == 1)) {
        SetLightControl(lParam == 1);
        return false;
    }
    if (message == kPowerBroadcastMessage) {
        if (wParam == kPowerSuspend || wParam == kPowerResume) {
            m_running = wParam == kPowerResume;
            ApplyLightControl();
        }
        return false;
    }
    // While the machine sleeps, nothing below is handled.
    if (!m_running) {
        return false;
    }
    if (message == kDisplayChangeMessage) {
        diag::Line("显示器分辨率发生变化");
        m_displayChanged = true;
        DpiFit();
        return false;
    }
    if (message == kTrayCallbackMessage) {
        if (lParam == kTrayLeftUp) {
            ToggleFromTray();
        } else if (lParam == kTrayRightUp) {
            SetTimer(Root(), kTimerTrayMenu, 10);
        }
        return false;
    }
    return false;
}

void CMainWnd::SetLightControl(bool on) {
    m_lightControl = on;
    ui::SetControlText(FindControl(QStringLiteral("control_light_status")),
                       on ? QStringLiteral("control_light_on")
                          : QStringLiteral("control_light_off"));
    ApplyLightControl();
}

void CMainWnd::ApplyLightControl() {
    // The device pages take the effective value (off while the machine sleeps) once they exist.
    const bool effective = m_running && m_lightControl;
    diag::Printf("light control %d", effective ? 1 : 0);
}

void CMainWnd::DpiFit() {
    const bool wasVisible = isVisible();
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    const QScreen* screen =
        this->screen() != nullptr ? this->screen() : QGuiApplication::primaryScreen();
    m_uiDpi = ui::ValidDpiOr96(screen != nullptr ? DpiForScreen(screen->geometry().size()) : 96,
                               "MAIN_WND DPI SET ERROR");
    auto& resources = ui::ResourceManager::Instance();
    resources.SetAllDPI(96);
    resize(1000, 640);
    resources.SetAllDPI(m_uiDpi);
    CenterWindow();
    if (wasVisible) {
        show();
    } else {
        hide();
    }
}

QByteArray CMainWnd::OnRegisteredMessage(RegisteredMessage message, qint64 wParam, qint64 lParam) {
    qint64 result = 0;
    HandleMessage(MessageNumber(message), wParam, lParam, result);
    return {};
}

void CMainWnd::ShowAndRaise() {
    if (m_exiting) {
        return;
    }
    if (isMinimized() || isHidden()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void CMainWnd::ToggleFromTray() {
    if (isVisible() && !isMinimized()) {
        hide();
    } else {
        show();
        DpiFit();
        ShowAndRaise();
    }
}

void CMainWnd::OnMenuItem(const QString& item) {
    if (item == QLatin1String("exit")) {
        ExitRoutine();
    }
}

void CMainWnd::ExitRoutine() {
    if (m_exiting) {
        return;
    }
    m_exiting = true;
    hide();
    m_tray.Delete();
    QApplication::quit();
}

} // namespace app
