// Commands and transactions against the firmware models on the virtual bus: chunking and
// addressing over cable and receiver, result codes, and the faults each model can inject.

#include "integration/protocol/ProtocolRig.h"
#include "protocol/Sequences.h"

#include <algorithm>
#include <numeric>

namespace q407::testing {
namespace {

using namespace std::chrono_literals;
using protocol::Report;
using sim::SimProduct;
namespace p = protocol;

struct Chunk {
    std::uint8_t command, length;
    std::uint16_t address;
    bool operator==(const Chunk&) const = default;
};

std::vector<Chunk> ChunksOf(const sim::FirmwareModel& firmware, std::uint8_t command) {
    std::vector<Chunk> chunks;
    for (const Report& r : firmware.Requests()) {
        if (r[p::kPosCommand] == command) {
            chunks.push_back(
                {command, r[p::kPosLength],
                 static_cast<std::uint16_t>(r[p::kPosAddressLow] | (r[p::kPosAddressHigh] << 8))});
        }
    }
    return chunks;
}

// A firmware whose key tables fill a whole 512-byte bank with a recognisable pattern.
sim::FirmwareSpec WithFullKeyTables(sim::FirmwareSpec spec) {
    spec.defaultKeyTable.resize(512);
    spec.keyTable.resize(512);
    for (std::size_t i = 0; i < 512; ++i) {
        spec.defaultKeyTable[i] = static_cast<std::uint8_t>(i * 3 + 1);
        spec.keyTable[i] = static_cast<std::uint8_t>(i * 5 + 2);
    }
    return spec;
}

TEST(ProtocolChunking, DeviceInformationTakesOneChunkByCableAndTwoThroughTheReceiver) {
    for (const SimProduct which : {SimProduct::MouseA, SimProduct::MouseAReceiver}) {
        ProtocolRig rig(which);
        std::array<std::uint8_t, p::kDeviceInfoSize> info{};
        ASSERT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultOk);
        const auto expected = rig.firmware().Memory().deviceInfo;
        EXPECT_TRUE(std::equal(info.begin(), info.end(), expected.begin()));
        const auto chunks = ChunksOf(rig.firmware(), p::kCmdReadDeviceInfo);
        if (IsReceiver(which)) {
            EXPECT_EQ(chunks, (std::vector<Chunk>{{0x03, 24, 0}, {0x03, 10, 24}}));
        } else {
            EXPECT_EQ(chunks, (std::vector<Chunk>{{0x03, 34, 0}}));
        }
    }
}

TEST(ProtocolChunking, FullKeyTableTakesTenChunksByCableAndTwentyTwoThroughTheReceiver) {
    for (const auto& [which, spec, count, chunk] :
         {std::tuple{SimProduct::MouseA, sim::SaneMouseA(false), 10U, 56},
          std::tuple{SimProduct::MouseAReceiver, sim::SaneMouseA(true), 22U, 24}}) {
        ProtocolRig rig(sim::SimulatedProduct::Create(which, WithFullKeyTables(spec)));
        ASSERT_TRUE(rig.protocol.SetTableSize(512));
        std::vector<std::uint8_t> table(512);
        ASSERT_EQ(rig.protocol.ReadKeyTable(table.data(), 0), p::kResultOk);
        EXPECT_EQ(table, rig.firmware().Memory().keyTable);
        const auto chunks = ChunksOf(rig.firmware(), p::kCmdReadKeyTable);
        ASSERT_EQ(chunks.size(), count);
        for (std::size_t i = 0; i + 1 < chunks.size(); ++i) {
            EXPECT_EQ(chunks[i].length, chunk);
            EXPECT_EQ(chunks[i].address, i * chunk);
        }
        EXPECT_EQ(chunks.back().length, 8);
    }
}

TEST(ProtocolChunking, RecoilDataGoesInFiftySixByteChunksAlsoThroughTheReceiver) {
    for (const SimProduct which : {SimProduct::MouseA, SimProduct::MouseAReceiver}) {
        ProtocolRig rig(which);
        std::vector<std::uint8_t> recoil(120);
        std::iota(recoil.begin(), recoil.end(), 7);
        ASSERT_EQ(rig.protocol.WriteRecoilData(recoil.data(), recoil.size()), p::kResultOk);
        EXPECT_EQ(ChunksOf(rig.firmware(), p::kCmdWriteRecoilData),
                  (std::vector<Chunk>{{0x17, 56, 0}, {0x17, 56, 56}, {0x17, 8, 112}}));
        const auto memory = rig.firmware().RecoilMemory();
        EXPECT_TRUE(std::equal(recoil.begin(), recoil.end(), memory.begin()));
    }
}

TEST(ProtocolChunking, WritesLandAtTheirAddressesAndReadBack) {
    ProtocolRig rig(SimProduct::KeyboardKReceiver);
    std::vector<std::uint8_t> group(510);
    std::iota(group.begin(), group.end(), 1);
    ASSERT_EQ(rig.protocol.WriteIndexedBlock(group.data(), group.size(), 2, 512), p::kResultOk);
    std::vector<std::uint8_t> back(510);
    ASSERT_EQ(rig.protocol.ReadIndexedBlock(back.data(), back.size(), 2, 512), p::kResultOk);
    EXPECT_EQ(back, group);
    const auto memory = rig.firmware().Memory().indexedMemory;
    EXPECT_TRUE(std::equal(group.begin(), group.end(), memory.begin() + 1024));
    EXPECT_EQ(memory[1023], 0);

    std::array<std::uint8_t, 34> block{};
    block.fill(0x5C);
    ASSERT_EQ(rig.protocol.WriteSettings(block.data(), block.size(), 66), p::kResultOk);
    std::array<std::uint8_t, 34> read{};
    ASSERT_EQ(rig.protocol.ReadSettings(read.data(), read.size(), 66), p::kResultOk);
    EXPECT_EQ(read, block);
}

TEST(ProtocolResults, BankOtherThanZeroIsRefusedWithoutIo) {
    ProtocolRig rig(SimProduct::MouseA);
    std::vector<std::uint8_t> table(512, 0xEE);
    EXPECT_EQ(rig.protocol.ReadKeyTable(table.data(), 1), p::kResultBadBank);
    EXPECT_EQ(rig.protocol.WriteKeyTable(table.data(), 1), p::kResultBadBank);
    EXPECT_EQ(rig.protocol.ReadKeyTable(table.data(), -1), p::kResultBadBank);
    EXPECT_TRUE(rig.firmware().Requests().empty());
    EXPECT_EQ(table[0], 0xEE);
}

TEST(ProtocolResults, StatusMidCommandEndsItAndLeavesTheDestinationPartlyFilled) {
    for (const auto& [status, code] : {std::pair{p::kStatusRefused, p::kResultStatusFE},
                                       std::pair{p::kStatusFailed, p::kResultStatusFF}}) {
        ProtocolRig rig(sim::SimulatedProduct::Create(SimProduct::MouseA,
                                                      WithFullKeyTables(sim::SaneMouseA())));
        ASSERT_TRUE(rig.protocol.SetTableSize(512));
        rig.firmware().StatusOnChunk(p::kCmdReadDefaultKeyTable, 2, status);
        std::vector<std::uint8_t> table(512, 0xEE);
        EXPECT_EQ(rig.protocol.ReadDefaultKeyTable(table.data()), code);
        const auto expected = rig.firmware().Memory().defaultKeyTable;
        EXPECT_TRUE(std::equal(table.begin(), table.begin() + 112, expected.begin()));
        EXPECT_TRUE(
            std::all_of(table.begin() + 112, table.end(), [](auto b) { return b == 0xEE; }));
        EXPECT_EQ(ChunksOf(rig.firmware(), p::kCmdReadDefaultKeyTable).size(), 3U);
    }
}

TEST(ProtocolResults, RefusedRequestsAndUnsupportedCommandsReportTheirStatus) {
    ProtocolRig rig(SimProduct::MousePad);
    std::array<std::uint8_t, 8> buffer{};
    // beyond the settings memory
    EXPECT_EQ(rig.protocol.ReadSettings(buffer.data(), buffer.size(), 600), p::kResultStatusFF);
    // a pad keeps no custom colour groups
    EXPECT_EQ(rig.protocol.ReadIndexedBlock(buffer.data(), buffer.size(), 0, 512),
              p::kResultStatusFE);
    // a request whose check value is wrong
    Report request = p::BuildRequest(p::kCmdBegin);
    request[p::kPosCheckLow] ^= 0x01;
    Report answer{};
    std::size_t count = 0;
    ASSERT_EQ(
        rig.protocol.Transact(request.data(), request.size(), answer.data(), answer.size(), &count),
        p::kResultOk);
    EXPECT_EQ(answer[p::kPosStatus], p::kStatusFailed);
}

TEST(ProtocolResults, ClosedConnectionSendsNothing) {
    ProtocolRig rig(SimProduct::MouseA);
    rig.protocol.Detach();
    EXPECT_FALSE(rig.protocol.IsOpened());
    EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultNoAnswer);
    EXPECT_FALSE(rig.protocol.QueryWirelessLink());
    EXPECT_TRUE(rig.firmware().Requests().empty());
    EXPECT_FALSE(rig.protocol.IsBusy());
}

