// The profile panel built from the real skin, on a real profile folder: every profile command
// keeps the combo rows equal to the rows of "ProfileList.ini", names stay unique without regard
// to letter case, the limits hold, and the feature tabs follow the device kind.

#include "PanelFixture.h"
#include "profiles/CProfileList.h"
#include "profiles/JsonFile.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <filesystem>
#include <json/value.h>

namespace q407::editors::test {
namespace {

namespace fs = std::filesystem;
using q407::profiles::CProfileList;
using q407::profiles::ReadJsonFile;
using q407::profiles::WriteJsonFile;

constexpr int kKeyboard = 1;
constexpr int kMouse = 2;
constexpr int kMousePad = 3;
constexpr int kHeadset = 7;

const char* const kTabs[] = {"deng_Op_tab",   "key_Op_tab",    "macro_Op_tab",
                             "system_Op_tab", "cursor_Op_tab", "6533_voice_Op_tab",
                             "magic_Op_tab",  "About_Op_tab",  "Virtual7.1_Op_tab"};

fs::path DefaultProfile(const char* name) {
    return q407::paths::DataDir() / "DefaultData" / name;
}

class DeviceProfileTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        folder = fs::path(m_dir.path().toStdString()) / "Q407" / "Mouse";
    }

    // A panel set up the way a device page sets it up.
    void Start(int kind = kMouse, const char* defaults = "Mouse.Json") {
        profile->SetDeviceKind(kind);
        profile->SetProfilePaths(folder, DefaultProfile(defaults));
        ASSERT_EQ(profile->InitProfiles(), CProfileList::kDone);
    }

    Json::Value List() const { return ReadJsonFile(folder / "ProfileList.ini"); }
    int StoredSelection() const { return List()["profileselect"].asInt(); }

    std::vector<std::string> FileRows() const {
        std::vector<std::string> rows;
        const Json::Value list = List();
        for (const auto& entry : list["profilelist"]) {
            rows.push_back(entry["profilename"].asString());
        }
        return rows;
    }
    std::vector<std::string> ComboRows() const {
        auto* combo = Combo();
        std::vector<std::string> rows;
        for (int row = 0; row < combo->count(); ++row) {
            rows.push_back(combo->itemText(row).toStdString());
            EXPECT_EQ(combo->itemData(row).toString(), combo->itemText(row)) << row;
        }
        return rows;
    }
    // The combo shows exactly the list file's rows, in its order.
    void ExpectInStep() const { EXPECT_EQ(ComboRows(), FileRows()); }

    fs::path ProfileFileOfRow(int row) const {
        return folder / (List()["profilelist"][row]["profileUUID"].asString() + ".Json");
    }
    QComboBox* Combo() const { return Find<QComboBox>(profile, "device_profile_combo"); }
    QString NameShown() const { return Find<QLabel>(profile, "device_profile_name_edit")->text(); }

    // Makes the profiles named `names` (the first one renames Profile1).
    void MakeRows(const std::vector<QString>& names) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (i > 0) {
                ASSERT_EQ(profile->AddProfile(), CProfileList::kDone);
            }
            ASSERT_EQ(profile->SelectProfile(static_cast<int>(i)), CProfileList::kDone);
            ASSERT_EQ(profile->RenameProfile(names[i]), CProfileList::kDone);
        }
    }

    fs::path WriteImportFile(const char* name, const Json::Value& document) const {
        const fs::path path = fs::path(m_dir.path().toStdString()) / name;
        EXPECT_TRUE(WriteJsonFile(document, path));
        return path;
    }

    fs::path folder;

private:
    QTemporaryDir m_dir;
};

