#pragma once

// The notification-area icon and the pop-up menus built from menu layout files.
//
// Menu layout:
//   <Menu>
//     <MenuElement name="exit" text="menu_exit" icon="common/exit.png"/>
//   </Menu>
// "text" is a text id (or plain text); the item's name is what the click reports.

#include <QIcon>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace q407::toolkit {

enum class TrayClick { Left, Right, Double };

class TrayIcon {
public:
    using Callback = std::function<void(TrayClick)>;

    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon with its tooltip; clicks go to the callback. False when the desktop has no
    // notification area (the icon is then kept and shown if one appears).
    bool Create(const QIcon& icon, const QString& tooltip, Callback callback);
    void Delete();
    bool IsCreated() const { return m_icon != nullptr; }
    QString ToolTip() const;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    Callback m_callback;
};

// Builds a menu from a layout file; nullptr when the file is missing or has no items. Each
// action's objectName is the item name.
std::unique_ptr<QMenu> BuildMenu(const QString& layout, QWidget* parent);

// Opens a menu layout at a screen position; `onItem` gets the name of the chosen item.
void ShowPopupMenu(const QString& layout, QWidget* parent, const QPoint& position,
                   std::function<void(const QString& item)> onItem);

} // namespace q407::toolkit
