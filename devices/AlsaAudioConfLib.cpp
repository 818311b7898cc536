#include "devices/AlsaAudioConfLib.h"

#include "common/Diag.h"
#include "hid/LinuxHidBackend.h"
#include "profiles/JsonFile.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <libudev.h>
#include <memory>
#include <span>

namespace q407::devices {
namespace {

using namespace std::chrono_literals;

// Events of one card arrive in a burst (card, control, PCM nodes): wait for the burst to end.
constexpr auto kBurstQuiet = 200ms;
constexpr auto kWatchStopBound = 1000ms;

constexpr const char* kCaptureNames[] = {"Mic", "Headset", "Capture"};
constexpr const char* kMonitorNames[] = {"Mic", "Sidetone", "Side Tone", "Monitor"};

// Properties the library keeps itself, by device record type.
constexpr std::string_view kStoredPlayback[] = {
    "VirtualSurroundEffectControl",
    "Enable_EQ_GFX",
    "EQ_Slider1",
    "EQ_Slider2",
    "EQ_Slider3",
    "EQ_Slider4",
    "EQ_Slider5",
    "EQ_Slider6",
    "EQ_Slider7",
    "EQ_Slider8",
    "EQ_Slider9",
    "EQ_Slider10",
    "Enable_RFX_GFX",
    "RFX_ENVIRONMENT",
    "RFX_ROOMSIZE",
};
constexpr std::string_view kStoredMicrophone[] = {"Enable_ENC_LFX", "Enable_MAGICVOICE",
                                                  "MagicVoice_Selection", "Enable_MICECHO"};

// Feature lists: seven fields; the microphone's first says its voice changer can be read.
constexpr const char* kPlaybackFeatures = "0,0,0,0,0,0,0";
constexpr const char* kMicrophoneFeatures = "131072,0,0,0,0,0,0";

constexpr int kFailed = 1;

void AlsaErrorToDiagnostics(const char* file, int line, const char* function, int error,
                            const char* format, ...) {
    (void)file;
    (void)line;
    (void)error;
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    diag::Line(std::string("alsa: ") + (function != nullptr ? function : "") + ": " + text);
}

// One opened mixer of a card, closed with the object.
class Mixer {
public:
    explicit Mixer(int card) {
        if (card < 0 || snd_mixer_open(&m_handle, 0) < 0) {
            m_handle = nullptr;
            return;
        }
        const std::string name = "hw:" + std::to_string(card);
        if (snd_mixer_attach(m_handle, name.c_str()) < 0 ||
            snd_mixer_selem_register(m_handle, nullptr, nullptr) < 0 ||
            snd_mixer_load(m_handle) < 0) {
            snd_mixer_close(m_handle);
            m_handle = nullptr;
        }
    }
    ~Mixer() {
        if (m_handle != nullptr) {
            snd_mixer_close(m_handle);
        }
    }
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    bool IsOpen() const { return m_handle != nullptr; }
    snd_mixer_elem_t* Find(const std::string& name) const {
        if (m_handle == nullptr || name.empty()) {
            return nullptr;
        }
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_name(id, name.c_str());
        snd_mixer_selem_id_set_index(id, 0);
        return snd_mixer_find_selem(m_handle, id);
    }
    // The first control named in `preferred`, else the first at all, that `fits`.
    template <typename Fits>
    std::string Choose(std::span<const char* const> preferred, bool anyOther, Fits fits) const {
        for (const char* name : preferred) {
            if (snd_mixer_elem_t* element = Find(name); element != nullptr && fits(element)) {
                return name;
            }
        }
        if (anyOther && m_handle != nullptr) {
            for (snd_mixer_elem_t* element = snd_mixer_first_elem(m_handle); element != nullptr;
                 element = snd_mixer_elem_next(element)) {
                if (snd_mixer_selem_get_index(element) == 0 && fits(element)) {
                    return snd_mixer_selem_get_name(element);
                }
            }
        }
        return {};
    }

private:
    snd_mixer_t* m_handle = nullptr;
};

// The volume and switch of one direction of a control: capture for the microphone, playback for
// its monitor.
struct Direction {
    snd_mixer_elem_t* element;
    bool capture;