TEST(ProtocolTransact, ShortRequestIsSentAsSixtyFourBytesAndPausesTwentyMilliseconds) {
    ProtocolRig rig(SimProduct::MouseA);
    Report request = p::BuildRequest(p::kCmdBegin);
    Report answer{};
    answer.fill(0xEE);
    std::size_t count = 0;
    ASSERT_EQ(rig.protocol.Transact(request.data(), 8, answer.data(), answer.size(), &count),
              p::kResultOk);
    EXPECT_EQ(count, p::kReportSize);
    EXPECT_EQ(answer[p::kPosCommand], p::kCmdBegin);
    const auto sent = rig.firmware().Requests();
    ASSERT_EQ(sent.size(), 1U);
    EXPECT_TRUE(std::equal(sent[0].begin(), sent[0].begin() + 8, request.begin()));
    EXPECT_TRUE(std::all_of(sent[0].begin() + 8, sent[0].end(), [](auto b) { return b == 0; }));
    EXPECT_EQ(rig.pacer.Pauses(), std::vector{20ms});
    EXPECT_EQ(rig.protocol.EndConfig(), p::kResultOk);
    EXPECT_EQ(rig.pacer.Pauses(), (std::vector{20ms, 10ms, 20ms}));
}

TEST(ProtocolTransact, WritesTheTwoLineHexDiagnostics) {
    ProtocolRig rig(SimProduct::MouseA);
    diag::Capture capture;
    ASSERT_EQ(rig.protocol.BeginConfig(), p::kResultOk);
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[0], "命令");
    EXPECT_EQ(lines[1].substr(0, 28), "04 01 00 01   00 00 00 00   ");
    EXPECT_EQ(lines[1].size(), 105U);
    EXPECT_EQ(lines[2].substr(0, 14), "00 00 00 00   ");
    EXPECT_EQ(lines[3], "返回");
    EXPECT_EQ(lines[4].substr(0, 11), "04 01 00 01"); // the answer echoes the command
}

