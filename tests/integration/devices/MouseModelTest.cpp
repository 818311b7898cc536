// The mouse model against the simulated mouse on the virtual bus, by cable and through the
// receiver: reading the mouse, the settings block in both directions, every setting change as
// it lands in the profile file and in the mouse's memory, faults, and the key table, macro image
// and recoil writes. What the mouse holds is always read back from the simulator.

#include "devices/MouseModel.h"

#include "integration/devices/ModelFolders.h"
#include "profiles/CMacroLibrary.h"
#include "profiles/JsonFile.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <unistd.h>

namespace q407::devices {
namespace {

namespace fs = std::filesystem;
namespace p = protocol;
using sim::SimProduct;

class NoPause final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds) override {}
};

// A user folder and a data folder of their own, with the shipped default data copied in.
struct Folders : testutil::ModelFolders {
    Folders() : ModelFolders("mouse", {"Mouse.Json", "default_light.json"}, "Mouse") {}
};

bool IsReceiver(SimProduct product) {
    return product != SimProduct::MouseA;
}

hid::DeviceIdentity IdentityOf(SimProduct product) {
    hid::DeviceIdentity identity;
    identity.vendorId = hid::kVendorId;
    identity.productId = product == SimProduct::MouseA           ? hid::kProductMouseA
                         : product == SimProduct::MouseAReceiver ? hid::kProductMouseAReceiver
                                                                 : hid::kProductMouseBReceiver;
    identity.deviceType = IsReceiver(product) ? hid::kDeviceMouseReceiver : hid::kDeviceMouse;
    return identity;
}

sim::FirmwareSpec SaneSpec(SimProduct product) {
    return product == SimProduct::MouseBReceiver ? sim::SaneMouseB()
                                                 : sim::SaneMouseA(IsReceiver(product));
}

constexpr const char* kUuid = "2026_12_09_10_00_00_000";

// One simulated mouse plugged into a bus and a mouse model attached to it.
class Rig {
public:
    explicit Rig(SimProduct which) : Rig(which, SaneSpec(which)) {}
    Rig(SimProduct which, sim::FirmwareSpec spec)
        : product(sim::SimulatedProduct::Create(which, std::move(spec))),
          model(bus, nullptr, nullptr, pacer) {
        EXPECT_TRUE(product->PlugInto(bus));
        model.SetIdentity(IdentityOf(which));
        model.SetDeviceFolderName("Mouse");
        model.SetProfileUuid(kUuid);
        model.SetLightConfigName("ravik_light");
        model.SetKeyCount(11);
        model.SetLedCount(15);
        EXPECT_TRUE(model.AttachCommand(IsReceiver(which) ? p::kModeReceiver : p::kModeCable,
                                        product->CommandPath(bus)));
        p::TransactTimeouts timeouts;
        timeouts.cableRead = 100;
        timeouts.receiverRead = 100;
        model.Protocol().SetTimeouts(timeouts);
    }

    // What the page's activation does with the model.
    void Activate() {
        ASSERT_EQ(model.ReadDevice(), 1);
        ASSERT_EQ(model.LoadProfile(), 1);
        ASSERT_EQ(model.ReadDeviceConfig(), 1);
    }

    sim::FirmwareModel& firmware() { return product->Firmware(); }
    std::vector<std::uint8_t> Block(int slot) {
        const auto memory = firmware().Memory().settingsMemory;
        const auto start = memory.begin() + slot * 96;
        return {start, start + 80};
    }
    Json::Value Entry() { return profiles::ReadJsonFile(model.GetProfilePath())["Device"][0]; }
    std::vector<std::uint8_t> Commands() {
        std::vector<std::uint8_t> commands;
        for (const p::Report& request : firmware().Requests()) {
            commands.push_back(request[p::kPosCommand]);
        }
        return commands;
    }

    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    NoPause pacer;
    MouseModel model;
};

const SimProduct kBoth[] = {SimProduct::MouseA, SimProduct::MouseAReceiver};

