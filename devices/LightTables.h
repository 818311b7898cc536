#pragma once

// Tables and small helpers of the light preview engine that every device page shares: the
// brightness levels, the breathing curve, the hue wheel, the fixed colours, the blink periods,
// the phase stepper and the fade of a per-LED level, plus the preview frames that animate a whole
// LED list the same way on every kind of device.

#include <array>
#include <cstdint>
#include <span>

namespace q407::devices {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One LED of a frame: colour and the level it is shown at (0 dark … 255 full).
struct LedColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t level = 0;
    friend bool operator==(const LedColour&, const LedColour&) = default;
};

inline LedColour MakeLed(Rgb colour, unsigned level) {
    return {colour.red, colour.green, colour.blue, static_cast<std::uint8_t>(level)};
}

namespace light {

// Level of a fully lit LED for each brightness level 0–4.
inline constexpr std::array<std::uint8_t, 5> kBrightness{0, 80, 135, 195, 255};
// Blink half-periods in units of 200 ms, indexed by speed level 0–4.
inline constexpr std::array<std::uint8_t, 5> kBlinkPeriods{8, 6, 4, 2, 1};
inline constexpr unsigned kBlinkUnitMs = 200;
inline constexpr std::array<Rgb, 4> kFixedColours{
    {{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

// The wheel proper has 192 colours; the stored table has 256 so that any byte indexes it, the
// last 64 repeating the first 64.
inline constexpr unsigned kHueCount = 192;

const std::array<std::uint8_t, 128>& BreathingCurve();
const std::array<Rgb, 256>& HueWheel();

inline Rgb Hue(std::uint8_t index) {
    return HueWheel()[index];
}

// Full level for a brightness level; levels above the table give the brightest.
std::uint8_t BrightnessLevel(unsigned level);
// Blink half-period in milliseconds for a speed level; levels above the table give 0.
unsigned BlinkPeriodMs(unsigned speedLevel);

// Moves an animation phase by delta within 0 … limit − 1. Forwards (direction non-zero) wraps to
// 0 when the sum reaches limit; backwards wraps to limit − delta. Byte arithmetic throughout.
std::uint8_t Step(unsigned direction, unsigned limit, std::uint8_t value, std::uint8_t delta);

// One step of a fade of a per-LED level; the level's high bits choose the size of the step and
// the mode picks one of three fade shapes (0, 29 and every other value).
std::uint8_t FadeLevel(std::uint8_t level, unsigned mode);

// FadeLevel applied to levels[led]; an index outside the levels is ignored.
void FadeLedStep(std::span<std::uint8_t> levels, std::size_t led, unsigned mode);

// State of the preview frames that a page keeps between steps.
struct PreviewState {
    std::uint8_t phase = 0;
    std::uint8_t colourIndex = 0;
    bool blinkOn = false;
    std::uint32_t lastToggleMs = 0;
};

// Parameters a preview frame reads.
struct PreviewParams {
    unsigned brightness = 0; // level 0–4
    unsigned speed = 0;      // level 0–4
    unsigned direction = 0;
    bool multiColour = false;
    Rgb colour;
};

void PreviewBreathing(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p);
void PreviewBreathingFixed(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p);
void PreviewSteady(std::span<LedColour> leds, const PreviewParams& p);
void PreviewSpectrum(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p);
void PreviewBlink(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p,
                  std::uint32_t nowMs);
void PreviewBlinkFixed(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p,
                       std::uint32_t nowMs);
void PreviewOff(std::span<LedColour> leds);
// A hue wave spread evenly across the LEDs, moving one hue step a frame in p.direction.
void PreviewHueWave(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p);
// The colours of a ring frame: each LED at its level (none beyond the levels) in the page's
// colour or, multi-coloured, in a hue `hueSpread` steps on from its neighbour's that moves on
// one step a frame.
void PreviewRingColours(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p,
                        std::span<const std::uint8_t> levels, unsigned hueSpread);

} // namespace light
} // namespace q407::devices
