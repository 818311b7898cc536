#include "devices/KeyFunctions.h"

#include "profiles/ProfileRecords.h"

#include <array>

namespace q407::devices {
namespace {

namespace cat = category;

constexpr KeyTableEntry Key(std::uint16_t vk, std::uint8_t usage, const char* id) {
    return {vk, {cat::kKeyboard, 0x00, usage}, id};
}
constexpr KeyTableEntry Modifier(std::uint16_t vk, std::uint8_t bit, const char* id) {
    return {vk, {cat::kKeyboard, bit, 0x00}, id};
}
constexpr KeyTableEntry Consumer(std::uint16_t vk, std::uint16_t usage, const char* id) {
    return {vk,
            {cat::kConsumer, static_cast<std::uint8_t>(usage & 0xFF),
             static_cast<std::uint8_t>(usage >> 8)},
            id};
}

// Virtual-key codes, HID usages and names of every key the programs know.
constexpr std::array<KeyTableEntry, 142> kKeyTable{{
    Modifier(0xA2, 0x01, "keyboard_key_LCtrl"),
    Modifier(0xA0, 0x02, "keyboard_key_LShift"),
    Modifier(0xA4, 0x04, "keyboard_key_LAlt"),
    Modifier(0x5B, 0x08, "keyboard_key_LWin"),
    Modifier(0xA3, 0x10, "keyboard_key_RCtrl"),
    Modifier(0xA1, 0x20, "keyboard_key_RShift"),
    Modifier(0xA5, 0x40, "keyboard_key_RAlt"),
    Modifier(0x5C, 0x80, "keyboard_key_RWin"),
    Key(0x41, 0x04, "keyboard_key_A"),
    Key(0x42, 0x05, "keyboard_key_B"),
    Key(0x43, 0x06, "keyboard_key_C"),
    Key(0x44, 0x07, "keyboard_key_D"),
    Key(0x45, 0x08, "keyboard_key_E"),
    Key(0x46, 0x09, "keyboard_key_F"),
    Key(0x47, 0x0A, "keyboard_key_G"),
    Key(0x48, 0x0B, "keyboard_key_H"),
    Key(0x49, 0x0C, "keyboard_key_I"),
    Key(0x4A, 0x0D, "keyboard_key_J"),
    Key(0x4B, 0x0E, "keyboard_key_K"),
    Key(0x4C, 0x0F, "keyboard_key_L"),
    Key(0x4D, 0x10, "keyboard_key_M"),
    Key(0x4E, 0x11, "keyboard_key_N"),
    Key(0x4F, 0x12, "keyboard_key_O"),
    Key(0x50, 0x13, "keyboard_key_P"),
    Key(0x51, 0x14, "keyboard_key_Q"),
    Key(0x52, 0x15, "keyboard_key_R"),
    Key(0x53, 0x16, "keyboard_key_S"),
    Key(0x54, 0x17, "keyboard_key_T"),
    Key(0x55, 0x18, "keyboard_key_U"),
    Key(0x56, 0x19, "keyboard_key_V"),
    Key(0x57, 0x1A, "keyboard_key_W"),
    Key(0x58, 0x1B, "keyboard_key_X"),
    Key(0x59, 0x1C, "keyboard_key_Y"),
    Key(0x5A, 0x1D, "keyboard_key_Z"),
    Key(0x31, 0x1E, "keyboard_key_1"),
    Key(0x32, 0x1F, "keyboard_key_2"),
    Key(0x33, 0x20, "keyboard_key_3"),
    Key(0x34, 0x21, "keyboard_key_4"),
    Key(0x35, 0x22, "keyboard_key_5"),
    Key(0x36, 0x23, "keyboard_key_6"),
    Key(0x37, 0x24, "keyboard_key_7"),
    Key(0x38, 0x25, "keyboard_key_8"),
    Key(0x39, 0x26, "keyboard_key_9"),
    Key(0x30, 0x27, "keyboard_key_0"),
    Key(0x0D, 0x28, "keyboard_key_Enter"),
    Key(0x1B, 0x29, "keyboard_key_Esc"),
    Key(0x08, 0x2A, "keyboard_key_BackSpace"),
    Key(0x09, 0x2B, "keyboard_key_Tab"),
    Key(0x20, 0x2C, "keyboard_key_Space"),
    Key(0xBD, 0x2D, "keyboard_key_-"),
    Key(0xBB, 0x2E, "keyboard_key_="),
    Key(0xDB, 0x2F, "keyboard_key_["),
    Key(0xDD, 0x30, "keyboard_key_]"),
    Key(0xDC, 0x31, "keyboard_key_xiegang"),
    Key(0xBA, 0x33, "keyboard_key_;"),
    Key(0xDE, 0x34, "keyboard_key_'"),
    Key(0xC0, 0x35, "keyboard_key_`"),
    Key(0xBC, 0x36, "keyboard_key_<"),
    Key(0xBE, 0x37, "keyboard_key_."),
    Key(0xBF, 0x38, "keyboard_key_/"),
    Key(0x14, 0x39, "keyboard_key_Caplk"),
    Key(0x70, 0x3A, "keyboard_key_F1"),
    Key(0x71, 0x3B, "keyboard_key_F2"),
    Key(0x72, 0x3C, "keyboard_key_F3"),
    Key(0x73, 0x3D, "keyboard_key_F4"),
    Key(0x74, 0x3E, "keyboard_key_F5"),
    Key(0x75, 0x3F, "keyboard_key_F6"),
    Key(0x76, 0x40, "keyboard_key_F7"),
    Key(0x77, 0x41, "keyboard_key_F8"),
    Key(0x78, 0x42, "keyboard_key_F9"),
    Key(0x79, 0x43, "keyboard_key_F10"),
    Key(0x7A, 0x44, "keyboard_key_F11"),
    Key(0x7B, 0x45, "keyboard_key_F12"),
    Key(0x2C, 0x46, "keyboard_key_Print Scr"),
    Key(0x91, 0x47, "keyboard_key_Scroll Lock"),
    Key(0x13, 0x48, "keyboard_key_Pause"),
    Key(0x2D, 0x49, "keyboard_key_Insert"),
    Key(0x24, 0x4A, "keyboard_key_Home"),
    Key(0x21, 0x4B, "keyboard_key_Page Up"),
    Key(0x2E, 0x4C, "keyboard_key_Delete"),
    Key(0x23, 0x4D, "keyboard_key_End"),
    Key(0x22, 0x4E, "keyboard_key_Page Down"),
    Key(0x27, 0x4F, "keyboard_key_Right"),
    Key(0x25, 0x50, "keyboard_key_Left"),
    Key(0x28, 0x51, "keyboard_key_Down"),
    Key(0x26, 0x52, "keyboard_key_Up"),
    Key(0x90, 0x53, "keyboard_key_Num Lock"),
    Key(0x6F, 0x54, "keyboard_key_Num /"),
    Key(0x6A, 0x55, "keyboard_key_Num *"),
    Key(0x6D, 0x56, "keyboard_key_Num -"),
    Key(0x6B, 0x57, "keyboard_key_Num +"),
    Key(0x0101, 0x58, "keyboard_key_Num Enter"),
    Key(0x61, 0x59, "keyboard_key_Num 1"),
    Key(0x62, 0x5A, "keyboard_key_Num 2"),
    Key(0x63, 0x5B, "keyboard_key_Num 3"),
    Key(0x64, 0x5C, "keyboard_key_Num 4"),
    Key(0x65, 0x5D, "keyboard_key_Num 5"),
    Key(0x66, 0x5E, "keyboard_key_Num 6"),
    Key(0x67, 0x5F, "keyboard_key_Num 7"),
    Key(0x68, 0x60, "keyboard_key_Num 8"),
    Key(0x69, 0x61, "keyboard_key_Num 9"),
    Key(0x60, 0x62, "keyboard_key_Num 0"),
    Key(0x6E, 0x63, "keyboard_key_Decimal"),
    Key(0x5D, 0x65, "keyboard_key_App"),
    Key(0xE2, 0x64, "keyboard_key_K45"),
    Key(0xC1, 0x87, "keyboard_key_K56"),
    Key(0xFF, 0x89, "keyboard_key_K14"),
    Key(0xC2, 0x85, "keyboard_key_K107"),
    Key(0x1D, 0x8B, "keyboard_key_K131"),
    Key(0x1C, 0x8A, "keyboard_key_K132"),
    Key(0xF2, 0x88, "keyboard_key_K133"),
    Key(0x15, 0x90, "keyboard_key_K150"),
    Key(0x19, 0x91, "keyboard_key_K151"),
    Key(0xDF, 0x32, "keyboard_key_K42"),
    Consumer(0xB7, 0x0192, "keyboard_key_Launch App2"),
    Consumer(0xAC, 0x0223, "keyboard_key_Browaer Home"),
    Consumer(0xB3, 0x00CD, "keyboard_key_Media Play Pause"),
    Consumer(0xAA, 0x0221, "keyboard_key_Browser Search"),
    Consumer(0xB4, 0x018A, "keyboard_key_Launch Mail"),
    Consumer(0xAF, 0x00E9, "keyboard_key_Volume Up"),
    Consumer(0xAD, 0x00E2, "keyboard_key_Volume Mute"),
    Consumer(0xB2, 0x00B7, "keyboard_key_Media Stop"),
    Consumer(0xAE, 0x00EA, "keyboard_key_Volume Down"),
    Consumer(0xAB, 0x022A, "keyboard_key_Browser Favorites"),
    Consumer(0xA7, 0x0225, "keyboard_key_Browser ForWard"),
    Consumer(0xA6, 0x0224, "keyboard_key_Browser Back"),
    Consumer(0xB1, 0x00B6, "keyboard_key_Media Prev Track"),
    Consumer(0xB0, 0x00B5, "keyboard_key_Media Next Track"),
    Consumer(0xB6, 0x0194, "keyboard_key_Computer"),
    Consumer(0xA8, 0x0227, "keyboard_key_Browser Refresh"),
    Consumer(0xA9, 0x0226, "wed_stop"),
    Consumer(0xB5, 0x0183, "keyboard_key_Launch Media Select"),
    {0x0103, {cat::kSystem, 0x01, 0x00}, "keyboard_key_Power"},
    {0x0104, {cat::kSystem, 0x02, 0x00}, "keyboard_key_Sleep"},
    {0x0105, {cat::kSystem, 0x04, 0x00}, "keyboard_key_Wakeup"},
    {0x0106, {cat::kKeyboardMacro, 0xA2, 0x01}, "keyboard_key_M1"},
    {0x0107, {cat::kKeyboardMacro, 0xA2, 0x02}, "keyboard_key_M2"},
    {0x0108, {cat::kKeyboardMacro, 0xA2, 0x03}, "keyboard_key_M3"},
    {0x0109, {cat::kKeyboardMacro, 0xA2, 0x04}, "keyboard_key_M4"},
    {0x010A, {cat::kKeyboardMacro, 0xA2, 0x05}, "keyboard_key_M5"},
    {0x010B, {cat::kSpecial, 0x01, 0x00}, "keyboard_key_FN"},
    {0x010C, {cat::kSpecial, 0x1B, 0x00}, "keyboard_key_GM"},
}};

constexpr ScanTableEntry Scan(std::uint16_t vk, std::uint8_t code, bool extended = false) {
    return {vk, {code, extended}};
}

// Set-1 scan codes of key table entries 0-112, as a keyboard reports them (Pause without and
// Num Lock with the extended flag, as the system's keyboard hook sees them).
constexpr std::array<ScanTableEntry, 113> kScanTable{{
    Scan(0xA2, 0x1D),       Scan(0xA0, 0x2A),         Scan(0xA4, 0x38),
    Scan(0x5B, 0x5B, true), Scan(0xA3, 0x1D, true),   Scan(0xA1, 0x36),
    Scan(0xA5, 0x38, true), Scan(0x5C, 0x5C, true),   Scan(0x41, 0x1E),
    Scan(0x42, 0x30),       Scan(0x43, 0x2E),         Scan(0x44, 0x20),
    Scan(0x45, 0x12),       Scan(0x46, 0x21),         Scan(0x47, 0x22),
    Scan(0x48, 0x23),       Scan(0x49, 0x17),         Scan(0x4A, 0x24),
    Scan(0x4B, 0x25),       Scan(0x4C, 0x26),         Scan(0x4D, 0x32),
    Scan(0x4E, 0x31),       Scan(0x4F, 0x18),         Scan(0x50, 0x19),
    Scan(0x51, 0x10),       Scan(0x52, 0x13),         Scan(0x53, 0x1F),
    Scan(0x54, 0x14),       Scan(0x55, 0x16),         Scan(0x56, 0x2F),
    Scan(0x57, 0x11),       Scan(0x58, 0x2D),         Scan(0x59, 0x15),
    Scan(0x5A, 0x2C),       Scan(0x31, 0x02),         Scan(0x32, 0x03),
    Scan(0x33, 0x04),       Scan(0x34, 0x05),         Scan(0x35, 0x06),
    Scan(0x36, 0x07),       Scan(0x37, 0x08),         Scan(0x38, 0x09),
    Scan(0x39, 0x0A),       Scan(0x30, 0x0B),         Scan(0x0D, 0x1C),
    Scan(0x1B, 0x01),       Scan(0x08, 0x0E),         Scan(0x09, 0x0F),
    Scan(0x20, 0x39),       Scan(0xBD, 0x0C),         Scan(0xBB, 0x0D),
    Scan(0xDB, 0x1A),       Scan(0xDD, 0x1B),         Scan(0xDC, 0x2B),
    Scan(0xBA, 0x27),       Scan(0xDE, 0x28),         Scan(0xC0, 0x29),
    Scan(0xBC, 0x33),       Scan(0xBE, 0x34),         Scan(0xBF, 0x35),
    Scan(0x14, 0x3A),       Scan(0x70, 0x3B),         Scan(0x71, 0x3C),
    Scan(0x72, 0x3D),       Scan(0x73, 0x3E),         Scan(0x74, 0x3F),
    Scan(0x75, 0x40),       Scan(0x76, 0x41),         Scan(0x77, 0x42),
    Scan(0x78, 0x43),       Scan(0x79, 0x44),         Scan(0x7A, 0x57),
    Scan(0x7B, 0x58),       Scan(0x2C, 0x37, true),   Scan(0x91, 0x46),
    Scan(0x13, 0x45),       Scan(0x2D, 0x52, true),   Scan(0x24, 0x47, true),
    Scan(0x21, 0x49, true), Scan(0x2E, 0x53, true),   Scan(0x23, 0x4F, true),
    Scan(0x22, 0x51, true), Scan(0x27, 0x4D, true),   Scan(0x25, 0x4B, true),
    Scan(0x28, 0x50, true), Scan(0x26, 0x48, true),   Scan(0x90, 0x45, true),
    Scan(0x6F, 0x35, true), Scan(0x6A, 0x37),         Scan(0x6D, 0x4A),
    Scan(0x6B, 0x4E),       Scan(0x0101, 0x1C, true), Scan(0x61, 0x4F),
    Scan(0x62, 0x50),       Scan(0x63, 0x51),         Scan(0x64, 0x4B),
    Scan(0x65, 0x4C),       Scan(0x66, 0x4D),         Scan(0x67, 0x47),
    Scan(0x68, 0x48),       Scan(0x69, 0x49),         Scan(0x60, 0x52),
    Scan(0x6E, 0x53),       Scan(0x5D, 0x5D, true),   Scan(0xE2, 0x56),
    Scan(0xC1, 0x73),       Scan(0xFF, 0x7D),         Scan(0xC2, 0x7E),
    Scan(0x1D, 0x7B),       Scan(0x1C, 0x79),         Scan(0xF2, 0x70),
    Scan(0x15, 0x72),       Scan(0x19, 0x71),
}};

constexpr KeyTableEntry Indexed(std::uint16_t index, KeyFunctionCode code, const char* id) {
    return {index, code, id};
}

constexpr std::array<KeyTableEntry, 5> kMouseButtons{{
    Indexed(0, {cat::kMouseButton, 0x01, 0}, "mouse_key_left"),
    Indexed(1, {cat::kMouseButton, 0x04, 0}, "mouse_key_middle"),
    Indexed(2, {cat::kMouseButton, 0x02, 0}, "mouse_key_right"),
    Indexed(3, {cat::kMouseButton, 0x10, 0}, "mouse_key_forward"),
    Indexed(4, {cat::kMouseButton, 0x08, 0}, "mouse_key_back"),
}};

constexpr std::array<KeyTableEntry, 3> kDpi{{
    Indexed(0, {cat::kDpi, 0x01, 0}, "mouse_key_DPI_add"),
    Indexed(1, {cat::kDpi, 0x02, 0}, "mouse_key_DPI_sub"),
    Indexed(2, {cat::kDpi, 0x03, 0}, "mouse_key_DPI_loop"),
}};

constexpr std::array<KeyTableEntry, 18> kConsumer{{
    Consumer(0, 0x0183, "media_text"),
    Consumer(1, 0x00CD, "media_play"),
    Consumer(2, 0x00B7, "media_stop"),
    Consumer(3, 0x00B6, "media_prev"),
    Consumer(4, 0x00B5, "media_next"),
    Consumer(5, 0x00EA, "media_vol_sub"),
    Consumer(6, 0x00E9, "media_vol_add"),
    Consumer(7, 0x00E2, "media_mute"),
    Consumer(8, 0x0223, "web_text"),
    Consumer(9, 0x0227, "web_refresh"),
    Consumer(10, 0x0226, "wed_stop"),
    Consumer(11, 0x0224, "wed_back"),
    Consumer(12, 0x0225, "wed_forward"),
    Consumer(13, 0x022A, "wed_favorite"),
    Consumer(14, 0x0221, "web_search"),
    Consumer(15, 0x0194, "media_mypc"),
    Consumer(16, 0x0192, "media_calc"),
    Consumer(17, 0x018A, "media_mail"),
}};

constexpr std::array<KeyTableEntry, 3> kSystem{{
    Indexed(0, {cat::kSystem, 0x01, 0}, "system_power"),
    Indexed(1, {cat::kSystem, 0x02, 0}, "system_sleep"),
    Indexed(2, {cat::kSystem, 0x04, 0}, "system_wake_up"),
}};

constexpr KeyTableEntry Ctrl(std::uint16_t index, std::uint8_t usage, const char* id) {
    return {index, {cat::kKeyboard, 0x10, usage}, id};
}

constexpr std::array<KeyTableEntry, 11> kShortcuts{{
    Ctrl(0, 0x12, "custem_open"),
    Ctrl(1, 0x11, "custem_new"),
    Ctrl(2, 0x1D, "custem_undo"),
    Ctrl(3, 0x16, "custem_save"),
    Ctrl(4, 0x06, "custem_copy"),
    Ctrl(5, 0x1B, "custem_cut"),
    Ctrl(6, 0x19, "custem_paste"),
    Ctrl(7, 0x09, "custem_find"),
    Ctrl(8, 0x04, "custem_select_all"),
    Ctrl(9, 0x2D, "custem_narrow"),
    Ctrl(10, 0x2E, "custem_magnify"),
}};

constexpr std::array<KeyTableEntry, 9> kSecondShortcuts{{
    Indexed(0, {cat::kShortcut2, 0, 0}, "custem_open"),
    Indexed(1, {cat::kShortcut2, 0, 1}, "custem_new"),
    Indexed(2, {cat::kShortcut2, 0, 2}, "custem_undo"),
    Indexed(3, {cat::kShortcut2, 0, 3}, "custem_save"),
    Indexed(4, {cat::kShortcut2, 0, 4}, "custem_copy"),
    Indexed(5, {cat::kShortcut2, 0, 5}, "custem_cut"),
    Indexed(6, {cat::kShortcut2, 0, 6}, "custem_paste"),
    Indexed(7, {cat::kShortcut2, 0, 7}, "custem_find"),
    Indexed(8, {cat::kShortcut2, 0, 8}, "custem_select_all"),
}};

// Middle and right carry the bits 0x02 and 0x04 here, the other way round than the mouse
// button table; this table is only asked about the categories it alone names.
constexpr std::array<KeyTableEntry, 15> kMouseFunctions{{
    Indexed(0, {cat::kMouseButton, 0x01, 0}, "mouse_key_left"),
    Indexed(1, {cat::kMouseButton, 0x02, 0}, "mouse_key_middle"),
    Indexed(2, {cat::kMouseButton, 0x04, 0}, "mouse_key_right"),
    Indexed(3, {cat::kMouseButton, 0x10, 0}, "mouse_key_forward"),
    Indexed(4, {cat::kMouseButton, 0x08, 0}, "mouse_key_back"),
    Indexed(5, {cat::kFire, 0x50, 0x02}, "mouse_key_fire_key"),
    Indexed(6, {cat::kKeyboard, 0x00, 0x00}, "mouse_key_shortcut_key"),
    Indexed(7, {cat::kKeyboard, 0x80, 0x00}, "win_key_text"),
    Indexed(8, {cat::kSpecial, 0x02, 0}, "mouse_key_smart_key"),
    Indexed(9, {cat::kSpecial, 0x00, 0}, "close_text"),
    Indexed(10, {cat::kDpi, 0x03, 0}, "mouse_key_DPI_loop"),
    Indexed(11, {cat::kDpi, 0x01, 0}, "mouse_key_DPI_add"),
    Indexed(12, {cat::kDpi, 0x02, 0}, "mouse_key_DPI_sub"),
    Indexed(13, {cat::kDpiShift, 0, 0}, "mouse_key_DPI_shift"),
    Indexed(14, {cat::kShowWindow, 0, 0}, "show_window"),
}};

constexpr std::array<const char*, 4> kGunNames{"keyset_gun_1", "keyset_gun_2", "keyset_gun_3",
                                               "keyset_gun_4"};

KeyText Ids(std::vector<std::string> ids) {
    return {KeyText::Kind::TextIds, std::move(ids)};
}

KeyText IdOf(const KeyTableEntry* entry) {
    return entry != nullptr ? Ids({entry->textId}) : Ids({});
}

// Category 0 or 0x20: the key itself, else its modifiers and key joined (a shortcut's own name
// when it is one), else "off".
KeyText KeyboardText(const KeyFunctionCode& code) {
    const KeyFunctionCode asKey{cat::kKeyboard, code.param1, code.param2};
    const auto keys = KeyTable().first(kUsageEntriesEnd);
    if (const KeyTableEntry* key = FindEntry(keys, asKey, true)) {
        return Ids({key->textId});
    }
    if (code.param1 == 0 && code.param2 == 0) {
        return Ids({kOffTextId});
    }
    if (const KeyTableEntry* shortcut = FindEntry(ShortcutTable(), asKey, true)) {
        return Ids({shortcut->textId});
    }
    std::vector<std::string> joined;
    for (std::size_t i = 0; i < kModifierEntries; ++i) {
        if ((code.param1 & keys[i].code.param1) != 0) {
            joined.emplace_back(keys[i].textId);
        }
    }
    if (const int key = KeyIndexOfUsage(code.param2); key >= 0) {
        joined.emplace_back(keys[static_cast<std::size_t>(key)].textId);
    }
    return Ids(std::move(joined));
}

} // namespace

std::uint32_t KeyFunctionToValue(const KeyFunctionCode& code) {
    return static_cast<std::uint32_t>(
        profiles::KeyFunctionToInt({code.category, code.param1, code.param2}));
}

KeyFunctionCode KeyFunctionFromValue(std::uint32_t value) {
    const auto bytes = profiles::KeyFunctionFromInt(static_cast<int>(value));
    return {bytes[0], bytes[1], bytes[2]};
}

std::span<const KeyTableEntry> KeyTable() {
    return kKeyTable;
}
std::span<const ScanTableEntry> ScanTable() {
    return kScanTable;
}
std::span<const KeyTableEntry> MouseButtonTable() {
    return kMouseButtons;
}
std::span<const KeyTableEntry> DpiTable() {
    return kDpi;
}
std::span<const KeyTableEntry> ConsumerTable() {
    return kConsumer;
}
std::span<const KeyTableEntry> SystemTable() {
    return kSystem;
}
std::span<const KeyTableEntry> ShortcutTable() {
    return kShortcuts;
}
std::span<const KeyTableEntry> SecondShortcutTable() {
    return kSecondShortcuts;
}
std::span<const KeyTableEntry> MouseFunctionTable() {
    return kMouseFunctions;
}
std::span<const char* const> GunNames() {
    return kGunNames;
}

int FindIndex(std::span<const KeyTableEntry> table, const KeyFunctionCode& code,
              bool withCategory) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const KeyFunctionCode& entry = table[i].code;
        if (entry.param1 == code.param1 && entry.param2 == code.param2 &&
            (!withCategory || entry.category == code.category)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const KeyTableEntry* FindEntry(std::span<const KeyTableEntry> table, const KeyFunctionCode& code,
                               bool withCategory) {
    const int index = FindIndex(table, code, withCategory);
    return index < 0 ? nullptr : &table[static_cast<std::size_t>(index)];
}

int KeyIndexOfScanCode(ScanCode scan) {
    for (std::size_t i = 0; i < kScanTable.size(); ++i) {
        if (kScanTable[i].scan == scan) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int KeyIndexOfUsage(std::uint8_t usage) {
    if (usage == 0) {
        return -1;
    }
    for (std::size_t i = kModifierEntries; i < kUsageEntriesEnd; ++i) {
        if (kKeyTable[i].code.param2 == usage) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ModifierIndexOf(std::uint8_t bits) {
    for (std::size_t i = 0; i < kModifierEntries; ++i) {
        if (kKeyTable[i].code.param1 == bits) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

KeyText KeyFunctionText(const KeyFunctionCode& code, std::span<const std::string> macroNames) {
    switch (code.category) {
    case 0x00:
    case cat::kKeyboard:
        return KeyboardText(code);
    case cat::kMouseButton:
        return IdOf(FindEntry(MouseButtonTable(), code, true));
    case cat::kSwing:
        return Ids({(code.param2 & 0x80) != 0 ? "mouse_key_right_Swing" : "mouse_key_left_Swing"});
    case cat::kWheel:
        return Ids({(code.param2 & 0x80) != 0 ? "mouse_key_down_Swing" : "mouse_key_up_Swing"});
    case cat::kDpi:
        return IdOf(FindEntry(DpiTable(), code, true));
    case cat::kFire:
        return Ids({"mouse_key_fire_key"});
    case cat::kDpiShift:
        return Ids({"mouse_key_DPI_shift"});
    case cat::kShortcut2:
        return IdOf(FindEntry(SecondShortcutTable(), code, true));
    case cat::kShowWindow:
        return IdOf(FindEntry(MouseFunctionTable(), code, true));
    case cat::kConsumer:
        return IdOf(FindEntry(ConsumerTable(), code, true));
    case cat::kSystem:
        return IdOf(FindEntry(SystemTable(), code, true));
    case cat::kMacro:
    case cat::kMacroTimes:
        if (code.param1 < macroNames.size()) {
            return {KeyText::Kind::Plain, {macroNames[code.param1]}};
        }
        return {KeyText::Kind::Plain, {}};
    case cat::kGun:
        return Ids({code.param1 < kGunNames.size() ? kGunNames[code.param1] : "mouse_key_gun"});
    case cat::kSpecial:
    case cat::kKeyboardMacro:
        for (const KeyTableEntry& entry : MouseFunctionTable()) {
            if (entry.code.category == code.category && entry.code.param1 == code.param1) {
                return Ids({entry.textId});
            }
        }
        return IdOf(FindEntry(KeyTable(), code, true));
    case 0x15:
    case 0x21:
    case 0x50:
    case 0x60:
    case 0xB0:
    case 0xC0:
        return {KeyText::Kind::Keep, {}};
    default:
        return {KeyText::Kind::Plain, {kUnknownFunctionText}};
    }
}

std::string MacroEventNameId(int type, int button) {
    if (button < 0 || button > 0xFF) {
        return {};
    }
    const auto bits = static_cast<std::uint8_t>(button);
    switch (type) {
    case 10:
        if (const int key = KeyIndexOfUsage(bits); key >= 0) {
            return kKeyTable[static_cast<std::size_t>(key)].textId;
        }
        return {};
    case 9:
        if (const int key = ModifierIndexOf(bits); key >= 0) {
            return kKeyTable[static_cast<std::size_t>(key)].textId;
        }
        return {};
    case 1:
        for (const KeyTableEntry& entry : MouseButtonTable()) {
            if (entry.code.param1 == bits) {
                return entry.textId;
            }
        }
        return {};
    default:
        return {};
    }
}

} // namespace q407::devices