TEST_F(DeviceProfileTest, FirstStartCreatesProfile1FromTheDefaults) {
    Start();
    const Json::Value list = List();
    ASSERT_EQ(list["profilelist"].size(), 1u);
    EXPECT_EQ(list["profilelist"][0]["profilename"].asString(), "Profile1");
    EXPECT_EQ(list["profilelist"][0]["profileislink"].asInt(), 0);
    EXPECT_EQ(list["profilelist"][0]["profilelinkmame"].asString(), "");
    EXPECT_EQ(list["profileselect"].asInt(), 0);

    const std::string uuid = list["profilelist"][0]["profileUUID"].asString();
    EXPECT_EQ(profile->GetSelectedUUID(), uuid);
    EXPECT_EQ(profile->GetSelectedProfilePath(), folder / (uuid + ".Json"));
    Json::Value document = ReadJsonFile(folder / (uuid + ".Json"));
    EXPECT_EQ(document["profilename"].asString(), "Profile1");
    EXPECT_EQ(document["profileUUID"].asString(), uuid);
    Json::Value defaults = ReadJsonFile(DefaultProfile("Mouse.Json"));
    defaults["profilename"] = "Profile1";
    defaults["profileUUID"] = uuid;
    EXPECT_EQ(document, defaults);

    EXPECT_EQ(profile->GetProfileItemCount(), 1);
    EXPECT_EQ(profile->GetSelectedIndex(), 0);
    EXPECT_EQ(profile->GetComboEditText(), QStringLiteral("Profile1"));
    EXPECT_EQ(NameShown(), QStringLiteral("Profile1"));
    EXPECT_TRUE(window.received.empty());

    // A second start finds the list and keeps it.
    const auto rows = FileRows();
    ASSERT_EQ(profile->InitProfiles(), CProfileList::kDone);
    EXPECT_EQ(FileRows(), rows);
    EXPECT_EQ(profile->GetProfileItemCount(), 1);
}

TEST_F(DeviceProfileTest, NewProfilesTakeTheFirstFreeNumber) {
    Start();
    MakeRows({QStringLiteral("Profile1"), QStringLiteral("profile3")});
    ASSERT_EQ(profile->SelectProfile(0), CProfileList::kDone);
    ASSERT_EQ(profile->AddProfile(), CProfileList::kDone);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Profile1", "profile3", "Profile2"}));
    ExpectInStep();
    EXPECT_EQ(profile->GetSelectedIndex(), 0) << "a new profile is not selected";
    EXPECT_EQ(StoredSelection(), 0);

    ASSERT_EQ(profile->SelectProfile(1), CProfileList::kDone);
    ASSERT_EQ(profile->RenameProfile(QStringLiteral("PROFILE2")), CProfileList::kRefused)
        << "Profile2 exists";
    ASSERT_EQ(profile->DeleteProfile(), CProfileList::kDone);
    ASSERT_EQ(profile->SelectProfile(1), CProfileList::kDone);
    ASSERT_EQ(profile->RenameProfile(QStringLiteral("PROFILE2")), CProfileList::kDone);
    ASSERT_EQ(profile->AddProfile(), CProfileList::kDone);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Profile1", "PROFILE2", "Profile3"}));
    ExpectInStep();
    // Every new profile has a file of its own.
    EXPECT_NE(ProfileFileOfRow(1), ProfileFileOfRow(2));
    EXPECT_TRUE(fs::exists(ProfileFileOfRow(2)));
}

TEST_F(DeviceProfileTest, CopiesAreNamedUniquelyAndCarryTheSourceSettings) {
    Start();
    MakeRows({QStringLiteral("A"), QStringLiteral("A copy")});
    Json::Value source = ReadJsonFile(ProfileFileOfRow(0));
    source["Marker"] = "from A";
    ASSERT_TRUE(WriteJsonFile(source, ProfileFileOfRow(0)));

    ASSERT_EQ(profile->SelectProfile(0), CProfileList::kDone);
    ASSERT_EQ(profile->CopyProfile(), CProfileList::kDone);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"A", "A copy", "A copy copy"}));
    ExpectInStep();
    EXPECT_EQ(profile->GetSelectedIndex(), 0) << "the copy is not selected";
    const Json::Value copy = ReadJsonFile(ProfileFileOfRow(2));
    EXPECT_EQ(copy["Marker"].asString(), "from A");
    EXPECT_EQ(copy["profilename"].asString(), "A copy copy");
    EXPECT_EQ(copy["profileUUID"].asString(), List()["profilelist"][2]["profileUUID"].asString());
}

