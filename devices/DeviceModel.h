#pragma once

// The device side of a device page: what every page holds and does without a window. It owns
// the product's protocol object (cable and receiver command records), its listening channels and
// its light thread, keeps the page's identity, counts, paths and the light preview engine, and
// carries the device interface: the virtual operations through which the main window, the
// selector entry and the worker threads drive every kind of device the same way. The page widget
// (pages/CKestravaUSBDevice.h) wraps one model and shows it.
//
// The device interface in its slot order. Operations marked "widget" touch controls and live on
// CKestravaUSBDevice; the others live here. Derived pages replace what their kind needs.
//
//    1 InitPage (widget)            19 LoadProfile                   37 RotateRing
//    2 LoadLighting                 20 (spare)                       38 ClearEffectBuffers
//    3 PreviewBreathing             21 RefreshPage (widget)          39 SelectFeaturePage (model
//    4 PreviewBreathingFixed        22, 23 (spare)                      stores, widget switches)
//    5 PreviewSteady                24 RefreshKeyAssignments (widget)40 GetFeaturePage
//    6 PreviewSpectrum              25 ResetToDefault (widget)       41 UpdateProfilePaths
//    7 PreviewBlink                 26 GetMacroList                  42 GetProfilePath
//    8 PreviewBlinkFixed            27 WriteKeyTable                 43 SaveProfile
//    9 PreviewOff                   28 WriteCurrentKeyTable          44 SetDeviceIndex
//   10 RenderPreview (widget)       29, 30 (keyboard operations)     45 GetDeviceIndex
//   11 SetLedColour                 31 WriteMacroImage               46 SetLightParams
//   12 GetLedColour                 32 WriteConfig                   47 SetAudioLightParams
//   13 Activate (widget)            33 LoadNameLists (widget)        48 GetAudioLightParams
//   14 OnProfileSelected (widget)   34 SetDeviceMap                  49 SelectKey
//   15, 16 (spare)                  35 FadeLedStep                   50 SelectKey2
//   17 PollPower (widget)           36 MarkRingLeds                  51, 52 (keyboard operations)
//   18 IsLinkOnline
// Derived pages then add GetLightParams and the three device frames A, B and C (light modes 0, 5
// and 6 on the mouse) plus the user-defined effect step.
//
// Threads. The model lives on the UI thread. Its listening threads read their own event
// interface and its light thread runs the preview frames; neither touches a control: they hand
// work to the UI thread through PageEvents. The preview buffers (LED colours, animation state,
// fade levels and ring) are guarded by one lock, so RenderPreview on the UI thread always copies a
// whole frame; effect steps and per-LED records have their own locks. Derived pages must call
// StopPageThreads() first in their destructor, since the threads call their frames.

#include "common/Event.h"
#include "devices/LightSources.h"
#include "devices/LightTables.h"
#include "devices/PageEventTable.h"
#include "devices/PageEvents.h"
#include "devices/PageThread.h"
#include "devices/SharedLightEffect.h"
#include "hid/CHidDevice.h"
#include "hid/DeviceTable.h"
#include "profiles/ProfileRecords.h"
#include "protocol/CDeviceProtocol.h"
#include "protocol/Sequences.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q407::profiles {
class CBasicProfiledata;
}