TEST(ProtocolFaults, LateAnswerToAnEarlierRequestIsNotTakenForTheNextOne) {
    ProtocolRig rig(SimProduct::MouseA);
    rig.firmware().SetSettingsByte(96 + 5, 0x42);
    rig.product->DelayAnswers(1, 400ms); // well after the two 150 ms reads
    std::uint8_t value = 0xEE;
    EXPECT_EQ(rig.protocol.ReadSettings(&value, 1, 0), p::kResultNoAnswer);
    std::this_thread::sleep_for(300ms); // the late answer arrives in the meantime
    EXPECT_EQ(rig.protocol.ReadSettings(&value, 1, 96 + 5), p::kResultOk);
    EXPECT_EQ(value, 0x42);
}

TEST(ProtocolFaults, SwitchedOffDeviceBehindTheReceiverGivesMinus101WithinOneReadTimeout) {
    ProtocolRig rig(SimProduct::MouseAReceiver);
    rig.protocol.SetTimeouts({}); // the real time-outs
    rig.firmware().SetSwitchedOff(true);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultUnreachable);
    std::array<std::uint8_t, p::kDeviceInfoSize> info{};
    EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultUnreachable);
    EXPECT_FALSE(rig.protocol.QueryWirelessLink());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms); // three commands, 500 ms reads
    rig.firmware().SetSwitchedOff(false);
    EXPECT_TRUE(rig.protocol.QueryWirelessLink());
}

