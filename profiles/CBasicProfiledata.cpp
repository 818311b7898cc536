#include "profiles/CBasicProfiledata.h"

#include "profiles/JsonFile.h"
#include "profiles/Names.h"
#include "profiles/RecordFields.h"

#include <algorithm>
#include <chrono>

namespace q407::profiles {
namespace {

using detail::FieldSpec;
using detail::ReadAs;

const std::array<FieldSpec<LightInfo, std::uint8_t>, 11> kLightInfoFields{{
    {"SelectItem", &LightInfo::mode},
    {"Light", &LightInfo::brightness},
    {"Speed", &LightInfo::speed},
    {"Fx", &LightInfo::direction},
    {"MultiColor", &LightInfo::multiColor, ReadAs::Bool},
    {"Red", &LightInfo::red},
    {"Green", &LightInfo::green},
    {"Blue", &LightInfo::blue},
    {"ZZCCLedMode", &LightInfo::secondaryMode},
    {"CustomGroup", &LightInfo::customGroup},
    {"OldLedmode", &LightInfo::previousMode},
}};

const std::array<FieldSpec<AudioLightInfo, std::uint8_t>, 9> kAudioLightFields{{
    {"AudioMode", &AudioLightInfo::audioMode},
    {"BkColorR", &AudioLightInfo::backgroundRed},
    {"BkColorG", &AudioLightInfo::backgroundGreen},
    {"BkColorB", &AudioLightInfo::backgroundBlue},
    {"FgColorR", &AudioLightInfo::foregroundRed},
    {"FgColorG", &AudioLightInfo::foregroundGreen},
    {"FgColorB", &AudioLightInfo::foregroundBlue},
    {"7ColorFlags", &AudioLightInfo::sevenColours, ReadAs::Bool},
    {"ColorTypeFlags", &AudioLightInfo::colourType, ReadAs::Bool},
}};

const std::array<FieldSpec<LightListEntry, std::uint8_t>, 8> kLightListFields{{
    {"LEDREGMode", &LightListEntry::mode},
    {"LEDBrightness", &LightListEntry::brightness},
    {"LEDSpeed", &LightListEntry::speed},
    {"LEDDirection", &LightListEntry::direction, ReadAs::Bool},
    {"LEDMultiColor", &LightListEntry::multiColor, ReadAs::Bool},
    {"red", &LightListEntry::red},
    {"green", &LightListEntry::green},
    {"blue", &LightListEntry::blue},
}};

const std::array<FieldSpec<LedEffectStep, std::uint8_t>, 8> kEffectStepBytes{{
    {"LEDREGMode", &LedEffectStep::mode},
    {"LEDBrightness", &LedEffectStep::brightness},
    {"LEDSpeed", &LedEffectStep::speed},
    {"LEDDirection", &LedEffectStep::direction},
    {"LEDMultiColor", &LedEffectStep::multiColor},
    {"red", &LedEffectStep::red},
    {"green", &LedEffectStep::green},
    {"blue", &LedEffectStep::blue},
}};

const std::array<FieldSpec<LedEffectStep, std::int32_t>, 2> kEffectStepTimes{{
    {"Time", &LedEffectStep::time},
    {"Cyle", &LedEffectStep::cycle},
}};

std::vector<KeyAssignmentEntry> ReadKeyList(const Json::Value& entry) {
    std::vector<KeyAssignmentEntry> keys;
    const Json::Value& list = Member(entry, "KeyList");
    if (!list.isArray()) {
        return keys;
    }
    keys.reserve(list.size());
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        KeyAssignmentEntry key;
        key.keyIndex = static_cast<std::uint16_t>(i);
        key.defaultKeyIndex = key.keyIndex;
        key.assignment = KeyFunctionFromInt(AsInt(Member(list[i], "Assignment")));
        key.defaultAssignment = KeyFunctionFromInt(AsInt(Member(list[i], "DefaultAssignment")));
        keys.push_back(key);
    }
    return keys;
}

// Only the current assignments are written; the defaults are the factory's.
void WriteAssignments(Json::Value& entry, const std::vector<KeyAssignmentEntry>& keys) {
    Json::Value& list = MutableMember(entry, "KeyList");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        MutableMember(MutableElement(list, static_cast<Json::ArrayIndex>(i)), "Assignment") =
            KeyFunctionToInt(keys[i].assignment);
    }
}

