#include "devices/KeyNames.h"

#include <array>
#include <utility>

namespace q407::devices {
namespace {

constexpr std::uint8_t kKeyboardCategory = 0x20;

// The modifiers in the key table's order: name and bit of param1.
constexpr std::array<std::pair<const char*, std::uint8_t>, 8> kModifiers{{
    {"LCtrl", 0x01},
    {"LShift", 0x02},
    {"LAlt", 0x04},
    {"LWin", 0x08},
    {"RCtrl", 0x10},
    {"RShift", 0x20},
    {"RAlt", 0x40},
    {"RWin", 0x80},
}};

// Keys by HID usage (param2) in the key table's order.
constexpr std::pair<std::uint8_t, const char*> kUsages[] = {
    {0x04, "A"},      {0x05, "B"},         {0x06, "C"},           {0x07, "D"},
    {0x08, "E"},      {0x09, "F"},         {0x0A, "G"},           {0x0B, "H"},
    {0x0C, "I"},      {0x0D, "J"},         {0x0E, "K"},           {0x0F, "L"},
    {0x10, "M"},      {0x11, "N"},         {0x12, "O"},           {0x13, "P"},
    {0x14, "Q"},      {0x15, "R"},         {0x16, "S"},           {0x17, "T"},
    {0x18, "U"},      {0x19, "V"},         {0x1A, "W"},           {0x1B, "X"},
    {0x1C, "Y"},      {0x1D, "Z"},         {0x1E, "1"},           {0x1F, "2"},
    {0x20, "3"},      {0x21, "4"},         {0x22, "5"},           {0x23, "6"},
    {0x24, "7"},      {0x25, "8"},         {0x26, "9"},           {0x27, "0"},
    {0x28, "Enter"},  {0x29, "Esc"},       {0x2A, "BackSpace"},   {0x2B, "Tab"},
    {0x2C, "Space"},  {0x2D, "-"},         {0x2E, "="},           {0x2F, "["},
    {0x30, "]"},      {0x31, "xiegang"},   {0x33, ";"},           {0x34, "'"},
    {0x35, "`"},      {0x36, "<"},         {0x37, "."},           {0x38, "/"},
    {0x39, "Caplk"},  {0x3A, "F1"},        {0x3B, "F2"},          {0x3C, "F3"},
    {0x3D, "F4"},     {0x3E, "F5"},        {0x3F, "F6"},          {0x40, "F7"},
    {0x41, "F8"},     {0x42, "F9"},        {0x43, "F10"},         {0x44, "F11"},
    {0x45, "F12"},    {0x46, "Print Scr"}, {0x47, "Scroll Lock"}, {0x48, "Pause"},
    {0x49, "Insert"}, {0x4A, "Home"},      {0x4B, "Page Up"},     {0x4C, "Delete"},
    {0x4D, "End"},    {0x4E, "Page Down"}, {0x4F, "Right"},       {0x50, "Left"},
    {0x51, "Down"},   {0x52, "Up"},        {0x53, "Num Lock"},    {0x54, "Num /"},
    {0x55, "Num *"},  {0x56, "Num -"},     {0x57, "Num +"},       {0x58, "Num Enter"},
    {0x59, "Num 1"},  {0x5A, "Num 2"},     {0x5B, "Num 3"},       {0x5C, "Num 4"},
    {0x5D, "Num 5"},  {0x5E, "Num 6"},     {0x5F, "Num 7"},       {0x60, "Num 8"},
    {0x61, "Num 9"},  {0x62, "Num 0"},     {0x63, "Decimal"},     {0x65, "App"},
    {0x64, "K45"},    {0x87, "K56"},       {0x89, "K14"},         {0x85, "K107"},
    {0x8B, "K131"},   {0x8A, "K132"},      {0x88, "K133"},        {0x90, "K150"},
    {0x91, "K151"},   {0x32, "K42"},
};

std::string Id(const char* name) {
    return std::string(kKeyNamePrefix) + name;
}

const char* UsageName(std::uint8_t usage) {
    for (const auto& [code, name] : kUsages) {
        if (code == usage) {
            return name;
        }
    }
    return nullptr;
}

} // namespace

std::string KeyNameId(const KeyFunctionCode& code) {
    if (code.category == kKeyboardCategory) {
        if (code.param2 == 0) {
            for (const auto& [name, bit] : kModifiers) {
                if (code.param1 == bit) {
                    return Id(name);
                }
            }
            return {};
        }
        const char* name = code.param1 == 0 ? UsageName(code.param2) : nullptr;
        return name != nullptr ? Id(name) : std::string();
    }
    if (code.category == 0xA0 && code.param2 == 0) {
        if (code.param1 == 0x01) {
            return Id("FN");
        }
        if (code.param1 == 0x1B) {
            return Id("GM");
        }
    }
    if (code.category == 0xD0 && code.param1 == 0xA2 && code.param2 >= 1 && code.param2 <= 5) {
        return Id("M") + std::to_string(code.param2);
    }
    return {};
}

std::string KeyFunctionTextIds(const KeyFunctionCode& code) {
    if (code.category != 0 && code.category != kKeyboardCategory) {
        return {};
    }
    if (code.param1 == 0 && code.param2 == 0) {
        return kKeyOffText;
    }
    std::string text;
    const auto add = [&text](const std::string& id) {
        if (!id.empty()) {
            text += text.empty() ? id : "+" + id;
        }
    };
    for (const auto& [name, bit] : kModifiers) {
        if ((code.param1 & bit) != 0) {
            add(Id(name));
        }
    }
    if (code.param2 != 0) {
        if (const char* name = UsageName(code.param2)) {
            add(Id(name));
        }
    }
    return text;
}

std::string LogicalKeyNameId(int key) {
    if (key < 0 || static_cast<std::size_t>(key) >= kb::kUsedKeys) {
        return {};
    }
    return KeyNameId(kb::LogicalKeyTable()[static_cast<std::size_t>(key)]);
}

} // namespace q407::devices
