#pragma once

// One row of the settings window's component list ("UpdateInfoListItemUI"): the component's name
// on a check box, the installed and newest versions, and the row state with its progress.
//
// Sub-controls (from "XML/CustomControlXML/device_Update_list_item.xml"): "check_name_select",
// "OldRev", "updateRev" (hidden while empty), "update_status_text", "update_status_ing",
// "update_progress_value", "update_status_ok".

#include <QColor>
#include <QFrame>

class QAbstractButton;
class QLabel;

namespace q407::app {

class CUpdateInfoListItemUI : public QFrame {
    Q_OBJECT
public:
    explicit CUpdateInfoListItemUI(QWidget* parent = nullptr);

    // 0..8 as the update flow numbers them; the same state again changes nothing. Any change
    // shows or hides the progress pair together and resets the percentage to "0%".
    void SetState(int state);
    int State() const { return m_state; }
    void SetPercent(int percent);

    void SetName(const QString& name);
    void SetInstalledVersion(const QString& text);
    void SetNewestVersion(const QString& text); // hidden when empty
    void SetCheckEnabled(bool enabled);
    void SetTicked(bool ticked);
    bool Ticked() const;

    // The check's text colours for the current state (the selected colour equals the normal one).
    QColor CheckTextColor() const { return m_textColor; }
    QColor CheckDisabledTextColor() const { return m_disabledTextColor; }
    bool Hot() const { return m_hot; }
    // "menu" is raised on a context-menu event only while this is on.
    void SetContextMenuEnabled(bool enabled) { m_contextMenu = enabled; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QAbstractButton* Check() const;
    QLabel* Label(const char* name) const;
    void ApplyCheckColors();

    int m_state = -1;
    QColor m_textColor;
    QColor m_disabledTextColor;
    bool m_hot = false;
    bool m_contextMenu = false;
};

} // namespace q407::app
