#pragma once

// The device side of the keyboard page. It learns the keyboard's key layout (key position table,
// LED index table) and maps the 126 logical keys onto it, reads and writes the 34-byte settings
// block of the current profile, keeps the selected profile's key functions, system settings and
// lighting, writes key tables with their macros renumbered, and runs the lighting engine on the
// page's light thread. In the two host-driven light modes (29 music, 30 colour input) the light
// thread also streams the engine's frame to the keyboard.
//
// Settings block (34 bytes; profile p lies at p × 33 of the settings memory):
//    0  profile number (0 from every caller)       16  0
//    1  effect code of the light mode (0xFE for     18  secondary mode ("ZZCC")
//       the host-streamed modes 29 and 30)          19  "W" switch
//    2  brightness 0-4                              20  6-key mode
//    3  4 - speed level                             21  Win lock
//    4  direction, 5 multi-colour, 6-8 colour       22  report-rate index
//   25  custom colour group
// Every other byte is kept as the keyboard last gave it.

#include "devices/KeyAssignments.h"
#include "devices/KeyColourData.h"
#include "devices/KeyboardLightEngine.h"
#include "devices/KeyedDeviceModel.h"
#include "profiles/CKeyboardProfiledata.h"
#include "protocol/Sequences.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q407::devices {

namespace keyboard_block {
inline constexpr std::size_t kProfile = 0;
inline constexpr std::size_t kEffect = 1;
inline constexpr std::size_t kBrightness = 2;
inline constexpr std::size_t kSpeed = 3;
inline constexpr std::size_t kDirection = 4;
inline constexpr std::size_t kMultiColour = 5;
inline constexpr std::size_t kRed = 6;
inline constexpr std::size_t kZero = 16;
inline constexpr std::size_t kSecondaryMode = 18;
inline constexpr std::size_t kWFlag = 19;
inline constexpr std::size_t kKey6 = 20;
inline constexpr std::size_t kWinLock = 21;
inline constexpr std::size_t kPollingRate = 22;
inline constexpr std::size_t kCustomGroup = 25;
inline constexpr std::size_t kSize = 34;
} // namespace keyboard_block

using KeyboardConfigBlock = std::array<std::uint8_t, keyboard_block::kSize>;

// The effect code of the light modes the host streams, and those modes.
inline constexpr std::uint8_t kHostStreamedEffect = 0xFE;
inline constexpr int kMusicMode = 29;
inline constexpr int kColourInputMode = 30;
inline constexpr int kCustomColourMode = 20;
// Light modes from this number on are the user's saved effects.
inline constexpr int kFirstKeyboardUserLightMode = 31;
// The keyboard's row of "default_light.json".
inline constexpr int kKeyboardLightTable = 1;
// Custom colour group g lies at g × 512 of the keyboard's colour memory.
inline constexpr int kCustomGroupStride = 512;
// The key whose function cannot be changed (it switches the keyboard's own layer).
inline constexpr int kFnKey = 110;

// Repeat delay options 0-3 in milliseconds; any other option shows as option 0.
int RepeatDelayMs(int option);
// A stored option index as shown: values outside 0..`last` show as 0.
int ShownOption(int value, int last);

// The keyboard's three switches of the settings block.
enum class KeyboardSwitch { WinLock, WFlag, Key6 };

class KeyboardModel : public KeyedDeviceModel {
public:
    // Frames streamed by cable and through the receiver at most this often.
    static constexpr std::chrono::milliseconds kStreamCable{10};
    static constexpr std::chrono::milliseconds kStreamReceiver{50};
    // A frame equal to the last one sent is sent again after this long.
    static constexpr std::chrono::milliseconds kStreamRefresh{100};
    // After a failed stream or colour-group write the keyboard is left alone this long.
    static constexpr std::chrono::milliseconds kFailurePause{200};

    explicit KeyboardModel(hid::HidBackend& backend, LightClock* clock = nullptr,
                           LightRandom* random = nullptr,
                           protocol::Pacer& pacer = protocol::DefaultPacer());
    ~KeyboardModel() override;

