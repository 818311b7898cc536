#pragma once

// The names of keyboard key functions as text ids of the language files ("keyboard_key_" and the
// key's name: "keyboard_key_Esc", "keyboard_key_Num 7", "keyboard_key_xiegang" for the
// backslash key). The key pictures show them on their caps and in their tool tips.

#include "devices/KeyboardTables.h"

#include <cstdint>
#include <string>

namespace q407::devices {

inline constexpr char kKeyNamePrefix[] = "keyboard_key_";
// The text of a key that does nothing.
inline constexpr char kKeyOffText[] = "close_text";

// The text id of a single keyboard key: a modifier (category 0x20, one bit in param1), a key by
// its HID usage (category 0x20, param2), FN, GM or M1-M5. Empty when it names none of those.
std::string KeyNameId(const KeyFunctionCode& code);

// The text ids that describe a key function of category 0 or 0x20, joined with "+" in the key
// table's order (modifiers first, then the key): "keyboard_key_LCtrl+keyboard_key_C". A code with
// neither a modifier nor a key is "close_text". Empty for other categories.
std::string KeyFunctionTextIds(const KeyFunctionCode& code);

// The text id of logical key `key`'s factory function; empty for keys without a name.
std::string LogicalKeyNameId(int key);

} // namespace q407::devices