    bool Range(long& min, long& max) const {
        const int error = capture ? snd_mixer_selem_get_capture_volume_range(element, &min, &max)
                                  : snd_mixer_selem_get_playback_volume_range(element, &min, &max);
        return error >= 0 && max > min;
    }
    bool DbRange(long& min, long& max) const {
        const int error = capture ? snd_mixer_selem_get_capture_dB_range(element, &min, &max)
                                  : snd_mixer_selem_get_playback_dB_range(element, &min, &max);
        return error >= 0 && max > min;
    }
    snd_mixer_selem_channel_id_t Channel(std::int32_t wanted) const {
        const auto channel = static_cast<snd_mixer_selem_channel_id_t>(wanted);
        const bool has =
            wanted >= 0 && (capture ? snd_mixer_selem_has_capture_channel(element, channel)
                                    : snd_mixer_selem_has_playback_channel(element, channel)) > 0;
        return has ? channel : SND_MIXER_SCHN_FRONT_LEFT;
    }
    bool Raw(std::int32_t channel, long& value) const {
        const auto id = Channel(channel);
        return (capture ? snd_mixer_selem_get_capture_volume(element, id, &value)
                        : snd_mixer_selem_get_playback_volume(element, id, &value)) >= 0;
    }
    bool SetRaw(long value) const {
        return (capture ? snd_mixer_selem_set_capture_volume_all(element, value)
                        : snd_mixer_selem_set_playback_volume_all(element, value)) >= 0;
    }
    bool Db(std::int32_t channel, long& value) const {
        const auto id = Channel(channel);
        return (capture ? snd_mixer_selem_get_capture_dB(element, id, &value)
                        : snd_mixer_selem_get_playback_dB(element, id, &value)) >= 0;
    }
    bool SetDb(long value) const {
        return (capture ? snd_mixer_selem_set_capture_dB_all(element, value, 0)
                        : snd_mixer_selem_set_playback_dB_all(element, value, 0)) >= 0;
    }
    bool HasSwitch() const {
        return (capture ? snd_mixer_selem_has_capture_switch(element)
                        : snd_mixer_selem_has_playback_switch(element)) > 0;
    }
    bool Switch(bool& on) const {
        int value = 0;
        const int error =
            capture
                ? snd_mixer_selem_get_capture_switch(element, SND_MIXER_SCHN_FRONT_LEFT, &value)
                : snd_mixer_selem_get_playback_switch(element, SND_MIXER_SCHN_FRONT_LEFT, &value);
        on = value != 0;
        return error >= 0;
    }
    bool SetSwitch(bool on) const {
        return (capture ? snd_mixer_selem_set_capture_switch_all(element, on ? 1 : 0)
                        : snd_mixer_selem_set_playback_switch_all(element, on ? 1 : 0)) >= 0;
    }
};

bool Stored(std::span<const std::string_view> names, std::string_view property) {
    return std::find(names.begin(), names.end(), property) != names.end();
}

// The mixer property `property` names, without its monitor prefix "AA" (or "GetAA").
std::string_view MixerName(std::string_view property, bool& monitor) {
    monitor = false;
    if (property.starts_with("GetAA")) {
        monitor = true;
        return property == "GetAAMaxVol"    ? "GetMaxVol"
               : property == "GetAAMinVol"  ? "GetMinVol"
               : property == "GetAAVolStep" ? "GetVolStep"
                                            : std::string_view{};
    }
    if (property.starts_with("AA")) {
        monitor = true;
        property.remove_prefix(2);
    }
    return property;
}

bool IsMixerProperty(std::string_view name) {
    for (const std::string_view known : {"VolumeControl", "VolumeScalarControl", "MuteControl",
                                         "GetMaxVol", "GetMinVol", "GetVolStep"}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

} // namespace

AlsaAudioConfLib::AlsaAudioConfLib(AlsaCardMatch match, std::filesystem::path storeFile)
    : m_match(std::move(match)), m_storeFile(std::move(storeFile)) {
    if (m_match.cardName.empty()) {
        if (const char* named = std::getenv("Q407_AUDIO_CARD")) { // NOLINT(concurrency-mt-unsafe)
            m_match.cardName = named;
        }
    }
}

AlsaAudioConfLib::~AlsaAudioConfLib() {
    m_watch.Stop(kWatchStopBound);
}

int AlsaAudioConfLib::ConfLibInit() {
    {
        std::lock_guard lock(m_mutex);
        if (m_initialised) {
            return 0;
        }
        m_initialised = true;
    }
    snd_lib_error_set_handler(&AlsaErrorToDiagnostics);
    m_watch.Start([this](const Event& stop) { WatchLoop(stop); });
    return 0;
}

void AlsaAudioConfLib::WatchLoop(const Event& stop) {
    const std::unique_ptr<hid::HidChangeWatch> watch = hid::WatchUdevSubsystem("sound");
    while (!stop.IsSet()) {
        if (!watch->Wait(1000ms, stop)) {
            continue;
        }
        while (watch->Wait(kBurstQuiet, stop)) {
        }
        if (stop.IsSet()) {
            break;
        }
        std::function<void()> handler;
        {
            std::lock_guard lock(m_mutex);
            handler = m_handler;
        }
        if (handler) {
            handler();
        }
    }
}

void AlsaAudioConfLib::SetDeviceChangeHandler(std::function<void()> handler) {
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

std::optional<int> AlsaAudioConfLib::FindCard() const {
    if (!m_match.cardName.empty()) {
        const int index = snd_card_get_index(m_match.cardName.c_str());
        return index >= 0 ? std::optional<int>(index) : std::nullopt;
    }
    udev* context = udev_new();
    if (context == nullptr) {
        return std::nullopt;
    }
    std::optional<int> found;
    udev_enumerate* enumerate = udev_enumerate_new(context);
    udev_enumerate_add_match_subsystem(enumerate, "sound");
    udev_enumerate_scan_devices(enumerate);
    for (udev_list_entry* entry = udev_enumerate_get_list_entry(enumerate);
         entry != nullptr && !found; entry = udev_list_entry_get_next(entry)) {
        udev_device* device =
            udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
        if (device == nullptr) {
            continue;
        }
        const std::string name = udev_device_get_sysname(device);
        udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
        const auto id = [usb](const char* attribute) {
            const char* text =
                usb != nullptr ? udev_device_get_sysattr_value(usb, attribute) : nullptr;
            return text != nullptr ? std::strtol(text, nullptr, 16) : -1L;
        };
        if (name.size() > 4 && name.starts_with("card") && usb != nullptr &&
            id("idVendor") == m_match.vendorId && id("idProduct") == m_match.productId) {
            found = std::atoi(name.c_str() + 4);
        }
        udev_device_unref(device);
    }
    udev_enumerate_unref(enumerate);
    udev_unref(context);
    return found;
}

int AlsaAudioConfLib::CreateDeviceList() {
    const std::optional<int> card = FindCard();
    std::string capture;
    std::string monitor;
    if (card) {
        const Mixer mixer(*card);
        capture = mixer.Choose(kCaptureNames, true, [](snd_mixer_elem_t* element) {
            return snd_mixer_selem_has_capture_volume(element) > 0;
        });
        // A monitor needs a playback volume of its own: a control whose one volume serves
        // both directions is the microphone's level, not a side tone.
        monitor = mixer.Choose(kMonitorNames, false, [](snd_mixer_elem_t* element) {
            return snd_mixer_selem_has_playback_volume(element) > 0 &&
                   snd_mixer_selem_has_common_volume(element) == 0;
        });
    }
    std::lock_guard lock(m_mutex);
    m_card = card.value_or(-1);
    m_captureControl = capture;
    m_monitorControl = monitor;
    m_levels.clear();
    return 0;
}

int AlsaAudioConfLib::GetDeviceCount(int list, int* count) {
    if (count == nullptr || (list != kAudioPlaybackList && list != kAudioRecordingList)) {
        return kFailed;
    }
    std::lock_guard lock(m_mutex);
    const bool listed = m_card >= 0 && (list == kAudioPlaybackList || !m_captureControl.empty());
    *count = listed ? 1 : 0;
    return 0;
}

int AlsaAudioConfLib::GetDeviceById(int list, int index, AudioDeviceRecord* record) {
    int count = 0;
    if (record == nullptr || GetDeviceCount(list, &count) != 0 || index < 0 || index >= count) {
        return kFailed;
    }
    std::lock_guard lock(m_mutex);
    *record = {m_card, list == kAudioPlaybackList ? kAudioTypeHeadsetPlayback : kAudioTypeRecording,
               0, 1};
    return 0;
}

int AlsaAudioConfLib::Card() const {
    std::lock_guard lock(m_mutex);
    return m_card;
}

std::string AlsaAudioConfLib::CaptureControl() const {
    std::lock_guard lock(m_mutex);
    return m_captureControl;
}

std::string AlsaAudioConfLib::MonitorControl() const {
    std::lock_guard lock(m_mutex);
    return m_monitorControl;
}

int AlsaAudioConfLib::PropertyControl(AudioDeviceRecord device, std::string_view property,
                                      std::uint8_t** value, std::uint8_t** parameter, int write) {
    if (value == nullptr || *value == nullptr) {
        return kFailed;
    }
    const bool playback = device.type == kAudioTypeHeadsetPlayback;
    const bool microphone = device.type == kAudioTypeRecording;
    {
        std::lock_guard lock(m_mutex);
        if (m_card < 0 || device.id != m_card || (!playback && !microphone) ||
            (microphone && m_captureControl.empty())) {
            return kFailed;
        }
    }
    const bool writing = write == kPropertyWrite;
    if (property == "GetSupportFeature") {
        if (writing) {
            return kFailed;
        }
        PutAnswerText(*value, playback ? kPlaybackFeatures : kMicrophoneFeatures);
        return 0;
    }
    if (playback) {
        return Stored(kStoredPlayback, property)
                   ? StoredProperty("Playback", property, *value, writing)
                   : kFailed;
    }
    if (Stored(kStoredMicrophone, property)) {
        return StoredProperty("Microphone", property, *value, writing);
    }
    bool monitor = false;
    const std::string_view name = MixerName(property, monitor);
    if (!IsMixerProperty(name)) {
        return kFailed;
    }
    const std::int32_t channel =
        parameter != nullptr && *parameter != nullptr ? BufferInt(*parameter) : -1;
    return MixerProperty(name, monitor, *value, channel, writing);
}

int AlsaAudioConfLib::MixerProperty(std::string_view property, bool monitor, std::uint8_t* value,
                                    std::int32_t channel, bool write) {
    std::lock_guard lock(m_mutex);
    const std::string& control = monitor ? m_monitorControl : m_captureControl;
    const Mixer mixer(m_card);
    snd_mixer_elem_t* element = mixer.Find(control);
    if (element == nullptr) {
        return kFailed;
    }
    const Direction side{element, !monitor};
    long min = 0;
    long max = 0;
    long dbMin = 0;
    long dbMax = 0;
    if (!side.Range(min, max)) {
        return kFailed;
    }
    const bool db = side.DbRange(dbMin, dbMax);
    const std::string levelKey = control + (monitor ? "/playback" : "/capture");

    if (property == "MuteControl") {
        bool on = false;
        if (!side.HasSwitch()) {
            return kFailed;
        }
        if (write) {
            return side.SetSwitch(BufferInt(value) == 0) ? 0 : kFailed;
        }
        if (!side.Switch(on)) {
            return kFailed;
        }
        PutAnswerText(value, on ? "0" : "1");
        return 0;
    }
    if (property == "VolumeScalarControl") {
        if (write) {
            const float scalar = std::clamp(BufferFloat(value), 0.0F, 1.0F);
            const long raw = min + std::lround(static_cast<double>(scalar) * (max - min));
            if (!side.SetRaw(raw)) {
                return kFailed;
            }
            m_levels[levelKey] = {scalar, raw};
            return 0;
        }
        long raw = 0;
        if (!side.Raw(channel, raw)) {
            return kFailed;
        }
        const auto kept = m_levels.find(levelKey);
        const double scalar = kept != m_levels.end() && kept->second.raw == raw
                                  ? static_cast<double>(kept->second.scalar)
                                  : static_cast<double>(raw - min) / static_cast<double>(max - min);
        PutAnswerText(value, AnswerText(scalar));
        return 0;
    }
    if (property == "VolumeControl") {
        if (write) {
            const float level = BufferFloat(value);
            const bool set = db ? side.SetDb(std::lround(static_cast<double>(level) * 100))
                                : side.SetRaw(std::clamp(std::lround(level), min, max));
            m_levels.erase(levelKey);
            return set ? 0 : kFailed;
        }
        long level = 0;
        if (db ? !side.Db(channel, level) : !side.Raw(channel, level)) {
            return kFailed;
        }
        PutAnswerText(value, AnswerText(db ? static_cast<double>(level) / 100 : level));
        return 0;
    }
    if (write) {
        return kFailed; // the ranges are read only
    }
    double answer = 0;
    if (property == "GetMaxVol") {
        answer = db ? static_cast<double>(dbMax) / 100 : static_cast<double>(max);
    } else if (property == "GetMinVol") {
        answer = db ? static_cast<double>(dbMin) / 100 : static_cast<double>(min);
    } else {
        answer =
            db ? static_cast<double>(dbMax - dbMin) / 100 / static_cast<double>(max - min) : 1.0;
    }
    PutAnswerText(value, AnswerText(answer));
    return 0;
}

int AlsaAudioConfLib::StoredProperty(const char* device, std::string_view property,
                                     std::uint8_t* value, bool write) {
    std::lock_guard lock(m_mutex);
    const std::string key(property);
    Json::Value store = profiles::ReadJsonFile(m_storeFile);
    if (!write) {
        const Json::Value& kept = profiles::Member(profiles::Member(store, device), key.c_str());
        if (!kept.isInt()) {
            return kFailed;
        }
        PutAnswerText(value, std::to_string(kept.asInt()));
        return 0;
    }
    if (!store.isObject()) {
        store = Json::Value(Json::objectValue);
    }
    profiles::MutableMember(profiles::MutableMember(store, device), key.c_str()) = BufferInt(value);
    std::error_code error;
    std::filesystem::create_directories(m_storeFile.parent_path(), error);
    return profiles::WriteJsonFile(store, m_storeFile) ? 0 : kFailed;
}

} // namespace q407::devices
