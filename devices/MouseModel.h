#pragma once

// The device side of the mouse page: it reads the mouse (device information, key tables and the
// 80-byte settings block of the current profile slot), keeps the selected profile and working
// copies of its DPI stages and settings, and writes every change back as one settings block.
// The page widget shows these values and routes the user's edits here; nothing in this class
// touches a control.
//
// Settings block (80 bytes; profile slot s lies at s × 96 of the settings memory):
//    0  the caller's value (0 from every caller)    12  active DPI stage
//    1  light effect code (from the effect codes)    14 + 9 × i  DPI stage i (i = 0-5): enabled,
//    2  brightness 0-4                                  XY flag, X low, X high, Y low, Y high,
//    3  4 - speed level                                 red, green, blue
//    4  direction, 5 multi-colour, 6-8 red green blue 77  angle snapping
//    9  0                                            78  lift-off distance
//   11  report-rate choice of the connection
// Bytes 10, 13, 68-76 and 79 are kept as the device last gave them.

#include "devices/KeyedDeviceModel.h"
#include "profiles/CMouseProfiledata.h"
#include "protocol/Sequences.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q407::devices {

// --- DPI values ----------------------------------------------------------------------------------
inline constexpr int kDpiMin = 50;
inline constexpr int kDpiMax = 26000;
inline constexpr int kDpiGranule = 50;
inline constexpr int kDpiStageCount = 6;
// The sensor that stores a DPI value as (DPI - base) / step instead of the value itself.
inline constexpr std::uint16_t kSteppedSensor = 0x3395;

// Clamped to 50-26000, then rounded up to a multiple of 50.
int ClampDpi(long long value);
// A DPI typed as decimal text: empty or unreadable text counts as 0, signs and surrounding
// blanks are accepted, a number of any length clamps; the result is ClampDpi of it.
int ParseDpiText(std::string_view text);

struct SensorInfo {
    std::uint16_t model = 0;
    int step = 0; // DPI per stored unit of a stepped sensor
    int base = 0; // DPI of stored value 0
    friend bool operator==(const SensorInfo&, const SensorInfo&) = default;
};
SensorInfo SensorFromDeviceInfo(std::span<const std::uint8_t> deviceInfo);

// The value a stage stores for `dpi`. The stepped sensor stores (dpi - base) / step, with a step
// of 0 taken as 1 and a DPI below the base stored as 0; every other sensor stores the DPI.
std::uint16_t DpiToStored(int dpi, const SensorInfo& sensor);
// The DPI a stage shows for its stored value: stepped sensors value × step + base rounded up to
// a multiple of 50 (step 0 taken as 1), every other sensor the value itself.
int StoredToDpi(std::uint16_t stored, const SensorInfo& sensor);

// --- Settings --------------------------------------------------------------------------------
// The settings of the mouse a page edits, numbered as the fields of MouseSystemSettings.
enum class MouseField {
    DoubleClickTime = 0, // host settings: stored and saved, not written to the mouse
    PointerSpeed = 1,
    ScrollByPage = 3,
    WheelLines = 4,
    Dormancy = 6, // mouse settings: stored, saved and written to the mouse
    AntiShake = 8,
    LiftOff = 9,
    SensorLift = 10,
    MotionSync = 11,
    AngleSnapping = 12,
    Debounce = 13,
    DeepSleep = 14,
};
// Whether a field is the mouse's own (written with the settings block).
bool IsDeviceField(MouseField field);

// Offsets of the settings block.
namespace mouse_block {
inline constexpr std::size_t kValue = 0;
inline constexpr std::size_t kEffect = 1;
inline constexpr std::size_t kBrightness = 2;
inline constexpr std::size_t kSpeed = 3;
inline constexpr std::size_t kDirection = 4;
inline constexpr std::size_t kMultiColour = 5;
inline constexpr std::size_t kRed = 6;
inline constexpr std::size_t kZero = 9;
inline constexpr std::size_t kReportRate = 11;
inline constexpr std::size_t kActiveStage = 12;
inline constexpr std::size_t kStages = 14;
inline constexpr std::size_t kStageSize = 9;
inline constexpr std::size_t kAngleSnapping = 77;
inline constexpr std::size_t kLiftOff = 78;
inline constexpr std::size_t kSize = 80;
} // namespace mouse_block