TEST(ProtocolFaults, CorruptedCrcFailsTheLightStreamThroughTheReceiverOnly) {
    ProtocolRig rig(SimProduct::KeyboardKReceiver);
    std::vector<std::uint8_t> frame(510, 0x33);
    rig.firmware().CorruptCrc(1);
    EXPECT_EQ(rig.protocol.StreamLight(frame.data(), frame.size()), p::kResultUnreachable);
    EXPECT_EQ(rig.firmware().RequestCount(p::kCmdLightStream), 1);
    // the request carried the frame CRC of its bytes 3..31 in bytes 1..2
    const p::Report sent = rig.firmware().Requests().back();
    const std::uint16_t crc = p::FrameCrc(sent);
    EXPECT_EQ(sent[p::kPosCheckLow], crc & 0xFF);
    EXPECT_EQ(sent[p::kPosCheckHigh], crc >> 8);
    EXPECT_EQ(rig.protocol.StreamLight(frame.data(), frame.size()), p::kResultOk);
    EXPECT_EQ(rig.firmware().LightFrame(), frame);

    ProtocolRig cable(SimProduct::KeyboardK);
    cable.firmware().CorruptCrc(5); // by cable answers carry no CRC
    EXPECT_EQ(cable.protocol.StreamLight(frame.data(), frame.size()), p::kResultOk);
}

TEST(ProtocolFaults, UnplugInTheMiddleOfAMultiChunkCommandFailsItCleanly) {
    for (const SimProduct which : {SimProduct::MouseA, SimProduct::KeyboardKReceiver}) {
        ProtocolRig rig(which);
        rig.product->UnplugAtRequest(1); // the second chunk never gets an answer
        std::vector<std::uint8_t> block(80, 0xEE);
        EXPECT_NE(rig.protocol.ReadSettings(block.data(), block.size(), 0), p::kResultOk);
        EXPECT_EQ(rig.firmware().RequestCount(p::kCmdReadSettings), 1); // then it was gone
        const std::size_t first = rig.protocol.ChunkSize();
        const auto memory = rig.firmware().Memory().settingsMemory;
        EXPECT_TRUE(std::equal(block.begin(), block.begin() + first, memory.begin()));
        EXPECT_EQ(block[first], 0xEE);
        EXPECT_FALSE(rig.product->CommandInterface()->IsPlugged());
        // the gone device fails every later command at once
        EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultWriteFailed);
    }
}

TEST(ProtocolFaults, SlowLinkStillAnswersWithinTheTimeout) {
    ProtocolRig rig(SimProduct::MouseBReceiver);
    rig.product->SetLink({30ms, 1ms});
    p::DeviceTables tables;
    EXPECT_EQ(p::ReadMouse(rig.protocol, tables), p::kResultOk);
    EXPECT_EQ(tables.deviceInfo, rig.firmware().Memory().deviceInfo);
}

