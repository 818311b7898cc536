#include "devices/PageEventTable.h"

#include <array>

namespace q407::devices {
namespace {

bool IsMouseOrKeyboard(int kind) {
    return kind == kKindMouse || kind == kKindKeyboard;
}

} // namespace

EventDecision DecideEvent(int kind, int channel, std::uint16_t value) {
    EventDecision decision;
    const bool mouseOrKeyboard = IsMouseOrKeyboard(kind);
    const int high = value >> 8;
    switch (value) {
    case 0x0401:
        decision.action = EventAction::Resync;
        decision.delayMs = mouseOrKeyboard ? 50 : 500;
        return decision;
    case 0x0402:
        if (mouseOrKeyboard) {
            decision.action = EventAction::Resync;
            decision.delayMs = 50;
        }
        return decision;
    case 0x0403:
        if (kind == kKindMouse && channel == kKindMouse) {
            decision.action = EventAction::Ripple;
        }
        return decision;
    case 0x0404:
        if (!mouseOrKeyboard) {
            decision.action = EventAction::Counted;
        }
        return decision;
    default:
        break;
    }
    if (kind == kKindKeyboard && (high == 0x05 || high == 0x06)) {
        decision.action = EventAction::KeyLight;
        decision.keyPosition = value & 0xFF;
        decision.keyKind = high == 0x05 ? 1 : 2;
    } else if (mouseOrKeyboard && (high == 0x10 || high == 0x11)) {
        decision.action = EventAction::ProfileSwitch;
        decision.slot = value & 0x0F;
        if (high == 0x11) {
            decision.stage = (value >> 4) & 0x0F;
        }
    }
    return decision;
}

PreviewFrame FrameForMode(int kind, int mode) {
    using F = PreviewFrame;
    if (kind == kKindMouse) {
        static constexpr std::array<F, 11> kMouse{
            F::DeviceA, F::Spectrum,       F::Breathing,  F::Steady,     F::Blink, F::DeviceB,
            F::DeviceC, F::BreathingFixed, F::BlinkFixed, F::EffectStep, F::Off};
        return mode >= 0 && mode < static_cast<int>(kMouse.size()) ? kMouse[mode] : F::EffectStep;
    }
    if (kind == kKindMousePad || kind == kKindHeadset) {
        static constexpr std::array<F, 9> kPad{F::DeviceA, F::Spectrum, F::Breathing,
                                               F::Steady,  F::Blink,    F::None,
                                               F::DeviceC, F::DeviceB,  F::Off};
        return mode >= 0 && mode < static_cast<int>(kPad.size()) ? kPad[mode] : F::None;
    }
    return F::None;
}

int FrameInterval(int kind, int mode, int speed) {
    static constexpr std::array<int, 5> kCommon{8, 6, 4, 2, 1};
    static constexpr std::array<int, 5> kMouseMode5{16, 12, 8, 4, 2};
    if (speed < 0 || speed > 4) {
        return 0;
    }
    return kind == kKindMouse && mode == 5 ? kMouseMode5[speed] : kCommon[speed];
}

} // namespace q407::devices