using MouseConfigBlock = std::array<std::uint8_t, mouse_block::kSize>;

// Light modes from this number on are the user's saved effects; they are written to the mouse
// as the first effect code.
inline constexpr int kFirstUserLightMode = 12;

class MouseModel : public KeyedDeviceModel {
public:
    explicit MouseModel(hid::HidBackend& backend, LightClock* clock = nullptr,
                        LightRandom* random = nullptr,
                        protocol::Pacer& pacer = protocol::DefaultPacer());
    ~MouseModel() override;

    // --- Reading the mouse -------------------------------------------------------------------
    // Device information, key table size, the flag report, the default and current key tables
    // (the current one also into the profile) and the key map. Through the receiver the link
    // query comes first. 1 on success, 0 when closed or any command failed.
    int ReadDevice(const protocol::DeviceFlagReport& flag = {});
    // The current slot and its settings block, translated into the profile (stages, active
    // stage, report rate, lift-off, angle snapping, light) and saved. 1 on success, 0 when
    // closed or a command failed (the profile is then untouched).
    int ReadDeviceConfig();
    // The mouse's own profile or DPI button switched to `slot` (and, when `stage` is not
    // negative, to DPI stage `stage`): the block of that slot is read and the event's stage
    // becomes the active one, whatever the mouse's memory says yet. 1 when the block was read;
    // the slot and stage are taken either way (0 for a slot beyond 15, nothing taken).
    int ApplyDeviceButtons(int slot, int stage);
    int WriteConfig(int slot, int value, int a, int b, int c) override;

    // Old firmware of mouse A (cable or receiver): its interface reports a version below 1.03.
    // True until MarkOldFirmwareNoticeSent, and only while the command interface is open.
    bool NeedsOldFirmwareNotice() const;
    void MarkOldFirmwareNoticeSent() { m_tipShown = true; }
    std::uint16_t FirmwareVersion() const;

    // --- Profile ---------------------------------------------------------------------------------
    profiles::CBasicProfiledata& Record() override { return m_profile; }
    void SetAudioLightParams(const profiles::AudioLightInfo& params) override;
    void LoadLighting() override;

    // --- Working copies and setting changes ----------------------------------------------------
    // Changes that reach the mouse return WriteConfig's result after the profile was saved.
    profiles::MouseSystemSettings GetSettings() const { return m_settings; }
    // Stores the working copy and the profile's settings (not saved, not written).
    void SetSettings(const profiles::MouseSystemSettings& settings);
    std::vector<profiles::DpiStage> GetDpiStages() const { return m_dpiStages; }
    void SetDpiStages(const std::vector<profiles::DpiStage>& stages);
    int ActiveStage() const { return m_activeStage; }
    // Stage 0-5 takes `dpi` (clamped as typed text is) in its X value, and in its Y value unless
    // the stage keeps X and Y apart; the list grows to reach the stage.
    int SetDpiValue(int stage, int dpi);
    // The DPI stage `stage` shows; 0 when there is no such stage.
    int ShownDpi(int stage) const;
    // The active stage cannot be switched off (0, nothing changed).
    int SetStageEnabled(int stage, bool enabled);
    // The stage becomes active (and enabled). 0 for a stage the list does not hold.
    int SelectActiveStage(int stage);
    int SetDpiColour(int stage, std::uint32_t argb);
    // 0xFF000000 + red × 65536 + green × 256 + blue; 0 for a stage the list does not hold.
    std::uint32_t GetDpiColour(int stage) const;
    // Settings field 18 through the receiver, field 17 by cable.
    int SetReportRate(int choice);
    bool ReportRateWireless() const { return IsWireless(); }
    int ReportRate() const;
    // Mouse fields: WriteConfig's result. Host fields: 1 when the profile was saved, else 0.
    int SetSettingField(MouseField field, int value);
    int GetSettingField(MouseField field) const;
    // As the base does, with the profile saved while the block travels to the mouse.
    int ApplyLightParams(const profiles::LightInfo& params) override;
    // The desktop's pointer speed for a slider value: value × 2 + 2 within 1-20.
    static int SystemPointerSpeed(int slider);

