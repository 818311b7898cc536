#include "devices/KeyAssignment.h"

#include <algorithm>

namespace q407::devices {
namespace {

namespace cat = category;

constexpr std::uint8_t kSecondDirection = 0x80;
constexpr int kMaxNibble = 0x0F;
constexpr int kMaxSpeed = 0x7F;

std::uint8_t Byte(int value, int most) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, most));
}

std::uint8_t CountAndDelay(int count, int delay) {
    return static_cast<std::uint8_t>(Byte(count, kMaxNibble) << 4 | Byte(delay, kMaxNibble));
}

// The table entry of a combo row; nullopt without a selection.
std::optional<KeyFunctionCode> Row(std::span<const KeyTableEntry> table, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= table.size()) {
        return std::nullopt;
    }
    return table[static_cast<std::size_t>(row)].code;
}

void ShowKeyboard(const KeyFunctionCode& current, ShownKey& shown) {
    KeyForm& form = shown.form;
    form.page = kFunctionKeyboard;
    if (current.param1 == 0x10) {
        form.page = kFunctionShortcut;
        form.shortcut = FindIndex(ShortcutTable(), current, true);
        return;
    }
    if (current.param1 > 0x80) {
        return; // several right-hand modifiers: the page alone
    }
    form.keyIndex = KeyIndexOfUsage(current.param2);
    if (current.param1 == 0) {
        form.modifier = 0;
        if (form.keyIndex < 0) {
            shown.replacedCurrent = KeyFunctionCode{cat::kKeyboard, 0, 0};
        }
        return;
    }
    const int modifier = ModifierIndexOf(current.param1);
    form.modifier = modifier < 0 ? 0 : ModifierOptionOf(modifier);
}

} // namespace

bool IsFunctionOffered(int function, int kind) {
    return !(kind == 1 && (function == kFunctionDpi || function == kFunctionGun));
}

KeyForm ResetKeyForm(KeyForm form) {
    form.mouseButton = 0;
    form.dpi = 0;
    form.consumer = 0;
    form.system = 0;
    form.macro = 0;
    form.repeat = 0;
    form.gun = 0;
    form.shortcut = 0;
    form.fireInterval = 50;
    form.fireCount = 2;
    form.macroCount = 1;
    return form;
}

int ModifierOptionOf(int modifierEntry) {
    const int n = modifierEntry + 1;
    return n % kModifierOptions + n / kModifierOptions;
}

std::uint8_t ModifierBitsOf(int option) {
    return option >= 1 && option < kModifierOptions ? static_cast<std::uint8_t>(1U << (option - 1))
                                                    : 0;
}

ShownKey ShowKeyFunction(const KeyFunctionCode& current, const KeyFunctionCode& defaults,
                         KeyForm form, int macroCount) {
    ShownKey shown{form, std::nullopt};
    KeyForm& f = shown.form;
    if (current == defaults) {
        f.page = kFunctionDefault;
        return shown;
    }
    const int p1 = current.param1;
    const int p2 = current.param2;
    switch (current.category) {
    case cat::kMouseButton:
        f.page = kFunctionMouseButton;
        f.mouseButton = FindIndex(MouseButtonTable(), current, true);
        break;
    case cat::kSwing:
        f.page = kFunctionSwing;
        f.swingCount = p1 >> 4;
        f.swingDelay = p1 & kMaxNibble;
        f.swingSpeed = p2 & kMaxSpeed;
        f.swingDirection = (p2 & kSecondDirection) != 0 ? 1 : 0;
        break;
    case cat::kWheel:
        f.page = kFunctionWheel;
        f.wheelCount = p1 >> 4;
        f.wheelDelay = p1 & kMaxNibble;
        f.wheelDirection = (p2 & kSecondDirection) != 0 ? 1 : 0;
        f.wheelSpeed = f.wheelDirection == 1 ? 128 - (p2 & kMaxSpeed) : p2;
        break;
    case cat::kDpi:
        f.page = kFunctionDpi;
        f.dpi = FindIndex(DpiTable(), current, true);
        break;
    case cat::kFire:
        f.page = kFunctionFire;
        f.fireInterval = p1;
        f.fireCount = p2;
        break;
    case cat::kKeyboard:
        ShowKeyboard(current, shown);
        break;
    case cat::kConsumer:
        f.page = kFunctionMedia;
        f.consumer = FindIndex(ConsumerTable(), current, true);
        break;
    case cat::kSystem:
        f.page = kFunctionSystem;
        f.system = FindIndex(SystemTable(), current, true);
        break;
    case cat::kMacro:
        f.page = kFunctionMacro;
        f.macro = p1 < macroCount ? p1 : -1;
        f.repeat = p1 < macroCount ? p2 : -1;
        break;
    case cat::kMacroTimes:
        f.page = kFunctionMacro;
        f.macro = p1 < macroCount ? p1 : -1;
        f.repeat = kRepeatTimes;
        f.macroCount = p2;
        break;
    case cat::kGun:
        f.page = kFunctionGun;
        f.gun = p1;
        break;
    case 0xB0:
        f.page = kFunctionShortcut;
        break;
    default:
        f.page = kFunctionNone;
        break;
    }
    return shown;
}

