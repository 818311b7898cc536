#include "TempFolder.h"
#include "common/AtomicFile.h"
#include "profiles/CProfileList.h"
#include "profiles/DeviceKinds.h"
#include "profiles/JsonFile.h"

#include <atomic>

namespace q407::profiles {
namespace {

using namespace std::chrono;

class ProfileListTest : public testing::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directories(Folder());
        Write(Path("Default.Json"), R"({ "Device" : [ { "KeyList" : [], "Factory" : 1 } ] })");
    }

    std::filesystem::path Folder() const { return m_dir / "Mouse"; }

    CProfileList MakeList(int kind = kKindMouse) {
        CProfileList list(Folder(), Path("Default.Json"), kind);
        // Every profile is made "at the same millisecond": the names must stay unique anyway.
        list.SetClock([] { return system_clock::time_point(seconds(1709622489)); });
        return list;
    }

    Json::Value ListFile() const { return ReadJsonFile(Folder() / "ProfileList.ini"); }

    std::vector<std::string> Names(const CProfileList& list) const {
        std::vector<std::string> names;
        for (const auto& row : list.GetRows()) {
            names.push_back(row.name);
        }
        return names;
    }

    Json::Value ProfileOf(const CProfileList& list, int row) const {
        return ReadJsonFile(
            list.ProfilePathOf(list.GetRows().at(static_cast<std::size_t>(row)).uuid));
    }

    // Writes a list file with the given names (UUIDs p0, p1, ...) and their profile files.
    void WriteRows(const std::vector<std::string>& names, int selected = 0) {
        Json::Value list(Json::objectValue);
        for (std::size_t i = 0; i < names.size(); ++i) {
            Json::Value entry;
            entry["profilename"] = names[i];
            entry["profileUUID"] = "p" + std::to_string(i);
            list["profilelist"].append(entry);
            Json::Value profile;
            profile["profilename"] = names[i];
            profile["Device"][0]["KeyList"] = Json::Value(Json::arrayValue);
            profile["Device"][0]["Row"] = static_cast<int>(i);
            ASSERT_TRUE(WriteJsonFile(profile, Folder() / ("p" + std::to_string(i) + ".Json")));
        }
        list["profileselect"] = selected;
        ASSERT_TRUE(WriteJsonFile(list, Folder() / "ProfileList.ini"));
    }
};

TEST_F(ProfileListTest, FirstStartCreatesProfile1FromTheDefault) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    const Json::Value file = ListFile();
    ASSERT_EQ(file["profilelist"].size(), 1u);
    const Json::Value& entry = file["profilelist"][0];
    EXPECT_EQ(entry["profilename"].asString(), "Profile1");
    EXPECT_EQ(entry["profileislink"], Json::Value(0));
    EXPECT_EQ(entry["profilelinkmame"], Json::Value(""));
    EXPECT_EQ(file["profileselect"], Json::Value(0));
    EXPECT_EQ(list.GetSelectedIndex(), 0);
    EXPECT_EQ(list.GetSelectedUUID(), entry["profileUUID"].asString());

    const Json::Value profile = ProfileOf(list, 0);
    EXPECT_EQ(profile["profilename"].asString(), "Profile1");
    EXPECT_EQ(profile["profileUUID"], entry["profileUUID"]);
    EXPECT_EQ(profile["Device"][0]["Factory"].asInt(), 1);
    EXPECT_EQ(Read(Folder() / "ProfileList.ini").back(), '\n');
}

TEST_F(ProfileListTest, WithoutDefaultFileTheProfileHoldsOnlyItsNames) {
    CProfileList list(Folder(), Path("NoSuch.Json"), kKindMouse);
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    EXPECT_EQ(ProfileOf(list, 0).getMemberNames(),
              (std::vector<std::string>{"profileUUID", "profilename"}));
}