    // --- Name lists (macro names from "macro.config") -----------------------------------------
    using ProfiledDeviceModel::SetLightTable;

    // --- Link and power ------------------------------------------------------------------------
    // When open, no power value given yet and the link query answers: level 0, charging 0 and
    // the wireless flag in byte 3.
    std::optional<std::array<std::uint8_t, 6>> PollPowerState();

    // --- Key table, macros and recoil ----------------------------------------------------------
    // Library indexes of the macros the given keys use, once each in first-use order (keys
    // without a device position and macros the library does not hold are left out).
    std::vector<int> UsedMacros(const KeyEntries& entries) const;
    // Writes the key table: each key's function at its device position, macro functions
    // renumbered to their place in the used-macro list, unknown macros back to the key's
    // default. 1 on success, 0 when closed, before the mouse was read, or a command failed.
    int WriteKeyTable(profiles::CBasicProfiledata* profile, const KeyEntries& entries) override;
    // 1 when the recoil image was written; 0 when closed, empty or a command failed.
    int WriteRecoilImage(std::span<const std::uint8_t> image);
    // Device position of key i (255: none).
    const std::map<int, int>& KeyMap() const { return DeviceMap(); }

    // --- Preview ---------------------------------------------------------------------------------
    void PreviewDeviceFrameA() override; // mode 0: a marker band runs round the ring and fades
    void PreviewDeviceFrameB() override; // mode 5: a hue wave across the LEDs
    void PreviewDeviceFrameC() override; // mode 6: rippled LEDs fade while their hue moves on
    void RunEffectStep() override;       // the user's saved effect, step by step

    // --- Accessors -----------------------------------------------------------------------------
    profiles::CMouseProfiledata& Profile() { return m_profile; }
    const std::array<std::uint8_t, protocol::kDeviceInfoSize>& DeviceInfo() const {
        return m_tables.deviceInfo;
    }
    SensorInfo Sensor() const { return SensorFromDeviceInfo(m_tables.deviceInfo); }
    const MouseConfigBlock& ConfigBlock() const { return m_configBlock; }
    int CurrentSlot() const { return m_currentSlot; }

private:
    // Working copies from the profile record.
    void TakeProfile() override;
    std::vector<int> UsedMacroIndices() const override { return UsedMacros(CurrentKeyEntries()); }
    // Working copies and profile from a settings block read from the mouse (not saved).
    void TakeBlock(const MouseConfigBlock& read);
    void SaveIfChanged(const Json::Value& before);
    // Saves the profile file and writes the settings block; WriteConfig's result.
    int SaveAndWrite();
    // Stores the stages, saves and writes.
    int CommitStages();
    int CommitSettings();
    bool ReadBlock(std::uint8_t& slot, MouseConfigBlock& out);
    void BuildBlock(MouseConfigBlock& out, int value) const;
    void PrepareKeyMap();

    std::uint8_t m_currentSlot = 0;
    MouseConfigBlock m_configBlock{};
    bool m_blockRead = false;
    std::vector<profiles::LightListEntry> m_lightList;
    std::vector<profiles::DpiStage> m_dpiStages;
    int m_activeStage = 0;
    profiles::MouseSystemSettings m_settings;
    profiles::CMouseProfiledata m_profile;
    bool m_tipShown = false;
    std::atomic<std::uint32_t> m_effectStart{0}; // read by the light thread
};

} // namespace q407::devices
