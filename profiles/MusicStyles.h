#pragma once

// The four music styles of the audio light and their file "AudioFile.json": a selected style,
// four names and four colours of three components 0-9. The file's "Device" object is the audio
// document the main window keeps; the styles live in its "AudioLightInfo" object.

#include <array>
#include <cstdint>
#include <filesystem>
#include <json/value.h>
#include <string>

namespace q407::profiles {

inline constexpr int kMusicStyleCount = 4;
inline constexpr int kMusicComponentMax = 9;

struct MusicStyleSet {
    int index = 0; // 0-3
    std::array<std::string, kMusicStyleCount> names{};
    std::array<std::array<int, 3>, kMusicStyleCount> colours{};

    bool operator==(const MusicStyleSet&) const = default;
};

// The name an emptied style name takes back ("第一组" ... "第四组").
std::string DefaultMusicStyleName(int style);

// The styles of an audio document ("Device"); missing or damaged values read as 0 or empty,
// indices and components are kept in their ranges.
MusicStyleSet MusicStylesFrom(const Json::Value& device);
// Writes the styles into the audio document's "AudioLightInfo", keeping its other members.
void WriteMusicStyles(const MusicStyleSet& styles, Json::Value& device);

// "AudioFile.json": the user copy and the default copy it is made from.
class AudioFile {
public:
    AudioFile(std::filesystem::path userFile, std::filesystem::path defaultFile);

    // The audio document of the user copy; when that has none, the default copy is read and
    // written as the user copy first (a damaged user copy is set aside). Null when neither has.
    void Load();
    // The default copy replaces the user copy (a device page was reset).
    void Reset();
    // Puts the styles into the audio document and writes it as the user copy's "Device",
    // keeping whatever else the user copy holds. False when the write failed.
    bool Save(const MusicStyleSet& styles);

    const Json::Value& Document() const { return m_device; }
    MusicStyleSet Styles() const { return MusicStylesFrom(m_device); }
    const std::filesystem::path& UserFile() const { return m_userFile; }

private:
    void TakeDefault();

    std::filesystem::path m_userFile;
    std::filesystem::path m_defaultFile;
    Json::Value m_device;
};

} // namespace q407::profiles