    // --- Reading and writing the keyboard ----------------------------------------------------
    // Device information, key position table and LED index table, then the position and LED
    // maps. Through the receiver the link query comes first. 1 on success; 0 when closed or a
    // command failed (the maps stay as they were).
    int ReadKeyTables();
    // The current profile number and its block: light settings and the three switches go into
    // the profile (saved when they changed); report rate, repeat rate and delay stay the host's.
    // A changed mode (or mode 20) restarts the engine; mode 20 reads its colour group.
    // 1 on success, 0 when closed or a command failed (nothing changed).
    int ReadSettingsBlock();
    // The block of profile `profile` with byte 0 = `byte0`: 1 written, else the failed result.
    int WriteSettingsBlock(int profile, int byte0);
    int WriteConfig(int slot, int value, int a, int b, int c) override;

    // --- Profile ---------------------------------------------------------------------------------
    profiles::CBasicProfiledata& Record() override { return m_profile; }
    void SetAudioLightParams(const profiles::AudioLightInfo& params) override;
    // The profile's lighting into the engine (mode 20: its colour group, written to the keyboard).
    void LoadLighting() override;
    int ApplyLightParams(const profiles::LightInfo& params) override;

    // --- System settings -------------------------------------------------------------------------
    profiles::KeyboardSystemSettings GetSystemSettings() const { return m_settings; }
    // A switch is stored, saved and written: WriteSettingsBlock's result.
    int SetSwitch(KeyboardSwitch which, bool on);
    bool GetSwitch(KeyboardSwitch which) const;
    // Repeat delay (option 0-3) and rate are the host's: stored and saved, 1 when saved.
    int SetRepeatDelay(int option);
    int SetRepeatRate(int rate);

    // --- Keys and macros ---------------------------------------------------------------------
    // Library indexes of the macros the keys with a position use, in first-use order.
    std::vector<int> CollectUsedMacros() const;
    // The key table written to the keyboard: every logical key's function at its position,
    // macros renumbered to their place in the download list and unknown macros back to the
    // key's default. 1 written; 0 when closed, before the key tables were read, or on failure.
    int WriteKeyTable(profiles::CBasicProfiledata* profile, const KeyEntries& entries) override;
    // Keys bound to a macro the library no longer holds get their default back; true (and the
    // profile saved) when any did.
    bool ResetOrphanMacroKeys();

    // --- Key maps ------------------------------------------------------------------------------
    // Logical key → device key position / LED slot (kb::kNoKey: none).
    const kb::KeySlots& PositionMap() const { return m_positionMap; }
    const kb::KeySlots& LedMap() const { return m_ledMap; }
    int KeyPositions() const { return m_tables.deviceInfo[protocol::kInfoKeyPositions]; }
    // Whether the streamed frames carry key `key`'s light (its LED slot is one of the key
    // positions the keyboard reported).
    bool HasStreamedLight(int key) const;

    // --- Custom colours (light mode 20) ----------------------------------------------------------
    // Group `group` from the keyboard into the engine and the profile (saved). 1 read, else 0.
    int ReadCustomGroup(int group);
    // The engine's custom colours into group `group` of the keyboard: 1 written, else the failed
    // result (and the keyboard is left alone for a moment).
    int WriteCustomGroup(int group);
    // The profile's colours of the current group into the engine, then written to the keyboard.
    int ReloadCustomGroup();
    // Mode 20 only: the keys take `colour`; stored, saved and written once. 0 in any other mode
    // or without a key.
    int PaintCustomKeys(std::span<const int> keys, Rgb colour);
    int PaintCustomKey(int key, Rgb colour) { return PaintCustomKeys(std::span(&key, 1), colour); }
    // Every key takes `colour`; written, stored and saved.
    int FillCustomColours(Rgb colour);
    // The light record, the profile and byte 25 take group `group`; the profile is saved.
    void SelectCustomGroup(int group);
    int CustomGroup() const;

    // --- Streaming -----------------------------------------------------------------------------
    bool IsHostStreamedMode() const;
    // The frame as the keyboard takes it: 3 bytes per LED slot, scaled by each key's level.
    std::vector<std::uint8_t> StreamBuffer() const;
    // Streams the current frame with 0x12 when the mode is host-driven and the program drives
    // the lighting. 1 sent; 0 not streamed (other mode, closed, light control off, or within
    // the pause after a failure); negative: the command failed. The stream thread sends a frame
    // at most every 10 ms by cable (50 ms through the receiver), and a frame equal to the one
    // sent before only every 100 ms.
    int StreamKeyColours();
    int StreamedFrames() const { return m_streamedFrames.load(); }