namespace q407::devices {

// Bounds of the stop procedure.
inline constexpr std::chrono::milliseconds kListenStopBound{500};
inline constexpr std::chrono::milliseconds kLightStopBound{1000};
// One counted step of the light thread.
inline constexpr std::chrono::milliseconds kLightStep{2};
// The light thread's wait while the device is closed.
inline constexpr std::chrono::milliseconds kLightIdle{100};
// After a failed read (device gone, say) the listening thread waits this long before the next one.
inline constexpr std::chrono::milliseconds kListenRetry{50};
// A device that follows the shared lighting effect gets a frame at most this often, by cable and
// through a receiver.
inline constexpr std::chrono::milliseconds kSharedFrameInterval{20};
inline constexpr std::chrono::milliseconds kSharedFrameIntervalReceiver{50};

inline constexpr std::size_t kLedLevelCount = 170;
inline constexpr std::size_t kRingSize = 23;

// One LED's record for the reactive effects (14 bytes).
struct LedState {
    std::uint8_t ripple = 0;
    std::uint8_t fadeLevel = 0;
    std::uint8_t hue = 0;
    std::array<std::uint8_t, 11> reserved{};
};

// Tabs a feature page selects; -1 leaves a tab layout as it is.
struct FeatureTabs {
    int function = -1;    // "device_function_switch"
    int keyFunction = -1; // "device_key_function_switch"
    friend bool operator==(const FeatureTabs&, const FeatureTabs&) = default;
};
FeatureTabs FeatureTabsFor(int featurePage, int kind);

// Profile functions in their stored integer form (category × 65536 + param1 × 256 + param2).
using KeyEntries = std::vector<std::uint32_t>;

// The event value of one input report: the value of the first parsed item of the report's id
// (for an array item, its first usage). Nothing when the report does not parse.
std::optional<std::uint16_t> EventValueOf(hid::CHidDevice& record,
                                          std::span<const std::uint8_t> report);

class DeviceModel {
public:
    // `clock` and `random` feed the preview (blink timing, ripple hues); they must outlive the
    // model. Defaults are a steady clock and a seeded source. `pacer` takes the protocol's
    // pauses (tests and benchmarks measure without them).
    explicit DeviceModel(hid::HidBackend& backend, LightClock* clock = nullptr,
                         LightRandom* random = nullptr,
                         protocol::Pacer& pacer = protocol::DefaultPacer());
    virtual ~DeviceModel();
    DeviceModel(const DeviceModel&) = delete;
    DeviceModel& operator=(const DeviceModel&) = delete;

    // --- Attachments (UI thread) ---------------------------------------------------------------
    // Where the threads hand their work; set before listening starts, cleared after it stopped.
    void SetPageEvents(PageEvents* events) { m_events.store(events); }
    // The command interface: mode 1 cable, 2 receiver (kept by the protocol object). A page
    // whose threads wait for the device hears of it through OnCommandAttached.
    bool AttachCommand(int mode, std::string_view path);
    void DetachCommand();
    bool IsOpen() const { return m_protocol.IsOpened(); }
    protocol::CDeviceProtocol& Protocol() { return m_protocol; }
    // The light thread shows nothing new while previews are paused (a light stream runs).
    void SetPreviewPaused(bool paused) { m_previewPaused.store(paused); }
    bool IsPreviewPaused() const { return m_previewPaused.load(); }

    // --- Listening channels ------------------------------------------------------------------
    // `channel` is the device type of the connection: the page kind, or 6 / 9 for the mouse and
    // keyboard receivers. False for another channel or when the interface cannot be opened (the
    // thread then still starts and idles).
    bool StartListening(std::string_view path, int channel);
    bool RestartListening(std::string_view path, int channel);
    // Stops the channel's thread within its bound and closes its interface; nothing when the
    // channel is not open.
    void StopListening(int channel);
    bool IsListening(int channel) const;

    // --- Light thread --------------------------------------------------------------------------
    // Derived pages that run a second light worker (the keyboard's stream) start and stop it
    // with the light thread.
    virtual void StartLightThread();
    virtual PageThread::StopResult StopLightThread();
    bool IsLightThreadRunning() const { return m_lightThread.IsRunning(); }
    // Stops the light thread and every listening channel.
    void StopPageThreads();
    // Frames produced so far; the UI repaints only when it moved.
    std::uint32_t FrameCount() const { return m_frameCount.load(); }