TEST_F(DeviceProfileTest, ImportsAreNamedAfterTheFileAndMadeUnique) {
    Start();
    Json::Value document = ReadJsonFile(DefaultProfile("Mouse.Json"));
    document["profilename"] = "Inside";
    document["profileUUID"] = "2020_01_01_00_00_00_000";
    const fs::path game = WriteImportFile("Game.json", document);
    ASSERT_TRUE(ImportableProfileFile(game));
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(profile->ImportProfile(game), CProfileList::kDone);
        ExpectInStep();
    }
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Profile1", "Game", "Game(1)", "Game(1)(2)"}));
    const Json::Value imported = ReadJsonFile(ProfileFileOfRow(1));
    EXPECT_EQ(imported["profilename"].asString(), "Game");
    EXPECT_NE(imported["profileUUID"].asString(), "2020_01_01_00_00_00_000");
    EXPECT_EQ(profile->GetSelectedIndex(), 0);
}

TEST_F(DeviceProfileTest, OnlyProfileDocumentsAreImportable) {
    Json::Value named(Json::objectValue);
    named["profilename"] = "x";
    named["profileUUID"] = "y";
    EXPECT_TRUE(ImportableProfileFile(WriteImportFile("ok.json", named)));

    Json::Value nullName = named;
    nullName["profilename"] = Json::Value();
    Json::Value noUuid = named;
    noUuid.removeMember("profileUUID");
    Json::Value array(Json::arrayValue);
    array.append(named);
    EXPECT_FALSE(ImportableProfileFile(WriteImportFile("nullname.json", nullName)));
    EXPECT_FALSE(ImportableProfileFile(WriteImportFile("nouuid.json", noUuid)));
    EXPECT_FALSE(ImportableProfileFile(WriteImportFile("array.json", array)));
    EXPECT_FALSE(ImportableProfileFile(folder / "missing.json"));
    const fs::path garbage = folder.parent_path() / "garbage.json";
    fs::create_directories(garbage.parent_path());
    ASSERT_TRUE(q407::profiles::WriteJsonFile(Json::Value("text"), garbage));
    EXPECT_FALSE(ImportableProfileFile(garbage));
}

TEST_F(DeviceProfileTest, DeletingSelectsTheRowBeforeAndAnnouncesIt) {
    Start();
    MakeRows({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
    const fs::path first = ProfileFileOfRow(0);
    ASSERT_EQ(profile->SelectProfile(0), CProfileList::kDone);
    window.received.clear();
    ASSERT_EQ(profile->DeleteProfile(), CProfileList::kDone);
    EXPECT_EQ(StoredSelection(), 0);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Two", "Three"}));
    ExpectInStep();
    EXPECT_FALSE(fs::exists(first));
    EXPECT_EQ(profile->GetSelectedIndex(), 0);
    EXPECT_EQ(NameShown(), QStringLiteral("Two"));
    EXPECT_EQ(profile->GetSelectedUUID(), List()["profilelist"][0]["profileUUID"].asString());
    // The selected profile changed, so the selection is announced even at the same row.
    auto selected = window.OfType(QStringLiteral("itemselect"));
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].sender, QStringLiteral("device_profile_combo"));
    EXPECT_EQ(selected[0].wParam, 0);

    ASSERT_EQ(profile->AddProfile(), CProfileList::kDone);
    ASSERT_EQ(profile->SelectProfile(2), CProfileList::kDone);
    window.received.clear();
    ASSERT_EQ(profile->DeleteProfile(), CProfileList::kDone);
    EXPECT_EQ(StoredSelection(), 1);
    EXPECT_EQ(profile->GetSelectedIndex(), 1);
    ExpectInStep();
    selected = window.OfType(QStringLiteral("itemselect"));
    ASSERT_EQ(selected.size(), 1u);
    EXPECT_EQ(selected[0].wParam, 1);

    ASSERT_EQ(profile->DeleteProfile(), CProfileList::kDone);
    const fs::path last = ProfileFileOfRow(0);
    window.received.clear();
    EXPECT_EQ(profile->DeleteProfile(), CProfileList::kRefused) << "the last profile stays";
    EXPECT_TRUE(fs::exists(last));
    EXPECT_EQ(profile->GetProfileItemCount(), 1);
    EXPECT_TRUE(window.received.empty());
}

