#pragma once

// The common base of the feature panels that a device page names in its layout: the panel builds
// its own content from its sub-tree layout when it is created, looks its controls up by name on
// first use, and does nothing where the skin lacks a control.

#include "toolkit/ResourceManager.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QComboBox;

namespace q407::editors {

class CEditorPanel : public QWidget {
    Q_OBJECT
public:
    // Builds `layout` (a resource name of the skin) into the panel.
    CEditorPanel(const QString& layout, QWidget* parent);

    // The root of the built content; nullptr when the layout could not be built.
    QWidget* Content() const { return m_content; }

    // Shows every combo row of the panel in the current language again.
    void ReloadComboTexts();

protected:
    // The control named `name` inside the panel, as T; nullptr when there is none.
    template <typename T>
    T* Control(const QString& name) const {
        return qobject_cast<T*>(Lookup(name));
    }
    QWidget* Lookup(const QString& name) const;

    // Adds a row whose text is a text id (kept as its data) shown in the current language, with
    // a fixed height of 30 at the current scale.
    static void AddTextRow(QComboBox* combo, const QString& textId);
    // Adds a row whose text is shown as it is and kept as its user data.
    static void AddPlainRow(QComboBox* combo, const QString& text);
    // Selects or unselects an option without a notification, also the checked member of an
    // exclusive group (which refuses to be unchecked directly).
    static void SetSelected(QAbstractButton* option, bool selected);

private:
    QWidget* m_content = nullptr;
    mutable QHash<QString, QPointer<QWidget>> m_controls;
};

// Selects or unselects an option without a notification, also the checked member of an exclusive
// group (which refuses to be unchecked directly).
void SetOptionSelected(QAbstractButton* option, bool selected);

using toolkit::ScaledStyleSheet;

} // namespace q407::editors
