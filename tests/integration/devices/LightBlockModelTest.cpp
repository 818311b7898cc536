// The mouse pad and the headset models against their simulated products on the virtual bus: the
// 21-byte light block (read at slot × 33, written at slot × 64), the effect-code translation, the
// power state with the phone on the pad's charger, the profile, and the pad's own marker frames.
// What the device holds is always read back from the simulator.

#include "devices/HeadsetModel.h"
#include "devices/MousePadModel.h"
#include "integration/devices/ModelFolders.h"
#include "profiles/JsonFile.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace q407::devices {
namespace {

namespace fs = std::filesystem;
namespace p = protocol;
namespace lb = light_block;
using sim::SimProduct;

class NoPause final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds) override {}
};

// A user folder and a data folder of their own, with the shipped default data copied in.
struct Folders : testutil::ModelFolders {
    Folders() : ModelFolders("block", {"MousePad.Json", "Headset.Json", "default_light.json"}) {}
};

constexpr const char* kUuid = "2026_12_09_11_00_00_000";

// The pad or the headset on a bus, its model attached by cable.
struct Rig {
    explicit Rig(SimProduct which)
        : pad(which == SimProduct::MousePad), product(sim::SimulatedProduct::Create(which)),
          model(pad ? std::unique_ptr<LightBlockModel>(
                          std::make_unique<MousePadModel>(bus, nullptr, nullptr, pacer))
                    : std::make_unique<HeadsetModel>(bus, nullptr, nullptr, pacer)) {
        EXPECT_TRUE(product->PlugInto(bus));
        hid::DeviceIdentity identity;
        identity.vendorId = hid::kVendorId;
        identity.productId = pad ? hid::kProductMousePad : hid::kProductHeadset;
        identity.deviceType = pad ? hid::kDeviceMousePad : hid::kDeviceHeadset;
        model->SetIdentity(identity);
        model->SetDeviceFolderName(pad ? "MousePad" : "Headset");
        model->SetDeviceIndex(pad ? 2 : 3);
        model->SetLightTable(pad ? 2 : 3);
        model->SetProfileUuid(kUuid);
        model->SetLightConfigName("ravik_light");
        model->SetLedCount(pad ? 15 : 13);
        EXPECT_TRUE(model->AttachCommand(p::kModeCable, product->CommandPath(bus)));
        p::TransactTimeouts timeouts;
        timeouts.cableRead = 100;
        model->Protocol().SetTimeouts(timeouts);
        EXPECT_EQ(model->LoadProfile(), 1);
    }

    sim::FirmwareModel& firmware() { return product->Firmware(); }
    std::vector<std::uint8_t> Memory(std::size_t at, std::size_t length) {
        const auto memory = firmware().Memory().settingsMemory;
        return {memory.begin() + static_cast<long>(at),
                memory.begin() + static_cast<long>(at + length)};
    }
    Json::Value Entry() {
        return profiles::ReadJsonFile(model->GetProfilePath())["Device"][pad ? 2 : 3];
    }
    std::vector<std::uint8_t> Commands() {
        std::vector<std::uint8_t> commands;
        for (const p::Report& request : firmware().Requests()) {
            commands.push_back(request[p::kPosCommand]);
        }
        return commands;
    }
    int Code(int mode) {
        return model->LoadNameLists().effectCodes.at(static_cast<std::size_t>(mode));
    }

    Folders folders;
    bool pad;
    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> product;
    NoPause pacer;
    std::unique_ptr<LightBlockModel> model;
};

class LightBlockModelTest : public ::testing::TestWithParam<SimProduct> {};