TEST(MouseModel, ActivationReadsTheMouseAndTakesItsSettingsIntoTheProfileFile) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        // The mouse runs profile slot 2, whose block differs from the default profile.
        rig.firmware().SetSettingsByte(0, 2);
        rig.firmware().SetSettingsByte(2 * 96 + 14 + 9 * 1 + 2, 0xD0); // stage 1: 2000 DPI
        rig.firmware().SetSettingsByte(2 * 96 + 14 + 9 * 1 + 3, 0x07);
        rig.firmware().SetSettingsByte(2 * 96 + 1, 5); // effect code 5
        int flag = -1;
        ASSERT_EQ(rig.model.ReadDevice([&](bool f) { flag = f ? 1 : 0; }), 1);
        const sim::FirmwareSpec memory = rig.firmware().Memory();
        EXPECT_EQ(rig.model.DeviceInfo(), memory.deviceInfo);
        EXPECT_EQ(flag, 1);
        EXPECT_EQ(rig.Commands().front(), IsReceiver(which) ? 0xAA : 0x01);
        const auto& raw = rig.model.Profile().GetRawBlock(1);
        EXPECT_TRUE(std::equal(memory.keyTable.begin(), memory.keyTable.end(), raw.begin()));
        EXPECT_EQ(rig.model.KeyMap().at(3), 3);
        EXPECT_EQ(rig.model.KeyMap().size(), 16u);

        ASSERT_EQ(rig.model.LoadProfile(), 1);
        EXPECT_TRUE(fs::exists(folders.Profiles() / (std::string(kUuid) + ".Json")));
        EXPECT_EQ(rig.Entry()["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt(), 800);
        ASSERT_EQ(rig.model.ReadDeviceConfig(), 1);
        EXPECT_EQ(rig.model.CurrentSlot(), 2);
        EXPECT_EQ(rig.model.ShownDpi(1), 2000);
        EXPECT_EQ(rig.model.ActiveStage(), 2);
        const Json::Value entry = rig.Entry();
        EXPECT_EQ(entry["DPIStages"]["StageDPIs"][1]["StageDPIX"].asInt(), 2000);
        EXPECT_EQ(entry["DPIStages"]["StageActive"].asInt(), 2);
        EXPECT_EQ(entry["LightInfo"]["SelectItem"].asInt(), 5);
        EXPECT_EQ(entry["LightInfo"]["Speed"].asInt(), 2);
        EXPECT_EQ(rig.model.GetLightParams().mode, 5);
        const char* rateKey = IsReceiver(which) ? "ReportSelectItem24K" : "ReportSelectItemUSB";
        EXPECT_EQ(entry["SystemStages"][rateKey].asInt(), 3);
    }
}

TEST(MouseModel, DpiEditsAreClampedStoredInTheFileAndWrittenToTheMouse) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.Activate();
        const std::pair<int, int> cases[] = {{49, 50}, {26001, 26000}, {1001, 1050}};
        for (const auto& [typed, expected] : cases) {
            EXPECT_EQ(rig.model.SetDpiValue(4, ParseDpiText(std::to_string(typed))), 1);
            EXPECT_EQ(rig.model.ShownDpi(4), expected);
            EXPECT_EQ(rig.Entry()["DPIStages"]["StageDPIs"][4]["StageDPIX"].asInt(), expected);
            const auto block = rig.Block(0);
            EXPECT_EQ(block[14 + 9 * 4 + 2] | block[14 + 9 * 4 + 3] << 8, expected);
            EXPECT_EQ(block[14 + 9 * 4 + 4] | block[14 + 9 * 4 + 5] << 8, expected);
        }
        EXPECT_EQ(rig.model.SetDpiValue(6, 800), 0);
    }
}

TEST(MouseModel, SteppedSensorStoresUnitsOnTheMouse) {
    Folders folders;
    sim::FirmwareSpec spec = sim::SaneMouseA();
    spec.deviceInfo[9] = 0x95;
    spec.deviceInfo[10] = 0x33;
    Rig rig(SimProduct::MouseA, spec);
    rig.Activate();
    EXPECT_EQ(rig.model.Sensor(), (SensorInfo{kSteppedSensor, 50, 100}));
    ASSERT_EQ(rig.model.SetDpiValue(0, ParseDpiText("1600")), 1);
    EXPECT_EQ(rig.Block(0)[14 + 2], 30);
    EXPECT_EQ(rig.Block(0)[14 + 3], 0);
    EXPECT_EQ(rig.model.ShownDpi(0), 1600);
    EXPECT_EQ(rig.Entry()["DPIStages"]["StageDPIs"][0]["StageDPIX"].asInt(), 30);
}