TEST_F(ProfileListTest, StoredSelectionOutsideTheListFallsBackToRowZero) {
    WriteRows({"A", "B"}, 7);
    CProfileList list = MakeList();
    EXPECT_EQ(list.GetStoredSelection(), 0);
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    EXPECT_EQ(list.GetSelectedIndex(), 0);
    EXPECT_EQ(ListFile()["profileselect"], Json::Value(0));
    WriteRows({"A", "B"}, 1);
    EXPECT_EQ(list.GetStoredSelection(), 1);
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    EXPECT_EQ(list.GetSelectedUUID(), "p1");
}

TEST_F(ProfileListTest, NewProfilesTakeTheFirstFreeNumberAndAreNotSelected) {
    WriteRows({"Profile1", "profile3"});
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.AddProfile(), CProfileList::kDone);
    EXPECT_EQ(Names(list).back(), "Profile2");
    EXPECT_EQ(list.GetSelectedIndex(), 0);
    EXPECT_EQ(ProfileOf(list, 2)["Device"][0]["Factory"].asInt(), 1);

    WriteRows({"Profile1", "PROFILE2"});
    ASSERT_EQ(list.AddProfile(), CProfileList::kDone);
    EXPECT_EQ(Names(list).back(), "Profile3");
}

TEST_F(ProfileListTest, ProfilesMadeInOneMillisecondGetTheirOwnFiles) {
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.AddProfile(), CProfileList::kDone);
    ASSERT_EQ(list.AddProfile(), CProfileList::kDone);
    const auto rows = list.GetRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[0].uuid, rows[1].uuid);
    EXPECT_NE(rows[1].uuid, rows[2].uuid);
    EXPECT_EQ(ProfileOf(list, 2)["profilename"].asString(), "Profile3");
    EXPECT_EQ(ProfileOf(list, 1)["profilename"].asString(), "Profile2");
}

TEST_F(ProfileListTest, CopiesAreNamedCopyCopyWhenTheNameIsTaken) {
    WriteRows({"A", "a copy"});
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.CopyProfile(), CProfileList::kDone);
    EXPECT_EQ(Names(list).back(), "A copy copy");
    const Json::Value copy = ProfileOf(list, 2);
    EXPECT_EQ(copy["Device"][0]["Row"].asInt(), 0) << "content of the selected profile";
    EXPECT_EQ(copy["profilename"].asString(), "A copy copy");
    EXPECT_EQ(copy["profileUUID"].asString(), list.GetRows()[2].uuid);
    EXPECT_EQ(list.GetSelectedIndex(), 0);
}

TEST_F(ProfileListTest, DeleteMovesTheSelectionAndRemovesTheFile) {
    WriteRows({"A", "B", "C"});
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.DeleteProfile(), CProfileList::kDone);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(ListFile()["profileselect"], Json::Value(0));
    EXPECT_FALSE(std::filesystem::exists(Folder() / "p0.Json"));
    EXPECT_EQ(list.GetSelectedUUID(), "p1");

    WriteRows({"A", "B", "C"});
    ASSERT_EQ(list.SelectProfile(2), CProfileList::kDone);
    ASSERT_EQ(list.DeleteProfile(), CProfileList::kDone);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ListFile()["profileselect"], Json::Value(1));
    EXPECT_EQ(list.GetSelectedIndex(), 1);
    EXPECT_FALSE(std::filesystem::exists(Folder() / "p2.Json"));
}

TEST_F(ProfileListTest, TheLastProfileIsNeverDeleted) {
    WriteRows({"Only"});
    CProfileList list = MakeList();
    list.InitProfiles();
    EXPECT_EQ(list.DeleteProfile(), CProfileList::kRefused);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Only"}));
    EXPECT_TRUE(std::filesystem::exists(Folder() / "p0.Json"));
}

TEST_F(ProfileListTest, DeleteKeepsAFileStillNamedByAnotherRow) {
    WriteRows({"A", "B"});
    Json::Value file = ListFile();
    file["profilelist"][1]["profileUUID"] = "p0"; // edited by hand: two rows share a file
    ASSERT_TRUE(WriteJsonFile(file, Folder() / "ProfileList.ini"));
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.DeleteProfile(), CProfileList::kDone);
    EXPECT_TRUE(std::filesystem::exists(Folder() / "p0.Json"));
}