    // --- Device interface (see the slot table above) ------------------------------------------
    virtual void LoadLighting() {}
    virtual void PreviewBreathing();
    virtual void PreviewBreathingFixed();
    virtual void PreviewSteady();
    virtual void PreviewSpectrum();
    virtual void PreviewBlink();
    virtual void PreviewBlinkFixed();
    virtual void PreviewOff();
    virtual void SetLedColour(int index, LedColour colour);
    virtual LedColour GetLedColour(int index) const;
    virtual bool IsLinkOnline() { return true; }
    virtual int LoadProfile() { return 0; }
    virtual std::vector<std::string> GetMacroList() const { return {}; }
    virtual int WriteKeyTable(profiles::CBasicProfiledata* profile, const KeyEntries& entries);
    virtual int WriteCurrentKeyTable(profiles::CBasicProfiledata* profile);
    virtual int WriteMacroImage(const std::vector<int>& macroIndices);
    virtual int WriteConfig(int slot, int value, int a, int b, int c);
    virtual void SetDeviceMap(const std::map<int, int>& map);
    virtual void FadeLedStep(int led, int mode);
    virtual void MarkRingLeds();
    virtual void RotateRing(int direction);
    virtual void ClearEffectBuffers();
    // Stores the page number and tells which tabs to select.
    virtual FeatureTabs SelectFeaturePage(int page);
    virtual int GetFeaturePage() const { return m_featurePage; }
    virtual void UpdateProfilePaths() {}
    virtual std::string GetProfilePath() const { return {}; }
    virtual void SaveProfile() {}
    virtual void SetDeviceIndex(int index) { m_deviceIndex = index; }
    virtual int GetDeviceIndex() const { return m_deviceIndex; }
    virtual void SetLightParams(const profiles::LightInfo& params);
    // Light settings edited by the user: they become the preview's and the profile's, the
    // profile is saved and the settings written to the device. Returns WriteConfig's result.
    virtual int ApplyLightParams(const profiles::LightInfo& params);
    virtual void SetAudioLightParams(const profiles::AudioLightInfo& params);
    virtual profiles::AudioLightInfo GetAudioLightParams() const;
    virtual void SelectKey(int key) { m_selectedKey = key; }
    virtual void SelectKey2(int key) { m_selectedKey2 = key; }

    // Shows light mode `mode` in the preview without touching the page's own light settings
    // (game events); SetLightParams or LoadLighting brings the page's settings back.
    void ShowPreviewMode(std::uint8_t mode);

    // --- Shared lighting effect ----------------------------------------------------------------
    // Whether the page follows the effect every device shares (kept in the protocol object).
    bool FollowsSharedLighting() const { return m_protocol.FollowsSharedLighting(); }
    void SetFollowsSharedLighting(bool follows) { m_protocol.SetFollowsSharedLighting(follows); }
    // The main window's lighting thread offers every frame of the effect (any thread). While the
    // page follows the effect and its device is open, the light thread shows the newest frame in
    // the preview, also while the preview is paused, and writes it to the device
    // (WriteSharedFrame) when it changed, at most once per kSharedFrameInterval
    // (kSharedFrameIntervalReceiver through a receiver).
    void OfferSharedFrame(const SharedFrame& frame);
    int SharedFramesWritten() const { return m_sharedFramesWritten.load(); }
    // The device went away (unplugged, its receiver's link lost). What it holds when it comes
    // back may differ from the block last written, so no frame is written into that block until
    // the page has read the device again (or written its own settings).
    void MarkDeviceAway();

    // --- Lights driven by another program -----------------------------------------------------
    // While a lighting client (the OpenRGB SDK server's) drives the page's lights, the page's own
    // effect and the shared effect pause and the client's colours go to the device; handing the
    // lights back writes the page's own light settings again (WriteConfig). UI thread.
    virtual void SetClientDriven(bool driven);
    bool IsClientDriven() const { return m_clientDriven.load(); }
    // How many LEDs a client can colour one by one, and their colours. The base takes one
    // colour: the first is shown on every LED and written the way a shared frame is. (The
    // keyboard streams a colour per key: KeyboardModel::SetClientKeyColours.)
    virtual int ClientLedCount() const { return 1; }
    virtual void SetClientColours(std::span<const Rgb> colours);

