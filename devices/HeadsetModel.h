#pragma once

// The device side of the headset page. Its lights work as the mouse pad's (the light block) and,
// while the program drives them itself, through twelve 17-byte LED output reports. Its sound
// settings (microphone level and mute, monitor level and mute, equaliser, voice changer) live in
// the audio library (devices/AudioConfLib.h): the model binds the library's playback and
// microphone devices, reads their state, and carries every change of the audio panels to the
// library and the profile. Nothing here touches a control; the page shows the model's values and
// does the panels' part of each change.
//
// Without a library, or without devices in it, no property call is made: every write counts as
// failed, so level and mute changes are not stored, while the equaliser and the voice changer
// are stored in the profile as usual.

#include "devices/AudioConfLib.h"
#include "devices/LightBlockModel.h"
#include "profiles/CHs6533Profiledata.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q407::devices {

inline constexpr int kEqBands = 10;
inline constexpr int kEqBuiltInCount = 12;
inline constexpr int kEqCustomType = 13;
inline constexpr int kMaxCustomEqCurves = 20;
inline constexpr int kVoiceCount = 4;
using EqCurve = std::array<int, kEqBands>;

// The built-in curve of equaliser type 1-12 (band 1 first); the flat curve for other types.
const EqCurve& BuiltInEqCurve(int eqType);

// The scalar volume (0-1) as the page's level 0-100: hundredths, truncated.
int LevelOfScalar(double scalar);

// What the library start-up has to tell the user.
struct AudioStartUp {
    bool initFailed = false;   // "ConfLibInit called failed!"
    int shortFeatureLists = 0; // "UpdateAPOAvailable failed!", once each
    bool available = false;    // the library has devices: the audio features work
};

// The LED output reports: report id 0xFF, group, register, 0, then the data.
inline constexpr std::size_t kLedReportSize = 17;
inline constexpr std::size_t kLedReportCount = 12;
inline constexpr std::size_t kHeadsetLedCount = 13;
inline constexpr std::uint8_t kLedComponentLimit = 247;
using LedReport = std::array<std::uint8_t, kLedReportSize>;
// The twelve reports of one frame: registers 0xAA/0xAD red, 0xAB/0xAE green, 0xAC/0xAF blue
// (LEDs 0-6, then 7-12), each first for group 0x22 and then for 0x44. A component is its colour
// times the LED's level, / 256, at most 247.
std::array<LedReport, kLedReportCount> BuildLedReports(std::span<const LedColour> leds);

class HeadsetModel : public LightBlockModel {
public:
    explicit HeadsetModel(hid::HidBackend& backend, LightClock* clock = nullptr,
                          LightRandom* random = nullptr,
                          protocol::Pacer& pacer = protocol::DefaultPacer());
    ~HeadsetModel() override;

    profiles::CBasicProfiledata& Record() override { return m_profile; }
    profiles::CHs6533Profiledata& Profile() { return m_profile; }

    // --- Audio library ---------------------------------------------------------------------
    // The library the model drives (nullptr: none). Set before StartAudioLibrary.
    void SetAudioLibrary(std::shared_ptr<AudioConfLib> library);
    AudioConfLib* AudioLibrary() const { return m_library.get(); }
    // The start-up: ConfLibInit, the device lists, the two devices, their features, the neutral
    // reset of every property that cannot be read, then the library state.
    AudioStartUp StartAudioLibrary();
    // After the sound devices came or went: the device lists, the two devices and their
    // features again, then the library state (nothing is reset).
    AudioStartUp BindAudioDevices();
    bool AudioAvailable() const { return m_audioAvailable; }
    // Whether the microphone has a monitor (its maximum could be read).
    bool MonitorAvailable() const { return m_monitorAvailable; }
    const AudioDeviceRecord& PlaybackRecord() const { return m_playback; }
    const AudioDeviceRecord& MicrophoneRecord() const { return m_microphone; }
    // Feature values 1-3 of the playback (0) or microphone (1) device.
    const std::array<std::int32_t, 3>& Features(int device) const { return m_features[device]; }
    // Microphone level, mute, monitor and voice changer as the library has them now. A read
    // that fails leaves the setting as the profile gave it.
    void ReadAudioState();
    // Writes the profile's sound settings to the library (a profile was applied).
    void ApplyAudioSettings();