TEST(ProtocolCommands, PowerStateAndLinkQueryAndResume) {
    ProtocolRig rig(SimProduct::MousePad);
    std::array<std::uint8_t, 6> power{};
    ASSERT_EQ(rig.protocol.ReadPowerState(power.data(), 6, 0), p::kResultOk);
    EXPECT_EQ(power[0], 100);
    EXPECT_EQ(power[5], 1);
    EXPECT_EQ(ChunksOf(rig.firmware(), p::kCmdReadPowerState), (std::vector<Chunk>{{0x1A, 6, 0}}));
    EXPECT_TRUE(rig.protocol.QueryWirelessLink());
    EXPECT_EQ(rig.protocol.ResumeHostLighting(), p::kResultOk);
    EXPECT_EQ(rig.firmware().RequestCount(p::kCmdResumeHostLighting), 1);
}

TEST(ProtocolCommands, LedIndexTableIsAThirdOfTheKeyTableSize) {
    ProtocolRig rig(SimProduct::KeyboardK);
    ASSERT_TRUE(rig.protocol.SetTableSize(510));
    std::vector<std::uint8_t> leds(170);
    ASSERT_EQ(rig.protocol.ReadLedIndexTable(leds.data()), p::kResultOk);
    EXPECT_EQ(leds, rig.firmware().Memory().ledIndexTable);
    EXPECT_EQ(ChunksOf(rig.firmware(), p::kCmdReadLedIndexTable).size(), 4U); // 3 × 56 + 2
}

} // namespace
} // namespace q407::testing

namespace q407::testing {
namespace {

namespace p = protocol;

using Answers = std::vector<std::vector<std::uint8_t>>;

// A device that answers every request with the reports a test scripts, whatever they are.
struct ScriptedDevice {
    ScriptedDevice() {
        sim::VirtualHidDeviceInfo info;
        info.vendorId = 0xF5A7;
        info.productId = 0x4A01;
        info.reportDescriptor = sim::BuildReportDescriptor(
            {sim::CollectionKind::Consumer, sim::CollectionKind::Vendor});
        device = std::make_shared<sim::VirtualHidDevice>(info);
        device->SetOutputHandler(
            [this](sim::VirtualHidDevice& self, std::span<const std::uint8_t> request) {
                Answers answers;
                {
                    std::lock_guard lock(mutex);
                    answers = script(request);
                }
                for (const auto& answer : answers) {
                    self.SendInputReport(answer);
                }
            });
        paths = bus.Plug(device);
        protocol.SetTimeouts({1000, 1000, 1000, 100, 100});
    }
    std::vector<std::uint8_t> Echo(std::span<const std::uint8_t> request, std::uint8_t status) {
        std::vector<std::uint8_t> answer(request.begin(), request.end());
        answer.resize(64);
        answer[p::kPosStatus] = status;
        return answer;
    }

    std::mutex mutex;
    std::function<Answers(std::span<const std::uint8_t>)> script;
    sim::VirtualHidBus bus;
    std::shared_ptr<sim::VirtualHidDevice> device;
    std::vector<std::string> paths;
    RecordingPacer pacer;
    p::CDeviceProtocol protocol{bus, pacer};
};

TEST(ProtocolBadAnswers, ShortWrongIdAndGarbageAnswersAreNeverTakenForSuccess) {
    ScriptedDevice rig;
    ASSERT_EQ(rig.paths.size(), 2U);
    ASSERT_TRUE(rig.protocol.Attach(p::kModeCable, rig.paths[1]));
    std::array<std::uint8_t, p::kDeviceInfoSize> info{};

    rig.script = [](std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> shortAnswer(request.begin(), request.begin() + 8);
        return Answers{shortAnswer};
    };
    EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultNoAnswer);

    rig.script = [](std::span<const std::uint8_t>) {
        return Answers{{sim::kEventReportId, 0x01, 0x04}};
    };
    EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultNoAnswer);

