#pragma once

// Capturing the user's keyboard and mouse for key assignment and macro recording.
//
// A capture runs in one of the hook modes below; the mode says where its events go. An input
// source delivers the events: by default the main window's keyboard and mouse grab (on X11 a
// real grab, so keys and clicks reach no other program; on Wayland the focused window), or, where
// /dev/input is readable, the kernel's event devices through libevdev. No source asks for more
// rights than the user has.
//
// Every key event carries the key's set-1 scan code and extended flag, the form the key tables
// (devices/KeyFunctions.h) name keys by. Both sources start from the kernel's key code:
//
//   evdev key code = X key code − 8          (the X server's keycodes are the kernel's plus 8,
//                                             also under XWayland and Qt's Wayland backend)
//   set-1 scan code = evdev key code         for codes 1-88 (Esc … F12) and the other keys of
//                                             the original AT layout, which the kernel numbered
//                                             by their scan code;
//   set-1 scan code = table below            for the keys the kernel numbered later: the
//                                             0xE0-prefixed ("extended") keys such as Right
//                                             Ctrl (97 → 0x1D extended), the arrows, Home/End,
//                                             Insert/Delete, keypad Enter and /, the Windows
//                                             and menu keys, and the international keys.
//
// Num Lock and Pause share scan code 0x45: Num Lock carries the extended flag and Pause does
// not, as the system's keyboard hook of the original program reports them; the scan table keeps
// that pairing. Keys without a set-1 code (media keys, for instance) map to nothing and are
// ignored by the capture.

#include "devices/KeyFunctions.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace q407::devices {

// Hook modes: the bit values a capture is installed with.
enum HookMode : int {
    kHookOff = 0,
    kHookSingleKey = 1,     // key capture for key assignment
    kHookHitKey = 2,        // accepted, not used
    kHookRecord = 4,        // record, append
    kHookRecordBefore = 8,  // record, insert before the selected event
    kHookRecordAfter = 16,  // record, insert after the selected event
    kHookRecordReplace = 32 // replace the key of the selected event
};
// Whether a mode records macro events (keyboard and mouse).
bool IsRecordingMode(int mode);

struct KeyInput {
    bool down = false;
    ScanCode scan;
};

enum class MouseButton { Left, Right, Middle, Back, Forward };

struct MouseInput {
    MouseButton button = MouseButton::Left;
    bool down = false;
    int x = 0; // screen position of the pointer
    int y = 0;
    friend bool operator==(const MouseInput&, const MouseInput&) = default;
};

// The set-1 scan code of a kernel (evdev) key code or X key code; nullopt for keys without one.
std::optional<ScanCode> ScanCodeOfEvdevKey(int code);
std::optional<ScanCode> ScanCodeOfXKeycode(int keycode);
// The mouse button of a kernel button code (BTN_LEFT …); nullopt for other codes.
std::optional<MouseButton> MouseButtonOfEvdevCode(int code);

class InputSink {
public:
    virtual ~InputSink() = default;
    virtual void OnKeyInput(const KeyInput& key) = 0;
    virtual void OnMouseInput(const MouseInput& mouse) = 0;
};

// A source calls its sink on a thread of its own choosing (the grab on the UI thread, libevdev
// on a reader thread); the main window's hook hands the events to the UI thread.
class InputSource {
public:
    virtual ~InputSource() = default;
    // Starts delivering keys, and mouse buttons when `withMouse`. False when nothing can be
    // captured (the capture then simply delivers nothing).
    virtual bool Start(bool withMouse, InputSink& sink) = 0;
    virtual void Stop() = 0;
};

// The libevdev source over every readable keyboard and mouse of /dev/input; nullptr when the
// program was built without libevdev or no device can be read.
std::unique_ptr<InputSource> MakeEvdevInputSource();

} // namespace q407::devices
