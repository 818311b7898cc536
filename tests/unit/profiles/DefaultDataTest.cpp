// The installed default profiles are what every new profile starts from: each must load as a
// complete, savable entry for its kind.

#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/DeviceKinds.h"
#include "profiles/JsonFile.h"
#include "profiles/MusicStyles.h"

#include <gtest/gtest.h>

namespace q407::profiles {
namespace {

template <typename Record>
void Load(Record& record, int kind) {
    const auto path = DefaultProfilePath(DeviceFolderName(kind));
    ASSERT_EQ(ReadJsonDocument(path).state, JsonFileState::Ok) << path;
    record.SetDefaultPath(path);
    record.SetDeviceIndex(DeviceIndexOfKind(kind));
    record.LoadProfile(path);
    EXPECT_TRUE(record.GetRoot()["KeyList"].isArray()) << "without it nothing could be saved";
    EXPECT_NE(record.GetLightInfo().brightness, 0);
    EXPECT_NE(record.GetAudioLightInfo(), AudioLightInfo{});
}

TEST(DefaultData, MouseProfile) {
    CMouseProfiledata mouse;
    Load(mouse, kKindMouse);
    const auto stages = mouse.GetDpiStages();
    ASSERT_EQ(stages.size(), 6u);
    for (std::size_t i = 1; i < stages.size(); ++i) {
        EXPECT_GT(stages[i].dpiX, stages[i - 1].dpiX);
    }
    EXPECT_LT(mouse.GetActiveStage(), 6);
    EXPECT_EQ(mouse.GetKeyList().size(), 11u);
    EXPECT_NE(mouse.GetMouseSettings().doubleClickTime, 0);
    EXPECT_NE(mouse.GetMouseSettings().reportRate, 0);
}

TEST(DefaultData, KeyboardProfile) {
    CKeyboardProfiledata keyboard;
    Load(keyboard, kKindKeyboard);
    const auto keys = keyboard.GetKeyList();
    ASSERT_EQ(keys.size(), 126u);
    // Entry i is logical key i with its factory function: keyboard keys, except GM and the key
    // beside it, FN (0xA0) and the macro keys M1-M5 (0xD0).
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& key = keys[i];
        EXPECT_EQ(key.assignment, key.defaultAssignment);
        const bool special = i == 16 || i == 17 || i == 110 || (i >= 120 && i <= 124);
        EXPECT_EQ(key.assignment[0], special ? (i >= 120 ? 0xD0 : 0xA0) : 0x20) << i;
    }
    EXPECT_EQ(KeyFunctionToInt(keys[0].assignment), 0x200029) << "logical key 0 is Esc";
    EXPECT_EQ(KeyFunctionToInt(keys[105].assignment), 0x200100) << "logical key 105 is left Ctrl";
    EXPECT_EQ(keyboard.GetCustomColours(keyboard.GetCustomGroupIndex(), 126).size(), 126u);
}

TEST(DefaultData, MousePadAndHeadsetProfiles) {
    CBasicProfiledata pad;
    Load(pad, kKindMousePad);
    EXPECT_EQ(pad.GetLightList().size(), 15u);

    CHs6533Profiledata headset;
    Load(headset, kKindHeadset);
    const HeadsetSystemSettings settings = headset.GetHeadsetSettings();
    EXPECT_GE(settings.eqType, 1);
    EXPECT_LT(settings.eqType, 13);
    const Json::Value before = headset.GetRoot();
    for (int type = 1; type < 13; ++type) {
        EXPECT_EQ(headset.GetEqCurve(type).size(), 10u);
    }
    EXPECT_EQ(headset.GetRoot(), before) << "every curve is present";
    EXPECT_TRUE(headset.GetCustomEqNames().empty());
}

TEST(DefaultData, MusicStylesHaveNamesAndColours) {
    const Json::Value file = ReadJsonFile(DefaultDataFolder() / "AudioFile.json");
    const MusicStyleSet styles = MusicStylesFrom(Member(file, "Device"));
    for (int style = 0; style < kMusicStyleCount; ++style) {
        EXPECT_EQ(styles.names[static_cast<std::size_t>(style)], DefaultMusicStyleName(style));
        EXPECT_NE(styles.colours[static_cast<std::size_t>(style)], (std::array<int, 3>{}));
    }
}

TEST(DefaultData, PaletteFileHoldsTwentySwatchesOfEachKind) {
    const Json::Value info =
        Member(ReadJsonFile(DefaultDataFolder() / "color_option_info.config"), "coloroptioninfo");
    for (const char* list : {"palletDialogcoloroption", "palletDialogcollectcoloroption"}) {
        ASSERT_EQ(Member(info, list).size(), 20u) << list;
        for (const Json::Value& swatch : Member(info, list)) {
            EXPECT_EQ(AsString(Member(swatch, "color")).size(), 8u) << list;
        }
    }
}

} // namespace
} // namespace q407::profiles
