#pragma once

// The event list of the macro being edited, and recording into it.
//
// Recording turns captured keys and mouse buttons into macro events and places them by the
// capture's mode: appended, inserted before or after the selected event, or replacing the
// selected event's key. A delay is the wait after its event, so while recording in real time the
// measured wait lands on the row before the new one. Held keys repeat in the keyboard's driver;
// only the first press of a key is recorded until it is let go.

#include "devices/InputCapture.h"
#include "profiles/CMacroLibrary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace q407::devices {

using profiles::MacroEvent;

// Event kinds ("Type") of a macro event file.
namespace macro_type {
inline constexpr int kMouseButton = 1;
inline constexpr int kMoveX = 4; // "down" left, "up" right
inline constexpr int kMoveY = 5; // "down" up, "up" down
inline constexpr int kModifier = 9;
inline constexpr int kKey = 10;
} // namespace macro_type

// The button bit a macro event carries for a mouse button.
int MacroButtonBit(MouseButton button);

class MacroEventList {
public:
    std::vector<MacroEvent> events;
    int selected = -1;

    bool Full() const;
    bool HasSelection() const;
    // Moves the selected event one up / one down / to the top / to the bottom; the selection
    // follows it. False when nothing moved.
    bool MoveUp();
    bool MoveDown();
    bool MoveToTop();
    bool MoveToBottom();
    // Removes the selected event; the selection stays on the same row (or the new last one).
    bool DeleteSelected();
    void Clear();
    // Inserts after the selected event (after the first when nothing is selected, as the first
    // into an empty list) and selects the new event. False when the list is full.
    bool InsertAfterSelection(const MacroEvent& event);
};

enum class MacroTiming {
    RealTime = 1,   // the measured wait between events
    FixedDelay = 2, // the fixed delay after every event
    NoDelay = 3,
};

class MacroRecorder {
public:
    // Starts a recording: the clock starts at `nowMs`; `fixedDelay` is held at 0-65535.
    void Start(MacroTiming timing, int fixedDelay, std::uint64_t nowMs);
    void Stop() { m_recording = false; }
    bool IsRecording() const { return m_recording; }
    MacroTiming Timing() const { return m_timing; }
    int FixedDelay() const { return m_fixedDelay; }

    // A key from a capture in `mode`: placed into `list` unless it repeats a held key, the key
    // tables do not know it or the list is full. True when the list changed.
    bool OnKey(int mode, const KeyInput& key, std::uint64_t nowMs, MacroEventList& list);
    // A mouse button: dropped when it repeats the last recorded button message, and a left press
    // or release on the stop button (`onStopButton`) is never recorded.
    bool OnMouse(int mode, const MouseInput& mouse, bool onStopButton, std::uint64_t nowMs,
                 MacroEventList& list);

private:
    struct Seen {
        ScanCode scan;
    };
    bool Place(int mode, const MacroEvent& event, std::uint64_t nowMs, MacroEventList& list);
    std::optional<Seen>* LastKeyOf(int mode);

    bool m_recording = false;
    MacroTiming m_timing = MacroTiming::RealTime;
    int m_fixedDelay = 0;
    std::uint64_t m_lastEventMs = 0;
    bool m_previousEvent = false;
    std::array<std::optional<Seen>, 4> m_lastKey; // one per recording mode
    std::optional<std::pair<MouseButton, bool>> m_lastMouse;
};

} // namespace q407::devices