TEST(MouseModel, LightModesTranslateThroughTheEffectCodeList) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    const std::vector<int> codes = rig.model.LoadNameLists().effectCodes;
    ASSERT_GE(codes.size(), 12u);
    profiles::LightInfo light = rig.model.GetLightParams();
    for (const int mode : {0, 3, 10, 12, 40}) {
        light.mode = static_cast<std::uint8_t>(mode);
        light.speed = 1;
        ASSERT_EQ(rig.model.ApplyLightParams(light), 1);
        const auto block = rig.Block(0);
        EXPECT_EQ(block[1], codes[mode >= 12 ? 0 : static_cast<std::size_t>(mode)]) << mode;
        EXPECT_EQ(block[3], 3);
        EXPECT_EQ(rig.Entry()["LightInfo"]["SelectItem"].asInt(), mode);
    }
    EXPECT_NE(codes[0], 12); // so mode 12 cannot pass as its own code
}

TEST(MouseModel, EverySettingChangeReachesTheFileAndDeviceFieldsTheMouse) {
    struct Case {
        MouseField field;
        const char* key;
        int blockByte; // -1: not carried by the block
    };
    const Case cases[] = {
        {MouseField::Dormancy, "DormancyTime", -1},
        {MouseField::AntiShake, "AntiShake", -1},
        {MouseField::LiftOff, "SilentAltitudeItem", 78},
        {MouseField::SensorLift, "SensorLif", -1},
        {MouseField::MotionSync, "MotionSync", -1},
        {MouseField::AngleSnapping, "LinearCalibration", 77},
        {MouseField::Debounce, "KeyDelay", -1},
        {MouseField::DeepSleep, "DeepSleepOff", -1},
        {MouseField::PointerSpeed, "MouseSpeed", -1},
        {MouseField::WheelLines, "WheelScorlllinse", -1},
        {MouseField::ScrollByPage, "ScorllPage", -1},
        {MouseField::DoubleClickTime, "DoubleClickTime", -1},
    };
    Folders folders;
    Rig rig(SimProduct::MouseAReceiver);
    rig.Activate();
    for (const Case& c : cases) {
        const int value = c.field == MouseField::DoubleClickTime ? 700 : 1;
        const int writes = rig.firmware().RequestCount(0x06);
        const int commits = rig.firmware().Commits();
        EXPECT_EQ(rig.model.SetSettingField(c.field, value), 1) << c.key;
        EXPECT_EQ(rig.Entry()["SystemStages"][c.key].asInt(), value) << c.key;
        EXPECT_EQ(rig.model.GetSettingField(c.field), value);
        if (IsDeviceField(c.field)) {
            EXPECT_GT(rig.firmware().RequestCount(0x06), writes) << c.key;
            EXPECT_EQ(rig.firmware().Commits(), commits + 1) << c.key;
        } else {
            EXPECT_EQ(rig.firmware().RequestCount(0x06), writes) << c.key;
        }
        if (c.blockByte >= 0) {
            EXPECT_EQ(rig.Block(0)[static_cast<std::size_t>(c.blockByte)], value) << c.key;
        }
    }
}

TEST(MouseModel, ReportRateGoesToTheFieldOfTheConnection) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.Activate();
        EXPECT_EQ(rig.model.ReportRateWireless(), IsReceiver(which));
        ASSERT_EQ(rig.model.SetReportRate(IsReceiver(which) ? 4 : 2), 1);
        const Json::Value system = rig.Entry()["SystemStages"];
        EXPECT_EQ(system["ReportSelectItem24K"].asInt(), IsReceiver(which) ? 4 : 3);
        EXPECT_EQ(system["ReportSelectItemUSB"].asInt(), IsReceiver(which) ? 3 : 2);
        EXPECT_EQ(rig.Block(0)[11], IsReceiver(which) ? 4 : 2);
        // Read back, the byte lands in the same field again.
        ASSERT_EQ(rig.model.ReadDeviceConfig(), 1);
        EXPECT_EQ(rig.model.ReportRate(), IsReceiver(which) ? 4 : 2);
    }
}

