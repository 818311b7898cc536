#pragma once

// The decisions of the page threads as plain functions: what an event value from the device's
// event interface means for each kind of page, which preview frame a light mode runs, and how
// many counted steps lie between two frames.

#include <cstdint>

namespace q407::devices {

// Page kind codes (the cable device type of the product).
inline constexpr int kKindKeyboard = 1;
inline constexpr int kKindMouse = 2;
inline constexpr int kKindMousePad = 3;
inline constexpr int kKindHeadset = 7;

// Listening channels are numbered by the device type of their connection.
inline constexpr int kChannelMouseReceiver = 6;
inline constexpr int kChannelKeyboardReceiver = 9;

enum class EventAction {
    Ignore,
    Resync,        // read the device again after delayMs
    Ripple,        // start the reactive ripple on every LED
    Counted,       // counted, nothing else happens
    KeyLight,      // a key at keyPosition was pressed: reactive light of keyKind
    ProfileSwitch, // slot (and stage when not negative) changed on the device
};

struct EventDecision {
    EventAction action = EventAction::Ignore;
    int delayMs = 0;
    int keyPosition = -1;
    int keyKind = 0;
    int slot = -1;
    int stage = -1;
};

// What event value `value`, read on listening channel `channel` of a page of `kind`, asks for.
EventDecision DecideEvent(int kind, int channel, std::uint16_t value);

enum class PreviewFrame {
    None, // nothing runs (the keyboard's own modes, unknown modes of the mouse pad and headset)
    DeviceA,
    DeviceB,
    DeviceC,
    Spectrum,
    Breathing,
    BreathingFixed,
    Steady,
    Blink,
    BlinkFixed,
    Off,
    EffectStep, // the page's user-defined effect, run on every step and not counted
};

PreviewFrame FrameForMode(int kind, int mode);

// Counted steps between two frames of `mode` at `speed` (0: a frame on every step).
int FrameInterval(int kind, int mode, int speed);

} // namespace q407::devices
