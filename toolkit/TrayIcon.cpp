#include "toolkit/TrayIcon.h"

#include "toolkit/ResourceManager.h"

#include <QFile>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QXmlStreamReader>

namespace q407::toolkit {

TrayIcon::TrayIcon() = default;
TrayIcon::~TrayIcon() = default;

bool TrayIcon::Create(const QIcon& icon, const QString& tooltip, Callback callback) {
    m_callback = std::move(callback);
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tooltip);
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (!m_callback) {
                             return;
                         }
                         switch (reason) {
                         case QSystemTrayIcon::Trigger:
                             m_callback(TrayClick::Left);
                             break;
                         case QSystemTrayIcon::Context:
                             m_callback(TrayClick::Right);
                             break;
                         case QSystemTrayIcon::DoubleClick:
                             m_callback(TrayClick::Double);
                             break;
                         default:
                             break;
                         }
                     });
    m_icon->show();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::Delete() {
    m_icon.reset();
}

QString TrayIcon::ToolTip() const {
    return m_icon ? m_icon->toolTip() : QString();
}

std::unique_ptr<QMenu> BuildMenu(const QString& layout, QWidget* parent) {
    QFile file(ResourceManager::Instance().ResolveFile(layout));
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    auto menu = std::make_unique<QMenu>(parent);
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("MenuElement")) {
            continue;
        }
        const auto attributes = xml.attributes();
        const QString name = attributes.value(QStringLiteral("name")).toString();
        const QString text = attributes.value(QStringLiteral("text")).toString();
        const QString icon = attributes.value(QStringLiteral("icon")).toString();
        QAction* action = menu->addAction(ResourceManager::Instance().Text(text));
        action->setObjectName(name);
        action->setProperty("textid", text);
        if (!icon.isEmpty()) {
            action->setIcon(QIcon(ResourceManager::Instance().ResolveFile(icon)));
        }
    }
    if (xml.hasError() || menu->actions().isEmpty()) {
        return nullptr;
    }
    return menu;
}

void ShowPopupMenu(const QString& layout, QWidget* parent, const QPoint& position,
                   std::function<void(const QString& item)> onItem) {
    std::unique_ptr<QMenu> menu = BuildMenu(layout, parent);
    if (!menu) {
        return;
    }
    QMenu* shown = menu.release();
    shown->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(shown, &QMenu::triggered, shown,
                     [onItem = std::move(onItem)](QAction* action) {
                         if (onItem) {
                             onItem(action->objectName());
                         }
                     });
    shown->popup(position);
}

} // namespace q407::toolkit
