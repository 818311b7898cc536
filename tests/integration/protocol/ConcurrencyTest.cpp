// The light stream interleaving with commands of the same device: every command still gets its
// own answer, light chunks that find a transaction running are dropped, and nothing races (this
// program is also built and run under ThreadSanitizer).

#include "integration/protocol/ProtocolRig.h"
#include "protocol/Sequences.h"

#include <atomic>
#include <thread>

namespace q407::testing {
namespace {

using sim::SimProduct;
namespace p = protocol;
using namespace std::chrono_literals;

// Sleeps a little so that commands leave gaps for the light stream, as the real pause does.
class ShortPacer final : public p::Pacer {
public:
    void Pause(std::chrono::milliseconds) override { std::this_thread::sleep_for(1ms); }
};

TEST(ProtocolConcurrency, LightStreamInterleavingWithCommandsKeepsAnswersApart) {
    for (const SimProduct which : {SimProduct::KeyboardK, SimProduct::KeyboardKReceiver}) {
        sim::VirtualHidBus bus;
        auto product = sim::SimulatedProduct::Create(which);
        ASSERT_TRUE(product->PlugInto(bus));
        ShortPacer pacer;
        p::CDeviceProtocol protocol(bus, pacer);
        ASSERT_TRUE(protocol.Attach(IsReceiver(which) ? p::kModeReceiver : p::kModeCable,
                                    product->CommandPath(bus)));
        // a slow link widens the window between a write and its answer
        product->SetLink({200us, 0us});

        std::atomic<bool> stop{false};
        std::atomic<int> lightFailures{0};
        std::atomic<int> frames{0};
        std::thread light([&] {
            std::vector<std::uint8_t> frame(510);
            while (!stop) {
                frame[0] = static_cast<std::uint8_t>(frames.load());
                if (protocol.StreamLight(frame.data(), frame.size()) != p::kResultOk) {
                    ++lightFailures;
                }
                ++frames;
            }
        });
        const auto expected = product->Firmware().Memory();
        int commandFailures = 0;
        for (int round = 0; round < 15; ++round) {
            p::DeviceTables tables;
            if (p::ReadKeyboard(protocol, tables) != p::kResultOk ||
                !std::equal(expected.ledIndexTable.begin(), expected.ledIndexTable.end(),
                            tables.ledIndexTable.begin()) ||
                !std::equal(expected.defaultKeyTable.begin(), expected.defaultKeyTable.end(),
                            tables.defaultKeyTable.begin())) {
                ++commandFailures;
            }
        }
        stop = true;
        light.join();
        EXPECT_EQ(commandFailures, 0);
        EXPECT_EQ(lightFailures.load(), 0);
        EXPECT_GT(frames.load(), 0);
        EXPECT_FALSE(protocol.IsBusy());
    }
}

TEST(ProtocolConcurrency, LinkQueriesBesideTheLightStreamThroughTheReceiverStayTrue) {
    // The receiver's answer to a link query echoes 0xAA, which to any other transaction means
    // "device unreachable"; a light chunk that reads it must leave it to the query.
    sim::VirtualHidBus bus;
    auto product = sim::SimulatedProduct::Create(SimProduct::KeyboardKReceiver);
    ASSERT_TRUE(product->PlugInto(bus));
    ShortPacer pacer;
    p::CDeviceProtocol protocol(bus, pacer);
    ASSERT_TRUE(protocol.Attach(p::kModeReceiver, product->CommandPath(bus)));
    product->SetLink({300us, 0us});
    std::atomic<bool> stop{false};
    std::atomic<int> lightFailures{0};
    std::thread light([&] {
        std::vector<std::uint8_t> frame(510);
        while (!stop) {
            if (protocol.StreamLight(frame.data(), frame.size()) != p::kResultOk) {
                ++lightFailures;
            }
        }
    });
    int linkDown = 0;
    for (int i = 0; i < 150; ++i) {
        linkDown += protocol.QueryWirelessLink() ? 0 : 1;
    }
    stop = true;
    light.join();
    EXPECT_EQ(linkDown, 0);
    EXPECT_EQ(lightFailures.load(), 0);
}

TEST(ProtocolConcurrency, LightChunksAreDroppedWhileAnotherTransactionRuns) {
    ProtocolRig rig(SimProduct::KeyboardK);
    // Hold a command transaction open: its answer never comes, so it reads until time-out.
    rig.firmware().DropAnswers(1);
    std::thread command([&] { EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultNoAnswer); });
    while (!rig.protocol.IsBusy()) {
        std::this_thread::yield();
    }
    diag::Capture capture;
    std::vector<std::uint8_t> frame(510, 0x77);
    EXPECT_EQ(rig.protocol.StreamLight(frame.data(), frame.size()), p::kResultOk);
    command.join();
    EXPECT_EQ(rig.firmware().RequestCount(p::kCmdLightStream), 0);
    EXPECT_TRUE(capture.Contains("放弃灯光数据"));
    EXPECT_EQ(rig.firmware().LightFramesCompleted(), 0);
    EXPECT_EQ(rig.protocol.DroppedLightChunks(), 10U) << "a streamer can tell the frame is short";

    EXPECT_EQ(rig.protocol.StreamLight(frame.data(), frame.size()), p::kResultOk);
    EXPECT_EQ(rig.firmware().RequestCount(p::kCmdLightStream), 10);
    EXPECT_EQ(rig.firmware().LightFrame(), frame);
    EXPECT_EQ(rig.protocol.DroppedLightChunks(), 10U);

    // A streamer that gives up (a newer frame waits) sends no chunk after that.
    int asked = 0;
    EXPECT_EQ(rig.protocol.StreamLight(frame.data(), frame.size(), [&] { return ++asked > 3; }),
              p::kResultOk);
    EXPECT_EQ(rig.firmware().RequestCount(p::kCmdLightStream), 13);
    EXPECT_EQ(rig.protocol.DroppedLightChunks(), 17U);
}

TEST(ProtocolConcurrency, DetachEndsAWaitingTransactionAtOnce) {
    ProtocolRig rig(SimProduct::MouseA);
    rig.protocol.SetTimeouts({}); // 1000 ms reads
    rig.firmware().DropAnswers(10);
    const auto start = std::chrono::steady_clock::now();
    std::thread command([&] { EXPECT_EQ(rig.protocol.BeginConfig(), p::kResultNoAnswer); });
    while (!rig.protocol.IsBusy()) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(20ms);
    rig.protocol.Detach();
    command.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms); // well before two reads
    EXPECT_FALSE(rig.protocol.IsOpened());
}

} // namespace
} // namespace q407::testing