TEST_F(ProfileListTest, RenameRules) {
    WriteRows({"Work", "Game"});
    CProfileList list = MakeList();
    list.InitProfiles();
    EXPECT_EQ(list.RenameProfile("   "), CProfileList::kBlankName);
    EXPECT_EQ(list.RenameProfile(""), CProfileList::kBlankName);
    EXPECT_EQ(list.RenameProfile("GAME"), CProfileList::kRefused);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Work", "Game"}));
    EXPECT_EQ(list.RenameProfile("WORK"), CProfileList::kDone) << "own name in other case";
    EXPECT_EQ(Names(list), (std::vector<std::string>{"WORK", "Game"}));
    EXPECT_EQ(ProfileOf(list, 0)["profilename"].asString(), "WORK");
    EXPECT_EQ(ProfileOf(list, 0)["Device"][0]["Row"].asInt(), 0) << "the rest is kept";
}

TEST_F(ProfileListTest, ImportsAreNamedAfterTheFileWithCountedSuffixes) {
    WriteRows({"Profile1"});
    Write(Path("Game.json"), R"({ "profilename" : "Inside", "profileUUID" : "x",
                                  "Device" : [ { "KeyList" : [], "Imported" : 1 } ] })");
    CProfileList list = MakeList();
    list.InitProfiles();
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(list.ImportProfile(Path("Game.json")), CProfileList::kDone);
    }
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Profile1", "Game", "Game(1)", "Game(1)(2)"}));
    const Json::Value imported = ProfileOf(list, 3);
    EXPECT_EQ(imported["profilename"].asString(), "Game(1)(2)");
    EXPECT_EQ(imported["profileUUID"].asString(), list.GetRows()[3].uuid);
    EXPECT_EQ(imported["Device"][0]["Imported"].asInt(), 1);
}

TEST_F(ProfileListTest, ImportRefusesFilesThatAreNoProfiles) {
    CProfileList list = MakeList();
    list.InitProfiles();
    Write(Path("nameless.json"), R"({ "profileUUID" : "x" })");
    Write(Path("broken.json"), R"({ "profilename" : )");
    Write(Path("array.json"), R"([ { "profilename" : "a", "profileUUID" : "x" } ])");
    for (const char* name : {"nameless.json", "broken.json", "array.json", "missing.json"}) {
        EXPECT_EQ(list.ImportProfile(Path(name)), CProfileList::kRefused) << name;
    }
    EXPECT_EQ(list.GetRows().size(), 1u);
}

TEST_F(ProfileListTest, FiftyProfilesAtMost) {
    CProfileList list = MakeList();
    list.InitProfiles();
    for (int i = 1; i < CProfileList::kMaxProfiles; ++i) {
        ASSERT_EQ(list.AddProfile(), CProfileList::kDone) << i;
    }
    Write(Path("Extra.json"), R"({ "profilename" : "e", "profileUUID" : "e" })");
    const auto before = Entries();
    EXPECT_EQ(list.AddProfile(), CProfileList::kRefused);
    EXPECT_EQ(list.CopyProfile(), CProfileList::kRefused);
    EXPECT_EQ(list.ImportProfile(Path("Extra.json")), CProfileList::kRefused);
    EXPECT_EQ(list.GetRows().size(), 50u);
    EXPECT_EQ(Entries(), before) << "no file made";
}

TEST_F(ProfileListTest, ExportWritesTheSelectedProfile) {
    WriteRows({"A", "B"}, 1);
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.ExportProfile(Path("out.json")), CProfileList::kDone);
    EXPECT_EQ(ReadJsonFile(Path("out.json")), ReadJsonFile(Folder() / "p1.Json"));
    EXPECT_EQ(list.ExportProfile(m_dir / "missing" / "out.json"), CProfileList::kWriteFailed);
}