std::optional<KeyFunctionCode> EncodeKeyForm(const KeyForm& form, const KeyFunctionCode& defaults,
                                             int macroCount) {
    switch (form.page) {
    case kFunctionMouseButton:
        return Row(MouseButtonTable(), form.mouseButton);
    case kFunctionSwing: {
        const std::uint8_t speed = Byte(form.swingSpeed, kMaxSpeed);
        return KeyFunctionCode{
            cat::kSwing, CountAndDelay(form.swingCount, form.swingDelay),
            static_cast<std::uint8_t>(form.swingDirection == 1 ? speed | kSecondDirection : speed)};
    }
    case kFunctionWheel: {
        // The second direction counts down from 128, so its speed must be at least 1.
        const int speed = std::clamp(form.wheelSpeed, form.wheelDirection == 1 ? 1 : 0, kMaxSpeed);
        const int param2 = form.wheelDirection == 1 ? (128 - speed) | kSecondDirection : speed;
        return KeyFunctionCode{cat::kWheel, CountAndDelay(form.wheelCount, form.wheelDelay),
                               static_cast<std::uint8_t>(param2)};
    }
    case kFunctionDpi:
        return Row(DpiTable(), form.dpi);
    case kFunctionFire:
        return KeyFunctionCode{cat::kFire, Byte(form.fireInterval, 0xFF),
                               Byte(form.fireCount, 0xFF)};
    case kFunctionKeyboard: {
        const std::uint8_t usage =
            form.keyIndex >= static_cast<int>(kModifierEntries) &&
                    form.keyIndex < static_cast<int>(kUsageEntriesEnd)
                ? KeyTable()[static_cast<std::size_t>(form.keyIndex)].code.param2
                : 0;
        return KeyFunctionCode{cat::kKeyboard, ModifierBitsOf(form.modifier), usage};
    }
    case kFunctionMedia:
        return Row(ConsumerTable(), form.consumer);
    case kFunctionSystem:
        return Row(SystemTable(), form.system);
    case kFunctionMacro:
        if (form.macro < 0 || form.macro >= macroCount || form.macro > 0xFF) {
            return std::nullopt;
        }
        if (form.repeat == kRepeatTimes) {
            return KeyFunctionCode{cat::kMacroTimes, static_cast<std::uint8_t>(form.macro),
                                   Byte(form.macroCount, 0xFF)};
        }
        return KeyFunctionCode{cat::kMacro, static_cast<std::uint8_t>(form.macro),
                               Byte(form.repeat, kRepeatTimes - 1)};
    case kFunctionGun:
        if (form.gun < 0) {
            return std::nullopt;
        }
        return KeyFunctionCode{cat::kGun, Byte(form.gun, 0xFF), 0};
    case kFunctionShortcut:
        return Row(ShortcutTable(), form.shortcut);
    default:
        return defaults;
    }
}

bool CaptureKey(KeyForm& form, ScanCode scan) {
    const int key = KeyIndexOfScanCode(scan);
    if (key < 0 || KeyTable()[static_cast<std::size_t>(key)].code.category != cat::kKeyboard) {
        return false;
    }
    if (key < static_cast<int>(kModifierEntries)) {
        form.modifier = ModifierOptionOf(key);
        form.keyIndex = -1;
    } else {
        form.keyIndex = key;
    }
    form.page = kFunctionKeyboard;
    return true;
}

} // namespace q407::devices