TEST(MouseModel, StagesColoursAndTheActiveStage) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    const int active = rig.model.ActiveStage();
    const int writes = rig.firmware().RequestCount(0x06);
    EXPECT_EQ(rig.model.SetStageEnabled(active, false), 0);
    EXPECT_EQ(rig.firmware().RequestCount(0x06), writes);
    EXPECT_EQ(rig.Block(0)[14 + 9 * active], 1);

    ASSERT_EQ(rig.model.SetStageEnabled(3, false), 1);
    EXPECT_EQ(rig.Block(0)[14 + 9 * 3], 0);
    ASSERT_EQ(rig.model.SelectActiveStage(3), 1);
    EXPECT_EQ(rig.Block(0)[12], 3);
    EXPECT_EQ(rig.Block(0)[14 + 9 * 3], 1); // the active stage is on
    EXPECT_EQ(rig.Entry()["DPIStages"]["StageActive"].asInt(), 3);

    ASSERT_EQ(rig.model.SetDpiColour(5, 0xFF102030), 1);
    EXPECT_EQ(rig.model.GetDpiColour(5), 0xFF102030);
    const auto block = rig.Block(0);
    EXPECT_EQ((std::vector<int>{block[14 + 45 + 6], block[14 + 45 + 7], block[14 + 45 + 8]}),
              (std::vector<int>{0x10, 0x20, 0x30}));
    EXPECT_EQ(rig.model.GetDpiColour(9), 0u);
}

TEST(MouseModel, BytesTheProgramDoesNotKnowAreKept) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    const std::size_t kept[] = {10, 13, 68, 70, 72, 74, 76, 79};
    for (const std::size_t at : kept) {
        rig.firmware().SetSettingsByte(at, static_cast<std::uint8_t>(0xA0 + at));
    }
    rig.firmware().SetSettingsByte(9, 0x33);
    rig.firmware().SetSettingsByte(0, 0);
    // Written before anything was read: the block comes from the mouse first.
    ASSERT_EQ(rig.model.LoadProfile(), 1);
    ASSERT_EQ(rig.model.SetDpiValue(0, 450), 1);
    auto block = rig.Block(0);
    for (const std::size_t at : kept) {
        EXPECT_EQ(block[at], 0xA0 + at) << at;
    }
    EXPECT_EQ(block[9], 0);
    EXPECT_EQ(block[0], 0);
}

TEST(MouseModel, AFailedCommandEndsTheWriteWithNothingFurther) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        rig.Activate();
        const auto before = rig.Block(0);
        const int commits = rig.firmware().Commits();
        rig.firmware().StatusOnChunk(0x06, 0, 0xFF);
        EXPECT_EQ(rig.model.SetDpiValue(0, 5000), 0);
        EXPECT_EQ(rig.firmware().Commits(), commits);
        EXPECT_EQ(rig.Block(0), before);
        EXPECT_EQ(rig.Commands().back(), 0x06);

        rig.firmware().ClearRequests();
        rig.firmware().StatusOnChunk(0x01, 0, 0xFF);
        EXPECT_EQ(rig.model.WriteConfig(0, 0, 1, 0, 0), 0);
        EXPECT_EQ(rig.firmware().RequestCount(0x06), 0);
        EXPECT_EQ(rig.firmware().RequestCount(0x02), 0);
        // The profile keeps the edit.
        EXPECT_EQ(rig.model.ShownDpi(0), 5000);
    }
}