    // First operations of the derived list.
    virtual profiles::LightInfo GetLightParams() const;
    virtual void PreviewDeviceFrameA() {}
    virtual void PreviewDeviceFrameB() {}
    virtual void PreviewDeviceFrameC() {}
    virtual void RunEffectStep() {}

    // --- Light thread hooks (keyboard pages replace them with their own modes) --------------
    // Counted steps between frames of a mode at a speed level.
    virtual int LightFrameInterval(int mode, int speed) const;
    // Whether a mode's frame waits for its interval (the effect step runs on every step).
    virtual bool IsCountedMode(int mode) const;
    virtual void RunLightFrame(int mode);
    // Whether the light thread keeps making frames while the preview is paused (the keyboard's
    // host-driven modes, whose frames the keyboard itself shows).
    virtual bool KeepsRunningWhilePaused() const { return false; }
    // A key event from the listening thread (keyboard reactive light); runs on that thread.
    virtual void OnKeyLight(int position, int kind) {
        (void)position;
        (void)kind;
    }

    // --- Paths -----------------------------------------------------------------------------------
    // The user folder + device folder name, created when missing; empty when the folder name
    // is empty or not a plain name.
    std::filesystem::path GetProfileFolder() const;
    std::filesystem::path GetDefaultFolder() const;
    std::filesystem::path GetDefaultProfilePath() const;

    // --- Set-up by the main window, and getters ----------------------------------------------
    void SetPageXml(std::string path) { m_pageXmlPath = std::move(path); }
    const std::string& PageXml() const { return m_pageXmlPath; }
    void SetKeyCount(int count) { m_keyCount = count < 0 ? 0 : count; }
    int KeyCount() const { return m_keyCount; }
    // Resizes the LED colours and records and zeroes them.
    void SetLedCount(int count);
    int LedCount() const;
    void SetLayoutIndex(int index) { m_layoutIndex = index; }
    int LayoutIndex() const { return m_layoutIndex; }
    void SetHasPower(bool hasPower) { m_hasPower = hasPower ? 1 : 0; }
    bool HasPower() const { return m_hasPower != 0; }
    void SetPowerValue(int value) { m_powerValue = value; }
    int PowerValue() const { return m_powerValue; }
    void SetProfileUuid(std::string uuid) { m_profileUuid = std::move(uuid); }
    const std::string& ProfileUuid() const { return m_profileUuid; }
    void SetLightConfigName(std::string name) { m_lightConfigName = std::move(name); }
    const std::string& LightConfigName() const { return m_lightConfigName; }
    void SetDeviceFolderName(std::string name) { m_deviceFolderName = std::move(name); }
    const std::string& DeviceFolderName() const { return m_deviceFolderName; }
    // Also takes the page kind from the identity's device type.
    void SetIdentity(const hid::DeviceIdentity& identity);
    const hid::DeviceIdentity& Identity() const { return m_identity; }
    void SetKind(int kind) { m_kindCode = kind; }
    int Kind() const { return m_kindCode; }
    void SetKindExtra(int extra) { m_kindExtra = extra; }
    int KindExtra() const { return m_kindExtra; }
    void SetLightOutput(bool on) { m_lightOutput.store(on ? 1 : 0); }
    bool LightOutput() const { return m_lightOutput.load() != 0; }
    void SetPreviewVisible(bool visible) { m_previewVisible.store(visible ? 1 : 0); }
    bool PreviewVisible() const { return m_previewVisible.load() != 0; }
    bool IsWireless() const { return m_wireless.load() != 0; }
    int SelectedKey() const { return m_selectedKey; }
    int SelectedKey2() const { return m_selectedKey2; }
    const std::map<int, int>& DeviceMap() const { return m_deviceMap; }

