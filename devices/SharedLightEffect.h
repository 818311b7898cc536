#pragma once

// The lighting effect every connected device can follow together: five shared modes (breathing,
// steady, flashing, colour cycle, off), each device kind's light mode for them, and the effect
// itself, which makes one frame (red, green, blue, brightness) at a time. The effect counts
// ticks of one millisecond; how fast it moves is the number of ticks between frames, set by the
// speed level. It is plain state with no thread or clock of its own, so callers decide when a
// tick has passed (the main window's lighting thread, or a test).

#include "devices/LightTables.h"
#include "profiles/ProfileRecords.h"

#include <array>
#include <cstdint>
#include <optional>

namespace q407::devices {

enum class SharedMode : std::uint8_t {
    Breathing = 0,
    Steady = 1,
    Flashing = 2,
    ColourCycle = 3,
    Off = 4
};
inline constexpr int kSharedModeCount = 5;

// The shared mode a device kind's light mode stands for; nothing for modes without one and for
// unknown kinds.
std::optional<SharedMode> SharedModeOf(int kind, int mode);
// The light mode of a device kind for a shared mode; nothing for unknown kinds.
std::optional<std::uint8_t> LightModeFor(int kind, SharedMode mode);

// One frame of the effect, as every following device gets it.
struct SharedFrame {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t brightness = 0; // 0 dark ... 255 full
    friend bool operator==(const SharedFrame&, const SharedFrame&) = default;
};

// What the effect shows, taken from the light settings of the page whose mode was copied.
struct SharedSettings {
    SharedMode mode = SharedMode::Steady;
    std::uint8_t brightness = 0; // level 0-4
    std::uint8_t speed = 0;      // level 0-4
    std::uint8_t direction = 0;  // breathing phase forwards (non-zero) or backwards
    bool colourful = false;
    Rgb colour;
    friend bool operator==(const SharedSettings&, const SharedSettings&) = default;
};

// The settings of a page's light record, or nothing when its mode has no shared equivalent.
std::optional<SharedSettings> SharedSettingsOf(int kind, const profiles::LightInfo& record);
// `record` with the light mode and settings of the shared effect for a page of kind `kind`;
// the bytes the effect does not set stay as they are. `record` itself for unknown kinds.
profiles::LightInfo FollowingRecord(int kind, const profiles::LightInfo& record,
                                    const SharedSettings& settings);

// Ticks between frames for speed levels 0-4; any higher level makes a frame on every tick.
unsigned SharedFrameTicks(unsigned speed);

class SharedLightEffect {
public:
    static constexpr unsigned kFlashUnitMs = 200;

    // New settings restart the tick count; hue, phase and flash state carry on, so a change of
    // mode continues from the colour the devices show.
    void SetSettings(const SharedSettings& settings);
    const SharedSettings& Settings() const { return m_settings; }

    // One tick has passed at `nowMs`: a frame when the speed's number of ticks is complete.
    std::optional<SharedFrame> Tick(std::uint32_t nowMs);
    // The frame of the current mode and state, moving the effect one step on.
    SharedFrame NextFrame(std::uint32_t nowMs);

    std::uint8_t Hue() const { return m_hue; }
    std::uint8_t Phase() const { return m_phase; }
    bool FlashOn() const { return m_flashOn; }

private:
    SharedFrame Lit(Rgb colour, unsigned brightness) const;

    SharedSettings m_settings;
    unsigned m_ticks = 0;
    std::uint8_t m_hue = 0;
    std::uint8_t m_phase = 0;
    bool m_flashOn = false;
    std::uint32_t m_lastToggleMs = 0;
};

} // namespace q407::devices
