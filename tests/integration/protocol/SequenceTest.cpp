// The page sequences against each product's firmware model: what they read, the commands they
// send in order, the link query through the receiver, and where they stop.

#include "integration/protocol/ProtocolRig.h"
#include "protocol/Sequences.h"

#include <numeric>

namespace q407::testing {
namespace {

using sim::SimProduct;
namespace p = protocol;

std::vector<std::uint8_t> CommandBytes(const sim::FirmwareModel& firmware) {
    std::vector<std::uint8_t> bytes;
    std::uint8_t last = 0;
    for (const p::Report& r : firmware.Requests()) {
        // one entry per command, not per chunk
        if (bytes.empty() || r[p::kPosCommand] != last || r[p::kPosAddressLow] == 0) {
            bytes.push_back(r[p::kPosCommand]);
        }
        last = r[p::kPosCommand];
    }
    return bytes;
}

TEST(ProtocolSequences, ReadingAMouseFillsTheTablesAndReportsTheFlag) {
    for (const SimProduct which :
         {SimProduct::MouseA, SimProduct::MouseAReceiver, SimProduct::MouseBReceiver}) {
        ProtocolRig rig(which);
        p::DeviceTables tables;
        int flag = -1;
        ASSERT_EQ(p::ReadMouse(rig.protocol, tables, [&](bool f) { flag = f ? 1 : 0; }),
                  p::kResultOk);
        const auto memory = rig.firmware().Memory();
        EXPECT_EQ(tables.deviceInfo, memory.deviceInfo);
        EXPECT_EQ(flag, memory.deviceInfo[p::kInfoDeviceFlag] != 0 ? 1 : 0);
        const std::size_t size = 3 * memory.KeyPositions();
        EXPECT_EQ(rig.protocol.TableSize(), size);
        EXPECT_TRUE(std::equal(memory.defaultKeyTable.begin(), memory.defaultKeyTable.end(),
                               tables.defaultKeyTable.begin()));
        EXPECT_TRUE(
            std::equal(memory.keyTable.begin(), memory.keyTable.end(), tables.keyTable.begin()));
        std::vector<std::uint8_t> expected = {0x01, 0x03, 0x07, 0x08, 0x02};
        if (IsReceiver(which)) {
            expected.insert(expected.begin(), 0xAA);
        }
        EXPECT_EQ(CommandBytes(rig.firmware()), expected);
        EXPECT_EQ(rig.firmware().Commits(), 1);
    }
}

TEST(ProtocolSequences, ReadingAMouseStopsOnATooLargeKeyTableAndOnALostLink) {
    sim::FirmwareSpec spec = sim::SaneMouseA();
    spec.deviceInfo[p::kInfoKeyPositions] = 171; // 513 bytes
    ProtocolRig rig(sim::SimulatedProduct::Create(SimProduct::MouseA, spec));
    p::DeviceTables tables;
    EXPECT_NE(p::ReadMouse(rig.protocol, tables), p::kResultOk);
    EXPECT_EQ(rig.protocol.TableSize(), 512);
    EXPECT_EQ(CommandBytes(rig.firmware()), (std::vector<std::uint8_t>{0x01, 0x03}));

    ProtocolRig receiver(SimProduct::MouseAReceiver);
    receiver.firmware().SetSwitchedOff(true);
    EXPECT_EQ(p::ReadMouse(receiver.protocol, tables), p::kResultNoAnswer);
    EXPECT_EQ(CommandBytes(receiver.firmware()), (std::vector<std::uint8_t>{0xAA}));
}

TEST(ProtocolSequences, ReadingAKeyboardGivesItsKeyAndLedTables) {
    for (const SimProduct which : {SimProduct::KeyboardK, SimProduct::KeyboardKReceiver}) {
        ProtocolRig rig(which);
        p::DeviceTables tables;
        ASSERT_EQ(p::ReadKeyboard(rig.protocol, tables), p::kResultOk);
        const auto memory = rig.firmware().Memory();
        EXPECT_EQ(rig.protocol.TableSize(), 510);
        EXPECT_TRUE(std::equal(memory.defaultKeyTable.begin(), memory.defaultKeyTable.end(),
                               tables.defaultKeyTable.begin()));
        EXPECT_TRUE(std::equal(memory.ledIndexTable.begin(), memory.ledIndexTable.end(),
                               tables.ledIndexTable.begin()));
        EXPECT_EQ(CommandBytes(rig.firmware()),
                  (std::vector<std::uint8_t>{0x01, 0x03, 0x07, 0x1B, 0x02}));
    }
}

TEST(ProtocolSequences, WritesThroughTheReceiverQueryTheLinkBeforeEveryCommand) {
    ProtocolRig rig(SimProduct::MouseAReceiver);
    std::vector<std::uint8_t> block(80);
    std::iota(block.begin(), block.end(), 1);
    ASSERT_EQ(p::WriteSettingsSequence(rig.protocol, p::kMouseSettings, 2, block), p::kResultOk);
    EXPECT_EQ(CommandBytes(rig.firmware()),
              (std::vector<std::uint8_t>{0xAA, 0x01, 0xAA, 0x06, 0xAA, 0x02}));
    const auto memory = rig.firmware().Memory().settingsMemory;
    EXPECT_TRUE(std::equal(block.begin(), block.end(), memory.begin() + 192));

    std::uint8_t current = 0xEE;
    std::vector<std::uint8_t> read(80);
    rig.firmware().SetSettingsByte(0, 2);
    ASSERT_EQ(p::ReadSettingsSequence(rig.protocol, p::kMouseSettings, current, read),
              p::kResultOk);
    EXPECT_EQ(current, 2);
    EXPECT_EQ(read, block);

    // the link goes away: the next write sends nothing after the failed query
    rig.firmware().ClearRequests();
    rig.firmware().SetSwitchedOff(true);
    EXPECT_EQ(p::WriteSettingsSequence(rig.protocol, p::kMouseSettings, 0, block),
              p::kResultNoAnswer);
    EXPECT_EQ(CommandBytes(rig.firmware()), (std::vector<std::uint8_t>{0xAA}));
}

TEST(ProtocolSequences, KeyTableMacroAndRecoilWritesLandInTheDevice) {
    ProtocolRig rig(SimProduct::MouseA);
    p::DeviceTables tables;
    ASSERT_EQ(p::ReadMouse(rig.protocol, tables), p::kResultOk);
    std::vector<std::uint8_t> keys(rig.protocol.TableSize(), 0x21);
    ASSERT_EQ(p::WriteKeyTableSequence(rig.protocol, keys), p::kResultOk);
    EXPECT_EQ(rig.firmware().Memory().keyTable, keys);
    // a caller's table shorter than the key table size is refused, not overread
    EXPECT_EQ(p::WriteKeyTableSequence(rig.protocol, std::span(keys).first(10)),
              p::kResultNoAnswer);

    std::vector<std::uint8_t> image(300);
    std::iota(image.begin(), image.end(), 0);
    ASSERT_EQ(p::WriteMacroImageSequence(rig.protocol, image), p::kResultOk);
    const auto macro = rig.firmware().MacroMemory();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), macro.begin()));
    // larger than the device's macro memory: the firmware refuses the chunk beyond it
    std::vector<std::uint8_t> huge(rig.firmware().Memory().MacroMemorySize() + 1, 1);
    EXPECT_EQ(p::WriteMacroImageSequence(rig.protocol, huge), p::kResultStatusFF);

    std::vector<std::uint8_t> recoil(200, 9);
    ASSERT_EQ(p::WriteRecoilSequence(rig.protocol, recoil), p::kResultOk);
    EXPECT_EQ(rig.firmware().RecoilMemory()[199], 9);
}

TEST(ProtocolSequences, PadAndHeadsetReadInformationAndSettingsBlocks) {
    for (const SimProduct which : {SimProduct::MousePad, SimProduct::Headset}) {
        ProtocolRig rig(which);
        std::array<std::uint8_t, p::kDeviceInfoSize> info{};
        ASSERT_EQ(p::ReadDeviceInformation(rig.protocol, info), p::kResultOk);
        EXPECT_EQ(info, rig.firmware().Memory().deviceInfo);
        std::vector<std::uint8_t> block(34);
        std::uint8_t current = 0xEE;
        ASSERT_EQ(p::ReadSettingsSequence(rig.protocol, p::kPadSettings, current, block),
                  p::kResultOk);
        EXPECT_EQ(current, 0);
        EXPECT_EQ(block[1], 2); // effect code of the sane device
        block[2] = 1;
        ASSERT_EQ(p::WriteSettingsSequence(rig.protocol, p::kPadSettings, 0, block), p::kResultOk);
        EXPECT_EQ(rig.firmware().Memory().settingsMemory[2], 1);
    }
}

} // namespace
} // namespace q407::testing