TEST_F(DeviceProfileTest, RenamingChecksTheNameAndKeepsTheNewForm) {
    Start();
    MakeRows({QStringLiteral("Alpha"), QStringLiteral("Beta")});
    ASSERT_EQ(profile->SelectProfile(1), CProfileList::kDone);
    EXPECT_EQ(profile->RenameProfile(QStringLiteral("   ")), CProfileList::kBlankName);
    EXPECT_EQ(profile->RenameProfile(QString()), CProfileList::kBlankName);
    EXPECT_EQ(profile->RenameProfile(QStringLiteral("alpha")), CProfileList::kRefused);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Alpha", "Beta"}));

    EXPECT_EQ(profile->RenameProfile(QStringLiteral("BETA")), CProfileList::kDone);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Alpha", "BETA"}));
    ExpectInStep();
    EXPECT_EQ(NameShown(), QStringLiteral("BETA"));
    EXPECT_EQ(ReadJsonFile(ProfileFileOfRow(1))["profilename"].asString(), "BETA");

    // Typing in the combo's field renames as the main window does it: with the field's text.
    QLineEdit* edit = Combo()->lineEdit();
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("Beta 2"));
    edit->setCursorPosition(2);
    ASSERT_EQ(profile->RenameProfile(profile->GetComboEditText()), CProfileList::kDone);
    EXPECT_EQ(FileRows(), (std::vector<std::string>{"Alpha", "Beta 2"}));
    EXPECT_EQ(edit->text(), QStringLiteral("Beta 2"));
    EXPECT_EQ(edit->cursorPosition(), 2) << "renaming does not move the cursor of the field";
    EXPECT_EQ(Combo()->count(), 2) << "typing never adds a row";
}

TEST_F(DeviceProfileTest, AFailedWriteIsReportedAndTheComboShowsTheFile) {
    Start();
    // The profile file cannot be replaced while a folder stands in its place.
    const fs::path file = ProfileFileOfRow(0);
    fs::remove(file);
    fs::create_directories(file / "blocker");
    EXPECT_EQ(profile->RenameProfile(QStringLiteral("Renamed")), CProfileList::kWriteFailed);
    ExpectInStep();
}

TEST_F(DeviceProfileTest, NoMoreThanFiftyProfiles) {
    Start();
    for (int i = 1; i < CProfileList::kMaxProfiles; ++i) {
        ASSERT_EQ(profile->AddProfile(), CProfileList::kDone) << i;
    }
    ASSERT_EQ(profile->GetProfileItemCount(), 50);
    Json::Value document(Json::objectValue);
    document["profilename"] = "x";
    document["profileUUID"] = "y";
    const fs::path extra = WriteImportFile("Extra.json", document);
    EXPECT_EQ(profile->AddProfile(), CProfileList::kRefused);
    EXPECT_EQ(profile->CopyProfile(), CProfileList::kRefused);
    EXPECT_EQ(profile->ImportProfile(extra), CProfileList::kRefused);
    EXPECT_EQ(profile->GetProfileItemCount(), 50);
    EXPECT_EQ(FileRows().size(), 50u);
    ExpectInStep();
}

TEST_F(DeviceProfileTest, ResetKeepsOnlyTheHeadsetEqualiser) {
    folder = folder.parent_path() / "Headset";
    Start(kHeadset, "Headset.Json");
    Json::Value document = ReadJsonFile(ProfileFileOfRow(0));
    Json::Value& device = document["Device"][3];
    device["CustomEQNameInfo"].append("Mine");
    device["CustomEQHzValueInfo"].append(7);
    device["LightInfo"]["Red"] = 1;
    ASSERT_TRUE(WriteJsonFile(document, ProfileFileOfRow(0)));

    ASSERT_EQ(profile->ResetProfileFile(), CProfileList::kDone);
    const Json::Value reset = ReadJsonFile(ProfileFileOfRow(0));
    EXPECT_EQ(reset["Device"][3]["CustomEQNameInfo"][0].asString(), "Mine");
    EXPECT_EQ(reset["Device"][3]["CustomEQHzValueInfo"][0].asInt(), 7);
    const Json::Value defaults = ReadJsonFile(DefaultProfile("Headset.Json"));
    EXPECT_EQ(reset["Device"][3]["LightInfo"], defaults["Device"][3]["LightInfo"]);
    EXPECT_EQ(reset["profilename"].asString(), "Profile1");
}