TEST_F(ProfileListTest, ResetReturnsTheWholeFileToTheDefault) {
    WriteRows({"A"});
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.ResetProfileFile(), CProfileList::kDone);
    const Json::Value profile = ProfileOf(list, 0);
    EXPECT_EQ(profile["Device"][0]["Factory"].asInt(), 1);
    EXPECT_FALSE(profile["Device"][0].isMember("Row"));
    EXPECT_EQ(profile["profilename"].asString(), "A");
    EXPECT_EQ(profile["profileUUID"].asString(), "p0");
}

TEST_F(ProfileListTest, HeadsetResetKeepsTheCustomEqualiser) {
    Write(Path("Default.Json"), R"({ "Device" : [ null, null, null, { "KeyList" : [],
        "EqType" : 1, "CustomEQNameInfo" : [], "CustomEQHzValueInfo" : [] } ] })");
    Json::Value list(Json::objectValue);
    list["profilelist"][0]["profilename"] = "H";
    list["profilelist"][0]["profileUUID"] = "h0";
    ASSERT_TRUE(WriteJsonFile(list, Folder() / "ProfileList.ini"));
    Json::Value profile;
    Json::Value& entry = profile["Device"][3];
    entry["EqType"] = 7;
    entry["CustomEQNameInfo"][0]["Name"] = "Night";
    entry["CustomEQHzValueInfo"][0][0]["value"] = 5;
    ASSERT_TRUE(WriteJsonFile(profile, Folder() / "h0.Json"));

    CProfileList headset = MakeList(kKindHeadset);
    headset.InitProfiles();
    ASSERT_EQ(headset.ResetProfileFile(), CProfileList::kDone);
    const Json::Value reset = ReadJsonFile(Folder() / "h0.Json");
    EXPECT_EQ(reset["Device"][3]["EqType"].asInt(), 1);
    EXPECT_EQ(reset["Device"][3]["CustomEQNameInfo"], entry["CustomEQNameInfo"]);
    EXPECT_EQ(reset["Device"][3]["CustomEQHzValueInfo"], entry["CustomEQHzValueInfo"]);

    // Other kinds return to the default entirely.
    ASSERT_TRUE(WriteJsonFile(profile, Folder() / "h0.Json"));
    CProfileList mousePad = MakeList(kKindMousePad);
    mousePad.InitProfiles();
    ASSERT_EQ(mousePad.ResetProfileFile(), CProfileList::kDone);
    EXPECT_EQ(ReadJsonFile(Folder() / "h0.Json")["Device"][3]["CustomEQNameInfo"].size(), 0u);
}

TEST_F(ProfileListTest, StoredProfilesAreWalkedFromAFreshRead) {
    WriteRows({"A", "B", "C"});
    CProfileList list = MakeList();
    list.InitProfiles();
    ASSERT_EQ(list.GetStoredProfileCount(), 3);
    EXPECT_EQ(list.GetStoredProfilePath(2), Folder() / "p2.Json");
    EXPECT_TRUE(list.GetStoredProfilePath(3).empty());
    EXPECT_TRUE(list.GetStoredProfilePath(-1).empty());
}

TEST_F(ProfileListTest, OtherUsersOfTheFolderSeeEachOthersChanges) {
    CProfileList first = MakeList();
    CProfileList second = MakeList();
    first.InitProfiles();
    second.InitProfiles();
    ASSERT_EQ(first.AddProfile(), CProfileList::kDone);
    ASSERT_EQ(second.AddProfile(), CProfileList::kDone);
    EXPECT_EQ(Names(first), (std::vector<std::string>{"Profile1", "Profile2", "Profile3"}));

    ASSERT_EQ(first.SelectProfile(2), CProfileList::kDone);
    second.RefreshSelectedUUID();
    EXPECT_EQ(second.GetSelectedUUID(), first.GetSelectedUUID());
}

} // namespace
} // namespace q407::profiles
