// Crashes in the middle of a write, damaged and huge files, and names that try to leave the
// device folder: none of them may lose or corrupt a file the user had.

#include "TempFolder.h"
#include "common/AtomicFile.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/CProfileList.h"
#include "profiles/DeviceKinds.h"
#include "profiles/JsonFile.h"

#include <regex>

namespace q407::profiles {
namespace {

class FilesNeverLostTest : public testing::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        std::filesystem::create_directories(Folder());
        Write(Path("Default.Json"), R"({ "Device" : [ { "KeyList" : [] } ] })");
        Write(Path("victim.Json"), "precious\n");
        Write(Path("victim.mac"), "precious\n");
    }

    std::filesystem::path Folder() const { return m_dir / "dev"; }

    CProfileList MakeList() { return CProfileList(Folder(), Path("Default.Json"), kKindMouse); }

    // Everything in the device folder is the list, the library, or named by an identifier.
    void ExpectOnlyIdentifierFiles() const {
        const std::regex allowed(
            R"((ProfileList\.ini|macro\.config|\d{4}(_\d{2}){5}_\d{3}\.(Json|mac))(\.bak)?)");
        for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
            EXPECT_TRUE(std::regex_match(entry.path().filename().string(), allowed))
                << entry.path();
        }
        EXPECT_EQ(Read(Path("victim.Json")), "precious\n");
        EXPECT_EQ(Read(Path("victim.mac")), "precious\n");
    }
};

TEST_F(FilesNeverLostTest, CrashWhileMakingTheFirstProfileLeavesNoHalfList) {
    CProfileList list = MakeList();
    q407::testing::FailNextWriteAfter(5);
    EXPECT_EQ(list.InitProfiles(), CProfileList::kWriteFailed);
    EXPECT_TRUE(std::filesystem::is_empty(Folder()));
    EXPECT_EQ(list.InitProfiles(), CProfileList::kDone);
}

TEST_F(FilesNeverLostTest, CrashInAnyProfileListChangeKeepsTheOldFiles) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    ASSERT_EQ(list.AddProfile(), CProfileList::kDone);
    const auto listPath = list.GetListPath();
    const auto firstProfile = list.ProfilePathOf(list.GetRows()[0].uuid);

    struct Step {
        const char* name;
        std::function<int()> run;
    };
    const std::vector<Step> steps{
        {"add", [&] { return list.AddProfile(); }},
        {"copy", [&] { return list.CopyProfile(); }},
        {"delete", [&] { return list.DeleteProfile(); }},
        {"rename", [&] { return list.RenameProfile("Other"); }},
        {"select", [&] { return list.SelectProfile(1); }},
        {"reset", [&] { return list.ResetProfileFile(); }},
    };
    for (const auto& step : steps) {
        const auto before = Entries();
        const std::string listBefore = Read(listPath);
        const std::string profileBefore = Read(firstProfile);
        q407::testing::FailNextWriteAfter(7);
        EXPECT_EQ(step.run(), CProfileList::kWriteFailed) << step.name;
        EXPECT_EQ(Read(listPath), listBefore) << step.name;
        EXPECT_EQ(Read(firstProfile), profileBefore) << step.name;
        EXPECT_EQ(Entries(), before) << step.name << ": no file made, none removed";
    }
}

TEST_F(FilesNeverLostTest, RenameFailingAtEitherFileLeavesListAndProfileAgreeing) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    const auto listPath = list.GetListPath();
    const auto profile = list.ProfilePathOf(list.GetRows()[0].uuid);
    const std::string listBefore = Read(listPath);
    const std::string profileBefore = Read(profile);
    for (unsigned writesFirst : {0u, 1u}) {
        q407::testing::FailNextWriteAfter(7, writesFirst);
        EXPECT_EQ(list.RenameProfile("Other"), CProfileList::kWriteFailed) << writesFirst;
        EXPECT_EQ(Read(listPath), listBefore) << writesFirst;
        EXPECT_EQ(Read(profile), profileBefore) << writesFirst;
    }
    EXPECT_EQ(list.RenameProfile("Other"), CProfileList::kDone);
    EXPECT_NE(Read(listPath).find("\"Other\""), std::string::npos);
    EXPECT_NE(Read(profile).find("\"Other\""), std::string::npos);
}

