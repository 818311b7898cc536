// The recoil tables: the four gun files, their bullets, factory copies, import and export, the
// image the mouse receives, and the factory tables the program ships.

#include "profiles/RecoilTables.h"

#include "TempFolder.h"
#include "profiles/DeviceKinds.h"
#include "profiles/JsonFile.h"
#include "profiles/MacroImage.h"

namespace q407::profiles {
namespace {

// The user's folder starts empty; the factory copies are the ones the program ships.
class RecoilTablesTest : public testing::TempFolderTest {
protected:
    RecoilTables Tables() { return RecoilTables(m_dir, DefaultDataFolder()); }
    static Bullet Factory(int gun, int bullet) {
        return RecoilTables(DefaultDataFolder(), DefaultDataFolder()).ReadBullet(gun, bullet);
    }
};

TEST_F(RecoilTablesTest, StoringABulletWritesItsSixEvents) {
    RecoilTables tables = Tables();
    ASSERT_EQ(tables.RestoreUnreadable(), kGunCount);
    // Bullet 1 with x 3 to the left, y 7 downwards and a delay of 90.
    ASSERT_EQ(tables.StoreBullet(2, 0, {3, 7, true, false, 90}), RecoilTables::kDone);
    const Json::Value events = ReadJsonFile(tables.GunPath(2))["Events"];
    ASSERT_EQ(events.size(), 180u);
    struct Expected {
        const char* action;
        int button, delay, type;
    };
    const Expected expected[] = {{"down", 1, 10, 1}, {"up", 1, 0, 1},   {"down", 3, 5, 4},
                                 {"up", 7, 90, 5},   {"down", 0, 0, 4}, {"up", 0, 0, 5}};
    for (Json::ArrayIndex i = 0; i < 6; ++i) {
        EXPECT_EQ(events[i]["Action"].asString(), expected[i].action) << i;
        EXPECT_TRUE(events[i]["Button"].isInt() && events[i]["Delay"].isInt()) << "integers";
        EXPECT_EQ(events[i]["Button"].asInt(), expected[i].button) << i;
        EXPECT_EQ(events[i]["Delay"].asInt(), expected[i].delay) << i;
        EXPECT_EQ(events[i]["Type"].asInt(), expected[i].type) << i;
    }
    EXPECT_EQ(tables.ReadBullet(2, 0), (Bullet{3, 7, true, false, 90}));
    EXPECT_EQ(tables.ReadBullet(2, 1), Factory(2, 1)) << "the next one stays";
    EXPECT_EQ(tables.ReadBullet(1, 0), Factory(1, 0)) << "other guns stay";
}

TEST_F(RecoilTablesTest, ValuesBeyondWhatTheMouseKeepsAreHeld) {
    RecoilTables tables = Tables();
    tables.RestoreUnreadable();
    struct Case {
        Bullet typed;
        Bullet stored;
    };
    for (const Case& c : {Case{{300, 44, false, true, 70000}, {255, 44, false, true, 65535}},
                          Case{{-5, 256, true, true, -1}, {0, 255, true, true, 0}},
                          Case{{255, 0, false, false, 65535}, {255, 0, false, false, 65535}}}) {
        ASSERT_EQ(tables.StoreBullet(0, 29, c.typed), RecoilTables::kDone);
        EXPECT_EQ(tables.ReadBullet(0, 29), c.stored);
    }
    EXPECT_EQ(tables.StoreBullet(0, 30, {}), RecoilTables::kRefused);
    EXPECT_EQ(tables.StoreBullet(4, 0, {}), RecoilTables::kRefused);
}

TEST_F(RecoilTablesTest, UnreadableGunsComeBackFromTheFactoryCopy) {
    RecoilTables tables = Tables();
    ASSERT_EQ(tables.RestoreUnreadable(), 4);
    Write(tables.GunPath(1), "{ not json");
    std::filesystem::remove(tables.GunPath(3));
    EXPECT_EQ(tables.RestoreUnreadable(), 2);
    EXPECT_EQ(Read(tables.GunPath(1)), Read(tables.FactoryPath(1)));
    EXPECT_EQ(Read(tables.GunPath(1) += ".bak"), "{ not json") << "the damaged file is kept";
    EXPECT_EQ(tables.RestoreUnreadable(), 0);

    // Reset copies the factory file byte for byte.
    tables.StoreBullet(0, 4, {9, 9, false, false, 1});
    ASSERT_EQ(tables.ResetGun(0), RecoilTables::kDone);
    EXPECT_EQ(Read(tables.GunPath(0)), Read(tables.FactoryPath(0)));

    // Without a factory copy the gun has no events and shows empty values.
    std::filesystem::create_directories(Path("empty"));
    RecoilTables bare(Path("empty"), Path("none"));
    EXPECT_EQ(bare.RestoreUnreadable(), 0);
    EXPECT_EQ(bare.ReadBullet(0, 0), Bullet{});
    EXPECT_TRUE(bare.GunEvents(0).empty());
}

TEST_F(RecoilTablesTest, ImportAndExportCopyWholeFilesButRefuseWhatIsNotATable) {
    RecoilTables tables = Tables();
    tables.RestoreUnreadable();
    tables.StoreBullet(3, 2, {12, 34, false, true, 56});
    ASSERT_EQ(tables.ExportGun(3, Path("mine.shoot")), RecoilTables::kDone);
    EXPECT_EQ(Read(Path("mine.shoot")), Read(tables.GunPath(3)));

    ASSERT_EQ(tables.ImportGun(0, Path("mine.shoot")), RecoilTables::kDone);
    EXPECT_EQ(Read(tables.GunPath(0)), Read(Path("mine.shoot")));
    EXPECT_EQ(tables.ReadBullet(0, 2), (Bullet{12, 34, false, true, 56}));

    Write(Path("photo.shoot"), "\x89PNG....");
    const std::string before = Read(tables.GunPath(1));
    EXPECT_EQ(tables.ImportGun(1, Path("photo.shoot")), RecoilTables::kRefused);
    EXPECT_EQ(Read(tables.GunPath(1)), before);
}

TEST_F(RecoilTablesTest, TheImageOfFourFullGunsIs2920Bytes) {
    RecoilTables tables = Tables();
    tables.RestoreUnreadable();
    const std::vector<std::uint8_t> image = tables.BuildImage();
    ASSERT_EQ(image.size(), 2920u);
    EXPECT_EQ(image[0], 0xAA);
    EXPECT_EQ(image[1], 0x55);
    EXPECT_EQ(image[2] | image[3] << 8, 2920);
    EXPECT_EQ(image[4], 4);
    for (int gun = 0; gun < kGunCount; ++gun) {
        const int block = image[16 + 2 * gun] | image[17 + 2 * gun] << 8;
        EXPECT_EQ(block, 24 + gun * (4 + 180 * 4)) << gun;
        EXPECT_EQ(image[block] | image[block + 1] << 8, 180);
        // Bullet 1: the shot (left press, 10 ms), then its sideways and downward pull.
        const Bullet first = Factory(gun, 1);
        const int at = block + 4 + 6 * 4;
        EXPECT_EQ(image[at], 10);
        EXPECT_EQ(image[at + 2], 0x81);
        EXPECT_EQ(image[at + 3], 0x01);
        EXPECT_EQ(image[at + 8 + 2], first.left ? 0x84 : 0x04) << "Type 4 and its direction";
        EXPECT_EQ(image[at + 8 + 3], first.x);
        EXPECT_EQ(image[at + 12] | image[at + 13] << 8, first.delay);
        EXPECT_EQ(image[at + 12 + 3], first.y);
    }
}

TEST(ShippedRecoilTables, FourFullGunsOfWellFormedBullets) {
    const RecoilTables shipped(DefaultDataFolder(), DefaultDataFolder());
    for (int gun = 0; gun < kGunCount; ++gun) {
        const std::vector<MacroEvent> events = shipped.GunEvents(gun);
        ASSERT_EQ(events.size(), 180u) << GunFileName(gun);
        for (int bullet = 0; bullet < kBulletCount; ++bullet) {
            const MacroEvent* b = &events[static_cast<std::size_t>(bullet * 6)];
            EXPECT_EQ(b[0], (MacroEvent{true, 1, 1, 10})) << gun << "/" << bullet;
            EXPECT_EQ(b[1], (MacroEvent{false, 1, 1, 0})) << gun << "/" << bullet;
            EXPECT_EQ(b[2].type, 4);
            EXPECT_EQ(b[3].type, 5);
            EXPECT_EQ(b[4], (MacroEvent{b[2].down, 4, 0, 0}));
            EXPECT_EQ(b[5], (MacroEvent{b[3].down, 5, 0, 0}));
            EXPECT_GT(b[3].delay, 0) << "a gun fires at a pace";
            EXPECT_TRUE(b[2].button <= kMaxBulletDistance && b[3].button <= kMaxBulletDistance)
                << "what the mouse keeps";
        }
    }
}

} // namespace
} // namespace q407::profiles
