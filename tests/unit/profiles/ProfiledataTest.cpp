#include "TempFolder.h"
#include "common/AtomicFile.h"
#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/JsonFile.h"

namespace q407::profiles {
namespace {

class ProfiledataTest : public testing::TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        Write(Path("Default.Json"), R"({ "Device" : [ { "KeyList" : [ { "Assignment" : 1048832,
            "DefaultAssignment" : 1048832 } ], "LightInfo" : { "SelectItem" : 3 } },
            null, { "KeyList" : [], "LightInfo" : { "SelectItem" : 9 } } ] })");
    }

    template <typename Record>
    void Prepare(Record& record, int deviceIndex = 0) {
        record.SetDefaultPath(Path("Default.Json"));
        record.SetProfilePath(Path("p.Json"));
        record.SetDeviceIndex(deviceIndex);
    }
};

TEST_F(ProfiledataTest, MissingEntryIsCopiedFromTheDefaultAndWrittenBack) {
    Write(Path("p.Json"), R"({ "profilename" : "Mine", "Device" : [ { "KeyList" : [] } ] })");
    CBasicProfiledata record;
    Prepare(record, 2);
    const Json::Value entry = record.LoadProfile(Path("p.Json"));
    EXPECT_EQ(entry["LightInfo"]["SelectItem"].asInt(), 9);
    EXPECT_EQ(record.GetLightInfo().mode, 9);

    const Json::Value file = ReadJsonFile(Path("p.Json"));
    EXPECT_EQ(file["profilename"].asString(), "Mine") << "other members are kept";
    EXPECT_EQ(file["Device"][0]["KeyList"], Json::Value(Json::arrayValue));
    EXPECT_TRUE(file["Device"][1].isNull());
    EXPECT_EQ(file["Device"][2], entry);
}

TEST_F(ProfiledataTest, MissingProfileFileIsCreatedFromTheDefault) {
    CBasicProfiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    EXPECT_EQ(ReadJsonFile(Path("p.Json"))["Device"][0]["LightInfo"]["SelectItem"].asInt(), 3);
}

TEST_F(ProfiledataTest, DamagedProfileFileIsUsedAsDefaultButKeptOnDisk) {
    for (const std::string& damaged :
         {std::string("{ \"Device\" : [ { \"Key"), std::string("{ \"Device\" : 5 }"),
          std::string("[ 1, 2 ]"), std::string(200, '[')}) {
        Write(Path("p.Json"), damaged);
        CBasicProfiledata record;
        Prepare(record);
        EXPECT_EQ(record.LoadProfile(Path("p.Json"))["LightInfo"]["SelectItem"].asInt(), 3);
        EXPECT_EQ(Read(Path("p.Json")), damaged) << "untouched until the user changes something";

        // A change replaces it, and what was there is kept beside it.
        EXPECT_TRUE(record.SaveProfile());
        EXPECT_EQ(ReadJsonFile(Path("p.Json"))["Device"][0], record.GetRoot());
        EXPECT_EQ(Read(Path("p.Json.bak")), damaged);
        std::filesystem::remove(Path("p.Json.bak"));
    }
}

TEST_F(ProfiledataTest, LoadingTheDefaultFileNeverWritesIt) {
    const std::string before = Read(Path("Default.Json"));
    CBasicProfiledata record;
    Prepare(record, 1); // the default has no entry 1
    EXPECT_TRUE(record.LoadProfile(Path("Default.Json")).isNull());
    EXPECT_EQ(Read(Path("Default.Json")), before);
}

TEST_F(ProfiledataTest, EntriesWithoutKeyListAreNeverWritten) {
    CBasicProfiledata record;
    Prepare(record);
    Write(Path("p.Json"), "{ \"Device\" : [ { \"LightInfo\" : {} } ] }\n");
    record.LoadProfile(Path("p.Json"));
    record.SetLightInfo(LightInfo{.mode = 4});
    EXPECT_FALSE(record.SaveProfile());
    EXPECT_EQ(Read(Path("p.Json")), "{ \"Device\" : [ { \"LightInfo\" : {} } ] }\n");

    Json::Value withKeys(Json::objectValue);
    withKeys["KeyList"] = Json::Value(Json::arrayValue);
    EXPECT_TRUE(record.WriteDeviceEntry(withKeys, Path("other.Json")));
    EXPECT_EQ(ReadJsonFile(Path("other.Json"))["Device"][0], withKeys);
}