TEST_F(FilesNeverLostTest, RenameLeavesADamagedProfileFileAsItIs) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    const auto profile = list.ProfilePathOf(list.GetRows()[0].uuid);
    Write(profile, "{ \"profilename\" : ");
    EXPECT_EQ(list.RenameProfile("Other"), CProfileList::kDone);
    EXPECT_EQ(list.GetRows()[0].name, "Other");
    EXPECT_EQ(Read(profile), "{ \"profilename\" : ");
}

TEST_F(FilesNeverLostTest, DamagedOrHugeListIsKeptAsideAndItsProfilesStay) {
    for (const std::string& damaged : {std::string("{ \"profilelist\" : [ { \"profilename\" : "),
                                       std::string("[ 3 ]"), std::string("{ \"profilelist\" : 5 }"),
                                       "[" + std::string(kMaxJsonFileBytes, ' ') + "]"}) {
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        Write(Folder() / "ProfileList.ini", damaged);
        Write(Folder() / "2020_01_01_00_00_00_000.Json", "{}\n");
        CProfileList list = MakeList();
        ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
        EXPECT_EQ(Read(Folder() / "ProfileList.ini.bak"), damaged);
        EXPECT_EQ(Read(Folder() / "2020_01_01_00_00_00_000.Json"), "{}\n");
        EXPECT_EQ(list.GetRows().size(), 1u);
        ExpectOnlyIdentifierFiles();
    }
}

TEST_F(FilesNeverLostTest, DamagedProfileFileIsKeptAsideAndRewrittenUnderItsRowsNames) {
    for (const std::string& damaged : {std::string("{ \"profilename\" : "), std::string("[ 3 ]"),
                                       std::string(), std::string("{ \"Device\" : 5 }")}) {
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        CProfileList first = MakeList();
        ASSERT_EQ(first.InitProfiles(), CProfileList::kDone);
        ASSERT_EQ(first.RenameProfile("Mine"), CProfileList::kDone);
        const ProfileRow row = first.GetRows()[0];
        const auto profile = first.ProfilePathOf(row.uuid);
        Write(profile, damaged);

        // The next start: the file is kept, and the one that replaces it can travel.
        CProfileList list = MakeList();
        ASSERT_EQ(list.InitProfiles(), CProfileList::kDone) << damaged;
        EXPECT_EQ(Read(profile.string() + ".bak"), damaged);
        const Json::Value rewritten = ReadJsonFile(profile);
        EXPECT_EQ(rewritten["profilename"], row.name) << damaged;
        EXPECT_EQ(rewritten["profileUUID"], row.uuid) << damaged;
        EXPECT_TRUE(rewritten["Device"].isArray()) << "the default profile's settings";
        ASSERT_EQ(list.ExportProfile(Path("out.json")), CProfileList::kDone);
        EXPECT_EQ(list.ImportProfile(Path("out.json")), CProfileList::kDone) << damaged;
        ExpectOnlyIdentifierFiles();
    }
}

