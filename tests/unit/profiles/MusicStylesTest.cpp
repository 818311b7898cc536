// "AudioFile.json": the user copy made from the default one, a damaged copy set aside, the styles
// read within their ranges, saving keeping the rest of the user's file, and a reset bringing the
// defaults back.

#include "profiles/MusicStyles.h"

#include "TempFolder.h"
#include "profiles/JsonFile.h"

#include <gtest/gtest.h>

namespace q407::profiles {
namespace {

using MusicStylesTest = testing::TempFolderTest;

const char* const kDefault = R"({"Device": {"AudioLightInfo": {"nAudioStyle": 2,
    "nStyleName1": "A", "nStyleName2": "B", "nStyleName3": "C", "nStyleName4": "D",
    "nStyleR2": 9, "nStyleG2": 4, "nStyleB2": 1}}})";

TEST_F(MusicStylesTest, UserCopyIsMadeFromTheDefaultWhenMissingOrDamaged) {
    struct Case {
        const char* user; // nullptr: no user copy
        bool setAside;
    };
    const Case cases[] = {{nullptr, false}, {"{not json", true}, {R"({"Other": 1})", false}};
    for (const Case& c : cases) {
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        Write(Path("default.json"), kDefault);
        if (c.user != nullptr) {
            Write(Path("AudioFile.json"), c.user);
        }
        AudioFile file(Path("AudioFile.json"), Path("default.json"));
        file.Load();
        const MusicStyleSet styles = file.Styles();
        EXPECT_EQ(styles.index, 2);
        EXPECT_EQ(styles.names[3], "D");
        EXPECT_EQ(styles.colours[2], (std::array<int, 3>{9, 4, 1}));
        EXPECT_EQ(ReadJsonFile(Path("AudioFile.json")), ReadJsonFile(Path("default.json")));
        EXPECT_EQ(std::filesystem::exists(Path("AudioFile.json.bak")), c.setAside)
            << (c.user ? c.user : "no user copy");
    }
}

TEST_F(MusicStylesTest, WithoutEitherCopyTheStylesAreEmpty) {
    AudioFile file(Path("AudioFile.json"), Path("default.json"));
    file.Load();
    EXPECT_TRUE(file.Document().isNull());
    EXPECT_EQ(file.Styles(), MusicStyleSet{});
    EXPECT_FALSE(std::filesystem::exists(Path("AudioFile.json")));
}

TEST_F(MusicStylesTest, ValuesOutOfRangeAreKeptInRange) {
    const Json::Value device = ParseJsonText(R"({"AudioLightInfo": {"nAudioStyle": 7,
        "nStyleR0": 12, "nStyleG0": -3, "nStyleB0": "5", "nStyleName1": 4}})");
    const MusicStyleSet styles = MusicStylesFrom(device);
    EXPECT_EQ(styles.index, 3);
    EXPECT_EQ(styles.colours[0], (std::array<int, 3>{9, 0, 0}));
    EXPECT_EQ(styles.names[0], "");
}

TEST_F(MusicStylesTest, SaveKeepsTheRestOfTheUserFileAndResetBringsTheDefaultsBack) {
    Write(Path("default.json"), kDefault);
    Write(Path("AudioFile.json"), R"({"Device": {"AudioLightInfo": {"nAudioStyle": 1,
        "Extra": 5}, "Kept": true}, "Version": 3})");
    AudioFile file(Path("AudioFile.json"), Path("default.json"));
    file.Load();
    MusicStyleSet styles = file.Styles();
    EXPECT_EQ(styles.index, 1);
    styles.index = 3;
    styles.names = {"Rock", "Pop", "Jazz", "Calm"};
    styles.colours[3] = {1, 2, 3};
    ASSERT_TRUE(file.Save(styles));

    const Json::Value saved = ReadJsonFile(Path("AudioFile.json"));
    EXPECT_EQ(saved["Version"].asInt(), 3);
    EXPECT_TRUE(saved["Device"]["Kept"].asBool());
    EXPECT_EQ(saved["Device"]["AudioLightInfo"]["Extra"].asInt(), 5);
    EXPECT_EQ(saved["Device"]["AudioLightInfo"]["nStyleName4"].asString(), "Calm");
    EXPECT_EQ(saved["Device"]["AudioLightInfo"]["nStyleB3"].asInt(), 3);
    AudioFile again(Path("AudioFile.json"), Path("default.json"));
    again.Load();
    EXPECT_EQ(again.Styles(), styles);

    again.Reset();
    EXPECT_EQ(again.Styles().index, 2);
    EXPECT_EQ(ReadJsonFile(Path("AudioFile.json")), ReadJsonFile(Path("default.json")));
}

TEST(MusicStyleNames, EmptiedNamesTakeTheirDefaults) {
    EXPECT_EQ(DefaultMusicStyleName(0), "第一组");
    EXPECT_EQ(DefaultMusicStyleName(3), "第四组");
    EXPECT_EQ(DefaultMusicStyleName(4), "");
}

} // namespace
} // namespace q407::profiles
