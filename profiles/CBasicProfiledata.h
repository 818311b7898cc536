#pragma once

// The in-memory form of the selected profile of one device page, with the JSON documents it was
// read from. It reads and writes the profile file (a JSON object whose "Device" array holds one
// entry per device kind), falls back to the default profile file for a missing entry, and
// converts between the entry's members and the fixed-layout records. No device I/O, no UI.
//
// Setters change the in-memory entry only; nothing reaches the disk before SaveProfile. Getters
// read the entry (never the disk), keep what they read and return it.

#include "profiles/ProfileRecords.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <json/value.h>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace q407::profiles {

// The page's copy of its device identity, kept with the profile for the page's use.
struct ProfileIdentity {
    std::array<std::uint16_t, 3> numbers{};
    std::array<std::string, 4> texts;
};

class CBasicProfiledata {
public:
    static constexpr std::size_t kRawBlockCount = 7;
    // The pages use indexes 0-3; anything far beyond is a programming error, not a file layout.
    static constexpr int kMaxDeviceIndex = 63;
    static constexpr std::size_t kRawBlockSize = 512;
    using RawBlock = std::array<std::uint8_t, kRawBlockSize>;

    CBasicProfiledata();
    virtual ~CBasicProfiledata();
    CBasicProfiledata(const CBasicProfiledata&) = delete;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

    // Writes the entry into the profile file at the profile path. False when nothing was
    // written: the entry has no "KeyList", or the write failed (the old file is then intact).
    virtual bool SaveProfile();
    // Reads the file at `path`, puts `entry` at this device's index of its "Device" array and
    // writes the file back. Entries without a "KeyList" are never written (false).
    virtual bool WriteDeviceEntry(const Json::Value& entry, const std::filesystem::path& path);
    // Writes the other profile's entry into the file at `path`, as SaveProfile does.
    virtual bool SaveOtherProfile(const std::filesystem::path& path);
    // Writes a whole document, styled, atomically.
    virtual bool WriteJsonFile(const Json::Value& value, const std::filesystem::path& path);

    // Paths and index. Empty paths are ignored by the two setters that say so.
    void SetProfilePath(const std::filesystem::path& path); // ignored when empty
    const std::filesystem::path& GetProfilePath() const { return m_profilePath; }
    void SetDefaultPath(const std::filesystem::path& path); // ignored when empty
    const std::filesystem::path& GetDefaultPath() const { return m_defaultPath; }
    void SetDeviceIndex(int index); // ignored outside 0..kMaxDeviceIndex
    int GetDeviceIndex() const { return m_deviceIndex; }
    void SetLightConfigPath(const std::filesystem::path& path) { m_lightConfigPath = path; }
    const std::filesystem::path& GetLightConfigPath() const { return m_lightConfigPath; }
    // Folder of the light effect files; the light configuration file's folder when not set.
    void SetLightEffectFolder(const std::filesystem::path& folder) { m_lightEffectFolder = folder; }
    void SetFirstCustomLightMode(int mode) { m_firstCustomLightMode = mode; }
    int GetFirstCustomLightMode() const { return m_firstCustomLightMode; }
    void SetDefaultLightInfo(const LightInfo& info) { m_defaultLightInfo = info; }

    // Reads this device's entry of the profile file at `path` into the entry and returns a copy.
    // A file that lacks the entry gets it from the default profile file and is written back;
    // a damaged or wrongly typed file is left as it is on disk (the default entry is only used).
    Json::Value LoadProfile(const std::filesystem::path& path);
    // The same for the other profile (used to copy key assignments from another profile).
    Json::Value LoadOtherProfile(const std::filesystem::path& path);
    Json::Value LoadLightConfig(const std::filesystem::path& path);

    const Json::Value& GetRoot() const { return m_root; }
    const Json::Value& GetOtherRoot() const { return m_otherRoot; }

    LightInfo GetLightInfo();
    void SetLightInfo(const LightInfo& info);
    AudioLightInfo GetAudioLightInfo();
    void SetAudioLightInfo(const AudioLightInfo& info);
    std::vector<LightListEntry> GetLightList();
    // The steps of the selected user-defined effect, when the light mode is one; otherwise the
    // steps last read.
    std::vector<LedEffectStep> GetLedEffect();

    std::vector<KeyAssignmentEntry> GetKeyList();
    std::vector<KeyAssignmentEntry> GetOtherKeyList();
    void SetKeyAssignments(const std::vector<KeyAssignmentEntry>& keys);
    void SetOtherKeyAssignments(const std::vector<KeyAssignmentEntry>& keys);

    void SetDeviceMap(const std::map<std::uint8_t, std::uint8_t>& map) { m_deviceMap = map; }
    const std::map<std::uint8_t, std::uint8_t>& GetDeviceMap() const { return m_deviceMap; }
    // Keeps the device's current key table (block 1 of the raw blocks); shorter data is padded
    // with zeros, longer data is cut at 512 bytes.
    void SetRawBlock(std::span<const std::uint8_t> block);
    const RawBlock& GetRawBlock(std::size_t index) const { return m_rawBlocks.at(index); }

    void SetIdentity(const ProfileIdentity& identity) { m_identity = identity; }
    const ProfileIdentity& GetIdentity() const { return m_identity; }

    static Json::Value ReadJsonFile(const std::filesystem::path& path);
    static std::string MakeTimestampName();

protected:
    // The entry, for the setters of the derived records.
    Json::Value& MutableRoot() { return m_root; }

private:
    Json::Value LoadEntry(const std::filesystem::path& path);

    std::filesystem::path m_profilePath;
    std::filesystem::path m_defaultPath;
    int m_firstCustomLightMode = 0;
    LightInfo m_lightInfo;
    LightInfo m_defaultLightInfo;
    AudioLightInfo m_audioLightInfo;
    std::vector<LightListEntry> m_lightList;
    ProfileIdentity m_identity;
    Json::Value m_root;
    Json::Value m_otherRoot;
    std::filesystem::path m_lightConfigPath;
    std::filesystem::path m_lightEffectFolder;
    std::vector<LedEffectStep> m_ledEffect;
    Json::Value m_lightConfigRoot;
    std::vector<KeyAssignmentEntry> m_keyList;
    std::vector<KeyAssignmentEntry> m_otherKeyList;
    std::map<std::uint8_t, std::uint8_t> m_deviceMap;
    std::array<RawBlock, kRawBlockCount> m_rawBlocks{};
    int m_deviceIndex = 0;
};

} // namespace q407::profiles
