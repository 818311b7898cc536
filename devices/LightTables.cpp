#include "devices/LightTables.h"

#include <algorithm>

namespace q407::devices::light {
namespace {

std::array<std::uint8_t, 128> BuildBreathingCurve() {
    // The rising half climbs in runs whose step grows with the level, so the breath looks even
    // to the eye; the falling half mirrors it.
    struct Run {
        int first, last, step;
    };
    constexpr Run runs[] = {{0, 10, 1},   {12, 24, 2},   {27, 45, 3},  {49, 89, 4},
                            {94, 134, 5}, {140, 206, 6}, {213, 255, 7}};
    std::array<std::uint8_t, 128> curve{};
    std::size_t i = 0;
    for (const Run& run : runs) {
        for (int v = run.first; v <= run.last; v += run.step) {
            curve[i++] = static_cast<std::uint8_t>(v);
        }
    }
    for (std::size_t j = 0; j < 64; ++j) {
        curve[127 - j] = curve[j];
    }
    return curve;
}

std::array<Rgb, 256> BuildHueWheel() {
    constexpr std::array<std::uint8_t, 32> rising{
        1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
        81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
    constexpr std::array<std::uint8_t, 32> falling{
        248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
        69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};
    std::array<Rgb, 256> wheel{};
    for (std::size_t i = 0; i < 32; ++i) {
        const std::uint8_t up = rising[i];
        const std::uint8_t down = falling[i];
        wheel[i] = {255, up, 0};         // red to yellow
        wheel[32 + i] = {down, 255, 0};  // yellow to green
        wheel[64 + i] = {0, 255, up};    // green to cyan
        wheel[96 + i] = {0, down, 255};  // cyan to blue
        wheel[128 + i] = {up, 0, 255};   // blue to magenta
        wheel[160 + i] = {255, 0, down}; // magenta to red
    }
    for (std::size_t i = kHueCount; i < wheel.size(); ++i) {
        wheel[i] = wheel[i - kHueCount];
    }
    return wheel;
}

} // namespace

const std::array<std::uint8_t, 128>& BreathingCurve() {
    static const std::array<std::uint8_t, 128> curve = BuildBreathingCurve();
    return curve;
}

const std::array<Rgb, 256>& HueWheel() {
    static const std::array<Rgb, 256> wheel = BuildHueWheel();
    return wheel;
}

std::uint8_t BrightnessLevel(unsigned level) {
    return kBrightness[std::min<std::size_t>(level, kBrightness.size() - 1)];
}

unsigned BlinkPeriodMs(unsigned speedLevel) {
    return speedLevel < kBlinkPeriods.size() ? kBlinkPeriods[speedLevel] * kBlinkUnitMs : 0;
}

std::uint8_t Step(unsigned direction, unsigned limit, std::uint8_t value, std::uint8_t delta) {
    if (direction != 0) {
        const auto next = static_cast<std::uint8_t>(value + delta);
        return next >= limit ? 0 : next;
    }
    const auto next = static_cast<std::uint8_t>(value - delta);
    return next >= limit ? static_cast<std::uint8_t>(limit - delta) : next;
}

std::uint8_t FadeLevel(std::uint8_t level, unsigned mode) {
    int drop = 0;
    if (mode == 29) {
        // The music fade is steep: it also takes big steps from the low levels, and a fade never
        // wraps a low level round to a bright one.
        if (level & 0x80) {
            drop = 45;
        } else if (level & 0x60) {
            drop = 35;
        } else if (level & 0x10) {
            drop = 45;
        } else if (level > 0) {
            drop = 1;
        }
    } else {
        if (level & 0x80) {
            drop = 40;
        } else if (level & 0x40) {
            drop = 30;
        } else if (level & 0x20) {
            drop = mode == 0 ? 15 : 10;
        } else if (level > 16) {
            drop = 8;
        } else if (level > 0) {
            drop = 1;
        }
    }
    return static_cast<std::uint8_t>(std::max(0, level - drop));
}

void FadeLedStep(std::span<std::uint8_t> levels, std::size_t led, unsigned mode) {
    if (led < levels.size()) {
        levels[led] = FadeLevel(levels[led], mode);
    }
}

namespace {

void Fill(std::span<LedColour> leds, LedColour value) {
    std::fill(leds.begin(), leds.end(), value);
}

bool BlinkToggleDue(PreviewState& state, const PreviewParams& p, std::uint32_t nowMs) {
    if (nowMs - state.lastToggleMs < BlinkPeriodMs(p.speed)) {
        return false;
    }
    state.blinkOn = !state.blinkOn;
    state.lastToggleMs = nowMs;
    return true;
}

} // namespace

void PreviewBreathing(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p) {
    state.phase = Step(p.direction, 128, state.phase, 1);
    if (state.phase == 0) {
        state.colourIndex = static_cast<std::uint8_t>(state.colourIndex + 16);
        if (state.colourIndex > kHueCount) {
            state.colourIndex = 0;
        }
    }
    const Rgb colour = p.multiColour ? Hue(state.colourIndex) : p.colour;
    Fill(leds,
         MakeLed(colour, BreathingCurve()[state.phase] * BrightnessLevel(p.brightness) / 256));
}

void PreviewBreathingFixed(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p) {
    state.phase = Step(p.direction, 128, state.phase, 1);
    if (state.phase == 0) {
        ++state.colourIndex;
    }
    // The colour index is shared with other frames that count far beyond the four colours.
    if (state.colourIndex >= kFixedColours.size()) {
        state.colourIndex = 0;
    }
    Fill(leds, MakeLed(kFixedColours[state.colourIndex],
                       BreathingCurve()[state.phase] * BrightnessLevel(p.brightness) / 256));
}

void PreviewSteady(std::span<LedColour> leds, const PreviewParams& p) {
    Fill(leds, MakeLed(p.colour, BrightnessLevel(p.brightness)));
}

void PreviewSpectrum(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p) {
    state.phase = Step(p.direction, kHueCount, state.phase, 1);
    Fill(leds, MakeLed(Hue(state.phase), BrightnessLevel(p.brightness)));
}

void PreviewBlink(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p,
                  std::uint32_t nowMs) {
    if (BlinkToggleDue(state, p, nowMs)) {
        state.phase = static_cast<std::uint8_t>(state.phase + 16);
        if (state.phase >= kHueCount) {
            state.phase = 0;
        }
    }
    if (!state.blinkOn) {
        Fill(leds, {});
        return;
    }
    Fill(leds, MakeLed(p.multiColour ? Hue(state.phase) : p.colour, BrightnessLevel(p.brightness)));
}

void PreviewBlinkFixed(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p,
                       std::uint32_t nowMs) {
    if (BlinkToggleDue(state, p, nowMs)) {
        ++state.phase;
    }
    // The phase is shared with frames that count far beyond the four colours.
    if (state.phase >= kFixedColours.size()) {
        state.phase = 0;
    }
    if (!state.blinkOn) {
        Fill(leds, {});
        return;
    }
    Fill(leds, MakeLed(kFixedColours[state.phase], BrightnessLevel(p.brightness)));
}

void PreviewOff(std::span<LedColour> leds) {
    Fill(leds, {});
}

void PreviewHueWave(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p) {
    state.phase = Step(p.direction, kHueCount, state.phase, 1);
    const unsigned full = BrightnessLevel(p.brightness);
    const std::size_t count = std::max<std::size_t>(leds.size(), 1);
    for (std::size_t i = 0; i < leds.size(); ++i) {
        const auto hue =
            static_cast<std::uint8_t>((state.phase + i * kHueCount / count) % kHueCount);
        leds[i] = MakeLed(Hue(hue), full);
    }
}

void PreviewRingColours(std::span<LedColour> leds, PreviewState& state, const PreviewParams& p,
                        std::span<const std::uint8_t> levels, unsigned hueSpread) {
    const unsigned full = BrightnessLevel(p.brightness);
    state.colourIndex = static_cast<std::uint8_t>((state.colourIndex + 1) % kHueCount);
    for (std::size_t i = 0; i < leds.size(); ++i) {
        const unsigned level = i < levels.size() ? levels[i] : 0;
        const Rgb colour =
            p.multiColour
                ? Hue(static_cast<std::uint8_t>((state.colourIndex + i * hueSpread) % kHueCount))
                : p.colour;
        leds[i] = MakeLed(colour, level * full / 255);
    }
}

} // namespace q407::devices::light