TEST_F(ProfiledataTest, CrashDuringSaveLeavesThePreviousProfile) {
    CMouseProfiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    const std::string before = Read(Path("p.Json"));
    record.SetActiveStage(4);
    q407::testing::FailNextWriteAfter(10);
    EXPECT_FALSE(record.SaveProfile());
    EXPECT_EQ(Read(Path("p.Json")), before);
    EXPECT_EQ(Entries().size(), 2u) << "only the default and the profile";
    EXPECT_TRUE(record.SaveProfile());
    EXPECT_EQ(ReadJsonFile(Path("p.Json"))["Device"][0]["DPIStages"]["StageActive"].asInt(), 4);
}

TEST_F(ProfiledataTest, GettersFallBackOnMissingData) {
    CMouseProfiledata record;
    record.SetDefaultLightInfo(LightInfo{.mode = 7, .red = 200});
    EXPECT_EQ(record.GetLightInfo(), (LightInfo{.mode = 7, .red = 200})) << "null root";
    EXPECT_EQ(record.GetAudioLightInfo(), AudioLightInfo{});
    EXPECT_EQ(record.GetMouseSettings(), MouseSystemSettings{});
    EXPECT_TRUE(record.GetKeyList().empty());
    EXPECT_TRUE(record.GetLightList().empty());

    Write(Path("p.Json"), R"({ "Device" : [ { "KeyList" : [],
        "AudioLightInfo" : { "AudioMode" : 2, "7ColorFlags" : true },
        "SystemStages" : { "MouseSpeed" : 12, "SensorLif" : true, "MotionSync" : 1,
                           "ScorllPage" : 1, "WheelScorlllinse" : 5, "sleeptimeH" : 2 },
        "LightList" : [ { "LEDREGMode" : 2, "LEDDirection" : true, "red" : 9 }, null ] } ] })");
    record.LoadProfile(Path("p.Json"));
    EXPECT_EQ(record.GetLightInfo().mode, 7) << "no LightInfo: the default light";
    EXPECT_EQ(record.GetAudioLightInfo(), (AudioLightInfo{.audioMode = 2, .sevenColours = 1}));
    const MouseSystemSettings settings = record.GetMouseSettings();
    EXPECT_EQ(settings.pointerSpeed, 12);
    EXPECT_EQ(settings.sensorLift, 1);
    EXPECT_EQ(settings.motionSync, 1);
    EXPECT_EQ(settings.scrollByPage, 1);
    EXPECT_EQ(settings.wheelLines, 5);
    EXPECT_EQ(settings.sleepTimeHigh, 2);
    EXPECT_EQ(settings.reportRate, 0) << "no ReportStages";
    const auto zones = record.GetLightList();
    ASSERT_EQ(zones.size(), 2u);
    EXPECT_EQ(zones[0], (LightListEntry{.mode = 2, .direction = 1, .red = 9, .valid = 1}));
    EXPECT_EQ(zones[1], LightListEntry{}) << "a null zone is all zero, not valid";
}

TEST_F(ProfiledataTest, BooleansReadBackAsOneWhetherWrittenAsOneOrTrue) {
    CMouseProfiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    MouseSystemSettings settings;
    settings.sensorLift = 1;
    settings.motionSync = 1;
    settings.reportRate = 4;
    record.SetMouseSettings(settings);
    ASSERT_TRUE(record.SaveProfile());
    const Json::Value written = ReadJsonFile(Path("p.Json"))["Device"][0];
    EXPECT_EQ(written["SystemStages"]["SensorLif"], Json::Value(1)) << "written as an integer";
    EXPECT_EQ(written["ReportStages"]["StageActive"], Json::Value(4));
    EXPECT_FALSE(written["SystemStages"].isMember("StageActive"));

    CMouseProfiledata reread;
    Prepare(reread);
    reread.LoadProfile(Path("p.Json"));
    EXPECT_EQ(reread.GetMouseSettings(), settings);
}

TEST_F(ProfiledataTest, ShorterStoredStagesOverwriteOnlyTheFirstHeldStages) {
    CMouseProfiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    EXPECT_TRUE(record.GetDpiStages().empty()) << "no stored stages: unchanged";
    const std::vector<DpiStage> three{
        {1, 0, 400, 400, 255, 0, 0}, {1, 1, 800, 900, 0, 255, 0}, {0, 0, 1600, 1600, 0, 0, 255}};
    record.SetDpiStages(three);
    record.SetActiveStage(2);
    EXPECT_EQ(record.GetDpiStages(), three);
    EXPECT_EQ(record.GetActiveStage(), 2);

    Write(Path("q.Json"), R"({ "Device" : [ { "KeyList" : [], "DPIStages" : { "StageActive" : 0,
        "StageDPIs" : [ { "StageActive" : 1, "StageDPIX" : 26000, "StageDPIY" : 50 } ] } } ] })");
    record.LoadProfile(Path("q.Json"));
    const auto stages = record.GetDpiStages();
    ASSERT_EQ(stages.size(), 3u);
    EXPECT_EQ(stages[0], (DpiStage{1, 0, 26000, 50, 0, 0, 0}));
    EXPECT_EQ(stages[1], three[1]);
    EXPECT_EQ(stages[2], three[2]);
    EXPECT_EQ(record.GetActiveStage(), 0);
}

