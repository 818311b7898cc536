#pragma once

// The profile panel of a device page (control "DeviceProfileItem", content from
// "XML/CustomControlXML/DeviceProfile.xml"): the device's profiles in an editable combo, the
// profile commands, and the page's feature tabs. The profile files and "ProfileList.ini" are
// kept by q407::profiles::CProfileList; the panel carries out its operations and keeps the combo
// rows equal to the rows of the list file. It handles no notifications: the main window calls
// the operations below.
//
// The changing operations return CProfileList's results: 1 done, 0 refused (a rule forbids it),
// -1 a write failed (the files stay consistent and the combo shows what the list file holds).

#include "editors/EditorPanel.h"

#include <filesystem>
#include <memory>
#include <string>

class QComboBox;

namespace q407::profiles {
class CProfileList;
}

namespace q407::editors {

class CDeviceProfileUI : public CEditorPanel {
    Q_OBJECT
public:
    static constexpr int kFeatureTabCount = 9;

    explicit CDeviceProfileUI(QWidget* parent = nullptr);
    ~CDeviceProfileUI() override;

    void SetDeviceKind(int kind);
    int GetDeviceKind() const { return m_kind; }
    void SetProfilePaths(const std::filesystem::path& profileFolder,
                         const std::filesystem::path& defaultProfileFile);

    // Creates the list (one profile "Profile1" from the default profile file) when the folder
    // has none, fills the combo, selects the stored selection and shows the feature tabs of the
    // device kind.
    int InitProfiles();
    // Selects feature tab n: 1 lighting, 2 keys, 3 macros, 4 system, 5 cursor, 6 headset audio,
    // 7 voice changer, 9 about, 10 virtual 7.1; any other n selects none. Nothing happens when a
    // tab is missing from the skin.
    void SelectFeatureTab(int n);
    // The selected feature tab by the numbers above; 0 when none is selected.
    int GetSelectedFeatureTab() const;

    // Fills the combo again from the list file and selects the stored selection.
    void ReloadProfileCombo();
    // Takes the stored selection's UUID from the list file; touches no control.
    void RefreshSelectedUUID();
    // Selects a row (without a notification), shows its name and stores the selection.
    int SelectProfile(int row);
    int GetSelectedIndex() const;    // -1 without a combo or a selection
    int GetProfileItemCount() const; // -1 without a combo
    QString GetComboEditText() const;
    void SetProfileNameText(const QString& text);
    void ShowProfileMenu(bool show);
    bool IsProfileMenuVisible() const;

    // Walking every stored profile: the count rereads the list, the paths come from that read.
    int GetStoredProfileCount();
    std::filesystem::path GetStoredProfilePath(int index) const;
    std::string GetSelectedUUID() const;
    // The selected profile's file; empty when there is none.
    std::filesystem::path GetSelectedProfilePath() const;

    // New profiles are added at the end and not selected.
    int AddProfile();
    int CopyProfile();
    // Removes the selected profile and selects the one before it (row 0 stays row 0); the combo
    // then raises "itemselect" with the new row so the new selection is applied.
    int DeleteProfile();
    int ImportProfile(const std::filesystem::path& path);
    int ExportProfile(const std::filesystem::path& path);
    // 2 for an empty or blank name, 0 when another row has the name (letter case ignored), 1
    // renamed, -1 a write failed.
    int RenameProfile(const QString& name);
    int ResetProfileFile();

    // The list behind the panel; nullptr before SetProfilePaths.
    q407::profiles::CProfileList* ProfileList() const { return m_list.get(); }

private:
    QComboBox* Combo() const;
    // Makes the combo rows equal to the list file's rows and selects `row`, without
    // notifications; only rows whose text differs are touched, so an edit in progress keeps its
    // cursor.
    void SyncRows(int row);
    void ShowFeatureTabsOfKind();
    void MakeList();
    // Makes the list's selection the combo's selected row; false without a selection.
    bool FollowCombo();

    int m_kind = 0;
    std::filesystem::path m_folder;
    std::filesystem::path m_defaultFile;
    std::unique_ptr<q407::profiles::CProfileList> m_list;
};

// True when the file can be imported as a profile: it parses as a JSON object with non-null
// "profilename" and "profileUUID".
bool ImportableProfileFile(const std::filesystem::path& path);

} // namespace q407::editors