TEST_F(DeviceProfileTest, ResetReturnsOtherKindsWhollyToTheDefaults) {
    Start();
    ASSERT_EQ(profile->RenameProfile(QStringLiteral("Mine")), CProfileList::kDone);
    Json::Value document = ReadJsonFile(ProfileFileOfRow(0));
    document["Extra"] = 5;
    ASSERT_TRUE(WriteJsonFile(document, ProfileFileOfRow(0)));
    ASSERT_EQ(profile->ResetProfileFile(), CProfileList::kDone);

    Json::Value expected = ReadJsonFile(DefaultProfile("Mouse.Json"));
    expected["profilename"] = "Mine";
    expected["profileUUID"] = profile->GetSelectedUUID();
    EXPECT_EQ(ReadJsonFile(ProfileFileOfRow(0)), expected);
}

TEST_F(DeviceProfileTest, ExportWritesTheSelectedProfile) {
    Start();
    MakeRows({QStringLiteral("First"), QStringLiteral("Second")});
    ASSERT_EQ(profile->SelectProfile(1), CProfileList::kDone);
    const fs::path target = folder.parent_path() / "out.json";
    ASSERT_EQ(profile->ExportProfile(target), CProfileList::kDone);
    EXPECT_EQ(ReadJsonFile(target), ReadJsonFile(ProfileFileOfRow(1)));
}

TEST_F(DeviceProfileTest, PanelsSharingAFolderSeeEachOthersChangesOnReload) {
    Start();
    CDeviceProfileUI other;
    other.SetDeviceKind(kMouse);
    other.SetProfilePaths(folder, DefaultProfile("Mouse.Json"));
    ASSERT_EQ(other.InitProfiles(), CProfileList::kDone);
    ASSERT_EQ(other.AddProfile(), CProfileList::kDone);
    ASSERT_EQ(other.SelectProfile(1), CProfileList::kDone);

    EXPECT_EQ(profile->GetProfileItemCount(), 1);
    profile->ReloadProfileCombo();
    ExpectInStep();
    EXPECT_EQ(profile->GetSelectedIndex(), 1) << "the stored selection";
    EXPECT_EQ(NameShown(), QStringLiteral("Profile2"));

    // The walk over every stored profile sees the same files.
    ASSERT_EQ(profile->GetStoredProfileCount(), 2);
    EXPECT_EQ(profile->GetStoredProfilePath(1), ProfileFileOfRow(1));
    EXPECT_EQ(profile->GetStoredProfilePath(2), fs::path());

    ASSERT_EQ(other.SelectProfile(0), CProfileList::kDone);
    profile->RefreshSelectedUUID();
    EXPECT_EQ(profile->GetSelectedUUID(), other.GetSelectedUUID());
    EXPECT_EQ(profile->GetSelectedIndex(), 1) << "refreshing the UUID touches no control";
}