TEST_F(ProfiledataTest, KeyAssignmentsWriteOnlyTheCurrentFunction) {
    Write(Path("p.Json"), R"({ "Device" : [ { "KeyList" : [
        { "Assignment" : 1048832, "DefaultAssignment" : 1048832 },
        { "Assignment" : 7340288, "DefaultAssignment" : 1049088 } ] } ] })");
    CBasicProfiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    auto keys = record.GetKeyList();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[1].keyIndex, 1);
    EXPECT_EQ(keys[1].assignment, (KeyFunctionBytes{0x70, 0x01, 0x00}));
    EXPECT_EQ(keys[1].defaultAssignment, (KeyFunctionBytes{0x10, 0x02, 0x00}));

    keys[0].assignment = {0x20, 0x02, 0x04};
    keys[0].defaultAssignment = {0x99, 0x99, 0x99};
    record.SetKeyAssignments(keys);
    EXPECT_EQ(record.GetRoot()["KeyList"][0]["Assignment"].asInt(), 0x200204);
    EXPECT_EQ(record.GetRoot()["KeyList"][0]["DefaultAssignment"].asInt(), 1048832);
}

TEST_F(ProfiledataTest, OtherProfileIsLoadedAndSavedSeparately) {
    Write(Path("o.Json"), R"({ "Device" : [ { "KeyList" : [ { "Assignment" : 5 } ] } ] })");
    CBasicProfiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    record.LoadOtherProfile(Path("o.Json"));
    auto other = record.GetOtherKeyList();
    ASSERT_EQ(other.size(), 1u);
    other[0].assignment = {0, 0, 6};
    record.SetOtherKeyAssignments(other);
    EXPECT_TRUE(record.SaveOtherProfile(Path("o.Json")));
    EXPECT_EQ(ReadJsonFile(Path("o.Json"))["Device"][0]["KeyList"][0]["Assignment"].asInt(), 6);
    EXPECT_EQ(record.GetKeyList().size(), 1u) << "the own profile is untouched";
}

TEST_F(ProfiledataTest, EqualiserTypesMapToCurves) {
    CHs6533Profiledata record;
    Prepare(record);
    record.LoadProfile(Path("p.Json"));
    CHs6533Profiledata::EqCurve rising{};
    for (int band = 0; band < 10; ++band) {
        rising[static_cast<std::size_t>(band)] = band - 5;
    }
    record.SetEqCurve(0, rising);
    EXPECT_EQ(record.GetEqCurve(1), std::vector<int>(rising.begin(), rising.end()));
    EXPECT_EQ(record.GetEqCurve(14), record.GetEqCurve(1));

    const Json::Value before = record.GetRoot();
    EXPECT_TRUE(record.GetEqCurve(13).empty());
    record.SetEqCurve(13, rising);
    EXPECT_EQ(record.GetRoot(), before) << "type 13 has no curve and writes nothing";

    EXPECT_EQ(record.GetEqCurve(5), std::vector<int>(10, 0));
    EXPECT_EQ(record.GetRoot()["EQHzValueInfo"][5][9]["value"], Json::Value(0))
        << "missing bands are written as 0";

    record.SetCustomEqCurve(2, rising);
    EXPECT_EQ(record.GetCustomEqCurve(2), std::vector<int>(rising.begin(), rising.end()));
    EXPECT_TRUE(record.GetCustomEqCurve(-1).empty());
    record.SetCustomEqNames({"Bass", "Voice"});
    EXPECT_EQ(record.GetCustomEqNames(), (std::vector<std::string>{"Bass", "Voice"}));
}

TEST_F(ProfiledataTest, MissingCustomColoursAreWrittenAsZeros) {
    CKeyboardProfiledata record;
    record.SetCustomColours({{1, 2, 3, 4}}, 1);
    const auto colours = record.GetCustomColours(1, 3);
    EXPECT_EQ(colours, (std::vector<CustomColour>{{1, 2, 3, 4}, {}, {}}));
    EXPECT_EQ(record.GetRoot()["CustomLightMode"]["LightColorInfo"][1][2]["Alpha"], Json::Value(0));
    record.SetCustomGroupIndex(1);
    EXPECT_EQ(record.GetCustomGroupIndex(), 1);

    // A damaged group index cannot grow the document without bound.
    EXPECT_TRUE(record.GetCustomColours(2000000000, 3).empty());
    EXPECT_TRUE(record.GetCustomColours(0, 1 << 30).empty());
    EXPECT_EQ(record.GetRoot()["CustomLightMode"]["LightColorInfo"].size(), 2u);
}

