#pragma once

// The feature panels and their custom controls, for layouts that name them by class.

namespace q407::editors {

// Registers CLightControlUI, CDeviceProfileUI, CColorPaletteUI and the headset's panels
// (CMagicControlUI, CVoice6533ControlUI) with the control factory, and makes the colour palette
// window (CColorSelectWnd) the program's colour picker.
void RegisterEditorControls();

} // namespace q407::editors