TEST_F(FilesNeverLostTest, ProfileFilesLeftWithoutAListAreTakenBackNotMultiplied) {
    // A crash between a new profile file and the list naming it, twice: two files of our own.
    const std::string first = "2024_01_01_10_00_00_000";
    const std::string second = "2024_01_01_10_00_01_000";
    Write(Folder() / (second + ".Json"),
          R"({ "profilename" : "Profile1", "profileUUID" : ")" + second + R"(", "Device" : [] })");
    Write(Folder() / (first + ".Json"),
          R"({ "profilename" : "Profile1", "profileUUID" : ")" + first + R"(", "Device" : [] })");
    // Not ours to take: named by another file, damaged, unnamed.
    Write(Folder() / "2024_01_01_10_00_02_000.Json", R"({ "profileUUID" : ")" + first + R"(" })");
    Write(Folder() / "2024_01_01_10_00_03_000.Json", "{ \"profileUUID\" : ");
    Write(Folder() / "2024_01_01_10_00_04_000.Json", "{}");

    for (int start = 0; start < 2; ++start) {
        CProfileList list = MakeList();
        ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
        const auto rows = list.GetRows();
        ASSERT_EQ(rows.size(), 2u) << "start " << start;
        EXPECT_EQ(rows[0].uuid, first);
        EXPECT_EQ(rows[0].name, "Profile1");
        EXPECT_EQ(rows[1].uuid, second);
        EXPECT_EQ(rows[1].name, "Profile1(1)") << "names stay unique";
        EXPECT_EQ(list.GetSelectedUUID(), first);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder()), {}), 6)
        << "no profile file was added";
}

TEST_F(FilesNeverLostTest, HostileProfileNamesNeverBecomeFileNames) {
    CProfileList list = MakeList();
    ASSERT_EQ(list.InitProfiles(), CProfileList::kDone);
    const std::string longName(300, 'n');
    for (const std::string& name : {std::string("../x"), std::string("a/b"), std::string("con"),
                                    std::string("..\\..\\x"), longName}) {
        EXPECT_EQ(list.RenameProfile(name), CProfileList::kDone) << name;
        EXPECT_EQ(list.GetRows()[0].name, name);
    }
    for (const std::string& file : {std::string("con.json"), std::string("..json"),
                                    std::string(" .json"), longName.substr(0, 200) + ".json"}) {
        Write(Path(file), R"({ "profilename" : "../../x", "profileUUID" : "../victim" })");
        EXPECT_EQ(list.ImportProfile(Path(file)), CProfileList::kDone) << file;
    }
    const auto rows = list.GetRows();
    EXPECT_EQ(rows[1].name, "con");
    EXPECT_EQ(rows[2].name, ".");
    EXPECT_EQ(rows[3].name, "Profile1") << "a blank file name gets a numbered name";
    EXPECT_EQ(rows[4].name, longName.substr(0, 200));
    ExpectOnlyIdentifierFiles();
}

TEST_F(FilesNeverLostTest, EditedListCannotReachOutsideTheFolder) {
    Json::Value list(Json::objectValue);
    for (const char* uuid : {"../victim", "/tmp/victim", "con", ""}) {
        Json::Value entry;
        entry["profilename"] = uuid;
        entry["profileUUID"] = uuid;
        list["profilelist"].append(entry);
    }
    ASSERT_TRUE(WriteJsonFile(list, Folder() / "ProfileList.ini"));
    CProfileList profiles = MakeList();
    ASSERT_EQ(profiles.InitProfiles(), CProfileList::kDone);
    EXPECT_EQ(profiles.RenameProfile("renamed"), CProfileList::kDone);
    EXPECT_EQ(profiles.ResetProfileFile(), CProfileList::kRefused);
    EXPECT_EQ(profiles.CopyProfile(), CProfileList::kDone);
    EXPECT_EQ(profiles.DeleteProfile(), CProfileList::kDone);
    EXPECT_EQ(profiles.GetStoredProfileCount(), 4);
    for (int i = 0; i < 4; ++i) {
        const auto path = profiles.GetStoredProfilePath(i);
        EXPECT_TRUE(path.empty() || path.parent_path() == Folder()) << path;
    }
    ExpectOnlyIdentifierFiles();
}