    // Profile slot and DPI stage as the device's own buttons last set them (-1: not yet).
    int ProfileSlot() const { return m_profileSlot.load(); }
    int DpiStage() const { return m_dpiStage.load(); }

    // --- Preview buffers (any thread) ----------------------------------------------------------
    std::vector<LedColour> LedColours() const;
    light::PreviewState PreviewState() const;
    std::array<std::uint8_t, kLedLevelCount> LedLevels() const;
    void SetLedLevel(int led, std::uint8_t level);
    std::array<std::uint8_t, kRingSize> Ring() const;
    void SetRing(const std::array<std::uint8_t, kRingSize>& ring);
    std::vector<LedState> LedStates() const;
    void SetEffectSteps(std::vector<profiles::LedEffectStep> steps);
    std::vector<profiles::LedEffectStep> EffectSteps() const;

protected:
    // The command interface was (re)attached (UI thread): the device is there again.
    virtual void OnCommandAttached() {}
    // The preview buffers as a derived page's own frames change them.
    struct PreviewBuffers {
        std::vector<LedColour>& leds;
        light::PreviewState& state;
        std::array<std::uint8_t, kLedLevelCount>& levels;
        std::array<std::uint8_t, kRingSize>& ring;
        light::PreviewParams params;
    };
    // Runs `frame` on the preview buffers under the preview lock.
    void EditPreview(const std::function<void(PreviewBuffers&)>& frame);
    // Runs `edit` on the per-LED records under their lock.
    void EditLedStates(const std::function<void(std::vector<LedState>&)>& edit);
    // Points a profile record at this page's files: index, default profile, the profile file of
    // the selected UUID and the light configuration file. Names that are not plain file names
    // (from the profile list or the page set-up) are never used, so no path leaves the folder.
    void PrepareProfilePaths(profiles::CBasicProfiledata& profile, int firstCustomLightMode) const;
    // Reads the selected profile file into `profile`; false when there is none or it cannot be
    // read. The paths must have been prepared.
    bool ReadProfileFile(profiles::CBasicProfiledata& profile) const;
    // Reads the default profile's entry for this device into `profile`; false, with nothing
    // changed, when the default profile has no such entry.
    bool ReadDefaultProfile(profiles::CBasicProfiledata& profile) const;

    // Writes one frame of the shared effect to the device (light thread): 1 written, else 0.
    // The base writes the page's settings block as last written, in its steady mode with the
    // frame's colour (see WriteWithFrameTemplate), while this program drives the lighting; pages
    // with a faster way replace it.
    virtual int WriteSharedFrame(const SharedFrame& frame);
    // Where a page's settings block keeps its light, for writing frames from the light thread
    // without touching what the UI thread changes.
    struct FrameTemplate {
        std::vector<std::uint8_t> block; // as last written to the device
        protocol::SettingsLayout layout;
        int slot = 0;
        std::size_t effectAt = 0;     // the effect code byte
        std::size_t brightnessAt = 0; // brightness level byte
        std::size_t multiColourAt = 0;
        std::size_t redAt = 0;                    // red, green, blue
        std::optional<std::uint8_t> steadyEffect; // the device's effect code of a steady light
    };
    // How the page writes its settings block (UI thread): `write` runs while no frame is being
    // written, so a frame never lands between the template and the page's own block, and the
    // newest frame (a client's colours come only when the client sends them) is due again after
    // it. Returns what `write` returned.
    int WriteWithFrameTemplate(FrameTemplate frameTemplate, const std::function<int()>& write);
    // Called after the page read its settings block back from the device: the frames go on
    // being written into what the device holds now, never into an older host copy of it (the
    // DPI stage its own button chose, or what it came back with after a replug). A block of
    // another size than the template's is ignored.
    void RefreshFrameTemplate(std::span<const std::uint8_t> block);

