#pragma once

// The name tables of key functions and the text a key shows for its function.
//
// A key function is three bytes, category, param1, param2 (KeyFunctionCode):
//
//   0x10 mouse button        param1 button bit: 0x01 left, 0x02 right, 0x04 middle, 0x08 back,
//                            0x10 forward
//   0x11 pointer swing       param1 count << 4 | delay (4 bits each); param2 speed 0-127, bit 7
//                            set for the second direction
//   0x12 wheel               param1 as the swing; param2 speed (first direction) or
//                            (128 - speed) | 0x80 (second direction)
//   0x13 DPI                 param1 1 up, 2 down, 3 cycle
//   0x14 fire                param1 interval, param2 count
//   0x16 DPI shift           (shown only)
//   0x20 keyboard key        param1 modifier bits (0x01 LCtrl, 0x02 LShift, 0x04 LAlt, 0x08 LWin,
//                            0x10 RCtrl, 0x20 RShift, 0x40 RAlt, 0x80 RWin), param2 HID usage;
//                            0x20 0 0 is a key that does nothing
//   0x22 editing shortcut    param2 0-8 (shown only)
//   0x23 show window         (shown only)
//   0x30 consumer control    usage, low byte then high byte
//   0x40 system control      param1 0x01 power, 0x02 sleep, 0x04 wake up
//   0x70 macro               param1 macro library index, param2 repeat mode 0-3
//   0x71 macro n times       param1 macro library index, param2 n
//   0x72 gun key             param1 gun index
//   0xA0 special key         param1 0x00 off, 0x01 FN, 0x02 smart key, 0x1B GM (shown only)
//   0xD0 keyboard macro key  0xA2, param2 1-5 = M1-M5 (shown only)
//
// In profiles a function is kept as the integer category × 65536 + param1 × 256 + param2.
//
// Every table entry carries a number (the Windows virtual-key code in the key table, whose
// stored profiles and tools know the keys by it; the entry's index elsewhere), the code and a
// text id of the language files.

#include "devices/KeyboardTables.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q407::devices {

struct KeyTableEntry {
    std::uint16_t number = 0;
    KeyFunctionCode code;
    const char* textId = "";
};

// The set-1 scan code of a key and whether it carries the 0xE0 prefix ("extended").
struct ScanCode {
    std::uint8_t code = 0;
    bool extended = false;
    friend bool operator==(const ScanCode&, const ScanCode&) = default;
};

struct ScanTableEntry {
    std::uint16_t virtualKey = 0;
    ScanCode scan;
};

// Key function categories.
namespace category {
inline constexpr std::uint8_t kMouseButton = 0x10;
inline constexpr std::uint8_t kSwing = 0x11;
inline constexpr std::uint8_t kWheel = 0x12;
inline constexpr std::uint8_t kDpi = 0x13;
inline constexpr std::uint8_t kFire = 0x14;
inline constexpr std::uint8_t kDpiShift = 0x16;
inline constexpr std::uint8_t kKeyboard = 0x20;
inline constexpr std::uint8_t kShortcut2 = 0x22;
inline constexpr std::uint8_t kShowWindow = 0x23;
inline constexpr std::uint8_t kConsumer = 0x30;
inline constexpr std::uint8_t kSystem = 0x40;
inline constexpr std::uint8_t kMacro = 0x70;
inline constexpr std::uint8_t kMacroTimes = 0x71;
inline constexpr std::uint8_t kGun = 0x72;
inline constexpr std::uint8_t kSpecial = 0xA0;
inline constexpr std::uint8_t kKeyboardMacro = 0xD0;
} // namespace category

// The stored integer form and back.
std::uint32_t KeyFunctionToValue(const KeyFunctionCode& code);
KeyFunctionCode KeyFunctionFromValue(std::uint32_t value);

// --- Name tables -------------------------------------------------------------------------------
// 142 keys: 0-7 the modifiers, 8-113 keys by HID usage, 114-131 consumer keys, 132-134 system
// keys, 135-139 M1-M5, 140 FN, 141 GM.
std::span<const KeyTableEntry> KeyTable();
inline constexpr std::size_t kModifierEntries = 8;
inline constexpr std::size_t kUsageEntriesEnd = 114;
// 113 entries parallel to key table entries 0-112: how the keyboard reports each key.
std::span<const ScanTableEntry> ScanTable();
// In the order of the key assignment panel's combos.
std::span<const KeyTableEntry> MouseButtonTable();    // 5: left, middle, right, forward, back
std::span<const KeyTableEntry> DpiTable();            // 3: up, down, cycle
std::span<const KeyTableEntry> ConsumerTable();       // 18
std::span<const KeyTableEntry> SystemTable();         // 3: power, sleep, wake up
std::span<const KeyTableEntry> ShortcutTable();       // 11: Ctrl with a key
std::span<const KeyTableEntry> SecondShortcutTable(); // 9: category 0x22
std::span<const KeyTableEntry> MouseFunctionTable();  // 15, consulted for 0x16, 0x23, 0xA0, 0xD0
// Gun keys 0-3, as the gun combo names them.
std::span<const char* const> GunNames();

// The entry of `table` whose param1 and param2 equal the code's (category too when
// `withCategory`); nullptr when none does.
const KeyTableEntry* FindEntry(std::span<const KeyTableEntry> table, const KeyFunctionCode& code,
                               bool withCategory);
// The index of such an entry, -1 when none.
int FindIndex(std::span<const KeyTableEntry> table, const KeyFunctionCode& code, bool withCategory);

// The key table entry (0-112) a keyboard reports with this scan code: the first scan table
// entry with that code and extended flag; -1 when none.
int KeyIndexOfScanCode(ScanCode scan);
// Key table entries 8-113: the key with that HID usage (param1 0); -1 when none.
int KeyIndexOfUsage(std::uint8_t usage);
// Key table entries 0-7: the modifier whose bit is the whole of `bits`; -1 when none.
int ModifierIndexOf(std::uint8_t bits);

// --- Key texts -----------------------------------------------------------------------------------
// The text a key shows for its function.
struct KeyText {
    enum class Kind {
        TextIds, // translate each of `parts` and join them with "+"
        Plain,   // `parts` holds one text shown as it is (a macro's name)
        Keep,    // the key keeps the text it has
    };
    Kind kind = Kind::TextIds;
    std::vector<std::string> parts;
    friend bool operator==(const KeyText&, const KeyText&) = default;
};
// The literal shown for a category no table knows.
inline constexpr char kUnknownFunctionText[] = "\xE5\x85\xB3\xE9\x97\xAD"; // 关闭
inline constexpr char kOffTextId[] = "close_text";

// `macroNames` are the device's macro library names, in library order.
KeyText KeyFunctionText(const KeyFunctionCode& code, std::span<const std::string> macroNames);

// The text id of a recorded macro event's key or button (Type 10: the key of that usage; 9: the
// modifier of that bit; 1: the mouse button of that bit); empty for other kinds or unknown keys.
std::string MacroEventNameId(int type, int button);

} // namespace q407::devices
