#pragma once

// The keyboard's host-side lighting engine. It computes a colour and a level for every logical
// key, one step per light mode, reacts to key presses the keyboard reports, follows audio band
// levels and a colour input in the two host-driven modes, applies the per-LED overrides of the
// profile's light list and plays user-defined effects. The keyboard page feeds it from its light
// thread; in the host-driven modes the frame is what the keyboard shows, in the others it is the
// preview of the page's key pictures.
//
// Every public operation takes one internal lock, so the light thread, the listening thread and
// the UI thread can call it freely.

#include "devices/KeyboardTables.h"
#include "devices/LightSources.h"
#include "devices/LightTables.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace q407::devices {

// The light record fields the engine reads.
struct KeyboardLight {
    std::uint8_t mode = 0;       // light mode 1–30
    std::uint8_t brightness = 0; // level 0–4
    std::uint8_t speed = 0;      // level 0–4
    std::uint8_t direction = 0;  // non-zero: forwards
    bool multiColour = false;
    Rgb colour;
    std::uint8_t secondaryMode = 0; // colour choice of mode 17
};

// The audio light record fields the music mode reads.
struct KeyboardAudioLight {
    std::uint8_t audioMode = 0;
    Rgb background;
    Rgb foreground;
    bool sevenColour = false;
};

// How one LED is lit by an override or by a step of a user-defined effect.
struct LedSettings {
    std::uint8_t mode = 0;
    std::uint8_t brightness = 0; // level 0–4
    std::uint8_t speed = 0;      // level 0–4
    std::uint8_t direction = 0;
    bool multiColour = false;
    Rgb colour;
};

// One entry of the profile's light list: an override of one LED. Modes: 0 breathing, 1 steady,
// 2 blink, 3 spectrum, 4 off.
struct LedOverride : LedSettings {
    bool valid = false; // false for a missing list element
};

// One step of a user-defined effect. Modes: 0 breathing, 1 steady, 2 blink, 4 wave, 5 spectrum.
struct EffectStep : LedSettings {
    std::int32_t timeMs = 0; // how long the step plays
    std::int32_t cycle = 0;  // kept with the effect; the player does not use it
};

class KeyboardLightEngine {
public:
    static constexpr std::size_t kKeys = kb::kKeySlots;
    static constexpr std::size_t kBands = 25;
    static constexpr std::size_t kColourInputs = 6;
    using Frame = std::array<LedColour, kKeys>;
    using KeyBytes = std::array<std::uint8_t, kKeys>;
    using MaskRow = std::array<std::uint8_t, kb::kGridColumns>;

    // Wave masks, one byte per grid column, bit r = grid row r.
    enum Mask { kUpLeft = 0, kUpRight = 1, kDownRight = 2, kDownLeft = 3 };

    // Key press kinds of OnDeviceKey.
    static constexpr unsigned kPress = 1;
    static constexpr unsigned kRelease = 2;

    KeyboardLightEngine(const LightClock& clock, LightRandom& random);
    KeyboardLightEngine(const KeyboardLightEngine&) = delete;
    KeyboardLightEngine& operator=(const KeyboardLightEngine&) = delete;

    // ---- Inputs -------------------------------------------------------------------------------
    // Logical key → device key position (kb::kNoKey for a key the keyboard lacks).
    void SetPositionMap(const KeyBytes& positions);

    // Takes the profile's lighting: light record, audio record, light list and user-defined
    // effect. Resets the engine and runs the mode's entry step when the mode changed or is 20.
    void LoadLighting(const KeyboardLight& light, const KeyboardAudioLight& audio,
                      std::vector<LedOverride> overrides, std::vector<EffectStep> effect);
    // Takes a light record read back from the keyboard. Returns true when the engine was reset
    // (mode changed or is 20), which is when the page refreshes the custom colour group.
    bool SetLight(const KeyboardLight& light);
    void SetAudioLight(const KeyboardAudioLight& audio);

    // Custom colour group shown in mode 20, one colour per logical key.
    void SetCustomColours(std::span<const Rgb> colours);
    void SetCustomColour(unsigned key, Rgb colour);
    void FillCustomColours(Rgb colour);
    std::array<Rgb, kKeys> CustomColours() const;

    // A key report: kind 1 press, 2 release, position = the device key position.
    void OnDeviceKey(unsigned position, unsigned kind);
    // Audio band levels (up to 25; missing bands are 0).
    void SetMusicLevels(std::span<const std::int32_t> levels);
    // Colour input (up to 6 values; the first three are red, green, blue of mode 30).
    void SetColourInput(std::span<const std::int32_t> values);

    // ---- Light thread ---------------------------------------------------------------------------
    // One wake of the light thread: counts ticks, runs the mode's step when its interval is due
    // (or the effect player in modes without a step), then the per-LED overrides.
    void Wake();
    // Runs the current mode's step (or the effect player) once, whatever the interval.
    void StepOnce();
    // The per-LED overrides alone; reset restarts their counters, hues and blink timers.
    void RunLedStates(bool reset);
    // Clears the animation state, then runs the current mode's entry step.
    void Restart();

    // ---- Output ---------------------------------------------------------------------------------
    Frame GetFrame() const;

