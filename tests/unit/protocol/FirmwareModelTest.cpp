// The firmware models driven directly: answer framing, memories, refusals and faults, without a
// bus or a protocol object.

#include "sim/FirmwareModel.h"

#include "protocol/Frame.h"

#include <gtest/gtest.h>

namespace q407::sim {
namespace {

namespace p = protocol;

p::Report Ask(FirmwareModel& model, const p::Report& request) {
    const auto answers = model.Respond(request);
    EXPECT_EQ(answers.size(), 1U);
    return answers.empty() ? p::Report{} : answers.back();
}

TEST(FirmwareModel, CableAnswerEchoesTheRequestAndCarriesItsCheckValue) {
    FirmwareModel mouse(SaneMouseA());
    const p::Report answer = Ask(mouse, p::BuildRequest(p::kCmdReadDeviceInfo, 4, {}, 12));
    EXPECT_EQ(answer[0], 4);
    EXPECT_EQ(answer[3], 0x03);
    EXPECT_EQ(answer[4], 12);
    EXPECT_EQ(answer[5], 4);
    EXPECT_EQ(answer[7], 0);
    EXPECT_EQ(answer[8 + 1], 16);   // byte 5: key positions
    EXPECT_EQ(answer[8 + 5], 0x25); // byte 9: sensor low byte
    EXPECT_EQ(answer[1] | (answer[2] << 8), p::CheckValue(answer));
}

TEST(FirmwareModel, ReceiverAnswersCarryTheFrameCrcAndOnlyThirtyTwoBytes) {
    FirmwareModel keyboard(SaneKeyboard(true));
    const p::Report answer = Ask(keyboard, p::BuildRequest(p::kCmdReadDefaultKeyTable, 0, {}, 24));
    EXPECT_EQ(answer[1] | (answer[2] << 8), p::FrameCrc(answer));
    EXPECT_EQ(answer[8], 0x20);
    EXPECT_EQ(answer[10], 0x29); // Esc at position 0
    // 56 data bytes do not fit through the receiver
    EXPECT_EQ(Ask(keyboard, p::BuildRequest(p::kCmdReadDefaultKeyTable, 0, {}, 56))[7], 0xFF);
    keyboard.CorruptCrc(1);
    const p::Report corrupted = Ask(keyboard, p::BuildRequest(p::kCmdBegin));
    EXPECT_NE(corrupted[1] | (corrupted[2] << 8), p::FrameCrc(corrupted));
}

TEST(FirmwareModel, RefusesBadCheckValuesRangesAndUnknownCommands) {
    FirmwareModel pad(SaneMousePad());
    p::Report bad = p::BuildRequest(p::kCmdBegin);
    bad[1] ^= 0x10;
    EXPECT_EQ(Ask(pad, bad)[7], 0xFF);
    EXPECT_EQ(Ask(pad, p::BuildRequest(p::kCmdReadDeviceInfo, 30, {}, 5))[7], 0xFF);
    EXPECT_EQ(Ask(pad, p::BuildRequest(p::kCmdReadPowerState, 0, {}, 9))[7], 0xFF);
    EXPECT_EQ(Ask(pad, p::BuildRequest(0x33))[7], 0xFF);
    EXPECT_EQ(Ask(pad, p::BuildRequest(p::kCmdLightStream, 0, {}, 3))[7], 0xFE);
    // not command reports at all: no answer
    const std::uint8_t tooShort[4] = {4, 0, 0, 1};
    EXPECT_TRUE(pad.Respond(tooShort).empty());
    p::Report otherId = p::BuildRequest(p::kCmdBegin);
    otherId[0] = 5;
    EXPECT_TRUE(pad.Respond(otherId).empty());
}

TEST(FirmwareModel, KeyTableHasOneBankAndWritesStick) {
    FirmwareModel mouse(SaneMouseA());
    const std::uint8_t codes[3] = {0x70, 0x01, 0x02};
    EXPECT_EQ(Ask(mouse, p::BuildRequest(p::kCmdWriteKeyTable, 3, codes, 3))[7], 0);
    EXPECT_EQ(mouse.Memory().keyTable[3], 0x70);
    EXPECT_EQ(mouse.Memory().defaultKeyTable[3], 0x10); // the factory table is untouched
    EXPECT_EQ(Ask(mouse, p::BuildRequest(p::kCmdReadKeyTable, 512, {}, 3))[7], 0xFF);
}

TEST(FirmwareModel, FaultsCountDownAndThenStop) {
    FirmwareModel mouse(SaneMouseA(true));
    mouse.DropAnswers(1);
    EXPECT_TRUE(mouse.Respond(p::BuildRequest(p::kCmdBegin)).empty());
    EXPECT_EQ(mouse.Respond(p::BuildRequest(p::kCmdBegin)).size(), 1U);

    mouse.WrongEchoFirst(1);
    const auto two = mouse.Respond(p::BuildRequest(p::kCmdBegin));
    ASSERT_EQ(two.size(), 2U);
    EXPECT_NE(two[0][3], 0x01);
    EXPECT_EQ(two[1][3], 0x01);

    mouse.StatusOnChunk(p::kCmdReadSettings, 1, 0xFE);
    EXPECT_EQ(Ask(mouse, p::BuildRequest(p::kCmdReadSettings, 0, {}, 1))[7], 0);
    EXPECT_EQ(Ask(mouse, p::BuildRequest(p::kCmdReadSettings, 0, {}, 1))[7], 0xFE);
    EXPECT_EQ(Ask(mouse, p::BuildRequest(p::kCmdReadSettings, 0, {}, 1))[7], 0);

    mouse.SetSwitchedOff(true);
    const p::Report off = Ask(mouse, p::BuildRequest(p::kCmdReadSettings, 0, {}, 1));
    EXPECT_EQ(off[3], 0xAA);
    const p::Report link = Ask(mouse, p::BuildRequest(p::kCmdQueryLink));
    EXPECT_EQ(link[3], 0xAA);
    EXPECT_EQ(link[8], 0);
    mouse.SetSwitchedOff(false);
    EXPECT_EQ(Ask(mouse, p::BuildRequest(p::kCmdQueryLink))[8], 0xFF);
}

TEST(FirmwareModel, ButtonsChangeTheMemoryBeforeOrAfterTheirEvent) {
    constexpr std::size_t kSlot2Stage = 2 * kMouseBlockStride + 12;
    for (const bool eventFirst : {false, true}) {
        FirmwareModel mouse(SaneMouseA());
        mouse.SetEventBeforeMemory(eventFirst);
        const auto slotAndStage = [&] {
            const auto memory = mouse.Memory().settingsMemory;
            return std::pair<int, int>{memory[0], memory[kSlot2Stage]};
        };
        const auto before = slotAndStage();
        const std::pair<int, int> after{2, 3};
        ASSERT_NE(before, after);
        EXPECT_EQ(mouse.PressButton(2, 3), 0x1132);
        for (int i = 0; i < FirmwareModel::kLateMemoryRequests; ++i) {
            EXPECT_EQ(slotAndStage(), eventFirst ? before : after) << eventFirst << " " << i;
            Ask(mouse, p::BuildRequest(p::kCmdBegin));
        }
        EXPECT_EQ(slotAndStage(), after) << eventFirst;
        // The profile button names the slot alone and leaves the stages.
        EXPECT_EQ(mouse.PressButton(0, -1), 0x1000);
        mouse.SetEventBeforeMemory(false);
        EXPECT_EQ(mouse.PressButton(2, 3), 0x1132) << "an earlier press lands first";
        EXPECT_EQ(slotAndStage(), after);
    }
}

TEST(FirmwareModel, SaneDevicesAreConsistent) {
    for (const FirmwareSpec& spec : {SaneMouseA(), SaneMouseA(true), SaneMouseB(), SaneKeyboard(),
                                     SaneKeyboard(true), SaneMousePad(), SaneHeadset()}) {
        EXPECT_EQ(spec.defaultKeyTable.size(), 3 * spec.KeyPositions()) << spec.name;
        EXPECT_EQ(spec.keyTable, spec.defaultKeyTable) << spec.name;
        EXPECT_LE(spec.defaultKeyTable.size(), 512U) << spec.name;
        EXPECT_EQ(spec.settingsMemory[0], 0) << spec.name; // current profile
        EXPECT_GE(spec.settingsMemory.size(), 4 * 96 + 80U) << spec.name;
        EXPECT_EQ(spec.deviceInfo[4], spec.throughReceiver ? 1 : 0) << spec.name;
    }
    const FirmwareSpec keyboard = SaneKeyboard();
    EXPECT_EQ(keyboard.lightFrameSize, 510U);
    // the LED slots are a permutation of the positions
    std::vector<bool> seen(170);
    for (const std::uint8_t slot : keyboard.ledIndexTable) {
        ASSERT_LT(slot, 170);
        EXPECT_FALSE(seen[slot]);
        seen[slot] = true;
    }
    // mouse B stores its stages in sensor steps: (400 - 100) / 50 = 6
    EXPECT_EQ(SaneMouseB().settingsMemory[14 + 2], 6);
    EXPECT_EQ(SaneMouseA().settingsMemory[14 + 2] | (SaneMouseA().settingsMemory[14 + 3] << 8),
              400);
}

} // namespace
} // namespace q407::sim