TEST(MouseModel, AMouseSwitchedOffBehindTheReceiverGetsOnlyTheLinkQuery) {
    Folders folders;
    Rig rig(SimProduct::MouseAReceiver);
    rig.Activate();
    const auto before = rig.Block(0);
    rig.firmware().SetSwitchedOff(true);
    rig.firmware().ClearRequests();
    EXPECT_EQ(rig.model.ReadDevice(), 0);
    EXPECT_EQ(rig.model.ReadDeviceConfig(), 0);
    EXPECT_EQ(rig.model.SetDpiValue(1, 900), 0);
    EXPECT_FALSE(rig.model.IsLinkOnline());
    EXPECT_FALSE(rig.model.PollPowerState().has_value());
    EXPECT_EQ(rig.model.WriteRecoilImage(std::vector<std::uint8_t>(10, 1)), 0);
    for (const std::uint8_t command : rig.Commands()) {
        EXPECT_EQ(command, 0xAA);
    }
    rig.firmware().SetSwitchedOff(false);
    EXPECT_EQ(rig.Block(0), before);
    EXPECT_TRUE(rig.model.IsLinkOnline());
}

TEST(MouseModel, SettingsSurviveARestartAndComeBackFromTheMouse) {
    Folders folders;
    Rig rig(SimProduct::MouseAReceiver);
    rig.Activate();
    ASSERT_EQ(rig.model.SetDpiValue(2, 2450), 1);
    ASSERT_EQ(rig.model.SelectActiveStage(2), 1);
    ASSERT_EQ(rig.model.SetSettingField(MouseField::LiftOff, 2), 1);
    profiles::LightInfo light = rig.model.GetLightParams();
    light.mode = 4;
    light.red = 9;
    ASSERT_EQ(rig.model.ApplyLightParams(light), 1);
    // Another program run: a new model on the same mouse, after the profile file was lost.
    fs::remove(rig.model.GetProfilePath());
    MouseModel again(rig.bus, nullptr, nullptr, rig.pacer);
    again.SetIdentity(IdentityOf(SimProduct::MouseAReceiver));
    again.SetDeviceFolderName("Mouse");
    again.SetProfileUuid(kUuid);
    ASSERT_TRUE(again.AttachCommand(p::kModeReceiver, rig.product->CommandPath(rig.bus)));
    ASSERT_EQ(again.ReadDevice(), 1);
    ASSERT_EQ(again.LoadProfile(), 1);
    EXPECT_EQ(again.ShownDpi(2), 1600); // the default profile's
    ASSERT_EQ(again.ReadDeviceConfig(), 1);
    EXPECT_EQ(again.ShownDpi(2), 2450);
    EXPECT_EQ(again.ActiveStage(), 2);
    EXPECT_EQ(again.GetSettings().liftOffDistance, 2);
    EXPECT_EQ(again.GetLightParams().mode, 4);
    EXPECT_EQ(again.GetLightParams().red, 9);
    EXPECT_EQ(rig.Entry()["DPIStages"]["StageDPIs"][2]["StageDPIX"].asInt(), 2450);
}

TEST(MouseModel, AReadBackRewritesTheFileOnlyWhenTheMouseHoldsSomethingElse) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    const fs::path file = rig.model.GetProfilePath();
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    const auto stamp = fs::last_write_time(file);
    ASSERT_EQ(rig.model.ReadDeviceConfig(), 1);
    EXPECT_EQ(fs::last_write_time(file), stamp);
    rig.firmware().SetSettingsByte(78, 2); // lift-off distance changed on the mouse
    ASSERT_EQ(rig.model.ReadDeviceConfig(), 1);
    EXPECT_NE(fs::last_write_time(file), stamp);
    EXPECT_EQ(rig.Entry()["SystemStages"]["SilentAltitudeItem"].asInt(), 2);
}

TEST(MouseModel, ReadingTheMouseLeavesAPausedPreviewPaused) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    rig.model.SetPreviewPaused(true); // the window is hidden
    ASSERT_EQ(rig.model.ReadDeviceConfig(), 1);
    EXPECT_TRUE(rig.model.IsPreviewPaused());
}

