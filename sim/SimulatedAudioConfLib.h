#pragma once

// An audio library that stands in for the headset's sound card in tests and q407-demo. It holds
// property values as the answer texts a library gives, lists devices as a test scripts them,
// fails what a test asks it to, and logs every call with its buffers, so a test can check what
// the headset page passed and in which order.
//
// Out of the box it lists one headset: playback record {1, type 1, 0, flag 1} and microphone
// record {2, type 2, 0, flag 1}, with feature lists of seven fields (the microphone's says its
// voice changer can be read), microphone and monitor levels, mutes and ranges. Properties that
// were never written or set cannot be read, as on a fresh library. A written float (the scalar
// and dB volumes) or int32 becomes the property's answer.

#include "devices/AudioConfLib.h"

#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace q407::sim {

class SimulatedAudioConfLib final : public devices::AudioConfLib {
public:
    static constexpr devices::AudioDeviceRecord kPlayback{1, devices::kAudioTypeHeadsetPlayback, 0,
                                                          1};
    static constexpr devices::AudioDeviceRecord kMicrophone{2, devices::kAudioTypeRecording, 0, 1};

    struct Call {
        std::string function;
        int list = -1;
        int index = -1;
        devices::AudioDeviceRecord device;
        std::string property;
        int write = -1;
        std::int32_t valueInt = 0;           // first four bytes of the value buffer after the call
        float valueFloat = 0;                // the same bytes as a float
        std::string answer;                  // the answer text of a successful read
        bool hasParameter = false;           // a parameter buffer was passed
        std::vector<std::int32_t> parameter; // its first three int32 values
        int result = 0;
    };

    SimulatedAudioConfLib();

    // --- AudioConfLib ------------------------------------------------------------------------
    int ConfLibInit() override;
    int CreateDeviceList() override;
    int GetDeviceCount(int list, int* count) override;
    int GetDeviceById(int list, int index, devices::AudioDeviceRecord* record) override;
    int PropertyControl(devices::AudioDeviceRecord device, std::string_view property,
                        std::uint8_t** value, std::uint8_t** parameter, int write) override;
    void SetDeviceChangeHandler(std::function<void()> handler) override;

    // --- Scripting -----------------------------------------------------------------------------
    void SetInitResult(int result);
    // The records the next CreateDeviceList lists.
    void SetDevices(int list, std::vector<devices::AudioDeviceRecord> records);
    // The headset's sound card goes (empty lists) or comes back (the records it had); both call
    // the device-change handler.
    void Unplug();
    void Plug();
    void SetValue(std::int32_t device, const std::string& property, const std::string& answer);
    void RemoveValue(std::int32_t device, const std::string& property);
    std::optional<std::string> Value(std::int32_t device, const std::string& property) const;
    // The next `times` calls of `property` fail (-1: every one).
    void FailProperty(const std::string& property, int times = -1);

    std::vector<Call> Calls() const;
    void ClearCalls();
    // The calls of one property, in order.
    std::vector<Call> CallsOf(const std::string& property) const;

    // Keeps the values in `file` (read now, written after every change), so the demo's headset
    // comes back as it was left.
    void KeepIn(const std::filesystem::path& file);

private:
    bool Listed(const devices::AudioDeviceRecord& device) const;
    void Save() const;
    void Record(Call call);

    mutable std::mutex m_mutex;
    int m_initResult = 0;
    std::vector<devices::AudioDeviceRecord> m_scripted[2];
    std::vector<devices::AudioDeviceRecord> m_listed[2];
    std::vector<devices::AudioDeviceRecord> m_unplugged[2];
    std::map<std::pair<std::int32_t, std::string>, std::string> m_values;
    std::map<std::string, int> m_failing;
    std::vector<Call> m_calls;
    std::function<void()> m_handler;
    std::filesystem::path m_keepFile;
};

} // namespace q407::sim