bool KeepsDamagedFile(const JsonDocument& file) {
    if (file.state == JsonFileState::Invalid) {
        return true;
    }
    if (file.state != JsonFileState::Ok || file.value.isNull()) {
        return false;
    }
    if (!file.value.isObject()) {
        return true;
    }
    const Json::Value& devices = Member(file.value, "Device");
    return !devices.isNull() && !devices.isArray();
}

} // namespace

CBasicProfiledata::CBasicProfiledata() = default;
CBasicProfiledata::~CBasicProfiledata() = default;

bool CBasicProfiledata::SaveProfile() {
    if (m_profilePath.empty()) {
        return false;
    }
    return WriteDeviceEntry(m_root, m_profilePath);
}

bool CBasicProfiledata::WriteDeviceEntry(const Json::Value& entry,
                                         const std::filesystem::path& path) {
    if (Member(entry, "KeyList").isNull()) {
        return false;
    }
    JsonDocument current = ReadJsonDocument(path);
    // A damaged file is never overwritten without being kept; what is left of an object (its
    // name and UUID among it) goes into the new file.
    if (KeepsDamagedFile(current) && !SetAsideDamagedFile(path)) {
        return false;
    }
    Json::Value& file = current.value;
    MutableElement(MutableMember(file, "Device"), static_cast<Json::ArrayIndex>(m_deviceIndex)) =
        entry;
    return WriteJsonFile(file, path);
}

bool CBasicProfiledata::SaveOtherProfile(const std::filesystem::path& path) {
    return WriteDeviceEntry(m_otherRoot, path);
}

bool CBasicProfiledata::WriteJsonFile(const Json::Value& value, const std::filesystem::path& path) {
    return profiles::WriteJsonFile(value, path);
}

void CBasicProfiledata::SetProfilePath(const std::filesystem::path& path) {
    if (!path.empty()) {
        m_profilePath = path;
    }
}

void CBasicProfiledata::SetDefaultPath(const std::filesystem::path& path) {
    if (!path.empty()) {
        m_defaultPath = path;
    }
}

void CBasicProfiledata::SetDeviceIndex(int index) {
    if (index >= 0 && index <= kMaxDeviceIndex) {
        m_deviceIndex = index;
    }
}

Json::Value CBasicProfiledata::LoadEntry(const std::filesystem::path& path) {
    const auto index = static_cast<Json::ArrayIndex>(m_deviceIndex);
    JsonDocument file = ReadJsonDocument(path);
    Json::Value entry = Element(Member(file.value, "Device"), index);
    if (!entry.isNull()) {
        return entry;
    }
    entry = Element(Member(ReadJsonFile(m_defaultPath), "Device"), index);
    // The default file is never written, and a damaged file stays on disk untouched until the
    // user changes something; only a missing entry of a sound file is filled in.
    if (!entry.isNull() && path != m_defaultPath && !KeepsDamagedFile(file)) {
        MutableElement(MutableMember(file.value, "Device"), index) = entry;
        WriteJsonFile(file.value, path);
    }
    return entry;
}

Json::Value CBasicProfiledata::LoadProfile(const std::filesystem::path& path) {
    m_root = LoadEntry(path);
    return m_root;
}

Json::Value CBasicProfiledata::LoadOtherProfile(const std::filesystem::path& path) {
    m_otherRoot = LoadEntry(path);
    return m_otherRoot;
}

Json::Value CBasicProfiledata::LoadLightConfig(const std::filesystem::path& path) {
    m_lightConfigRoot = ReadJsonFile(path);
    return m_lightConfigRoot;
}