    // --- Lights driven by another program ----------------------------------------------------
    // While a client drives the keyboard, the settings block asks for host-streamed frames
    // whatever the page's mode, the engine stands still and the stream carries the client's
    // colours exactly: `colours[i]` for logical key `keys[i]`; every other key is dark, also
    // where it shares an LED with a listed key.
    void SetClientKeyColours(std::span<const int> keys, std::span<const Rgb> colours);

    // --- Music-mode inputs (UI thread) -----------------------------------------------------------
    void SetMusicLevels(std::span<const std::int32_t> levels);
    void SetColourInput(std::span<const std::int32_t> values);

    // --- Link and power ------------------------------------------------------------------------
    // Six bytes of 0x1A at address 0 (byte 3 replaced by the wireless flag) when the keyboard
    // can be reached; nothing otherwise.
    std::optional<std::array<std::uint8_t, 6>> PollPowerState();

    // --- Light thread --------------------------------------------------------------------------
    // The light thread runs the engine; in the host-driven modes a second thread streams its
    // frames, so a frame that takes longer to send than the engine's step never slows the
    // engine (and the window never waits for the link).
    void StartLightThread() override;
    PageThread::StopResult StopLightThread() override;
    bool IsStreamThreadRunning() const { return m_streamThread.IsRunning(); }
    int LightFrameInterval(int mode, int speed) const override;
    bool IsCountedMode(int mode) const override;
    void RunLightFrame(int mode) override;
    bool KeepsRunningWhilePaused() const override;
    void OnCommandAttached() override;
    void OnKeyLight(int position, int kind) override;

    // --- Accessors -----------------------------------------------------------------------------
    KeyboardLightEngine& Engine() { return m_engine; }
    KeyboardLightEngine::Frame Frame() const { return m_engine.GetFrame(); }
    profiles::CKeyboardProfiledata& Profile() { return m_profile; }
    const KeyboardConfigBlock& ConfigBlock() const { return m_configBlock; }
    int CurrentProfileNumber() const { return m_currentProfile; }

private:
    void TakeProfile() override;
    std::vector<int> UsedMacroIndices() const override { return CollectUsedMacros(); }
    void TakeLightIntoEngine();
    int SaveAndWrite();
    bool ReadBlock(std::uint8_t& profile, KeyboardConfigBlock& out);
    void StoreCustomColours();
    void TakeCustomColoursFromProfile();
    bool StreamPaused() const;
    // The stream looks at its frame at once, a failure pause ended.
    void WakeStream();
    bool CanStream() const;
    int SendFrame(const std::vector<std::uint8_t>& frame, const std::function<bool()>& giveUp = {});
    void StreamLoop(const Event& stop);

    std::unique_ptr<LightRandom> m_ownRandom;
    KeyboardLightEngine m_engine;
    protocol::Pacer& m_pacer;

    kb::KeySlots m_positionMap{};
    kb::KeySlots m_ledMap{};
    std::uint8_t m_currentProfile = 0;
    KeyboardConfigBlock m_configBlock{};
    bool m_blockRead = false;
    profiles::KeyboardSystemSettings m_settings;
    profiles::CKeyboardProfiledata m_profile;

    // Streaming state of the light thread.
    std::atomic<std::uint32_t> m_streamResumeMs{0};
    std::atomic<bool> m_streamPaused{false};
    std::atomic<int> m_streamedFrames{0};
    std::atomic<int> m_streamFrameMode{0};            // the mode the light thread last ran
    std::array<Rgb, kb::kKeySlots> m_clientColours{}; // under m_previewMutex
    kb::KeySlots m_clientLedMap{};                    // the listed keys' LED slots, others none
    // A new frame of the light thread, new key tables or a client's colours: stream them now.
    Event m_streamWake{Event::Reset::Automatic};
    KeyboardLightEngine::Frame m_lastRunFrame{}; // the light thread's last frame, its own
    PageThread m_streamThread;
};

} // namespace q407::devices
