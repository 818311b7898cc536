#pragma once

// What the key assignment panel shows for a key function and the function it reads back: the
// panel's state as plain values (KeyForm), the show and encode rules between a KeyFunctionCode
// and that state, and how a captured key changes it. The panel widget (editors/CKeySetControlUI)
// only copies a KeyForm to and from its controls.

#include "devices/KeyFunctions.h"

#include <optional>

namespace q407::devices {

// The panel's function numbers: the user data of the function combo's items and the pages of
// its tab layout.
enum KeyPanelFunction : int {
    kFunctionNone = -1, // no page: the panel body is hidden
    kFunctionDefault = 0,
    kFunctionMouseButton = 1,
    kFunctionSwing = 2,
    kFunctionWheel = 3,
    kFunctionDpi = 4,
    kFunctionFire = 5,
    kFunctionKeyboard = 6,
    kFunctionMedia = 7,
    kFunctionSystem = 8,
    kFunctionMacro = 9,
    kFunctionGun = 10,
    kFunctionShortcut = 11,
};
inline constexpr int kFunctionCount = 12;
// The macro repeat item that plays a macro a number of times (category 0x71).
inline constexpr int kRepeatTimes = 4;
// Modifier options of a keyboard combination: none, Ctrl, Shift, Alt, Win.
inline constexpr int kModifierOptions = 5;

// Keyboards (kind 1) have no DPI or gun keys.
bool IsFunctionOffered(int function, int kind);

struct KeyForm {
    int page = kFunctionDefault;
    int mouseButton = -1; // row of the mouse button combo (MouseButtonTable order)
    int swingDirection = -1;
    int swingCount = 0;
    int swingDelay = 0;
    int swingSpeed = 0;
    int wheelDirection = -1;
    int wheelCount = 0;
    int wheelDelay = 0;
    int wheelSpeed = 0;
    int dpi = -1;
    int fireInterval = 50;
    int fireCount = 2;
    int modifier = 0;  // option 0-4
    int keyIndex = -1; // key table entry named in the key edit; -1 for an empty edit
    int consumer = -1;
    int system = -1;
    int macro = -1;
    int repeat = -1; // 0-3 repeat modes, kRepeatTimes for "n times"
    int macroCount = 1;
    int gun = -1;
    int shortcut = -1;
    friend bool operator==(const KeyForm&, const KeyForm&) = default;
};

// The editors as the panel resets them: every combo on its first row, fire interval 50 and
// count 2, macro count 1.
KeyForm ResetKeyForm(KeyForm form);

struct ShownKey {
    KeyForm form;
    // A keyboard function whose key the tables do not know is shown as an empty key; the key's
    // current function then becomes the empty key too.
    std::optional<KeyFunctionCode> replacedCurrent;
};
// What the panel shows for a key: function 0 while the current function is the default, else the
// page and values of the current function. `form` is what the panel showed before; only the
// shown page's values change. `macroCount` is the number of macros in the library.
ShownKey ShowKeyFunction(const KeyFunctionCode& current, const KeyFunctionCode& defaults,
                         KeyForm form, int macroCount);

// The function the panel describes; nullopt keeps the key's current function (a macro the library
// does not hold, or a table function whose combo has nothing selected). Counts and delays are
// held at 0-15, speeds at 0-127 and fire values at 0-255: those are the most the device takes.
std::optional<KeyFunctionCode> EncodeKeyForm(const KeyForm& form, const KeyFunctionCode& defaults,
                                             int macroCount);

// The option of modifier key table entry i (0-7): left and right of a modifier share one.
int ModifierOptionOf(int modifierEntry);
// The modifier bits of option 1-4 (0 for none).
std::uint8_t ModifierBitsOf(int option);

// A key pressed while the key edit captures: a modifier selects its option and empties the
// edit, any other key keeps the option and is named in the edit. False, with `form` unchanged,
// for a key the scan table does not know.
bool CaptureKey(KeyForm& form, ScanCode scan);

} // namespace q407::devices
