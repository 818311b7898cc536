#pragma once

// The profile list of one device folder: "ProfileList.ini" (JSON despite its name) naming the
// device's profiles in display order, with the selected one, and the profile files it names
// (profile UUID + ".Json"). Every operation rereads the list file before it changes anything, so
// the file on disk is the reference and several users of one folder see each other's changes.
//
// The profile panel shows these rows in its combo; this class holds the panel's selected row.
//
// Writes never lose a file: each goes through an atomic replace, a new profile file is written
// before the list names it, and a profile file is deleted only after the list no longer names
// it. Identifiers read from the list are checked before they name a file, so an edited list
// cannot reach outside the folder.

#include "profiles/Names.h"

#include <filesystem>
#include <json/value.h>
#include <string>
#include <vector>

namespace q407::profiles {

struct ProfileRow {
    std::string name;
    std::string uuid;
};

class CProfileList {
public:
    static constexpr int kMaxProfiles = 50;

    // Results of the changing operations.
    static constexpr int kWriteFailed = -1; // a write failed; the files on disk are consistent
    static constexpr int kRefused = 0;      // a rule forbids it (limit, last profile, ...)
    static constexpr int kDone = 1;
    // Extra result of RenameProfile: the name is empty or white space only.
    static constexpr int kBlankName = 2;

    CProfileList(std::filesystem::path profileFolder, std::filesystem::path defaultProfileFile,
                 int kindCode);

    // Replaces the clock that makes profile UUIDs (tests).
    void SetClock(WallClock clock) { m_clock = std::move(clock); }

    const std::filesystem::path& GetProfileFolder() const { return m_folder; }
    std::filesystem::path GetListPath() const;

    // Creates the list when it is missing, empty or damaged (a damaged list is kept beside it as
    // ".bak"): with the profile files of the folder that name themselves (a crash may have left
    // them without a list), or else with one profile "Profile1" copied from the default profile
    // file. Then selects the stored selection (row 0 when the stored one is outside the list).
    int InitProfiles();

    // The rows as the list file holds them now.
    std::vector<ProfileRow> GetRows() const;
    int GetSelectedIndex() const { return m_selected; }
    const std::string& GetSelectedUUID() const { return m_selectedUuid; }

    // Selects a row: stores it as "profileselect" and takes its UUID. A damaged or missing
    // profile file of the row is first kept as ".bak" and replaced by the default profile under
    // the row's name and UUID.
    int SelectProfile(int row);
    // Rereads the list and takes the UUID of the stored selection; changes no file.
    void RefreshSelectedUUID();
    // The stored "profileselect" (row 0 when it is outside the list); changes no file. A panel
    // that reloads its rows selects this one.
    int GetStoredSelection() const;

    int AddProfile();
    int CopyProfile();
    int DeleteProfile();
    // kBlankName, kRefused when another row has the name (letter case ignored) or nothing is
    // selected, kDone, or kWriteFailed.
    int RenameProfile(const std::string& name);
    // Adds the profile file at `path` (a JSON object with "profilename" and "profileUUID") under
    // the name of the file, made unique with "(n)" suffixes.
    int ImportProfile(const std::filesystem::path& path);
    // Writes the selected profile's document to `path`.
    int ExportProfile(const std::filesystem::path& path);
    // Returns the selected profile to the default profile; a headset keeps its custom equaliser
    // curves and names.
    int ResetProfileFile();

    // Rereads the list for walking every stored profile.
    int GetStoredProfileCount();
    // Profile file of row `index` of the last GetStoredProfileCount; empty when there is no
    // such row or its UUID cannot name a file.
    std::filesystem::path GetStoredProfilePath(int index) const;

    // The profile file named by `uuid`, or an empty path when the UUID cannot name a file.
    std::filesystem::path ProfilePathOf(const std::string& uuid) const;

private:
    Json::Value ReadList() const;
    Json::Value EnsureList();
    std::string NewUuid(const Json::Value& list) const;
    // Appends the folder's own profile files to `list`; false when there are none.
    bool AdoptProfileFiles(Json::Value& list) const;
    int RepairProfileFile(const ProfileRow& row) const;
    // Writes `document` as the profile file of a new row, then appends the row to the list.
    int AppendProfile(Json::Value list, Json::Value document, const std::string& name);
    bool SelectedRowIn(const Json::Value& list) const;

    std::filesystem::path m_folder;
    std::filesystem::path m_defaultFile;
    int m_kindCode;
    WallClock m_clock;
    int m_selected = -1;
    std::string m_selectedUuid;
    Json::Value m_storedList;
};

} // namespace q407::profiles