TEST(MouseModel, ResetTakesTheDefaultProfileAndAMissingDefaultChangesNothing) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    ASSERT_EQ(rig.model.SetDpiValue(0, 3000), 1);
    ASSERT_EQ(rig.model.ResetProfileToDefault(), 1);
    EXPECT_EQ(rig.model.ShownDpi(0), 400);
    EXPECT_EQ(rig.Entry()["DPIStages"]["StageDPIs"][0]["StageDPIX"].asInt(), 400);

    ASSERT_EQ(rig.model.SetDpiValue(0, 3000), 1);
    fs::remove(folders.DefaultData() / "Mouse.Json");
    EXPECT_EQ(rig.model.ResetProfileToDefault(), 0);
    EXPECT_EQ(rig.model.ShownDpi(0), 3000);
    EXPECT_EQ(rig.Entry()["DPIStages"]["StageDPIs"][0]["StageDPIX"].asInt(), 3000);
}

TEST(MouseModel, NameListsFromTheirFilesAndEmptyWhenMissingOrDamaged) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    profiles::CMacroLibrary library(folders.Profiles());
    ASSERT_EQ(library.NewMacro(), profiles::CMacroLibrary::kDone);
    {
        std::ofstream config(folders.Profiles() / "ravik_light.config");
        config << R"({"LightInfo": [[{"LightName": "Sunset", "Guid": "g1"}]]})";
    }
    MouseModel::NameLists lists = rig.model.LoadNameLists();
    EXPECT_EQ(lists.macroNames, std::vector<std::string>{"macro_1"});
    ASSERT_EQ(lists.lightNames.size(), 12u);
    EXPECT_EQ(lists.lightNames[0], "light_mode_0");
    EXPECT_EQ(lists.lightVisible.size(), 12u);
    EXPECT_EQ(lists.effectCodes.size(), 12u);
    EXPECT_EQ(lists.areaLightNames.size(), 2u);
    EXPECT_EQ(lists.userLightNames, std::vector<std::string>{"Sunset"});

    const auto effectBefore = rig.Block(0)[1];
    {
        std::ofstream damaged(folders.DefaultData() / "default_light.json");
        damaged << "{ \"DefaultLightName\": [ {\"LightName\": ";
    }
    std::ofstream(folders.Profiles() / "macro.config") << "\x01\x02";
    std::ofstream(folders.Profiles() / "ravik_light.config") << R"({"LightInfo": 7})";
    lists = rig.model.LoadNameLists();
    EXPECT_TRUE(lists.macroNames.empty());
    EXPECT_TRUE(lists.lightNames.empty());
    EXPECT_TRUE(lists.effectCodes.empty());
    EXPECT_TRUE(lists.userLightNames.empty());
    // Without codes the mouse keeps its effect.
    ASSERT_EQ(rig.model.SetDpiValue(0, 700), 1);
    EXPECT_EQ(rig.Block(0)[1], effectBefore);

    fs::remove_all(folders.DefaultData());
    fs::remove_all(folders.Profiles());
    lists = rig.model.LoadNameLists();
    EXPECT_TRUE(lists.lightNames.empty() && lists.areaLightNames.empty() &&
                lists.macroNames.empty() && lists.userLightNames.empty());
}