TEST_P(LightBlockModelTest, ReadsDeviceInformationAndTheBlockOfTheCurrentSlot) {
    Rig rig(GetParam());
    ASSERT_EQ(rig.model->ReadDeviceInfo(), 1);
    EXPECT_EQ(rig.model->DeviceInfo(), rig.firmware().Memory().deviceInfo);
    EXPECT_EQ(rig.Commands(), (std::vector<std::uint8_t>{0x01, 0x03, 0x02}));

    // The device runs slot 2, whose block lies at 2 × 33 and holds effect code 2 at speed 1.
    rig.firmware().SetSettingsByte(0, 2);
    rig.firmware().SetSettingsByte(2 * 33 + 3, 3);
    rig.firmware().SetSettingsByte(2 * 33 + 9, 0x5A);
    ASSERT_EQ(rig.model->ReadDeviceConfig(), 1);
    EXPECT_EQ(rig.model->CurrentSlot(), 2);
    const auto expectedMode =
        std::find(rig.model->EffectCodes().begin(), rig.model->EffectCodes().end(), 2) -
        rig.model->EffectCodes().begin();
    EXPECT_EQ(rig.model->ConfigBlock()[lb::kEffect], expectedMode);
    EXPECT_EQ(rig.model->ConfigBlock()[lb::kSpeed], 1); // level 4 - 3
    EXPECT_EQ(rig.model->ConfigBlock()[9], 0x5A);

    // A code the list does not hold stays as it is.
    rig.firmware().SetSettingsByte(2 * 33 + 1, 0x63);
    ASSERT_EQ(rig.model->ReadDeviceConfig(), 1);
    EXPECT_EQ(rig.model->ConfigBlock()[lb::kEffect], 0x63);
}

TEST_P(LightBlockModelTest, LightEditsAreStoredAndWrittenAtSlotTimes64KeepingUnknownBytes) {
    Rig rig(GetParam());
    rig.firmware().SetSettingsByte(9, 0x77);  // unknown byte of block 0
    rig.firmware().SetSettingsByte(20, 0x33); // the last one written
    profiles::LightInfo light = rig.model->GetLightParams();
    light.mode = 3;
    light.brightness = 2;
    light.speed = 1;
    light.multiColor = 0;
    light.red = 10;
    light.green = 20;
    light.blue = 30;
    // Before any read the block is read first, so nothing the program does not know is zeroed.
    ASSERT_EQ(rig.model->ApplyLightParams(light), 1);
    const auto block = rig.Memory(0, lb::kSize);
    EXPECT_EQ(block[lb::kEffect], rig.Code(3));
    EXPECT_EQ(block[lb::kBrightness], 2);
    EXPECT_EQ(block[lb::kSpeed], 3);
    EXPECT_EQ(block[lb::kMultiColour], 0);
    EXPECT_EQ(block[lb::kRed], 10);
    EXPECT_EQ(block[lb::kRed + 2], 30);
    EXPECT_EQ(block[9], 0x77);
    EXPECT_EQ(block[20], 0x33);
    EXPECT_EQ(rig.Entry()["LightInfo"]["SelectItem"].asInt(), 3);
    EXPECT_EQ(rig.Entry()["LightInfo"]["Red"].asInt(), 10);
    // The page keeps the number and the level; the same block written again sends the same code.
    EXPECT_EQ(rig.model->ConfigBlock()[lb::kEffect], 3);
    EXPECT_EQ(rig.model->ConfigBlock()[lb::kSpeed], 1);
    ASSERT_EQ(rig.model->WriteConfig(0, 0, 1, 0, 0), 1);
    EXPECT_EQ(rig.Memory(0, lb::kSize), block);

    // Slot 1 is written 21 bytes at 64, not at 33 where it is read.
    const auto before33 = rig.Memory(33, 31);
    ASSERT_EQ(rig.model->WriteConfig(1, 0, 1, 0, 0), 1);
    EXPECT_EQ(rig.Memory(64, lb::kSize)[lb::kEffect], rig.Code(3));
    EXPECT_EQ(rig.Memory(33, 31), before33);
}

