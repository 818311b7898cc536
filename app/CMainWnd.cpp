#include "app/CMainWnd.h"

#include "app/toolkit/ResourceManager.h"
#include "common/Diag.h"

#include <QApplication>
#include <QCursor>
#include <QTimer>

namespace app {
namespace diag = q407::diag;

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
        HandleMessage(kTrayCallbackMessage, 0, click == ui::TrayClick::Right ? 0x0205 : 0x0202,
                      result);
    });
    // Hidden until the first device scan has finished.
    hide();
}

void CMainWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType != QLatin1String("timer")) {
        diag::Line(QString(msg.sType + QLatin1Char(' ') + msg.SenderName()).toStdString());
    }
    if (msg.sType == QLatin1String("timer") && msg.wParam == kTimerTrayMenu) {
        KillTimer(msg.pSender, kTimerTrayMenu);
        ui::ShowPopupMenu(QStringLiteral("menu.xml"), this, QCursor::pos(),
                          [this](const QString& item) { OnMenuItem(item); });
        return;
    }
    if (msg.sType != QLatin1String("click")) {
        return;
    }
    const QString name = msg.SenderName();
    if (name == QLatin1String("closebtn")) {
        hide();
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
    if (message == kTrayCallbackMessage) {
        if (lParam == 0x0202) { // left button released
            ToggleFromTray();
        } else if (lParam == 0x0205) { // right button released
            SetTimer(Root(), kTimerTrayMenu, 10);
        }
        return false;
    }
    return false;
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
