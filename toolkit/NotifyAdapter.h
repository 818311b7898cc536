#pragma once

// Turns the signals and events of Qt widgets into toolkit notifications. Only named widgets take
// part: control names are the contract between the skin files and the code.
//
//   QAbstractButton        clicked -> "click"; a checkable one also toggled -> "selectchanged"
//                          (wParam 1 checked, 0 unchecked)
//   QComboBox              index changed -> "itemselect" (wParam new index, lParam old index)
//   QAbstractItemView      clicked -> "itemclick", activated -> "itemactivate",
//                          current row changed -> "itemselect", double click -> "dbclick"
//   QAbstractSlider        value changed by the program or released -> "valuechanged",
//                          moved while dragging -> "movevaluechanged" (wParam value)
//   QLineEdit, QTextEdit   text changed -> "textchanged", return -> "return"
//   QTabWidget, QStackedWidget  page changed -> "selectchanged" (wParam page)
//   any named widget       focus in/out -> "setfocus"/"killfocus", enter/leave -> "msenter"/
//                          "msleave", double click -> "dbclick", context menu -> "menu",
//                          resize of a window root -> "windowsize"

class QWidget;

namespace q407::toolkit {

// Connects every named widget of the tree below `root` (and `root` itself). Safe to call again
// on a tree that grew: a widget is connected only once.
void ConnectNotifications(QWidget* root);

} // namespace q407::toolkit
