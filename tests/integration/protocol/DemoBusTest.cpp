// The demo bus: discovery finds every simulated product on it, and each answers the command
// sequence of its kind through the slot discovery gave it.

#include "sim/DemoBus.h"

#include "hid/Discovery.h"
#include "integration/hid/RecordingListener.h"
#include "integration/protocol/ProtocolRig.h"
#include "protocol/Sequences.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

namespace q407::testing {
namespace {

namespace p = protocol;

TEST(DemoBus, DiscoveryReportsEveryProductAndEachAnswersItsCommands) {
    sim::DemoBus demo = sim::MakeDemoBus();
    hid::testing::RecordingListener listener;
    hid::CDeviceDiscovery discovery(*demo.bus, listener);
    listener.discovery = &discovery;
    discovery.RunPass();

    std::set<std::uint16_t> kinds;
    std::size_t commandSlots = 0;
    for (const auto& slot : discovery.Slots()) {
        if (slot.occupied == 0) {
            continue;
        }
        kinds.insert(hid::KindOfDeviceType(slot.deviceType));
        if (slot.interfaceRole != hid::kRoleCommand) {
            continue;
        }
        ++commandSlots;
        RecordingPacer pacer;
        p::CDeviceProtocol protocol(*demo.bus, pacer);
        const bool receiver = slot.deviceType == hid::kDeviceMouseReceiver ||
                              slot.deviceType == hid::kDeviceKeyboardReceiver;
        ASSERT_TRUE(protocol.Attach(receiver ? p::kModeReceiver : p::kModeCable, slot.devicePath));
        p::DeviceTables tables;
        switch (hid::KindOfDeviceType(slot.deviceType)) {
        case hid::kDeviceMouse:
            EXPECT_EQ(p::ReadMouse(protocol, tables), p::kResultOk) << slot.devicePath;
            break;
        case hid::kDeviceKeyboard:
            EXPECT_EQ(p::ReadKeyboard(protocol, tables), p::kResultOk) << slot.devicePath;
            break;
        default:
            EXPECT_EQ(p::ReadDeviceInformation(protocol, tables.deviceInfo), p::kResultOk)
                << slot.devicePath;
            break;
        }
    }
    EXPECT_EQ(kinds, (std::set<std::uint16_t>{hid::kDeviceKeyboard, hid::kDeviceMouse,
                                              hid::kDeviceMousePad, hid::kDeviceHeadset}));
    EXPECT_EQ(commandSlots, demo.products.size());
    // every product's command and event collections arrived
    EXPECT_EQ(listener.Count(hid::testing::DiscoveryEvent::Arrived), 2 * demo.products.size());
}

} // namespace
} // namespace q407::testing

namespace q407::testing {
namespace {

namespace fs = std::filesystem;

// A settings block written to a product of one demo bus is there when a new demo bus starts from
// the same state folder; a damaged state file leaves the factory memories.
TEST(DemoBus, ProductsKeepWhatWasWrittenAcrossRestarts) {
    const fs::path folder =
        fs::temp_directory_path() / ("q407-demo-state-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    std::vector<std::uint8_t> factory;
    {
        sim::DemoBus demo = sim::MakeDemoBus(folder);
        auto& mouse = *demo.products.front();
        factory = mouse.Firmware().Memory().settingsMemory;
        RecordingPacer pacer;
        p::CDeviceProtocol protocol(*demo.bus, pacer);
        ASSERT_TRUE(protocol.Attach(p::kModeCable, mouse.CommandPath(*demo.bus)));
        std::array<std::uint8_t, 80> block{};
        block.fill(0x5A);
        ASSERT_EQ(p::WriteSettingsSequence(protocol, p::kMouseSettings, 1, block), p::kResultOk);
    }
    {
        sim::DemoBus demo = sim::MakeDemoBus(folder);
        const auto kept = demo.products.front()->Firmware().Memory().settingsMemory;
        ASSERT_EQ(kept.size(), factory.size());
        EXPECT_EQ(kept[96], 0x5A);
        EXPECT_EQ(kept[96 + 79], 0x5A);
        EXPECT_EQ(kept[0], factory[0]);
        // the other products kept their factory memories
        EXPECT_EQ(demo.products[1]->Firmware().Memory().settingsMemory,
                  sim::SimulatedProduct::Create(sim::SimProduct::MouseBReceiver)
                      ->Firmware()
                      .Memory()
                      .settingsMemory);
    }
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << "Q407SIM1 damaged";
    }
    {
        sim::DemoBus demo = sim::MakeDemoBus(folder);
        EXPECT_EQ(demo.products.front()->Firmware().Memory().settingsMemory, factory);
    }
    fs::remove_all(folder);
}

TEST(FirmwareState, RoundTripsAndRefusesBlocksOfAnotherShape) {
    sim::FirmwareModel mouse(sim::SaneMouseA());
    mouse.SetSettingsByte(200, 0x77);
    const std::vector<std::uint8_t> state = mouse.SaveState();
    sim::FirmwareModel other(sim::SaneMouseA());
    ASSERT_TRUE(other.RestoreState(state));
    EXPECT_EQ(other.Memory().settingsMemory[200], 0x77);

    sim::FirmwareModel keyboard(sim::SaneKeyboard());
    const auto before = keyboard.Memory().settingsMemory;
    EXPECT_FALSE(keyboard.RestoreState(state)) << "memories of another size";
    EXPECT_EQ(keyboard.Memory().settingsMemory, before);
    std::vector<std::uint8_t> cut(state.begin(), state.end() - 1);
    EXPECT_FALSE(other.RestoreState(cut));
    std::vector<std::uint8_t> longer = state;
    longer.push_back(0);
    EXPECT_FALSE(other.RestoreState(longer));
    EXPECT_FALSE(other.RestoreState({}));
}

} // namespace
} // namespace q407::testing
