#include "editors/EditorControls.h"

#include "editors/CColorPaletteUI.h"
#include "editors/CColorSelectWnd.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CKeySetControlUI.h"
#include "editors/CLightControlUI.h"
#include "editors/CMacroControlUI.h"
#include "editors/CMagicControlUI.h"
#include "editors/CShootControlUI.h"
#include "editors/CVoice6533ControlUI.h"
#include "toolkit/ControlFactory.h"

namespace q407::editors {

void RegisterEditorControls() {
    toolkit::RegistControl<CLightControlUI>(QStringLiteral("CLightControlUI"));
    toolkit::RegistControl<CDeviceProfileUI>(QStringLiteral("CDeviceProfileUI"));
    toolkit::RegistControl<CColorPaletteUI>(QStringLiteral("CColorPaletteUI"));
    toolkit::RegistControl<CMagicControlUI>(QStringLiteral("CMagicControlUI"));
    toolkit::RegistControl<CVoice6533ControlUI>(QStringLiteral("CVoice6533ControlUI"));
    toolkit::RegistControl<CKeySetControlUI>(QStringLiteral("CKeySetControlUI"));
    toolkit::RegistControl<CMacroControlUI>(QStringLiteral("CMacroControlUI"));
    toolkit::RegistControl<CShootControlUI>(QStringLiteral("CShootControlUI"));
    toolkit::RegistControl<CRedioMacroButtonUI>(QStringLiteral("CRedioMacroButtonUI"));
    // Every colour the program asks for is chosen in its own palette window.
    UseColorSelectWndForColours();
}

} // namespace q407::editors
