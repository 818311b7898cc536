#include "app/CSkinFrame.h"

#include "common/Paths.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ResourceManager.h"
#include "toolkit/SkinAttributes.h"

#include <QSettings>
#include <QStackedWidget>

namespace q407::app {

SkinChangedSubject& SkinChanges() {
    static SkinChangedSubject subject;
    return subject;
}

CSkinFrame::CSkinFrame(QWidget* mainWindow, QWidget* button)
    : WindowImplBase(mainWindow), m_mainWindow(mainWindow), m_button(button) {
    // A pop-up: above everything, no caption, and closed by Qt as soon as it loses the focus
    // (a click elsewhere, another window).
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
}

CSkinFrame* CSkinFrame::Open(QWidget* mainWindow, QWidget* button) {
    auto* frame = new CSkinFrame(mainWindow, button);
    if (!frame->Create(QStringLiteral("skinframe"))) {
        delete frame;
        return nullptr;
    }
    frame->show();
    return frame;
}

void CSkinFrame::InitWindow() {
    // The top-right corner at the button's bottom-right corner.
    if (m_button != nullptr) {
        const QPoint corner = m_button->mapToGlobal(QPoint(m_button->width(), m_button->height()));
        move(corner.x() - width(), corner.y());
    }
}

void CSkinFrame::Notify(toolkit::TNotifyUI& msg) {
    if (msg.sType != QLatin1String("click") || msg.pSender == nullptr) {
        return;
    }
    const QString name = msg.SenderName();
    if (name == QLatin1String("skin_image_btn")) {
        const QString image = msg.pSender->property("bkimage").toString();
        SkinChanges().Broadcast({false, 0, image});
        WriteMainIni(QStringLiteral("1"), image);
    } else if (name == QLatin1String("skin_color_btn")) {
        const auto colour = toolkit::ParseColor(msg.pSender->property("bkcolor").toString());
        if (colour) {
            SkinChanges().Broadcast({true, static_cast<std::uint32_t>(colour->rgba()), QString()});
        }
    } else if (name == QLatin1String("skin_color")) {
        ShowTab(1);
    } else if (name == QLatin1String("skin_image")) {
        ShowTab(0);
    } else if (name == QLatin1String("skin_reset")) {
        const QString image = QString::fromLatin1(kDefaultBackground);
        SkinChanges().Broadcast({false, 0, image});
        WriteMainIni(QStringLiteral("0"), image);
    } else if (name == QLatin1String("skin_Custom")) {
        ChooseOwnPicture();
    }
}

void CSkinFrame::ShowTab(int page) {
    if (auto* tabs = FindControl<QStackedWidget>(QStringLiteral("skin_tab"))) {
        tabs->setCurrentIndex(page);
    }
}

void CSkinFrame::ChooseOwnPicture() {
    const auto& resources = toolkit::ResourceManager::Instance();
    toolkit::FileDialogOptions options;
    options.title = resources.Text(QStringLiteral(QT_TRID_NOOP("skin_custom_title")));
    options.defaultExtension = QStringLiteral("png");
    options.initialName = QStringLiteral("*.png");
    options.filter = resources.Text(QStringLiteral(QT_TRID_NOOP("skin_custom_filter")));
    // The dialog belongs to the main window: this pop-up closes when the dialog takes the focus,
    // and nothing of it is used once the dialog returns.
    const std::optional<QString> file = toolkit::GetDialogs().OpenFile(m_mainWindow, options);
    if (file && !file->isEmpty()) {
        SkinChanges().Broadcast({false, 0, *file});
    }
}

void CSkinFrame::WriteMainIni(const QString& flags, const QString& image) {
    QSettings ini(QString::fromStdString((q407::paths::UserDir() / "main.ini").string()),
                  QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("SKINIMAGE"));
    ini.setValue(QStringLiteral("FLAGS"), flags);
    ini.setValue(QStringLiteral("IMAGE"), image);
    ini.endGroup();
    ini.sync();
}

} // namespace q407::app
