#pragma once

// Builds control trees from skin layout files (Qt Designer .ui documents kept under the layout
// names the program uses, e.g. "XML/DeviceXml/mousedevice.xml"). Class names are looked up in
// the control factory first, then in the caller's builder callback, then among Qt's widgets.
// Every tree that is built gets its skin attributes, its text ids and its notifications.

#include <QString>
#include <functional>

class QWidget;

class QStackedWidget;

namespace q407::toolkit {

// Asked for class names the factory does not know; returns nullptr for "no such control".
using BuilderCallback = std::function<QWidget*(const QString& className, QWidget* parent)>;

// Builds the tree of a layout (a resource name or a path relative to the skin folder) with
// `parent` as its parent. Returns the root control, or nullptr when the file is missing or not a
// valid layout; nothing is left behind on failure.
QWidget* BuildFromSkin(const QString& layout, QWidget* parent,
                       const BuilderCallback& callback = {});

// Builds a sub-tree into a container and adds it to the container's layout (one is created when
// the container has none). Returns the sub-tree's root, or nullptr on failure.
QWidget* BuildSubTree(const QString& layout, QWidget* container,
                      const BuilderCallback& callback = {});

// Finds a named control inside `parent` (any depth); nullptr when there is none.
QWidget* FindSubControlByName(const QWidget* parent, const QString& name);

// Only the page `stack` shows asks for room: the other pages' size policies are ignored, so a
// page not shown never widens the window. Kept so as the stack changes page; call again after
// adding pages.
void SizeStackToCurrentPage(QStackedWidget* stack);

} // namespace q407::toolkit
