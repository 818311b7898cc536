#pragma once

// The headset's voice changer panel (control "MagicControlItem", content from
// "XML/CustomControlXML/MagicControl.xml"): "magic_enable_option" switches the voice changer,
// "magic_option_layout" holds the four voices "magic_option_" + 1-4 and is enabled while the
// voice changer is on. The panel only finds and sets its controls; its set operations raise no
// notifications.

#include "editors/EditorPanel.h"

namespace q407::editors {

class CMagicControlUI : public CEditorPanel {
    Q_OBJECT
public:
    static constexpr int kVoices = 4;

    explicit CMagicControlUI(QWidget* parent = nullptr);

    // Selects "magic_enable_option" and enables "magic_option_layout" accordingly.
    void SetMagicEnable(bool enabled);
    bool IsMagicEnabled() const;
    // Enables the voices to match the switch (after the user switched it).
    void FollowMagicEnable();
    // Unselects voices 1-4, then selects voice t when 1 <= t <= 4.
    void ShowMagicType(int t);
};

} // namespace q407::editors