TEST_P(LightBlockModelTest, ModesPastTheListGoOutAsTheirPageAllowsAndFailuresWriteNothingMore) {
    Rig rig(GetParam());
    profiles::LightInfo light = rig.model->GetLightParams();
    light.mode = 12;
    ASSERT_EQ(rig.model->ApplyLightParams(light), 1);
    // The headset sends its first effect; the pad has no code for it and sends the number.
    EXPECT_EQ(rig.Memory(0, lb::kSize)[lb::kEffect], rig.pad ? 12 : rig.Code(0));

    rig.firmware().StatusOnChunk(0x01, 0, 0xFF);
    rig.firmware().ClearRequests();
    EXPECT_EQ(rig.model->WriteConfig(0, 0, 1, 0, 0), 0);
    EXPECT_EQ(rig.Commands(), std::vector<std::uint8_t>{0x01});

    rig.model->DetachCommand();
    rig.firmware().ClearRequests();
    EXPECT_EQ(rig.model->ReadDeviceConfig(), 0);
    EXPECT_EQ(rig.model->WriteConfig(0, 0, 1, 0, 0), 0);
    EXPECT_FALSE(rig.model->PollPowerState());
    EXPECT_EQ(rig.firmware().Requests().size(), 0u);
}

TEST_P(LightBlockModelTest, PowerStateCarriesTheWiredFlagAndThePhoneOnTheCharger) {
    Rig rig(GetParam());
    rig.firmware().SetPowerState({100, 1, 0, 9, 4, 2, 0, 0});
    const auto state = rig.model->PollPowerState();
    ASSERT_TRUE(state);
    EXPECT_EQ(*state, (std::array<std::uint8_t, 6>{100, 1, 0, 0, 4, 2}));
    rig.firmware().DropAnswers(2);
    EXPECT_FALSE(rig.model->PollPowerState());
}

TEST_P(LightBlockModelTest, ResetTakesTheDefaultProfileBack) {
    Rig rig(GetParam());
    profiles::LightInfo light = rig.model->GetLightParams();
    const int defaultMode = light.mode;
    light.mode = 4;
    ASSERT_EQ(rig.model->ApplyLightParams(light), 1);
    ASSERT_EQ(rig.Entry()["LightInfo"]["SelectItem"].asInt(), 4);
    EXPECT_EQ(rig.model->ResetProfileToDefault(), 1);
    EXPECT_EQ(rig.Entry()["LightInfo"]["SelectItem"].asInt(), defaultMode);
    EXPECT_EQ(rig.model->GetLightParams().mode, defaultMode);
}

TEST_P(LightBlockModelTest, MarkerFramesRunRoundTheEdge) {
    Rig rig(GetParam());
    profiles::LightInfo light = rig.model->GetLightParams();
    light.brightness = 4;
    light.multiColor = 0;
    light.red = 255;
    rig.model->SetLightParams(light);
    const int leds = rig.model->LedCount();
    for (const bool frameB : {true, false}) {
        rig.model->ClearEffectBuffers();
        std::vector<int> litFirst;
        for (int frame = 0; frame < 40; ++frame) {
            frameB ? rig.model->PreviewDeviceFrameB() : rig.model->PreviewDeviceFrameC();
            const auto levels = rig.model->LedLevels();
            for (int led = 0; led < leds; ++led) {
                if (levels[static_cast<std::size_t>(led)] == 255 &&
                    std::find(litFirst.begin(), litFirst.end(), led) == litFirst.end()) {
                    litFirst.push_back(led);
                }
            }
        }
        // Within 40 frames the markers pass every LED of the edge.
        EXPECT_EQ(static_cast<int>(litFirst.size()), leds) << (frameB ? "B" : "C");
        EXPECT_EQ(rig.model->LedLevels()[static_cast<std::size_t>(leds)], 0) << "past the edge";
    }
}

INSTANTIATE_TEST_SUITE_P(PadAndHeadset, LightBlockModelTest,
                         ::testing::Values(SimProduct::MousePad, SimProduct::Headset),
                         [](const auto& param) {
                             return param.param == SimProduct::MousePad ? "MousePad" : "Headset";
                         });

} // namespace
} // namespace q407::devices
