#pragma once

// The fixed-layout records the device pages and panels exchange with a profile record. Each one
// mirrors a block of bytes the devices understand; the comments give the byte positions.

#include <array>
#include <cstdint>

namespace q407::profiles {

// 14 bytes, JSON object "LightInfo".
struct LightInfo {
    std::uint8_t mode = 0;                  // 0 "SelectItem"
    std::uint8_t brightness = 0;            // 1 "Light"
    std::uint8_t speed = 0;                 // 2 "Speed"
    std::uint8_t direction = 0;             // 3 "Fx"
    std::uint8_t multiColor = 0;            // 4 "MultiColor" (boolean)
    std::uint8_t red = 0;                   // 5 "Red"
    std::uint8_t green = 0;                 // 6 "Green"
    std::uint8_t blue = 0;                  // 7 "Blue"
    std::array<std::uint8_t, 3> reserved{}; // 8-10, not stored
    std::uint8_t secondaryMode = 0;         // 11 "ZZCCLedMode"
    std::uint8_t customGroup = 0;           // 12 "CustomGroup"
    std::uint8_t previousMode = 0;          // 13 "OldLedmode"

    bool operator==(const LightInfo&) const = default;
};
static_assert(sizeof(LightInfo) == 14);

// 9 bytes, JSON object "AudioLightInfo".
struct AudioLightInfo {
    std::uint8_t audioMode = 0;     // "AudioMode"
    std::uint8_t backgroundRed = 0; // "BkColorR"
    std::uint8_t backgroundGreen = 0;
    std::uint8_t backgroundBlue = 0;
    std::uint8_t foregroundRed = 0; // "FgColorR"
    std::uint8_t foregroundGreen = 0;
    std::uint8_t foregroundBlue = 0;
    std::uint8_t sevenColours = 0; // "7ColorFlags" (boolean)
    std::uint8_t colourType = 0;   // "ColorTypeFlags" (boolean)

    bool operator==(const AudioLightInfo&) const = default;
};
static_assert(sizeof(AudioLightInfo) == 9);

// One element of "LightList": the light settings of one zone.
struct LightListEntry {
    std::uint8_t mode = 0;       // 0 "LEDREGMode"
    std::uint8_t brightness = 0; // 1 "LEDBrightness"
    std::uint8_t speed = 0;      // 2 "LEDSpeed"
    std::uint8_t direction = 0;  // 3 "LEDDirection" (boolean)
    std::uint8_t multiColor = 0; // 4 "LEDMultiColor" (boolean)
    std::uint8_t red = 0;        // 5 "red"
    std::uint8_t green = 0;      // 6 "green"
    std::uint8_t blue = 0;       // 7 "blue"
    std::array<std::uint8_t, 2> reserved{};
    std::uint8_t valid = 0; // 10: 1 when the array element is present

    bool operator==(const LightListEntry&) const = default;
};

// 24 bytes, one element of "LEDEffectList" in a light effect file.
struct LedEffectStep {
    std::uint8_t mode = 0;       // "LEDREGMode"
    std::uint8_t brightness = 0; // "LEDBrightness"
    std::uint8_t speed = 0;      // "LEDSpeed"
    std::uint8_t direction = 0;  // "LEDDirection"
    std::uint8_t multiColor = 0; // "LEDMultiColor"
    std::uint8_t red = 0;        // "red"
    std::uint8_t green = 0;      // "green"
    std::uint8_t blue = 0;       // "blue"
    std::array<std::uint8_t, 8> reserved{};
    std::int32_t time = 0;  // 16 "Time"
    std::int32_t cycle = 0; // 20 "Cyle"

    bool operator==(const LedEffectStep&) const = default;
};
static_assert(sizeof(LedEffectStep) == 24);

// The three bytes of a key function: category, param1, param2. In profiles it is kept as the
// integer category * 65536 + param1 * 256 + param2.
using KeyFunctionBytes = std::array<std::uint8_t, 3>;

KeyFunctionBytes KeyFunctionFromInt(int value);
int KeyFunctionToInt(const KeyFunctionBytes& bytes);

// One element of "KeyList": the key index, then the current and the default function.
struct KeyAssignmentEntry {
    std::uint16_t keyIndex = 0;
    KeyFunctionBytes assignment{};        // "Assignment"
    std::uint16_t defaultKeyIndex = 0;    // the key index again
    KeyFunctionBytes defaultAssignment{}; // "DefaultAssignment"

