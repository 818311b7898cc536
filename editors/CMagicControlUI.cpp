#include "editors/CMagicControlUI.h"

#include <QAbstractButton>

namespace q407::editors {

CMagicControlUI::CMagicControlUI(QWidget* parent)
    : CEditorPanel(QStringLiteral("XML/CustomControlXML/MagicControl.xml"), parent) {}

void CMagicControlUI::SetMagicEnable(bool enabled) {
    SetSelected(Control<QAbstractButton>(QStringLiteral("magic_enable_option")), enabled);
    FollowMagicEnable();
}

bool CMagicControlUI::IsMagicEnabled() const {
    const auto* option = Control<QAbstractButton>(QStringLiteral("magic_enable_option"));
    return option != nullptr && option->isChecked();
}

void CMagicControlUI::FollowMagicEnable() {
    if (QWidget* voices = Lookup(QStringLiteral("magic_option_layout"))) {
        voices->setEnabled(IsMagicEnabled());
    }
}

void CMagicControlUI::ShowMagicType(int t) {
    for (int n = 1; n <= kVoices; ++n) {
        SetSelected(Control<QAbstractButton>(QStringLiteral("magic_option_%1").arg(n)), false);
    }
    if (t >= 1 && t <= kVoices) {
        SetSelected(Control<QAbstractButton>(QStringLiteral("magic_option_%1").arg(t)), true);
    }
}

} // namespace q407::editors
