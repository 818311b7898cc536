#include "sim/SimulatedAudioConfLib.h"

#include "profiles/JsonFile.h"

#include <algorithm>

namespace q407::sim {
namespace {

using devices::AudioDeviceRecord;

constexpr int kFailed = 1;
constexpr std::size_t kLogged = 4096;

// Properties whose written value is a float.
bool TakesFloat(std::string_view property) {
    return property.ends_with("VolumeScalarControl") || property == "VolumeControl" ||
           property == "AAVolumeControl";
}

SimulatedAudioConfLib::Call MakeCall(const char* function, int list = -1, int index = -1,
                                     int result = 0) {
    SimulatedAudioConfLib::Call call;
    call.function = function;
    call.list = list;
    call.index = index;
    call.result = result;
    return call;
}

std::string Key(std::int32_t device, const std::string& property) {
    return std::to_string(device) + "/" + property;
}

} // namespace

SimulatedAudioConfLib::SimulatedAudioConfLib() {
    m_scripted[devices::kAudioPlaybackList] = {kPlayback};
    m_scripted[devices::kAudioRecordingList] = {kMicrophone};
    const std::pair<const char*, const char*> microphone[] = {
        {"GetSupportFeature", "131072,0,0,0,1,0,0"},
        {"GetMaxVol", "0"},
        {"GetMinVol", "-30"},
        {"GetVolStep", "0.5"},
        {"VolumeControl", "-15"},
        {"VolumeScalarControl", "0.5"},
        {"MuteControl", "0"},
        {"GetAAMaxVol", "0"},
        {"GetAAMinVol", "-30"},
        {"GetAAVolStep", "0.5"},
        {"AAVolumeControl", "-21"},
        {"AAVolumeScalarControl", "0.3"},
        {"AAMuteControl", "1"},
    };
    for (const auto& [property, answer] : microphone) {
        m_values[{kMicrophone.id, property}] = answer;
    }
    m_values[{kPlayback.id, "GetSupportFeature"}] = "1,0,0,0,1,0,1";
}

// --- AudioConfLib --------------------------------------------------------------------------------

int SimulatedAudioConfLib::ConfLibInit() {
    std::lock_guard lock(m_mutex);
    Record(MakeCall("ConfLibInit", -1, -1, m_initResult));
    return m_initResult;
}

int SimulatedAudioConfLib::CreateDeviceList() {
    std::lock_guard lock(m_mutex);
    for (int list = 0; list < 2; ++list) {
        m_listed[list] = m_scripted[list];
    }
    Record(MakeCall("CreateDeviceList"));
    return 0;
}

int SimulatedAudioConfLib::GetDeviceCount(int list, int* count) {
    std::lock_guard lock(m_mutex);
    const bool known = (list == 0 || list == 1) && count != nullptr;
    if (known) {
        *count = static_cast<int>(m_listed[list].size());
    }
    Record(MakeCall("GetDeviceCount", list, -1, known ? 0 : kFailed));
    return known ? 0 : kFailed;
}

int SimulatedAudioConfLib::GetDeviceById(int list, int index, AudioDeviceRecord* record) {
    std::lock_guard lock(m_mutex);
    const bool known = (list == 0 || list == 1) && record != nullptr && index >= 0 &&
                       static_cast<std::size_t>(index) < m_listed[list].size();
    if (known) {
        *record = m_listed[list][static_cast<std::size_t>(index)];
    }
    Record(MakeCall("GetDeviceById", list, index, known ? 0 : kFailed));
    return known ? 0 : kFailed;
}

bool SimulatedAudioConfLib::Listed(const AudioDeviceRecord& device) const {
    for (const auto& list : m_listed) {
        if (std::find(list.begin(), list.end(), device) != list.end()) {
            return true;
        }
    }
    return false;
}

int SimulatedAudioConfLib::PropertyControl(AudioDeviceRecord device, std::string_view property,
                                           std::uint8_t** value, std::uint8_t** parameter,
                                           int write) {
    std::unique_lock lock(m_mutex);
    Call call = MakeCall("PropertyControl");
    call.device = device;
    call.property = std::string(property);
    call.write = write;
    if (parameter != nullptr && *parameter != nullptr) {
        call.hasParameter = true;
        for (int i = 0; i < 3; ++i) {
            call.parameter.push_back(devices::BufferInt(*parameter + 4 * i));
        }
    }
    int result = kFailed;
    const auto failing = m_failing.find(call.property);
    const bool injected = failing != m_failing.end() && failing->second != 0;
    if (injected && failing->second > 0) {
        --failing->second;
    }
    if (value != nullptr && *value != nullptr && Listed(device) && !injected) {
        const auto key = std::make_pair(device.id, call.property);
        if (write == devices::kPropertyWrite) {
            m_values[key] = TakesFloat(property) ? devices::AnswerText(devices::BufferFloat(*value))
                                                 : std::to_string(devices::BufferInt(*value));
            result = 0;
        } else if (const auto kept = m_values.find(key); kept != m_values.end()) {
            devices::PutAnswerText(*value, kept->second);
            call.answer = kept->second;
            result = 0;
        }
    }
    if (value != nullptr && *value != nullptr) {
        call.valueInt = devices::BufferInt(*value);
        call.valueFloat = devices::BufferFloat(*value);
    }
    call.result = result;
    Record(std::move(call));
    if (result == 0 && write == devices::kPropertyWrite) {
        Save();
    }
    return result;
}

void SimulatedAudioConfLib::SetDeviceChangeHandler(std::function<void()> handler) {
    std::lock_guard lock(m_mutex);
    m_handler = std::move(handler);
}

void SimulatedAudioConfLib::Record(Call call) {
    if (m_calls.size() >= kLogged) {
        m_calls.erase(m_calls.begin());
    }
    m_calls.push_back(std::move(call));
}

// --- Scripting -----------------------------------------------------------------------------------

void SimulatedAudioConfLib::SetInitResult(int result) {
    std::lock_guard lock(m_mutex);
    m_initResult = result;
}

void SimulatedAudioConfLib::SetDevices(int list, std::vector<AudioDeviceRecord> records) {
    std::lock_guard lock(m_mutex);
    if (list == 0 || list == 1) {
        m_scripted[list] = std::move(records);
    }
}

void SimulatedAudioConfLib::Unplug() {
    std::function<void()> handler;
    {
        std::lock_guard lock(m_mutex);
        for (int list = 0; list < 2; ++list) {
            if (!m_scripted[list].empty()) {
                m_unplugged[list] = m_scripted[list];
            }
            m_scripted[list].clear();
        }
        handler = m_handler;
    }
    if (handler) {
        handler();
    }
}

void SimulatedAudioConfLib::Plug() {
    std::function<void()> handler;
    {
        std::lock_guard lock(m_mutex);
        for (int list = 0; list < 2; ++list) {
            if (m_scripted[list].empty()) {
                m_scripted[list] = m_unplugged[list];
            }
        }
        handler = m_handler;
    }
    if (handler) {
        handler();
    }
}

void SimulatedAudioConfLib::SetValue(std::int32_t device, const std::string& property,
                                     const std::string& answer) {
    std::lock_guard lock(m_mutex);
    m_values[{device, property}] = answer;
}

void SimulatedAudioConfLib::RemoveValue(std::int32_t device, const std::string& property) {
    std::lock_guard lock(m_mutex);
    m_values.erase({device, property});
}

std::optional<std::string> SimulatedAudioConfLib::Value(std::int32_t device,
                                                        const std::string& property) const {
    std::lock_guard lock(m_mutex);
    const auto kept = m_values.find({device, property});
    return kept == m_values.end() ? std::nullopt : std::optional<std::string>(kept->second);
}

void SimulatedAudioConfLib::FailProperty(const std::string& property, int times) {
    std::lock_guard lock(m_mutex);
    m_failing[property] = times;
}

std::vector<SimulatedAudioConfLib::Call> SimulatedAudioConfLib::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::vector<SimulatedAudioConfLib::Call>
SimulatedAudioConfLib::CallsOf(const std::string& property) const {
    std::lock_guard lock(m_mutex);
    std::vector<Call> calls;
    std::copy_if(m_calls.begin(), m_calls.end(), std::back_inserter(calls),
                 [&](const Call& call) { return call.property == property; });
    return calls;
}

void SimulatedAudioConfLib::ClearCalls() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

// --- Keeping the values --------------------------------------------------------------------------

void SimulatedAudioConfLib::KeepIn(const std::filesystem::path& file) {
    std::lock_guard lock(m_mutex);
    m_keepFile = file;
    const Json::Value kept = profiles::ReadJsonFile(file);
    if (!kept.isObject()) {
        return; // missing or damaged: the factory values stay
    }
    for (const std::string& name : kept.getMemberNames()) {
        const std::size_t slash = name.find('/');
        const Json::Value& answer = kept[name];
        if (slash == std::string::npos || !answer.isString()) {
            continue;
        }
        const auto device = static_cast<std::int32_t>(std::atoi(name.substr(0, slash).c_str()));
        m_values[{device, name.substr(slash + 1)}] = answer.asString();
    }
}

void SimulatedAudioConfLib::Save() const {
    if (m_keepFile.empty()) {
        return;
    }
    Json::Value kept(Json::objectValue);
    for (const auto& [key, answer] : m_values) {
        kept[Key(key.first, key.second)] = answer;
    }
    std::error_code error;
    std::filesystem::create_directories(m_keepFile.parent_path(), error);
    profiles::WriteJsonFile(kept, m_keepFile);
}

} // namespace q407::sim