    // Acts on one event value read on `channel` (listening thread).
    void HandleEvent(int channel, std::uint16_t value);
    light::PreviewParams CurrentPreviewParams() const; // under m_previewMutex
    LightClock& Clock() const { return *m_clock; }

    // Guards m_ledColours, m_lightParams, m_preview, m_ledLevels and m_ring.
    mutable std::mutex m_previewMutex;

private:
    // The newest shared or client frame is written again at the next look (m_sharedFrameLock held).
    void OfferLastFrameAgain();

    struct Channel {
        explicit Channel(hid::HidBackend& backend) : hid(backend) {}
        int number = 0;
        hid::CHidDevice hid;
        std::atomic<int> open{0};
        std::mutex lock; // opening and closing of `hid`
        PageThread thread;
    };

    Channel* ChannelFor(int channel);
    const Channel* ChannelFor(int channel) const;
    void ListenLoop(Channel& channel, const Event& stop);
    void LightLoop(const Event& stop);
    // One round of the light thread while the page follows the shared effect; true when stopped.
    bool FollowSharedEffect(const Event& stop, std::chrono::steady_clock::time_point& lastWrite);
    void StartRipple();
    void FramePassed() { m_frameCount.fetch_add(1); }

    hid::HidBackend& m_backend;
    protocol::CDeviceProtocol m_protocol;
    std::atomic<int> m_wireless{0};
    std::array<std::unique_ptr<Channel>, 2> m_channels;
    std::atomic<PageEvents*> m_events{nullptr};

    std::string m_pageXmlPath;
    std::string m_profileUuid;
    std::string m_lightConfigName;
    std::string m_deviceFolderName;
    int m_kindCode = 0;
    int m_kindExtra = 0;
    int m_keyCount = 0;
    int m_layoutIndex = -1;
    int m_selectedKey = -1;
    int m_selectedKey2 = -1;
    int m_featurePage = 1;
    std::map<int, int> m_deviceMap;

    std::vector<LedColour> m_ledColours;
    profiles::LightInfo m_lightParams;
    light::PreviewState m_preview;
    std::array<std::uint8_t, kLedLevelCount> m_ledLevels{};
    std::array<std::uint8_t, kRingSize> m_ring{};

    mutable std::mutex m_effectLock;
    std::vector<profiles::LedEffectStep> m_effectSteps;
    mutable std::mutex m_ledStateLock;
    std::vector<LedState> m_ledStates;

    std::atomic<int> m_lightOutput{0};
    std::atomic<int> m_previewVisible{0};
    std::atomic<bool> m_previewPaused{false};
    std::atomic<bool> m_clientDriven{false};
    int m_hasPower = 0;
    int m_powerValue = 0;
    hid::DeviceIdentity m_identity;
    int m_deviceIndex = 0;
    profiles::AudioLightInfo m_audioLightParams;
    std::atomic<int> m_profileSlot{-1};
    std::atomic<int> m_dpiStage{-1};

    std::unique_ptr<LightClock> m_ownClock;
    std::unique_ptr<LightRandom> m_ownRandom;
    LightClock* m_clock = nullptr;
    LightRandom* m_random = nullptr;
    std::mutex m_randomLock;

    std::atomic<std::uint32_t> m_frameCount{0};

    std::mutex m_frameWriteLock;          // held while a frame is written; taken first
    mutable std::mutex m_sharedFrameLock; // the offered frame and the frame template
    SharedFrame m_sharedFrame;
    std::uint32_t m_sharedFrameNumber = 0;
    std::uint32_t m_sharedFrameShown = 0;
    std::optional<SharedFrame> m_sharedFrameWritten;
    std::optional<FrameTemplate> m_frameTemplate;
    bool m_frameTemplateCurrent = true; // false from MarkDeviceAway until it is read or written
    std::atomic<int> m_sharedFramesWritten{0};

    PageThread m_lightThread;
};

} // namespace q407::devices