TEST_F(DeviceProfileTest, FeatureTabsFollowTheDeviceKind) {
    struct Case {
        int kind;
        std::vector<const char*> shown;
    };
    const Case cases[] = {
        {kKeyboard, {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab", "About_Op_tab"}},
        {kMouse,
         {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab", "cursor_Op_tab",
          "About_Op_tab"}},
        {kMousePad, {"deng_Op_tab", "About_Op_tab"}},
        {kHeadset,
         {"deng_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "About_Op_tab", "Virtual7.1_Op_tab"}},
    };
    for (const auto& [kind, shown] : cases) {
        SetUp(); // a fresh panel from the skin for every kind
        folder = folder.parent_path() / std::to_string(kind);
        Start(kind);
        for (const char* tab : kTabs) {
            const bool expected = std::find_if(shown.begin(), shown.end(), [&](const char* name) {
                                      return std::string_view(name) == tab;
                                  }) != shown.end();
            EXPECT_EQ(!Find(profile, tab)->isHidden(), expected) << "kind " << kind << " " << tab;
        }
    }
}

TEST_F(DeviceProfileTest, SelectFeatureTabSelectsExactlyOneQuietly) {
    const std::pair<int, const char*> table[] = {
        {1, "deng_Op_tab"},   {2, "key_Op_tab"},    {3, "macro_Op_tab"},
        {4, "system_Op_tab"}, {5, "cursor_Op_tab"}, {6, "6533_voice_Op_tab"},
        {7, "magic_Op_tab"},  {9, "About_Op_tab"},  {10, "Virtual7.1_Op_tab"},
        {8, nullptr},         {0, nullptr},         {11, nullptr},
    };
    for (const auto& [n, selected] : table) {
        profile->SelectFeatureTab(2);
        profile->SelectFeatureTab(n);
        for (const char* tab : kTabs) {
            const bool expected = selected != nullptr && std::string_view(selected) == tab;
            EXPECT_EQ(Find<QAbstractButton>(profile, tab)->isChecked(), expected)
                << "n " << n << " " << tab;
        }
        EXPECT_EQ(profile->GetSelectedFeatureTab(), selected != nullptr ? n : 0);
    }
    EXPECT_TRUE(window.received.empty());

    // The tabs stay one group: a click on a tab takes the selection from the others.
    profile->SelectFeatureTab(1);
    Find<QAbstractButton>(profile, "macro_Op_tab")->click();
    EXPECT_FALSE(Find<QAbstractButton>(profile, "deng_Op_tab")->isChecked());
    EXPECT_EQ(profile->GetSelectedFeatureTab(), 3);

    // Without every tab nothing changes.
    delete Find(profile, "magic_Op_tab");
    profile->SelectFeatureTab(1);
    EXPECT_EQ(profile->GetSelectedFeatureTab(), 3);
}

TEST_F(DeviceProfileTest, ProfileMenuShowsAndHides) {
    EXPECT_FALSE(profile->IsProfileMenuVisible());
    profile->ShowProfileMenu(true);
    EXPECT_TRUE(profile->IsProfileMenuVisible());
    profile->ShowProfileMenu(false);
    EXPECT_FALSE(profile->IsProfileMenuVisible());
    for (const char* button : {"device_add_btn", "device_sub_btn", "device_copy_btn",
                               "device_import_btn", "device_export_btn", "device_reset_btn",
                               "device_profile_edit_save_btn", "profile_fun_spread_btn"}) {
        EXPECT_NE(Find<QAbstractButton>(profile, button), nullptr) << button;
    }
}

TEST_F(DeviceProfileTest, WithoutPathsOrComboNothingHappens) {
    EXPECT_EQ(profile->InitProfiles(), CProfileList::kRefused);
    EXPECT_EQ(profile->AddProfile(), CProfileList::kRefused);
    EXPECT_EQ(profile->GetStoredProfileCount(), 0);
    EXPECT_EQ(profile->GetSelectedUUID(), std::string());

    Start();
    delete Combo();
    EXPECT_EQ(profile->GetSelectedIndex(), -1);
    EXPECT_EQ(profile->GetProfileItemCount(), -1);
    EXPECT_EQ(profile->GetComboEditText(), QString());
    EXPECT_EQ(profile->AddProfile(), CProfileList::kRefused);
    EXPECT_EQ(profile->DeleteProfile(), CProfileList::kRefused);
    EXPECT_EQ(profile->SelectProfile(0), CProfileList::kRefused);
    EXPECT_EQ(FileRows().size(), 1u);
}

TEST_F(DeviceProfileTest, Screenshot) {
    Start();
    MakeRows({QStringLiteral("Competitive"), QStringLiteral("Everyday")});
    ASSERT_EQ(profile->SelectProfile(0), CProfileList::kDone);
    profile->ShowProfileMenu(true);
    profile->SelectFeatureTab(1);
    SaveScreenshot(profile, QStringLiteral("profile_panel"));
}

} // namespace
} // namespace q407::editors::test
