#include "profiles/MusicStyles.h"

#include "profiles/JsonFile.h"

#include <algorithm>

namespace q407::profiles {
namespace {

constexpr std::array<const char*, kMusicStyleCount> kDefaultNames{"第一组", "第二组", "第三组",
                                                                  "第四组"};
constexpr std::array<char, 3> kComponents{'R', 'G', 'B'};

std::string ColourKey(char component, int style) {
    return std::string("nStyle") + component + std::to_string(style);
}

std::string NameKey(int style) {
    return "nStyleName" + std::to_string(style + 1);
}

} // namespace

std::string DefaultMusicStyleName(int style) {
    return style >= 0 && style < kMusicStyleCount ? kDefaultNames[static_cast<std::size_t>(style)]
                                                  : std::string();
}

MusicStyleSet MusicStylesFrom(const Json::Value& device) {
    const Json::Value& info = Member(device, "AudioLightInfo");
    MusicStyleSet styles;
    styles.index = std::clamp(AsInt(Member(info, "nAudioStyle")), 0, kMusicStyleCount - 1);
    for (int style = 0; style < kMusicStyleCount; ++style) {
        const auto s = static_cast<std::size_t>(style);
        styles.names[s] = AsString(Member(info, NameKey(style).c_str()));
        for (std::size_t c = 0; c < kComponents.size(); ++c) {
            styles.colours[s][c] =
                std::clamp(AsInt(Member(info, ColourKey(kComponents[c], style).c_str())), 0,
                           kMusicComponentMax);
        }
    }
    return styles;
}

void WriteMusicStyles(const MusicStyleSet& styles, Json::Value& device) {
    Json::Value& info = MutableMember(device, "AudioLightInfo");
    MutableMember(info, "nAudioStyle") = styles.index;
    for (int style = 0; style < kMusicStyleCount; ++style) {
        const auto s = static_cast<std::size_t>(style);
        MutableMember(info, NameKey(style).c_str()) = styles.names[s];
        for (std::size_t c = 0; c < kComponents.size(); ++c) {
            MutableMember(info, ColourKey(kComponents[c], style).c_str()) = styles.colours[s][c];
        }
    }
}

AudioFile::AudioFile(std::filesystem::path userFile, std::filesystem::path defaultFile)
    : m_userFile(std::move(userFile)), m_defaultFile(std::move(defaultFile)) {}

void AudioFile::Load() {
    const JsonDocument user = ReadJsonDocument(m_userFile);
    m_device = Member(user.value, "Device");
    if (!m_device.isNull()) {
        return;
    }
    // A damaged copy is kept aside rather than overwritten.
    if (user.state == JsonFileState::Invalid) {
        SetAsideDamagedFile(m_userFile);
    }
    TakeDefault();
}

void AudioFile::Reset() {
    TakeDefault();
}

void AudioFile::TakeDefault() {
    const Json::Value defaults = ReadJsonFile(m_defaultFile);
    m_device = Member(defaults, "Device");
    if (!defaults.isNull()) {
        WriteJsonFile(defaults, m_userFile);
    }
}

bool AudioFile::Save(const MusicStyleSet& styles) {
    WriteMusicStyles(styles, m_device);
    Json::Value file = ReadJsonFile(m_userFile);
    MutableMember(file, "Device") = m_device;
    return WriteJsonFile(file, m_userFile);
}

} // namespace q407::profiles