TEST_F(ProfiledataTest, UserEffectStepsComeFromTheEffectFileOfTheSelectedMode) {
    const auto folder = Path("device");
    std::filesystem::create_directories(folder);
    Write(folder / "ravik_light.config", R"({ "LightInfo" : [ [ { "Guid" : "fx_a" },
        { "Guid" : "../escape" } ] ] })");
    Write(folder / "fx_a.light", R"({ "LEDEffectList" : [ { "LEDREGMode" : 1, "red" : 255,
        "Time" : 300, "Cyle" : 2 }, { "blue" : 7 } ] })");
    Write(Path("escape.light"), R"({ "LEDEffectList" : [ {} ] })");
    CBasicProfiledata record;
    record.SetFirstCustomLightMode(20);
    record.SetLightConfigPath(folder / "ravik_light.config");
    record.LoadLightConfig(folder / "ravik_light.config");

    record.SetLightInfo(LightInfo{.mode = 3});
    EXPECT_TRUE(record.GetLedEffect().empty()) << "a built-in mode keeps the held steps";
    record.SetLightInfo(LightInfo{.mode = 20});
    const auto steps = record.GetLedEffect();
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0], (LedEffectStep{.mode = 1, .red = 255, .time = 300, .cycle = 2}));
    EXPECT_EQ(steps[1], (LedEffectStep{.blue = 7}));
    record.SetLightInfo(LightInfo{.mode = 3});
    EXPECT_EQ(record.GetLedEffect().size(), 2u);

    record.SetLightInfo(LightInfo{.mode = 21});
    EXPECT_TRUE(record.GetLedEffect().empty()) << "an identifier leaving the folder is not read";
}

// Byte-exact files: the layout other tools and earlier versions read.
class WrittenProfileTest : public testing::TempFolderTest {
protected:
    template <typename Record>
    std::string SaveFresh(Record& record, int deviceIndex) {
        record.SetProfilePath(Path("out.Json"));
        record.SetDeviceIndex(deviceIndex);
        KeyAssignmentEntry left;
        left.assignment = {0x10, 0x01, 0x00};
        KeyAssignmentEntry macro;
        macro.keyIndex = 1;
        macro.assignment = {0x70, 0x02, 0x01};
        record.SetKeyAssignments({left, macro});
        record.SetLightInfo(LightInfo{1, 4, 2, 0, 1, 255, 128, 0, {}, 0, 0, 1});
        record.SetAudioLightInfo(AudioLightInfo{0, 0, 0, 64, 255, 0, 0, 1, 0});
        EXPECT_TRUE(record.SaveProfile());
        return Read(Path("out.Json"));
    }
};

TEST_F(WrittenProfileTest, MouseProfileFile) {
    CMouseProfiledata record;
    record.SetDpiStages({{1, 0, 800, 800, 255, 0, 0}, {1, 1, 1600, 3200, 0, 0, 255}});
    record.SetActiveStage(1);
    MouseSystemSettings settings{500, 10, 1, 0, 3, 2, 10, 0, 0, 1, 0, 1, 0, 4, 0, 10, 0, 3, 2};
    record.SetMouseSettings(settings);
    EXPECT_EQ(SaveFresh(record, 0), testing::DataFile("expected/mouse.Json"));
}

TEST_F(WrittenProfileTest, KeyboardProfileFile) {
    CKeyboardProfiledata record;
    record.SetKeyboardSettings({0, 2, 1, 0, 0, 1});
    record.SetCustomGroupIndex(0);
    record.SetCustomColours({{255, 0, 0, 255}, {0, 255, 0, 255}}, 0);
    EXPECT_EQ(SaveFresh(record, 0), testing::DataFile("expected/keyboard.Json"));
}

TEST_F(WrittenProfileTest, HeadsetProfileFile) {
    CHs6533Profiledata record;
    record.SetHeadsetSettings({0, 1, 2, 0, 1, 80, 0, 50});
    record.SetEqCurve(2, {4, 3, 2, 0, -1, -1, 0, 2, 3, 4});
    record.SetCustomEqNames({"Night"});
    EXPECT_EQ(SaveFresh(record, 3), testing::DataFile("expected/headset.Json"));
}

} // namespace
} // namespace q407::profiles