    // --- Settings as shown -------------------------------------------------------------------
    const profiles::HeadsetSystemSettings& Settings() const { return m_settings; }
    const EqCurve& EqCurveInUse() const { return m_eqCurve; }
    const std::vector<std::string>& CustomEqNames() const { return m_customEqNames; }
    bool MicMuted() const { return m_micMute != 0; }
    bool MonitorMuted() const { return m_monitorMute != 0; }

    // --- Changes of the audio panels ----------------------------------------------------------
    // 1-12: that built-in curve is written and stored; 13: the custom curve `customSelection`
    // is used (ApplyCustomEq); other values do nothing (false).
    bool SelectEqPreset(int n, int customSelection);
    // A band slider moved: the band is written to the library, nothing is stored. True when
    // this switched the choice to "custom" (the page then clears the custom selection).
    bool ChangeEqBand(int band, int value);
    // The stored custom curve `selection` is used and stored as the choice; -1 does nothing.
    void ApplyCustomEq(int selection);
    // Saves the sliders as a custom curve: under a new name (appended), or with an empty name
    // over the selected curve. 1 done; 0 a name that exists (letter case ignored); -1 refused
    // (an empty name with nothing selected, or a twenty-first name).
    int SaveCustomEq(const std::string& name, const EqCurve& sliders, int selection);
    // Deletes custom curve `selection` (-1 does nothing); the curves after it move down with
    // their names. The curve now chosen is written to the library.
    void DeleteCustomEq(int selection);
    void ToggleMicMute();
    void ChangeMicLevel(int level);
    void ToggleMonitorMute();
    void ChangeMonitorLevel(int level);
    void ChangeMagicEnable(bool enabled);
    // Voice 1-4; other values do nothing.
    void ChangeMagicType(int voice);

    // --- LED output reports ------------------------------------------------------------------
    // Sends the twelve reports of `leds` on the command interface; a failed report does not
    // stop the others. The number of reports sent (0 when closed).
    int WriteLedReports(std::span<const LedColour> leds);
    // A client colours each ear-cup LED: shown in the preview and written at once.
    int ClientLedCount() const override { return static_cast<int>(kHeadsetLedCount); }
    void SetClientColours(std::span<const Rgb> colours) override;

protected:
    // A frame of the shared effect goes out as LED reports, every LED in its colour.
    int WriteSharedFrame(const SharedFrame& frame) override;
    std::size_t EffectPositionOf(int mode) const override;
    void TakeProfile() override;

private:
    struct Buffer {
        std::array<std::uint8_t, kAudioBufferSize> bytes{};
        std::uint8_t* Data() { return bytes.data(); }
    };
    enum class Device { Playback, Microphone };

    const AudioDeviceRecord& RecordOf(Device device) const;
    AudioStartUp BindDevices();
    void ResetProperty(Device device, std::string_view property,
                       std::span<const std::int32_t> parameter);
    std::optional<double> Read(Device device, std::string_view property,
                               std::optional<std::int32_t> parameter = std::nullopt);
    // Writes an int32 (or a float) with no parameter; 0 done, anything else failed.
    int Write(Device device, std::string_view property, std::int32_t value);
    int WriteScalar(std::string_view property, float value, std::int32_t parameter);
    int WriteEqCurve(const EqCurve& curve);
    void Store();
    void TakeFeatures(Device device, AudioStartUp& result);

    profiles::CHs6533Profiledata m_profile;
    profiles::HeadsetSystemSettings m_settings;
    EqCurve m_eqCurve{};
    std::vector<std::string> m_customEqNames;
    int m_micMute = 0;
    int m_monitorMute = 0;

    std::shared_ptr<AudioConfLib> m_library;
    bool m_audioAvailable = false;
    bool m_monitorAvailable = false;
    AudioDeviceRecord m_playback;
    AudioDeviceRecord m_microphone;
    std::array<std::array<std::int32_t, 3>, 2> m_features{};
    // Value-in, parameter-in, value-out, parameter-out and equaliser buffers.
    Buffer m_valueIn;
    Buffer m_parameterIn;
    Buffer m_valueOut;
    Buffer m_parameterOut;
    Buffer m_equaliser;
};

} // namespace q407::devices