TEST(MouseModel, KeyTableMacroImageAndRecoilLandInTheMouse) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        // Before the mouse was read there is no factory table to build on.
        ASSERT_EQ(rig.model.LoadProfile(), 1);
        EXPECT_EQ(rig.model.WriteCurrentKeyTable(&rig.model.Profile()), 0);
        EXPECT_EQ(rig.firmware().RequestCount(0x09), 0);
        rig.Activate();
        profiles::CMacroLibrary library(folders.Profiles());
        ASSERT_EQ(library.NewMacro(), profiles::CMacroLibrary::kDone);
        ASSERT_EQ(library.NewMacro(), profiles::CMacroLibrary::kDone);
        ASSERT_EQ(library.SaveEvents(0, {{true, 10, 4, 20}, {false, 10, 4, 5}}), 1);
        ASSERT_EQ(library.SaveEvents(1, {{true, 1, 1, 0}}), 1);

        KeyEntries entries = rig.model.CurrentKeyEntries();
        ASSERT_EQ(entries.size(), 11u);
        entries[3] = 0x700100; // macro 1, used first
        entries[5] = 0x700000; // macro 0
        entries[6] = 0x710100; // macro 1 again
        entries[7] = 0x700900; // a macro the library does not hold
        entries[8] = 0x200004; // the A key
        ASSERT_EQ(rig.model.UsedMacros(entries), (std::vector<int>{1, 0}));
        EXPECT_TRUE(rig.model.GetMacroList().empty()); // the profile's keys use none yet
        ASSERT_EQ(rig.model.WriteKeyTable(&rig.model.Profile(), entries), 1);
        const sim::FirmwareSpec memory = rig.firmware().Memory();
        auto key = [&](std::size_t k) {
            return std::vector<int>{memory.keyTable[3 * k], memory.keyTable[3 * k + 1],
                                    memory.keyTable[3 * k + 2]};
        };
        EXPECT_EQ(key(3), (std::vector<int>{0x70, 0, 0}));
        EXPECT_EQ(key(5), (std::vector<int>{0x70, 1, 0}));
        EXPECT_EQ(key(6), (std::vector<int>{0x71, 0, 0}));
        const auto defaults = rig.model.Profile().GetKeyList()[7].defaultAssignment;
        EXPECT_EQ(key(7), (std::vector<int>{defaults[0], defaults[1], defaults[2]}));
        EXPECT_EQ(key(8), (std::vector<int>{0x20, 0, 4}));
        // Positions without a key keep the factory function.
        EXPECT_EQ(key(14), (std::vector<int>{memory.defaultKeyTable[42], memory.defaultKeyTable[43],
                                             memory.defaultKeyTable[44]}));

        ASSERT_EQ(rig.model.WriteMacroImage(rig.model.UsedMacros(entries)), 0);
        const auto image = rig.firmware().MacroMemory();
        EXPECT_EQ((std::vector<int>{image[0], image[1], image[2], image[4]}),
                  (std::vector<int>{0xAA, 0x55, 16 + 12 + 4 * 3, 2}));
        EXPECT_EQ(image[16 + 4 + 4 + 2], 0x81); // macro 1 (first in the image): button down

        std::vector<std::uint8_t> recoil(150);
        for (std::size_t i = 0; i < recoil.size(); ++i) {
            recoil[i] = static_cast<std::uint8_t>(i * 7 + 1);
        }
        ASSERT_EQ(rig.model.WriteRecoilImage(recoil), 1);
        const auto stored = rig.firmware().RecoilMemory();
        EXPECT_TRUE(std::equal(recoil.begin(), recoil.end(), stored.begin()));
    }
}

TEST(MouseModel, OldFirmwareNoticeOnlyForMouseABelow103AndOnce) {
    Folders folders;
    sim::FirmwareSpec old = sim::SaneMouseA(true);
    old.deviceInfo[1] = 0x02;
    Rig rig(SimProduct::MouseAReceiver, old);
    EXPECT_EQ(rig.model.FirmwareVersion(), 0x0102);
    EXPECT_TRUE(rig.model.NeedsOldFirmwareNotice());
    rig.model.MarkOldFirmwareNoticeSent();
    EXPECT_FALSE(rig.model.NeedsOldFirmwareNotice());

    Rig current(SimProduct::MouseA);
    EXPECT_EQ(current.model.FirmwareVersion(), 0x0103);
    EXPECT_FALSE(current.model.NeedsOldFirmwareNotice());

    sim::FirmwareSpec otherModel = sim::SaneMouseB();
    otherModel.deviceInfo[1] = 0x01;
    Rig mouseB(SimProduct::MouseBReceiver, otherModel);
    EXPECT_FALSE(mouseB.model.NeedsOldFirmwareNotice());

    Rig closed(SimProduct::MouseAReceiver, old);
    closed.model.DetachCommand();
    EXPECT_FALSE(closed.model.NeedsOldFirmwareNotice());
}