    bool operator==(const KeyAssignmentEntry&) const = default;
};

// One element of "DPIStages"."StageDPIs".
struct DpiStage {
    std::uint8_t enabled = 0;    // "StageActive"
    std::uint8_t separateXY = 0; // "StageXY"
    std::uint16_t dpiX = 0;      // "StageDPIX"
    std::uint16_t dpiY = 0;      // "StageDPIY"
    std::uint8_t red = 0;        // "StageColorR"
    std::uint8_t green = 0;      // "StageColorG"
    std::uint8_t blue = 0;       // "StageColorB"

    bool operator==(const DpiStage&) const = default;
};

// 19 words, JSON object "SystemStages" (field 5 in "ReportStages").
struct MouseSystemSettings {
    std::uint16_t doubleClickTime = 0;    // "DoubleClickTime"
    std::uint16_t pointerSpeed = 0;       // "MouseSpeed"
    std::uint16_t pointerPrecision = 0;   // "PointerPrecision"
    std::uint16_t scrollByPage = 0;       // "ScorllPage"
    std::uint16_t wheelLines = 0;         // "WheelScorlllinse"
    std::uint16_t reportRate = 0;         // "ReportStages"."StageActive"
    std::uint16_t dormancyTime = 0;       // "DormancyTime"
    std::uint16_t reserved = 0;           // not stored
    std::uint16_t antiShake = 0;          // "AntiShake"
    std::uint16_t liftOffDistance = 0;    // "SilentAltitudeItem"
    std::uint16_t sensorLift = 0;         // "SensorLif" (boolean)
    std::uint16_t motionSync = 0;         // "MotionSync" (boolean)
    std::uint16_t angleSnapping = 0;      // "LinearCalibration"
    std::uint16_t keyDebounce = 0;        // "KeyDelay"
    std::uint16_t deepSleepOff = 0;       // "DeepSleepOff"
    std::uint16_t sleepTime = 0;          // "sleeptime"
    std::uint16_t sleepTimeHigh = 0;      // "sleeptimeH"
    std::uint16_t reportRateWired = 0;    // "ReportSelectItemUSB"
    std::uint16_t reportRateWireless = 0; // "ReportSelectItem24K"

    bool operator==(const MouseSystemSettings&) const = default;
};
static_assert(sizeof(MouseSystemSettings) == 38);

// 6 words, JSON object "SystemStages" of a keyboard.
struct KeyboardSystemSettings {
    std::uint16_t repeat = 0;      // "Repeat"
    std::uint16_t repeatDelay = 0; // "RepeatDelay"
    std::uint16_t key6Flag = 0;    // "Key6Flag"
    std::uint16_t pollingRate = 0; // "PollingRate"
    std::uint16_t wFlag = 0;       // "WFlag"
    std::uint16_t winFlag = 0;     // "WinFlag"

    bool operator==(const KeyboardSystemSettings&) const = default;
};

// 8 integers, JSON object "SystemSetStages" of a headset.
struct HeadsetSystemSettings {
    std::int32_t magicEnable = 0;      // "MagicEnable"
    std::int32_t magicType = 0;        // "MagicType"
    std::int32_t eqType = 0;           // "EqType"
    std::int32_t customEqSelect = 0;   // "CustomEqSeletIndex"
    std::int32_t micInSelect = 0;      // "MicInSelect"
    std::int32_t micInValue = 0;       // "MicInValue"
    std::int32_t micMonitorSelect = 0; // "MicMoniterSelect"
    std::int32_t micMonitorValue = 0;  // "MicMoniterValue"

    bool operator==(const HeadsetSystemSettings&) const = default;
};

// A keyboard custom colour: red, green, blue, alpha.
struct CustomColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;

    bool operator==(const CustomColour&) const = default;
};

} // namespace q407::profiles
