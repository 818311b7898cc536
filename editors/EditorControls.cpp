#include "editors/EditorControls.h"

#include "app/toolkit/ControlFactory.h"
#include "editors/CColorPaletteUI.h"
#include "editors/CDeviceProfileUI.h"
#include "editors/CLightControlUI.h"

namespace editors {

void RegisterEditorControls() {
    ui::RegistControl<CLightControlUI>(QStringLiteral("CLightControlUI"));
    ui::RegistControl<CDeviceProfileUI>(QStringLiteral("CDeviceProfileUI"));
    ui::RegistControl<CColorPaletteUI>(QStringLiteral("CColorPaletteUI"));
}

} // namespace editors