TEST(MouseModel, PowerStateCarriesTheWirelessFlagUntilAPowerValueArrives) {
    for (const SimProduct which : kBoth) {
        Folders folders;
        Rig rig(which);
        const auto state = rig.model.PollPowerState();
        ASSERT_TRUE(state.has_value());
        EXPECT_EQ((*state)[3], IsReceiver(which) ? 1 : 0);
        EXPECT_EQ((*state)[0], 0);
        EXPECT_EQ(rig.model.IsLinkOnline(), IsReceiver(which));
        rig.model.SetPowerValue(80);
        EXPECT_FALSE(rig.model.PollPowerState().has_value());
    }
}

TEST(MouseModel, DeviceFramesAnimateTheLeds) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    profiles::LightInfo light = rig.model.GetLightParams();
    light.brightness = 4;
    light.multiColor = 0;
    light.red = 200;
    rig.model.SetLightParams(light);

    // Mode 0: a band of lit LEDs that moves on.
    rig.model.PreviewDeviceFrameA();
    auto lit = [&] {
        std::vector<int> on;
        const auto leds = rig.model.LedColours();
        for (std::size_t i = 0; i < leds.size(); ++i) {
            if (leds[i].level == 255) {
                on.push_back(static_cast<int>(i));
                EXPECT_EQ(leds[i].red, 200);
            }
        }
        return on;
    };
    const std::vector<int> first = lit();
    EXPECT_FALSE(first.empty());
    EXPECT_LT(first.size(), 15u);
    rig.model.PreviewDeviceFrameA();
    EXPECT_NE(lit(), first);

    // Mode 5: every LED a different hue, moving from frame to frame.
    rig.model.PreviewDeviceFrameB();
    const auto wave = rig.model.LedColours();
    EXPECT_NE(wave[0], wave[7]);
    rig.model.PreviewDeviceFrameB();
    EXPECT_NE(rig.model.LedColours()[0], wave[0]);

    // Mode 6: dark until the mouse reports a click, then the ripple fades out.
    light.mode = 6;
    rig.model.SetLightParams(light);
    rig.model.PreviewDeviceFrameC();
    EXPECT_EQ(rig.model.LedColours()[3].level, 0);
    ASSERT_TRUE(rig.model.StartListening(rig.product->EventPath(rig.bus), kKindMouse));
    ASSERT_TRUE(rig.product->EmitRipple());
    for (int i = 0; i < 300 && rig.model.LedStates()[3].ripple == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    rig.model.PreviewDeviceFrameC();
    EXPECT_GT(rig.model.LedColours()[3].level, 0);
    for (int i = 0; i < 100; ++i) {
        rig.model.PreviewDeviceFrameC();
    }
    EXPECT_EQ(rig.model.LedColours()[3].level, 0);
    rig.model.StopPageThreads();
}

TEST(MouseModel, SavedUserEffectsPlayTheirStepsAndRunAsTheFirstEffectOnTheMouse) {
    Folders folders;
    Rig rig(SimProduct::MouseA);
    rig.Activate();
    std::ofstream(folders.Profiles() / "ravik_light.config")
        << R"({"LightInfo": [[{"LightName": "Mine", "Guid": "fx1"}]]})";
    std::ofstream(folders.Profiles() / "fx1.light")
        << R"({"LEDEffectList": [{"LEDREGMode": 3, "LEDBrightness": 4, "red": 10, "green": 20,
              "blue": 30, "Time": 100000}]})";
    rig.model.LoadNameLists();
    profiles::LightInfo light = rig.model.GetLightParams();
    light.mode = kFirstUserLightMode;
    ASSERT_EQ(rig.model.ApplyLightParams(light), 1);
    ASSERT_EQ(rig.model.EffectSteps().size(), 1u);
    EXPECT_EQ(rig.Block(0)[1], rig.model.EffectCodes()[0]);
    rig.model.RunEffectStep();
    EXPECT_EQ(rig.model.LedColours()[4], (LedColour{10, 20, 30, 255}));

    light.mode = kFirstUserLightMode + 1; // no such saved effect: nothing to play
    ASSERT_EQ(rig.model.ApplyLightParams(light), 1);
    rig.model.RunEffectStep();
    EXPECT_EQ(rig.model.LedColours()[4], LedColour{});
}

} // namespace
} // namespace q407::devices
