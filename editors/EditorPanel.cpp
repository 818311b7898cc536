#include "editors/EditorPanel.h"

#include "toolkit/ResourceManager.h"
#include "toolkit/SkinLoader.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QSignalBlocker>
#include <QSize>

namespace q407::editors {
namespace {

constexpr int kRowHeight = 30;

QSize RowSize() {
    return {-1, static_cast<int>(kRowHeight * toolkit::ResourceManager::Instance().Scale() + 0.5)};
}

} // namespace

CEditorPanel::CEditorPanel(const QString& layout, QWidget* parent) : QWidget(parent) {
    m_content = toolkit::BuildSubTree(layout, this);
    if (m_content == nullptr) {
        return;
    }
    // Rows a layout gives its combos are text ids, like every other text of a layout.
    for (auto* combo : m_content->findChildren<QComboBox*>()) {
        for (int row = 0; row < combo->count(); ++row) {
            combo->setItemData(row, RowSize(), Qt::SizeHintRole);
        }
        toolkit::ShowComboRowTexts(combo, true);
    }
}

QWidget* CEditorPanel::Lookup(const QString& name) const {
    QPointer<QWidget>& cached = m_controls[name];
    if (cached == nullptr) {
        cached = toolkit::FindSubControlByName(this, name);
    }
    return cached;
}

void CEditorPanel::ReloadComboTexts() {
    for (auto* combo : findChildren<QComboBox*>()) {
        toolkit::ShowComboRowTexts(combo, false);
    }
}

void CEditorPanel::AddTextRow(QComboBox* combo, const QString& textId) {
    combo->addItem(toolkit::ResourceManager::Instance().Text(textId), textId);
    combo->setItemData(combo->count() - 1, textId, toolkit::kComboTextIdRole);
    combo->setItemData(combo->count() - 1, RowSize(), Qt::SizeHintRole);
}

void CEditorPanel::AddPlainRow(QComboBox* combo, const QString& text) {
    combo->addItem(text, text);
    combo->setItemData(combo->count() - 1, RowSize(), Qt::SizeHintRole);
}

void CEditorPanel::SetSelected(QAbstractButton* option, bool selected) {
    if (option == nullptr || option->isChecked() == selected) {
        return;
    }
    const QSignalBlocker quiet(option);
    const bool exclusive = option->autoExclusive();
    option->setAutoExclusive(false);
    option->setChecked(selected);
    option->setAutoExclusive(exclusive);
}

} // namespace q407::editors
