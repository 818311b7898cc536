#include "editors/EditorControls.h"

#include "editors/CColorPaletteUI.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"
#include "toolkit/ControlFactory.h"

namespace q407::editors {

void RegisterEditorControls() {
    toolkit::RegistControl<CLightControlUI>(QStringLiteral("CLightControlUI"));
    toolkit::RegistControl<CDeviceProfileUI>(QStringLiteral("CDeviceProfileUI"));
    toolkit::RegistControl<CColorPaletteUI>(QStringLiteral("CColorPaletteUI"));
}

} // namespace q407::editors