    // Internal state, for the page's diagnostics and for tests.
    struct State {
        KeyBytes ledLevels{};
        KeyBytes keyHue{};
        KeyBytes keyState{};
        KeyBytes keyHeld{};
        KeyBytes keyPhase{};
        std::array<MaskRow, 4> masks{};
        std::uint8_t phase = 0;
        std::uint8_t colourIndex = 0;
        std::uint8_t subPhase = 0;
        std::uint8_t bandTimer = 0;
        std::int64_t musicTotal = 0;
        std::size_t effectStepIndex = 0;
    };
    State GetState() const;

private:
    struct OverrideState {
        std::uint8_t hue = 0;
        std::uint8_t counter = 0;
        bool on = false;
        std::uint32_t toggleMs = 0;
        unsigned limit = 0;
        unsigned periodMs = 0;
    };
    struct PlayerState {
        bool started = false;
        std::uint32_t stepStartMs = 0;
        std::uint8_t tick = 0;
        std::uint8_t sub = 0;
        bool on = false;
        std::uint32_t lastToggleMs = 0;
        std::uint8_t hue = 0;
    };
    using BandLevels = std::array<std::int32_t, kBands>;

    // Everything below runs with mutex_ held.
    bool SetLightLocked(const KeyboardLight& light);
    void ResetLightEngine();
    void ResetMusicState();
    void RunEntryStep();
    void RunModeStep(std::uint32_t nowMs);
    void RunLedStatesLocked(bool reset, std::uint32_t nowMs);
    void PlayEffectStep(std::uint32_t nowMs);

    std::uint8_t FullLevel() const;
    Rgb ColourOf(unsigned k) const;
    unsigned LevelOf(unsigned k) const;
    void SetKey(unsigned k, Rgb colour, unsigned level);
    void ShowKey(unsigned k);
    void Fade(unsigned k, unsigned mode);
    void FillAll(LedColour value);
    void FadeAndShowAll(unsigned fadeMode);
    void FadeAndShowKeyOrder(unsigned fadeMode);
    light::PreviewParams PreviewParamsOf() const;

    // Wave masks.
    void SeedMasks(unsigned k, unsigned kind);
    void SetMaskBit(std::size_t column, unsigned bit);
    std::uint8_t MaskUnion(std::size_t column) const;
    void LightMaskCells();
    void SpreadMasks();
    void SlideMasks();

    // Key reactions.
    void StartKeyReaction(unsigned k, unsigned kind);
    void LightPressedKey(unsigned k, unsigned kind);
    void RippleKey(unsigned k, unsigned kind);
    bool IsNearHeldKey(int column, int row, unsigned excluded) const;

    // Steps by mode.
    void StepColumnWave();                               // 1
    void StepSlowColumnWave();                           // 2
    void StepSnakeWave();                                // 3
    void StepBreathing();                                // 5
    void StepRings();                                    // 6
    void StepKeyLight();                                 // 7, 25
    void StepDiamonds();                                 // 8
    void StepRowRipples();                               // 9
    void StepTwinkle();                                  // 10
    void StepPerKeyRainbow();                            // 11
    void StepRowWave();                                  // 12
    void StepRisingDiamonds();                           // 13
    void StepScriptedShow();                             // 14
    void StepStaggeredPulses();                          // 15
    void StepBouncingDiamonds();                         // 16
    void StepSingleColour();                             // 17
    void StepRotatingRings();                            // 18
    void StepCustomColours();                            // 20
    void StepTravellingDot();                            // 21
    void StepColourPulses();                             // 22
    void StepPulses(KeyBytes& phases, unsigned advance); // 15, 22
    void StepTrails();                                   // 24
    void StepColourInput();                              // 30

    // Music (mode 29).
    void StepMusic();
    void MusicColumns(const BandLevels& levels);         // audio mode 0
    void MusicRowsMiddle(const BandLevels& levels);      // 1
    void MusicBeatRipples();                             // 2
    void MusicRings(const BandLevels& levels);           // 3
    void MusicFallingPeaks(const BandLevels& levels);    // 4
    void MusicRowsLeft(const BandLevels& levels);        // 5
    void MusicRowsAlternating(const BandLevels& levels); // 6
    void LightBar(unsigned k, Rgb colour);
    template <typename BarColour>
    void UnlitBar(unsigned k, BarColour barColour);
    void MusicFadeTest(unsigned k, std::uint8_t neighbour, bool alwaysFade);

    const LightClock& clock_;
    LightRandom& random_;
    mutable std::mutex mutex_;

    KeyboardLight light_;
    KeyboardAudioLight audio_;
    KeyBytes positionMap_{};

    Frame frame_{};
    KeyBytes ledLevels_{};
    KeyBytes keyHue_{};
    KeyBytes keyState_{};
    KeyBytes keyHeld_{};
    KeyBytes keyPhase_{};
    std::array<Rgb, kKeys> customColours_{};
    light::PreviewState preview_; // phase and colour index are shared with the preview frames
    std::uint8_t bandTimer_ = 0;
    std::uint8_t subPhase_ = 0;
    std::array<MaskRow, 4> masks_{};
    BandLevels bandLevels_{};
    std::array<std::int32_t, kBands> columnFlags_{};
    std::array<std::int32_t, kColourInputs> colourInput_{};
    std::int64_t musicTotal_ = 0;

    std::uint32_t lastTickMs_ = 0;
    unsigned tickCount_ = 0;

    std::vector<LedOverride> overrides_;
    std::array<OverrideState, kKeys> overrideState_{};

    std::vector<EffectStep> effect_;
    std::size_t effectIndex_ = 0;
    PlayerState player_;
};

} // namespace q407::devices
