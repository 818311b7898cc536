#include "devices/HeadsetModel.h"

#include "common/Diag.h"
#include "devices/PageEventTable.h"
#include "profiles/Names.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace q407::devices {
namespace {

constexpr int kMaxListedDevices = 64;
constexpr std::size_t kFeatureBufferSize = 2 * kAudioBufferSize;
constexpr std::size_t kFeatureFieldCount = 7;
// Playback device types in the order they are looked for (each with flag 1).
constexpr std::int32_t kPlaybackTypes[] = {kAudioTypeHeadsetPlayback, 12, 7, 4};

constexpr std::array<EqCurve, kEqBuiltInCount> kBuiltInCurves{{
    {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},
    {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
    {10, 4, 0, -3, -4, -3, -2, -1, 0, 0},
    {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
    {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},
    {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
    {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},
    {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
    {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},
    {2, 1, -2, -4, -8, 4, 12, 16, 18, 15},
}};
constexpr EqCurve kFlatCurve{};

std::string BandProperty(int band) {
    return "EQ_Slider" + std::to_string(band + 1);
}

EqCurve CurveOf(const std::vector<int>& values) {
    EqCurve curve{};
    std::copy_n(values.begin(), std::min<std::size_t>(values.size(), kEqBands), curve.begin());
    return curve;
}

std::int32_t FieldValue(const std::string& field) {
    return static_cast<std::int32_t>(std::strtol(field.c_str(), nullptr, 10));
}

std::uint8_t LedComponent(std::uint8_t colour, std::uint8_t level) {
    return static_cast<std::uint8_t>(
        std::min<unsigned>((unsigned{colour} * level) >> 8, kLedComponentLimit));
}

} // namespace

const EqCurve& BuiltInEqCurve(int eqType) {
    if (eqType < 1 || eqType > kEqBuiltInCount) {
        return kFlatCurve;
    }
    return kBuiltInCurves[static_cast<std::size_t>(eqType - 1)];
}

int LevelOfScalar(double scalar) {
    // The scalar a level was written as may come back a hair below it (0.29 × 100 is
    // 28.999...); truncating that would lose a step at every activation.
    const double hundredths = std::floor(scalar * 100 + 1e-6);
    return static_cast<int>(std::clamp(hundredths, 0.0, 100.0));
}

std::array<LedReport, kLedReportCount> BuildLedReports(std::span<const LedColour> leds) {
    std::array<std::array<std::uint8_t, kHeadsetLedCount>, 3> components{};
    for (std::size_t i = 0; i < std::min(leds.size(), kHeadsetLedCount); ++i) {
        components[0][i] = LedComponent(leds[i].red, leds[i].level);
        components[1][i] = LedComponent(leds[i].green, leds[i].level);
        components[2][i] = LedComponent(leds[i].blue, leds[i].level);
    }
    // Registers of the first seven and the last six LEDs of red, green and blue.
    struct Part {
        std::uint8_t reg;
        std::size_t component, first, count;
    };
    constexpr Part kParts[] = {{0xAA, 0, 0, 7}, {0xAD, 0, 7, 6}, {0xAB, 1, 0, 7},
                               {0xAE, 1, 7, 6}, {0xAC, 2, 0, 7}, {0xAF, 2, 7, 6}};
    std::array<LedReport, kLedReportCount> reports{};
    std::size_t at = 0;
    for (const Part& part : kParts) {
        for (const std::uint8_t group : {std::uint8_t{0x22}, std::uint8_t{0x44}}) {
            LedReport& report = reports[at++];
            report[0] = 0xFF;
            report[1] = group;
            report[2] = part.reg;
            std::copy_n(components[part.component].begin() + static_cast<long>(part.first),
                        part.count, report.begin() + 4);
        }
    }
    return reports;
}

HeadsetModel::HeadsetModel(hid::HidBackend& backend, LightClock* clock, LightRandom* random,
                           protocol::Pacer& pacer)
    : LightBlockModel(backend, clock, random, pacer) {
    SetKind(kKindHeadset);
}

HeadsetModel::~HeadsetModel() {
    StopPageThreads();
}

// --- Light block and LED reports -----------------------------------------------------------------

std::size_t HeadsetModel::EffectPositionOf(int mode) const {
    // Modes past the headset's own are sent as its first effect.
    return mode > kLastBlockLightMode ? 0 : LightBlockModel::EffectPositionOf(mode);
}

int HeadsetModel::WriteLedReports(std::span<const LedColour> leds) {
    if (!IsOpen()) {
        return 0;
    }
    int sent = 0;
    for (const LedReport& report : BuildLedReports(leds)) {
        if (Protocol().CableRecord().SetOutputReport(report.data(), report.size())) {
            ++sent;
        }
    }
    return sent;
}

void HeadsetModel::SetClientColours(std::span<const Rgb> colours) {
    std::array<LedColour, kHeadsetLedCount> leds{};
    for (std::size_t i = 0; i < std::min(colours.size(), leds.size()); ++i) {
        leds[i] = MakeLed(colours[i], 255);
    }
    EditPreview([&leds](PreviewBuffers& buffers) {
        std::copy_n(leds.begin(), std::min(leds.size(), buffers.leds.size()), buffers.leds.begin());
    });
    WriteLedReports(leds);
}

int HeadsetModel::WriteSharedFrame(const SharedFrame& frame) {
    std::array<LedColour, kHeadsetLedCount> leds{};
    leds.fill(MakeLed({frame.red, frame.green, frame.blue}, frame.brightness));
    return WriteLedReports(leds) == static_cast<int>(kLedReportCount) ? 1 : 0;
}

// --- Profile -------------------------------------------------------------------------------------

void HeadsetModel::TakeProfile() {
    LoadLighting();
    m_settings = m_profile.GetHeadsetSettings();
    m_eqCurve = CurveOf(m_settings.eqType == kEqCustomType
                            ? m_profile.GetCustomEqCurve(m_settings.customEqSelect)
                            : m_profile.GetEqCurve(m_settings.eqType));
    m_customEqNames = m_profile.GetCustomEqNames();
    m_micMute = m_settings.micInSelect == 0 ? 1 : 0;
    m_monitorMute = m_settings.micMonitorSelect == 0 ? 1 : 0;
}

void HeadsetModel::Store() {
    m_profile.SetHeadsetSettings(m_settings);
    m_profile.SaveProfile();
}

// --- Library start-up ----------------------------------------------------------------------------

void HeadsetModel::SetAudioLibrary(std::shared_ptr<AudioConfLib> library) {
    m_library = std::move(library);
    m_audioAvailable = false;
    m_monitorAvailable = false;
}

const AudioDeviceRecord& HeadsetModel::RecordOf(Device device) const {
    return device == Device::Playback ? m_playback : m_microphone;
}

AudioStartUp HeadsetModel::StartAudioLibrary() {
    AudioStartUp result;
    if (m_library == nullptr) {
        BindDevices();
        return result;
    }
    result.initFailed = m_library->ConfLibInit() != 0;
    const AudioStartUp bound = BindDevices();
    result.shortFeatureLists = bound.shortFeatureLists;
    result.available = bound.available;
    if (!result.available) {
        return result;
    }
    // Start from neutral sound: whatever the library cannot tell is set to 0.
    const std::int32_t allChannels[] = {-1};
    const std::int32_t firstChannel[] = {0};
    const std::int32_t surround[] = {4, -1, 0};
    ResetProperty(Device::Playback, "VirtualSurroundEffectControl", surround);
    ResetProperty(Device::Microphone, "Enable_ENC_LFX", {});
    ResetProperty(Device::Microphone, "VolumeControl", allChannels);
    ResetProperty(Device::Playback, "Enable_EQ_GFX", {});
    for (int band = 0; band < kEqBands; ++band) {
        ResetProperty(Device::Playback, BandProperty(band), {});
    }
    for (const char* property : {"Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE"}) {
        ResetProperty(Device::Playback, property, {});
    }
    ResetProperty(Device::Microphone, "MuteControl", {});
    ResetProperty(Device::Microphone, "VolumeScalarControl", allChannels);
    ResetProperty(Device::Microphone, "AAVolumeControl", firstChannel);
    ResetProperty(Device::Microphone, "AAMuteControl", {});
    ResetProperty(Device::Microphone, "AAVolumeScalarControl", firstChannel);
    ResetProperty(Device::Microphone, "Enable_MAGICVOICE", {});
    ResetProperty(Device::Microphone, "MagicVoice_Selection", {});
    ReadAudioState();
    return result;
}

AudioStartUp HeadsetModel::BindAudioDevices() {
    const AudioStartUp result = BindDevices();
    ReadAudioState();
    return result;
}

AudioStartUp HeadsetModel::BindDevices() {
    AudioStartUp result;
    m_audioAvailable = false;
    m_monitorAvailable = false;
    m_playback = {};
    m_microphone = {};
    m_features = {};
    if (m_library == nullptr) {
        return result;
    }
    m_library->CreateDeviceList();
    const auto listed = [this](int list) {
        int count = 0;
        if (m_library->GetDeviceCount(list, &count) != 0) {
            count = 0;
        }
        std::vector<AudioDeviceRecord> records;
        for (int i = 0; i < std::min(count, kMaxListedDevices); ++i) {
            AudioDeviceRecord record;
            if (m_library->GetDeviceById(list, i, &record) == 0) {
                records.push_back(record);
            }
        }
        return records;
    };
    const std::vector<AudioDeviceRecord> playback = listed(kAudioPlaybackList);
    if (playback.empty()) {
        return result;
    }
    for (const std::int32_t type : kPlaybackTypes) {
        const auto found = std::find_if(playback.begin(), playback.end(), [type](const auto& r) {
            return r.type == type && r.flag == 1;
        });
        if (found != playback.end()) {
            m_playback = *found;
            break;
        }
    }
    const std::vector<AudioDeviceRecord> recording = listed(kAudioRecordingList);
    const auto microphone = std::find_if(recording.begin(), recording.end(), [](const auto& r) {
        return r.type == kAudioTypeRecording;
    });
    if (microphone != recording.end()) {
        m_microphone = *microphone;
    }
    m_audioAvailable = true;
    result.available = true;
    TakeFeatures(Device::Microphone, result);
    TakeFeatures(Device::Playback, result);
    return result;
}

void HeadsetModel::TakeFeatures(Device device, AudioStartUp& result) {
    std::array<std::uint8_t, kFeatureBufferSize> answer{};
    std::uint8_t* value = answer.data();
    if (m_library->PropertyControl(RecordOf(device), "GetSupportFeature", &value, nullptr,
                                   kPropertyRead) != 0) {
        return;
    }
    const std::vector<std::string> fields = AnswerFields(answer.data(), answer.size());
    if (fields.size() < kFeatureFieldCount) {
        ++result.shortFeatureLists;
        return;
    }
    auto& features = m_features[device == Device::Playback ? 0 : 1];
    features = {FieldValue(fields[0]), FieldValue(fields[4]), FieldValue(fields[6])};
}

void HeadsetModel::ResetProperty(Device device, std::string_view property,
                                 std::span<const std::int32_t> parameter) {
    const auto call = [&](Buffer& value, int write) {
        m_parameterIn.bytes.fill(0);
        for (std::size_t i = 0; i < parameter.size(); ++i) {
            PutBufferInt(m_parameterIn.Data() + 4 * i, parameter[i]);
        }
        std::uint8_t* valuePointer = value.Data();
        std::uint8_t* parameterPointer = m_parameterIn.Data();
        return m_library->PropertyControl(RecordOf(device), property, &valuePointer,
                                          parameter.empty() ? nullptr : &parameterPointer, write);
    };
    m_valueOut.bytes.fill(0);
    if (call(m_valueOut, kPropertyRead) == 0) {
        return;
    }
    m_valueIn.bytes.fill(0);
    call(m_valueIn, kPropertyWrite);
}

// --- Library state -------------------------------------------------------------------------------

std::optional<double> HeadsetModel::Read(Device device, std::string_view property,
                                         std::optional<std::int32_t> parameter) {
    if (!m_audioAvailable) {
        return std::nullopt;
    }
    m_valueOut.bytes.fill(0);
    m_parameterOut.bytes.fill(0);
    if (parameter) {
        PutBufferInt(m_parameterOut.Data(), *parameter);
    }
    std::uint8_t* value = m_valueOut.Data();
    std::uint8_t* parameterPointer = m_parameterOut.Data();
    if (m_library->PropertyControl(RecordOf(device), property, &value,
                                   parameter ? &parameterPointer : nullptr, kPropertyRead) != 0) {
        return std::nullopt;
    }
    return AnswerNumber(m_valueOut.Data());
}

void HeadsetModel::ReadAudioState() {
    if (!m_audioAvailable) {
        return;
    }
    const auto flag = [](double value) { return value != 0 ? 1 : 0; };
    for (const char* range : {"GetMaxVol", "GetMinVol", "GetVolStep"}) {
        Read(Device::Microphone, range);
    }
    Read(Device::Microphone, "VolumeControl", -1);
    if (const auto mute = Read(Device::Microphone, "MuteControl")) {
        m_micMute = flag(*mute);
        m_settings.micInSelect = 1 - m_micMute;
    }
    if (const auto scalar = Read(Device::Microphone, "VolumeScalarControl", -1)) {
        m_settings.micInValue = LevelOfScalar(*scalar);
    }

    m_monitorAvailable = Read(Device::Microphone, "GetAAMaxVol").has_value();
    if (m_monitorAvailable) {
        Read(Device::Microphone, "GetAAMinVol");
        Read(Device::Microphone, "GetAAVolStep");
        Read(Device::Microphone, "AAVolumeControl", 0);
        if (const auto mute = Read(Device::Microphone, "AAMuteControl")) {
            m_monitorMute = flag(*mute);
            m_settings.micMonitorSelect = 1 - m_monitorMute;
        }
        if (const auto scalar = Read(Device::Microphone, "AAVolumeScalarControl", 0)) {
            m_settings.micMonitorValue = LevelOfScalar(*scalar);
        }
        for (int band = 0; band < kEqBands; ++band) {
            Read(Device::Playback, BandProperty(band));
        }
    }

    // The voice changer's state can be read only where the microphone says so.
    if ((m_features[1][0] & kFeatureVoiceChanger) != 0) {
        if (const auto enabled = Read(Device::Microphone, "Enable_MAGICVOICE")) {
            m_settings.magicEnable = flag(*enabled);
        }
        const auto voice = Read(Device::Microphone, "MagicVoice_Selection");
        if (voice && *voice >= 0 && *voice < kVoiceCount && *voice == std::trunc(*voice)) {
            m_settings.magicType = static_cast<int>(*voice) + 1;
        }
    }
}

// --- Writes --------------------------------------------------------------------------------------

int HeadsetModel::Write(Device device, std::string_view property, std::int32_t value) {
    if (!m_audioAvailable) {
        return -1;
    }
    const bool equaliser = device == Device::Playback;
    Buffer& buffer = equaliser ? m_equaliser : m_valueIn;
    buffer.bytes.fill(0);
    PutBufferInt(buffer.Data(), value);
    std::uint8_t* pointer = buffer.Data();
    return m_library->PropertyControl(RecordOf(device), property, &pointer, nullptr,
                                      kPropertyWrite);
}

int HeadsetModel::WriteScalar(std::string_view property, float value, std::int32_t parameter) {
    if (!m_audioAvailable) {
        return -1;
    }
    m_valueIn.bytes.fill(0);
    m_parameterIn.bytes.fill(0);
    PutBufferFloat(m_valueIn.Data(), value);
    PutBufferInt(m_parameterIn.Data(), parameter);
    std::uint8_t* valuePointer = m_valueIn.Data();
    std::uint8_t* parameterPointer = m_parameterIn.Data();
    return m_library->PropertyControl(m_microphone, property, &valuePointer, &parameterPointer,
                                      kPropertyWrite);
}

int HeadsetModel::WriteEqCurve(const EqCurve& curve) {
    int failed = Write(Device::Playback, "Enable_EQ_GFX", 1) != 0 ? 1 : 0;
    for (int band = 0; band < kEqBands; ++band) {
        failed +=
            Write(Device::Playback, BandProperty(band), curve[static_cast<std::size_t>(band)]) != 0
                ? 1
                : 0;
    }
    return failed;
}

void HeadsetModel::ApplyAudioSettings() {
    if (!m_audioAvailable) {
        return;
    }
    WriteEqCurve(m_eqCurve);
    Write(Device::Microphone, "Enable_MAGICVOICE", m_settings.magicEnable != 0 ? 1 : 0);
    if (m_settings.magicEnable != 0) {
        Write(Device::Microphone, "Enable_MICECHO", 0);
    }
    if (m_settings.magicType >= 1 && m_settings.magicType <= kVoiceCount) {
        Write(Device::Microphone, "MagicVoice_Selection", m_settings.magicType - 1);
    }
    const int micMute = m_settings.micInSelect == 0 ? 1 : 0;
    if (Write(Device::Microphone, "MuteControl", micMute) == 0) {
        m_micMute = micMute;
    }
    WriteScalar("VolumeScalarControl",
                static_cast<float>(std::clamp(m_settings.micInValue, 0, 100)) / 100.0F, -1);
    if (m_monitorAvailable) {
        const int monitorMute = m_settings.micMonitorSelect == 0 ? 1 : 0;
        if (Write(Device::Microphone, "AAMuteControl", monitorMute) == 0) {
            m_monitorMute = monitorMute;
        }
        WriteScalar("AAVolumeScalarControl",
                    static_cast<float>(std::clamp(m_settings.micMonitorValue, 0, 100)) / 100.0F, 0);
    }
}

// --- Changes of the audio panels -----------------------------------------------------------------

bool HeadsetModel::SelectEqPreset(int n, int customSelection) {
    if (n < 1 || n > kEqCustomType) {
        return false;
    }
    if (n == kEqCustomType) {
        m_settings.eqType = kEqCustomType;
        ApplyCustomEq(customSelection);
        m_profile.SaveProfile();
        return true;
    }
    m_eqCurve = BuiltInEqCurve(n);
    WriteEqCurve(m_eqCurve);
    m_settings.eqType = n;
    m_profile.SetHeadsetSettings(m_settings);
    m_profile.SetEqCurve(n, m_eqCurve);
    m_profile.SaveProfile();
    return true;
}

bool HeadsetModel::ChangeEqBand(int band, int value) {
    if (band < 0 || band >= kEqBands) {
        return false;
    }
    const bool switched = m_settings.eqType != kEqCustomType;
    if (switched) {
        m_settings.eqType = kEqCustomType;
    }
    Write(Device::Playback, BandProperty(band), value);
    return switched;
}

void HeadsetModel::ApplyCustomEq(int selection) {
    if (selection < 0) {
        return;
    }
    const std::vector<int> stored = m_profile.GetCustomEqCurve(selection);
    if (stored.empty()) {
        return; // beyond the slots a profile keeps
    }
    m_eqCurve = CurveOf(stored);
    WriteEqCurve(m_eqCurve);
    m_settings.customEqSelect = selection;
    Store();
}

int HeadsetModel::SaveCustomEq(const std::string& name, const EqCurve& sliders, int selection) {
    if (name.empty()) {
        if (selection < 0) {
            return -1;
        }
        m_eqCurve = sliders;
        m_settings.customEqSelect = selection;
        m_profile.SetHeadsetSettings(m_settings);
        m_profile.SetCustomEqCurve(selection, m_eqCurve);
        m_profile.SaveProfile();
        return 1;
    }
    if (m_customEqNames.size() >= static_cast<std::size_t>(kMaxCustomEqCurves)) {
        return -1;
    }
    if (profiles::ContainsIgnoringCase(m_customEqNames, name)) {
        return 0;
    }
    m_customEqNames.push_back(name);
    m_eqCurve = sliders;
    m_settings.customEqSelect = static_cast<int>(m_customEqNames.size()) - 1;
    m_profile.SetHeadsetSettings(m_settings);
    m_profile.SetCustomEqCurve(m_settings.customEqSelect, m_eqCurve);
    m_profile.SetCustomEqNames(m_customEqNames);
    m_profile.SaveProfile();
    return 1;
}

void HeadsetModel::DeleteCustomEq(int selection) {
    if (selection < 0 || static_cast<std::size_t>(selection) >= m_customEqNames.size()) {
        return;
    }
    // Slot i always holds the curve of name i: the curves after the deleted one move down too.
    const int count = static_cast<int>(m_customEqNames.size());
    for (int slot = selection; slot + 1 < count; ++slot) {
        m_profile.SetCustomEqCurve(slot, CurveOf(m_profile.GetCustomEqCurve(slot + 1)));
    }
    m_customEqNames.erase(m_customEqNames.begin() + selection);
    if (m_customEqNames.empty()) {
        m_settings.eqType = 1;
        m_profile.SetHeadsetSettings(m_settings);
        m_eqCurve = CurveOf(m_profile.GetEqCurve(1));
    } else {
        m_settings.customEqSelect = 0;
        m_profile.SetHeadsetSettings(m_settings);
        m_eqCurve = CurveOf(m_profile.GetCustomEqCurve(0));
    }
    m_profile.SetCustomEqNames(m_customEqNames);
    m_profile.SaveProfile();
    // The headset plays the curve the page now shows.
    WriteEqCurve(m_eqCurve);
}

void HeadsetModel::ToggleMicMute() {
    m_micMute = 1 - m_micMute;
    if (Write(Device::Microphone, "MuteControl", m_micMute) == 0) {
        m_settings.micInSelect = 1 - m_micMute;
        Store();
    }
}

void HeadsetModel::ChangeMicLevel(int level) {
    const int v = std::clamp(level, 0, 100);
    if (WriteScalar("VolumeScalarControl", static_cast<float>(v) / 100.0F, -1) == 0) {
        Read(Device::Microphone, "VolumeControl", -1);
        m_settings.micInValue = v;
        Store();
    }
}

void HeadsetModel::ToggleMonitorMute() {
    m_monitorMute = 1 - m_monitorMute;
    if (Write(Device::Microphone, "AAMuteControl", m_monitorMute) == 0) {
        m_settings.micMonitorSelect = 1 - m_monitorMute;
        Store();
    }
}

void HeadsetModel::ChangeMonitorLevel(int level) {
    const int v = std::clamp(level, 0, 100);
    if (WriteScalar("AAVolumeScalarControl", static_cast<float>(v) / 100.0F, 0) == 0) {
        Read(Device::Microphone, "AAVolumeControl", 1);
        m_settings.micMonitorValue = v;
        Store();
    }
}

void HeadsetModel::ChangeMagicEnable(bool enabled) {
    Write(Device::Microphone, "Enable_MAGICVOICE", enabled ? 1 : 0);
    if (enabled) {
        Write(Device::Microphone, "Enable_MICECHO", 0);
    }
    m_settings.magicEnable = enabled ? 1 : 0;
    Store();
}

void HeadsetModel::ChangeMagicType(int voice) {
    if (voice < 1 || voice > kVoiceCount) {
        return;
    }
    Write(Device::Microphone, "MagicVoice_Selection", voice - 1);
    m_settings.magicType = voice;
    Store();
}

} // namespace q407::devices
