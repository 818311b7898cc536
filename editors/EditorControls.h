#pragma once

// The feature panels and their custom controls, for layouts that name them by class.

namespace q407::editors {

// Registers CLightControlUI, CDeviceProfileUI, CColorPaletteUI, the headset's panels
// (CMagicControlUI, CVoice6533ControlUI), the key, macro and recoil panels (CKeySetControlUI,
// CMacroControlUI, CShootControlUI) and the record button (CRedioMacroButtonUI) with the control
// factory, and makes the colour palette window (CColorSelectWnd) the program's colour picker.
void RegisterEditorControls();

} // namespace q407::editors