TEST_F(FilesNeverLostTest, CrashInAnyMacroChangeKeepsTheOldFiles) {
    CMacroLibrary library(Folder());
    ASSERT_EQ(library.NewMacro(), CMacroLibrary::kDone);
    ASSERT_EQ(library.NewMacro(), CMacroLibrary::kDone);
    ASSERT_EQ(library.SaveEvents(0, {{true, 10, 4, 20}}), CMacroLibrary::kDone);
    Write(Path("in.mac"), R"({ "Events" : [] })");
    Write(Folder() / "p.Json",
          R"({ "Device" : [ { "KeyList" : [ { "Assignment" : 7340288 } ] } ] })");
    const std::vector<std::filesystem::path> profiles{Folder() / "p.Json"};

    struct Step {
        const char* name;
        std::function<int()> run;
    };
    const std::vector<Step> steps{
        {"new", [&] { return library.NewMacro(); }},
        {"import", [&] { return library.ImportMacro(Path("in.mac")); }},
        {"rename", [&] { return library.RenameMacro(1, "jump"); }},
        {"save events", [&] { return library.SaveEvents(0, {}); }},
        {"delete", [&] { return library.DeleteMacro(0, profiles, 0); }},
        {"export", [&] { return library.ExportMacro(0, Path("out.mac")); }},
    };
    for (const auto& step : steps) {
        const auto before = Entries();
        const std::string index = Read(library.GetIndexPath());
        const std::string events = Read(library.EventFilePath(library.Load()[0].guid));
        const std::string profile = Read(profiles[0]);
        q407::testing::FailNextWriteAfter(3);
        EXPECT_EQ(step.run(), CMacroLibrary::kWriteFailed) << step.name;
        EXPECT_EQ(Read(library.GetIndexPath()), index) << step.name;
        EXPECT_EQ(Read(library.EventFilePath(library.Load()[0].guid)), events) << step.name;
        EXPECT_EQ(Read(profiles[0]), profile) << step.name;
        EXPECT_EQ(Entries(), before) << step.name;
    }
}

TEST_F(FilesNeverLostTest, DamagedMacroIndexReadsEmptyAndIsKeptAside) {
    Write(Folder() / "macro.config", "{ \"MacroInfo\" : [ { \"MacroName\" ");
    CMacroLibrary library(Folder());
    EXPECT_TRUE(library.Load().empty());
    EXPECT_FALSE(library.TryLoad().has_value());
    EXPECT_EQ(Read(Folder() / "macro.config"), "{ \"MacroInfo\" : [ { \"MacroName\" ")
        << "reading never rewrites";
    ASSERT_EQ(library.NewMacro(), CMacroLibrary::kDone);
    EXPECT_EQ(Read(Folder() / "macro.config.bak"), "{ \"MacroInfo\" : [ { \"MacroName\" ");
    EXPECT_EQ(library.Load().size(), 1u);
}

TEST_F(FilesNeverLostTest, EditedMacroIndexCannotReachOutsideTheFolder) {
    Write(Folder() / "macro.config", R"({ "MacroInfo" : [
        { "MacroName" : "a", "Guid" : "../victim" }, { "MacroName" : "b", "Guid" : "/tmp/x" },
        { "MacroName" : "c", "Guid" : "con" } ] })");
    CMacroLibrary library(Folder());
    EXPECT_EQ(library.SaveEvents(0, {}), CMacroLibrary::kRefused);
    EXPECT_EQ(library.ExportMacro(0, Path("out.mac")), CMacroLibrary::kRefused);
    EXPECT_TRUE(library.ReadEvents(0).empty());
    EXPECT_EQ(library.DeleteMacro(0, {}, 0), CMacroLibrary::kDone);
    EXPECT_EQ(library.DeleteMacro(1, {}, 0), CMacroLibrary::kDone);
    for (const std::string& name :
         {std::string("../y"), std::string("a/b"), std::string("con"), std::string(300, 'm')}) {
        EXPECT_EQ(library.RenameMacro(0, name), CMacroLibrary::kDone) << name;
    }
    Write(Path("con.mac"), "{}");
    EXPECT_EQ(library.ImportMacro(Path("con.mac")), CMacroLibrary::kDone);
    EXPECT_EQ(library.Load().back().name, "con");
    ExpectOnlyIdentifierFiles();
}

} // namespace
} // namespace q407::profiles
