// The pad's light block and the headset's LED output reports through the real hidraw driver: the
// simulated products are put on the kernel through /dev/uhid and their models talk to them with
// the Linux backend (and the protocol's real pauses).

#include "devices/HeadsetModel.h"
#include "devices/MousePadModel.h"
#include "hid/HidPath.h"
#include "hid/LinuxHidBackend.h"
#include "sim/SimulatedProduct.h"
#include "support/HidVm.h"
#include "support/ScopedEnv.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>

namespace q407::devices {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class KernelPadAndHeadsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testutil::InsideHidVm()) {
            GTEST_SKIP() << "needs /dev/uhid inside the hid-vm (run-in-vm.sh)";
        }
    }
    void TearDown() override {
        if (m_product) {
            m_product->Unplug();
        }
    }

    // Puts the product on the kernel; returns the path of its command collection.
    std::string PutOnKernel(sim::SimProduct which) {
        m_product = sim::SimulatedProduct::Create(which);
        std::string error;
        m_bridges = sim::PutOnKernel(m_product, &error);
        EXPECT_FALSE(m_bridges.empty()) << error;
        std::vector<std::string> paths;
        EXPECT_TRUE(m_backend.Enumerate(paths));
        const auto command = m_product->CommandInterface()->Info();
        for (const auto& path : paths) {
            if (hid::ProductIdFromPath(path) == command.productId &&
                hid::InterfaceNumberFromPath(path) == command.interfaceNumber &&
                hid::CollectionNumberFromPath(path) == m_product->CommandCollection()) {
                return path;
            }
        }
        ADD_FAILURE() << "the command collection is not listed";
        return {};
    }
    std::vector<std::uint8_t> Memory(std::size_t at, std::size_t length) {
        const auto memory = m_product->Firmware().Memory().settingsMemory;
        return {memory.begin() + static_cast<long>(at),
                memory.begin() + static_cast<long>(at + length)};
    }

    testutil::ScopedEnv m_home{"XDG_DATA_HOME", "/tmp/q407-kernel-pad-home"};
    hid::LinuxHidBackend m_backend;
    std::shared_ptr<sim::SimulatedProduct> m_product;
    std::vector<std::shared_ptr<sim::UhidBridge>> m_bridges;
};

TEST_F(KernelPadAndHeadsetTest, PadBlockIsReadAtSlotTimes33AndWrittenAtSlotTimes64) {
    const std::string path = PutOnKernel(sim::SimProduct::MousePad);
    ASSERT_FALSE(path.empty());
    MousePadModel pad(m_backend);
    pad.SetDeviceFolderName("MousePad");
    pad.SetDeviceIndex(2);
    pad.SetLightTable(2);
    pad.SetProfileUuid("kernel");
    pad.SetLedCount(15);
    ASSERT_TRUE(pad.AttachCommand(protocol::kModeCable, path));
    ASSERT_EQ(pad.LoadProfile(), 1);
    ASSERT_EQ(pad.ReadDeviceInfo(), 1);
    EXPECT_EQ(pad.DeviceInfo(), m_product->Firmware().Memory().deviceInfo);

    m_product->Firmware().SetSettingsByte(0, 1);
    m_product->Firmware().SetSettingsByte(33 + 12, 0x44);
    ASSERT_EQ(pad.ReadDeviceConfig(), 1);
    EXPECT_EQ(pad.CurrentSlot(), 1);
    EXPECT_EQ(pad.ConfigBlock()[12], 0x44);

    profiles::LightInfo light = pad.GetLightParams();
    light.mode = 3;
    light.brightness = 1;
    light.speed = 4;
    ASSERT_EQ(pad.ApplyLightParams(light), 1);
    const auto block = Memory(0, light_block::kSize);
    EXPECT_EQ(block[light_block::kEffect], pad.EffectCodes().at(3));
    EXPECT_EQ(block[light_block::kBrightness], 1);
    EXPECT_EQ(block[light_block::kSpeed], 0);
    EXPECT_EQ(block[12], 0x44) << "the bytes the page does not know come from the pad";
    ASSERT_EQ(pad.WriteConfig(1, 0, 1, 0, 0), 1);
    EXPECT_EQ(Memory(64, light_block::kSize), block);
    const auto state = pad.PollPowerState();
    ASSERT_TRUE(state);
    EXPECT_EQ((*state)[5], m_product->Firmware().Memory().powerState[5]);
}

TEST_F(KernelPadAndHeadsetTest, HeadsetLedReportsReachTheDevice) {
    const std::string path = PutOnKernel(sim::SimProduct::Headset);
    ASSERT_FALSE(path.empty());
    HeadsetModel headset(m_backend);
    headset.SetLedCount(13);
    ASSERT_TRUE(headset.AttachCommand(protocol::kModeCable, path));
    std::vector<LedColour> frame(13, LedColour{255, 255, 255, 255});
    frame[12] = {0, 200, 0, 128};
    ASSERT_EQ(headset.WriteLedReports(frame), 12);
    const sim::FirmwareModel& firmware = m_product->Firmware();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (firmware.LedReports() < 12 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_EQ(firmware.LedReports(), 12);
    for (const std::uint8_t group : {std::uint8_t{0x22}, std::uint8_t{0x44}}) {
        const auto red = firmware.LedRegister(group, 0xAA);
        ASSERT_GE(red.size(), 7u);
        EXPECT_EQ(red[0], 247);
        const auto green = firmware.LedRegister(group, 0xAE);
        ASSERT_GE(green.size(), 6u);
        EXPECT_EQ(green[5], 100); // 200 × 128 / 256, LED 12
    }
}

} // namespace
} // namespace q407::devices