LightInfo CBasicProfiledata::GetLightInfo() {
    const Json::Value& object = Member(m_root, "LightInfo");
    if (object.isNull()) {
        m_lightInfo = m_defaultLightInfo;
    } else {
        detail::ReadFields(object, m_lightInfo, kLightInfoFields);
    }
    return m_lightInfo;
}

void CBasicProfiledata::SetLightInfo(const LightInfo& info) {
    m_lightInfo = info;
    detail::WriteFields(MutableMember(m_root, "LightInfo"), info, kLightInfoFields);
}

AudioLightInfo CBasicProfiledata::GetAudioLightInfo() {
    // A missing object reads as all zeros.
    detail::ReadFields(Member(m_root, "AudioLightInfo"), m_audioLightInfo, kAudioLightFields);
    return m_audioLightInfo;
}

void CBasicProfiledata::SetAudioLightInfo(const AudioLightInfo& info) {
    m_audioLightInfo = info;
    detail::WriteFields(MutableMember(m_root, "AudioLightInfo"), info, kAudioLightFields);
}

std::vector<LightListEntry> CBasicProfiledata::GetLightList() {
    m_lightList.clear();
    const Json::Value& list = Member(m_root, "LightList");
    if (list.isArray()) {
        for (const Json::Value& element : list) {
            LightListEntry zone;
            if (!element.isNull()) {
                detail::ReadFields(element, zone, kLightListFields);
                zone.valid = 1;
            }
            m_lightList.push_back(zone);
        }
    }
    return m_lightList;
}

std::vector<LedEffectStep> CBasicProfiledata::GetLedEffect() {
    const int mode = m_lightInfo.mode;
    if (mode < m_firstCustomLightMode) {
        return m_ledEffect;
    }
    const Json::Value& saved =
        Element(Element(Member(m_lightConfigRoot, "LightInfo"),
                        static_cast<Json::ArrayIndex>(m_deviceIndex)),
                static_cast<Json::ArrayIndex>(mode - m_firstCustomLightMode));
    const std::string guid = AsString(Member(saved, "Guid"));
    m_ledEffect.clear();
    if (!IsSafeFileStem(guid)) {
        return m_ledEffect;
    }
    const auto folder =
        m_lightEffectFolder.empty() ? m_lightConfigPath.parent_path() : m_lightEffectFolder;
    const Json::Value effect = ReadJsonFile(folder / (guid + ".light"));
    const Json::Value& steps = Member(effect, "LEDEffectList");
    if (steps.isArray()) {
        for (const Json::Value& element : steps) {
            LedEffectStep step;
            detail::ReadFields(element, step, kEffectStepBytes);
            detail::ReadFields(element, step, kEffectStepTimes);
            m_ledEffect.push_back(step);
        }
    }
    return m_ledEffect;
}

std::vector<KeyAssignmentEntry> CBasicProfiledata::GetKeyList() {
    m_keyList = ReadKeyList(m_root);
    return m_keyList;
}

std::vector<KeyAssignmentEntry> CBasicProfiledata::GetOtherKeyList() {
    m_otherKeyList = ReadKeyList(m_otherRoot);
    return m_otherKeyList;
}

void CBasicProfiledata::SetKeyAssignments(const std::vector<KeyAssignmentEntry>& keys) {
    m_keyList = keys;
    WriteAssignments(m_root, keys);
}

void CBasicProfiledata::SetOtherKeyAssignments(const std::vector<KeyAssignmentEntry>& keys) {
    m_otherKeyList = keys;
    WriteAssignments(m_otherRoot, keys);
}

void CBasicProfiledata::SetRawBlock(std::span<const std::uint8_t> block) {
    RawBlock& target = m_rawBlocks[1];
    target.fill(0);
    std::copy_n(block.begin(), std::min(block.size(), target.size()), target.begin());
}

Json::Value CBasicProfiledata::ReadJsonFile(const std::filesystem::path& path) {
    return profiles::ReadJsonFile(path);
}

std::string CBasicProfiledata::MakeTimestampName() {
    return profiles::MakeTimestampName(std::chrono::system_clock::now());
}

} // namespace q407::profiles
