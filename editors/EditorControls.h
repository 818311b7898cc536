#pragma once

// The feature panels and their custom controls, for layouts that name them by class.

namespace q407::editors {

// Registers CLightControlUI, CDeviceProfileUI and CColorPaletteUI with the control factory.
void RegisterEditorControls();

} // namespace q407::editors
