#include "devices/InputCapture.h"

#include <array>
#include <utility>

namespace q407::devices {
namespace {

// The kernel's own numbers of the keys it added after the AT layout (linux/input-event-codes.h)
// and their set-1 scan codes.
constexpr int kFirstLaterKey = 89;
constexpr int kNumLock = 69;
constexpr int kXKeycodeOffset = 8;

struct LaterKey {
    int evdev;
    ScanCode scan;
};

constexpr std::array<LaterKey, 27> kLaterKeys{{
    {89, {0x73, false}},  // KEY_RO
    {92, {0x79, false}},  // KEY_HENKAN
    {93, {0x70, false}},  // KEY_KATAKANAHIRAGANA
    {94, {0x7B, false}},  // KEY_MUHENKAN
    {96, {0x1C, true}},   // KEY_KPENTER
    {97, {0x1D, true}},   // KEY_RIGHTCTRL
    {98, {0x35, true}},   // KEY_KPSLASH
    {99, {0x37, true}},   // KEY_SYSRQ (Print Screen)
    {100, {0x38, true}},  // KEY_RIGHTALT
    {102, {0x47, true}},  // KEY_HOME
    {103, {0x48, true}},  // KEY_UP
    {104, {0x49, true}},  // KEY_PAGEUP
    {105, {0x4B, true}},  // KEY_LEFT
    {106, {0x4D, true}},  // KEY_RIGHT
    {107, {0x4F, true}},  // KEY_END
    {108, {0x50, true}},  // KEY_DOWN
    {109, {0x51, true}},  // KEY_PAGEDOWN
    {110, {0x52, true}},  // KEY_INSERT
    {111, {0x53, true}},  // KEY_DELETE
    {119, {0x45, false}}, // KEY_PAUSE
    {121, {0x7E, false}}, // KEY_KPCOMMA
    {122, {0x72, false}}, // KEY_HANGEUL
    {123, {0x71, false}}, // KEY_HANJA
    {124, {0x7D, false}}, // KEY_YEN
    {125, {0x5B, true}},  // KEY_LEFTMETA
    {126, {0x5C, true}},  // KEY_RIGHTMETA
    {127, {0x5D, true}},  // KEY_COMPOSE (menu)
}};

constexpr std::array<std::pair<int, MouseButton>, 5> kButtons{{
    {0x110, MouseButton::Left},   // BTN_LEFT
    {0x111, MouseButton::Right},  // BTN_RIGHT
    {0x112, MouseButton::Middle}, // BTN_MIDDLE
    {0x113, MouseButton::Back},   // BTN_SIDE
    {0x114, MouseButton::Forward} // BTN_EXTRA
}};

} // namespace

bool IsRecordingMode(int mode) {
    return mode == kHookRecord || mode == kHookRecordBefore || mode == kHookRecordAfter ||
           mode == kHookRecordReplace;
}

std::optional<ScanCode> ScanCodeOfEvdevKey(int code) {
    if (code == kNumLock) {
        return ScanCode{0x45, true};
    }
    if (code >= 1 && code < kFirstLaterKey) {
        return ScanCode{static_cast<std::uint8_t>(code), false};
    }
    for (const LaterKey& key : kLaterKeys) {
        if (key.evdev == code) {
            return key.scan;
        }
    }
    return std::nullopt;
}

std::optional<ScanCode> ScanCodeOfXKeycode(int keycode) {
    return ScanCodeOfEvdevKey(keycode - kXKeycodeOffset);
}

std::optional<MouseButton> MouseButtonOfEvdevCode(int code) {
    for (const auto& [evdev, button] : kButtons) {
        if (evdev == code) {
            return button;
        }
    }
    return std::nullopt;
}

} // namespace q407::devices
