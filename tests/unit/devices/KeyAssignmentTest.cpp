// Key functions: the name tables, what the key assignment panel shows for a function and reads
// back, captured keys, the texts keys show, and the key codes of the input capture.

#include "devices/KeyAssignment.h"

#include "devices/InputCapture.h"

#include <gtest/gtest.h>
#include <set>

namespace q407::devices {
namespace {

std::string Hex(const KeyFunctionCode& c) {
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X", c.category, c.param1, c.param2);
    return text;
}

TEST(KeyTables, ScanTableRunsBesideTheKeyTableAndNamesEachKeyOnce) {
    ASSERT_EQ(KeyTable().size(), 142u);
    ASSERT_EQ(ScanTable().size(), 113u);
    std::set<std::pair<int, bool>> scans;
    for (std::size_t i = 0; i < ScanTable().size(); ++i) {
        EXPECT_EQ(ScanTable()[i].virtualKey, KeyTable()[i].number) << i;
        const ScanCode scan = ScanTable()[i].scan;
        EXPECT_TRUE(scans.insert({scan.code, scan.extended}).second)
            << "scan code of entry " << i << " shadows an earlier one";
        EXPECT_EQ(KeyIndexOfScanCode(scan), static_cast<int>(i));
    }
    std::set<int> usages;
    for (std::size_t i = kModifierEntries; i < kUsageEntriesEnd; ++i) {
        EXPECT_TRUE(usages.insert(KeyTable()[i].code.param2).second) << i;
    }
    EXPECT_EQ(ConsumerTable().size(), 18u);
    EXPECT_EQ(ShortcutTable().size(), 11u);
    EXPECT_EQ(SecondShortcutTable().size(), 9u);
    EXPECT_EQ(MouseFunctionTable().size(), 15u);
}

TEST(KeyTables, EveryKeyOfTheScanTableCanBeCaptured) {
    // Each key the tables know must arrive from some kernel key code, or it could never be
    // captured or recorded.
    std::set<std::pair<int, bool>> reachable;
    for (int code = 0; code < 256; ++code) {
        if (const auto scan = ScanCodeOfEvdevKey(code)) {
            reachable.insert({scan->code, scan->extended});
        }
    }
    for (std::size_t i = 0; i < ScanTable().size(); ++i) {
        const ScanCode scan = ScanTable()[i].scan;
        EXPECT_TRUE(reachable.count({scan.code, scan.extended}) == 1)
            << KeyTable()[i].textId << " never arrives";
    }
}

TEST(KeyTables, XKeycodesMapToSetOneScanCodes) {
    struct Case {
        int xKeycode;
        std::optional<ScanCode> scan;
        const char* key;
    };
    for (const Case& c : {
             Case{38, ScanCode{0x1E, false}, "A (evdev 30)"},
             Case{105, ScanCode{0x1D, true}, "right Ctrl (evdev 97)"},
             Case{37, ScanCode{0x1D, false}, "left Ctrl"},
             Case{77, ScanCode{0x45, true}, "Num Lock carries the extended flag"},
             Case{127, ScanCode{0x45, false}, "Pause does not"},
             Case{104, ScanCode{0x1C, true}, "keypad Enter"},
             Case{36, ScanCode{0x1C, false}, "Enter"},
             Case{121, std::nullopt, "mute has no set-1 code"},
             Case{8, std::nullopt, "below the first key"},
         }) {
        EXPECT_EQ(ScanCodeOfXKeycode(c.xKeycode), c.scan) << c.key;
    }
    EXPECT_EQ(MouseButtonOfEvdevCode(0x113), MouseButton::Back);
    EXPECT_EQ(MouseButtonOfEvdevCode(0x114), MouseButton::Forward);
    EXPECT_EQ(MouseButtonOfEvdevCode(30), std::nullopt);
}

// A function as the panel shows it and reads it back.
struct RoundTrip {
    KeyFunctionCode code;
    int page;
    KeyForm (*expect)(KeyForm);
};

TEST(KeyAssignment, EveryCategoryShowsItsPageAndEncodesBackToItself) {
    const KeyFunctionCode defaults{0x10, 0x01, 0x00};
    const int macros = 3;
    const RoundTrip cases[] = {
        {{0x10, 0x04, 0},
         kFunctionMouseButton,
         [](KeyForm f) {
             f.mouseButton = 1;
             return f;
         }},
        {{0x11, 0x35, 0x8A},
         kFunctionSwing,
         [](KeyForm f) {
             f.swingCount = 3, f.swingDelay = 5, f.swingSpeed = 10, f.swingDirection = 1;
             return f;
         }},
        // Wheel down with speed 10 is 0xF6.
        {{0x12, 0x21, 0xF6},
         kFunctionWheel,
         [](KeyForm f) {
             f.wheelCount = 2, f.wheelDelay = 1, f.wheelSpeed = 10, f.wheelDirection = 1;
             return f;
         }},
        {{0x12, 0x10, 0x05},
         kFunctionWheel,
         [](KeyForm f) {
             f.wheelCount = 1, f.wheelDelay = 0, f.wheelSpeed = 5, f.wheelDirection = 0;
             return f;
         }},
        {{0x13, 0x03, 0},
         kFunctionDpi,
         [](KeyForm f) {
             f.dpi = 2;
             return f;
         }},
        {{0x14, 80, 3},
         kFunctionFire,
         [](KeyForm f) {
             f.fireInterval = 80, f.fireCount = 3;
             return f;
         }},
        {{0x20, 0x00, 0x04},
         kFunctionKeyboard,
         [](KeyForm f) {
             f.modifier = 0, f.keyIndex = 8;
             return f;
         }},
        {{0x20, 0x04, 0x2C},
         kFunctionKeyboard,
         [](KeyForm f) {
             f.modifier = 3, f.keyIndex = 48; // Alt + Space
             return f;
         }},
        {{0x20, 0x10, 0x16},
         kFunctionShortcut,
         [](KeyForm f) {
             f.shortcut = 3;
             return f;
         }},
        {{0x30, 0xE9, 0x00},
         kFunctionMedia,
         [](KeyForm f) {
             f.consumer = 6;
             return f;
         }},
        {{0x40, 0x02, 0},
         kFunctionSystem,
         [](KeyForm f) {
             f.system = 1;
             return f;
         }},
        {{0x70, 0x02, 0x01},
         kFunctionMacro,
         [](KeyForm f) {
             f.macro = 2, f.repeat = 1;
             return f;
         }},
        {{0x71, 0x01, 7},
         kFunctionMacro,
         [](KeyForm f) {
             f.macro = 1, f.repeat = kRepeatTimes, f.macroCount = 7;
             return f;
         }},
        {{0x72, 0x03, 0},
         kFunctionGun,
         [](KeyForm f) {
             f.gun = 3;
             return f;
         }},
    };
    for (const RoundTrip& c : cases) {
        const KeyForm before = ResetKeyForm({});
        const ShownKey shown = ShowKeyFunction(c.code, defaults, before, macros);
        KeyForm expected = c.expect(before);
        expected.page = c.page;
        EXPECT_EQ(shown.form, expected) << Hex(c.code);
        EXPECT_FALSE(shown.replacedCurrent) << Hex(c.code);
        const auto encoded = EncodeKeyForm(shown.form, defaults, macros);
        ASSERT_TRUE(encoded) << Hex(c.code);
        EXPECT_EQ(Hex(*encoded), Hex(c.code));
    }
}

TEST(KeyAssignment, ShowingKeysThatNeedARule) {
    const KeyFunctionCode defaults{0x20, 0x00, 0x29};
    const KeyForm base = ResetKeyForm({});
    // The default function shows page 0, and page 0 reads back as the default.
    EXPECT_EQ(ShowKeyFunction(defaults, defaults, base, 0).form.page, kFunctionDefault);
    KeyForm page0 = base;
    page0.page = kFunctionDefault;
    EXPECT_EQ(EncodeKeyForm(page0, defaults, 0), defaults);

    // LCtrl and RCtrl together name no single modifier: the option is "none".
    const ShownKey both = ShowKeyFunction({0x20, 0x11, 0x04}, defaults, base, 0);
    EXPECT_EQ(both.form.page, kFunctionKeyboard);
    EXPECT_EQ(both.form.modifier, 0);
    EXPECT_EQ(both.form.keyIndex, 8);
    // Right-hand modifiers share the option of the left-hand ones.
    EXPECT_EQ(ShowKeyFunction({0x20, 0x20, 0x04}, defaults, base, 0).form.modifier, 2);

    // A key the tables do not know is shown empty and becomes the empty key.
    const ShownKey unknown = ShowKeyFunction({0x20, 0x00, 0xF0}, defaults, base, 0);
    EXPECT_EQ(unknown.form.keyIndex, -1);
    EXPECT_EQ(unknown.replacedCurrent, (KeyFunctionCode{0x20, 0, 0}));

    // A macro beyond the library shows nothing selected and keeps the key's function.
    const ShownKey gone = ShowKeyFunction({0x70, 0x05, 0x00}, defaults, base, 2);
    EXPECT_EQ(gone.form.macro, -1);
    EXPECT_EQ(gone.form.repeat, -1);
    EXPECT_EQ(EncodeKeyForm(gone.form, defaults, 2), std::nullopt);

    // Shown-only categories have no page.
    for (const KeyFunctionCode code :
         {KeyFunctionCode{0xA0, 0x01, 0}, KeyFunctionCode{0xD0, 0xA2, 1},
          KeyFunctionCode{0x16, 0, 0}}) {
        EXPECT_EQ(ShowKeyFunction(code, defaults, base, 0).form.page, kFunctionNone) << Hex(code);
    }
}

TEST(KeyAssignment, EncodingHoldsValuesAtWhatTheDeviceTakes) {
    const KeyFunctionCode defaults{};
    KeyForm swing = ResetKeyForm({});
    swing.page = kFunctionSwing;
    swing.swingCount = 20;
    swing.swingDelay = -3;
    swing.swingSpeed = 300;
    swing.swingDirection = 0;
    EXPECT_EQ(EncodeKeyForm(swing, defaults, 0), (KeyFunctionCode{0x11, 0xF0, 0x7F}));

    KeyForm wheel = ResetKeyForm({});
    wheel.page = kFunctionWheel;
    wheel.wheelDirection = 1;
    wheel.wheelSpeed = 0; // 128 - 0 would not fit the seven bits
    const auto down = EncodeKeyForm(wheel, defaults, 0);
    ASSERT_TRUE(down);
    EXPECT_EQ(ShowKeyFunction(*down, defaults, wheel, 0).form.wheelSpeed, 1);

    // A table function without a selection keeps the key as it is.
    KeyForm none = ResetKeyForm({});
    none.page = kFunctionMedia;
    none.consumer = -1;
    EXPECT_EQ(EncodeKeyForm(none, defaults, 0), std::nullopt);
}

TEST(KeyAssignment, CapturedKeysBuildACombination) {
    KeyForm form = ResetKeyForm({});
    form.page = kFunctionKeyboard;
    // Right Shift selects the Shift option, the same as left Shift, and empties the key.
    ASSERT_TRUE(CaptureKey(form, {0x36, false}));
    EXPECT_EQ(form.modifier, 2);
    EXPECT_EQ(form.keyIndex, -1);
    EXPECT_EQ(EncodeKeyForm(form, {}, 0), (KeyFunctionCode{0x20, 0x02, 0x00}));
    // The next key keeps the option.
    ASSERT_TRUE(CaptureKey(form, {0x1F, false}));
    EXPECT_EQ(EncodeKeyForm(form, {}, 0), (KeyFunctionCode{0x20, 0x02, 0x16}));
    // Right Ctrl (extended) is Ctrl; an unknown scan code changes nothing.
    ASSERT_TRUE(CaptureKey(form, {0x1D, true}));
    EXPECT_EQ(form.modifier, 1);
    const KeyForm before = form;
    EXPECT_FALSE(CaptureKey(form, {0x6F, true}));
    EXPECT_EQ(form, before);
}

TEST(KeyAssignment, KeyboardsOfferNoDpiOrGunKeys) {
    for (int function = 0; function < kFunctionCount; ++function) {
        const bool mouseOnly = function == kFunctionDpi || function == kFunctionGun;
        EXPECT_EQ(IsFunctionOffered(function, 1), !mouseOnly) << function;
        EXPECT_TRUE(IsFunctionOffered(function, 2)) << function;
    }
}

TEST(KeyTexts, EachCategoryNamesItsFunction) {
    const std::vector<std::string> macros{"jump", "reload"};
    using Kind = KeyText::Kind;
    struct Case {
        KeyFunctionCode code;
        KeyText text;
    };
    const auto ids = [](std::vector<std::string> parts) { return KeyText{Kind::TextIds, parts}; };
    for (const Case& c : {
             Case{{0x20, 0x00, 0x29}, ids({"keyboard_key_Esc"})},
             Case{{0x20, 0x02, 0x00}, ids({"keyboard_key_LShift"})},
             Case{{0x20, 0x00, 0x00}, ids({"close_text"})},
             Case{{0x00, 0x00, 0x00}, ids({"close_text"})},
             Case{{0x20, 0x05, 0x06},
                  ids({"keyboard_key_LCtrl", "keyboard_key_LAlt", "keyboard_key_C"})},
             Case{{0x20, 0x10, 0x16}, ids({"custem_save"})},
             Case{{0x10, 0x04, 0x00}, ids({"mouse_key_middle"})},
             Case{{0x11, 0x11, 0x85}, ids({"mouse_key_right_Swing"})},
             Case{{0x12, 0x11, 0x05}, ids({"mouse_key_up_Swing"})},
             Case{{0x12, 0x11, 0xF6}, ids({"mouse_key_down_Swing"})},
             Case{{0x13, 0x02, 0x00}, ids({"mouse_key_DPI_sub"})},
             Case{{0x14, 0x50, 0x02}, ids({"mouse_key_fire_key"})},
             Case{{0x16, 0x00, 0x00}, ids({"mouse_key_DPI_shift"})},
             Case{{0x22, 0x00, 0x08}, ids({"custem_select_all"})},
             Case{{0x23, 0x00, 0x00}, ids({"show_window"})},
             Case{{0x30, 0xCD, 0x00}, ids({"media_play"})},
             Case{{0x40, 0x04, 0x00}, ids({"system_wake_up"})},
             Case{{0x71, 0x01, 0x03}, KeyText{Kind::Plain, {"reload"}}},
             Case{{0x72, 0x01, 0x00}, ids({"keyset_gun_2"})},
             Case{{0xA0, 0x02, 0x00}, ids({"mouse_key_smart_key"})},
             Case{{0xA0, 0x01, 0x00}, ids({"keyboard_key_FN"})},
             Case{{0xD0, 0xA2, 0x03}, ids({"keyboard_key_M3"})},
             Case{{0xB0, 0x00, 0x00}, KeyText{Kind::Keep, {}}},
             Case{{0x99, 0x00, 0x00}, KeyText{Kind::Plain, {kUnknownFunctionText}}},
         }) {
        EXPECT_EQ(KeyFunctionText(c.code, macros), c.text) << Hex(c.code);
    }
}

} // namespace
} // namespace q407::devices