    std::uint32_t seed = 7;
    rig.script = [&seed](std::span<const std::uint8_t> request) {
        std::vector<std::uint8_t> garbage(64);
        for (auto& b : garbage) {
            seed = seed * 1103515245U + 12345U;
            b = static_cast<std::uint8_t>(seed >> 16);
        }
        garbage[0] = p::kCommandReportId;
        garbage[p::kPosCommand] = static_cast<std::uint8_t>(request[p::kPosCommand] + 1);
        return Answers{garbage, garbage};
    };
    EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultNoAnswer);

    // The right answer after all that is still taken.
    rig.script = [&rig](std::span<const std::uint8_t> request) {
        return Answers{rig.Echo(request, 0)};
    };
    EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultOk);
    EXPECT_EQ(rig.protocol.QueryWirelessLink(), false); // byte 8 of the echo is not 0xFF
}

TEST(ProtocolBadAnswers, ReceiverEchoOfTheLinkQueryMeansTheDeviceIsUnreachable) {
    ScriptedDevice rig;
    ASSERT_TRUE(rig.protocol.Attach(p::kModeReceiver, rig.paths[1]));
    rig.script = [&rig](std::span<const std::uint8_t> request) {
        auto answer = rig.Echo(request, 0);
        answer[p::kPosCommand] = p::kCmdQueryLink;
        return Answers{answer, rig.Echo(request, 0)};
    };
    EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultUnreachable);
    // By cable the same answer is only another command's answer; the right one follows.
    ASSERT_TRUE(rig.protocol.Attach(p::kModeCable, rig.paths[1]));
    EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultOk);
}

} // namespace
} // namespace q407::testing

namespace q407::testing {
namespace {

namespace p = protocol;
using namespace std::chrono_literals;

TEST(ProtocolFaults, EveryModelInjectsEveryFault) {
    for (const sim::SimProduct which :
         {sim::SimProduct::MouseA, sim::SimProduct::MouseAReceiver, sim::SimProduct::MouseBReceiver,
          sim::SimProduct::KeyboardK, sim::SimProduct::KeyboardKReceiver, sim::SimProduct::MousePad,
          sim::SimProduct::Headset}) {
        SCOPED_TRACE(static_cast<int>(which));
        ProtocolRig rig(which);
        p::TransactTimeouts quick;
        quick.cableRead = 50;
        quick.receiverRead = 50;
        rig.protocol.SetTimeouts(quick);
        const auto expected = rig.firmware().Memory().deviceInfo;
        std::array<std::uint8_t, p::kDeviceInfoSize> info{};

        rig.firmware().DropAnswers(1);
        EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultNoAnswer);
        rig.firmware().WrongEchoFirst(1);
        EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultOk);
        EXPECT_EQ(info, expected);
        const int lastChunk = IsReceiver(which) ? 1 : 0;
        rig.firmware().StatusOnChunk(p::kCmdReadDeviceInfo, lastChunk, p::kStatusRefused);
        EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultStatusFE);
        rig.firmware().StatusOnChunk(p::kCmdBegin, 0, p::kStatusFailed);
        EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultStatusFF);

        rig.product->DelayAnswers(1, 200ms);
        EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultNoAnswer);
        std::this_thread::sleep_for(250ms); // the late answer arrives in the meantime
        info.fill(0);
        EXPECT_EQ(rig.protocol.ReadDeviceInfo(info), p::kResultOk);
        EXPECT_EQ(info, expected);

        if (IsReceiver(which)) {
            rig.firmware().CorruptCrc(1);
            std::array<std::uint8_t, 24> colours{};
            EXPECT_EQ(rig.protocol.StreamLight(colours.data(), colours.size()),
                      p::kResultUnreachable);
            rig.firmware().SetSwitchedOff(true);
            EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultUnreachable);
            rig.firmware().SetSwitchedOff(false);
        }
        rig.product->UnplugAtRequest(0);
        EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultNoAnswer);
        EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultWriteFailed);
    }
}

} // namespace
} // namespace q407::testing
