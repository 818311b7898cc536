// The protocol object's own state, without a device: connection modes, key table size, the
// closed connection and the pacer.

#include "protocol/CDeviceProtocol.h"

#include "sim/VirtualHidBus.h"

#include <gtest/gtest.h>

namespace q407::protocol {
namespace {

using namespace std::chrono_literals;

TEST(CDeviceProtocolState, StartsClosedWithReceiverChunksAndFullTable) {
    sim::VirtualHidBus bus;
    CDeviceProtocol protocol(bus);
    EXPECT_FALSE(protocol.IsOpened());
    EXPECT_FALSE(protocol.IsBusy());
    EXPECT_FALSE(protocol.IsWireless());
    EXPECT_EQ(protocol.ChunkSize(), 24);
    EXPECT_EQ(protocol.TableSize(), 512);
    EXPECT_FALSE(protocol.FollowsSharedLighting());
}

TEST(CDeviceProtocolState, ConnectionModeSetsWirelessAndChunkSize) {
    sim::VirtualHidBus bus;
    CDeviceProtocol protocol(bus);
    protocol.SetConnectionMode(kModeReceiver);
    EXPECT_TRUE(protocol.IsWireless());
    EXPECT_EQ(protocol.ChunkSize(), 24);
    protocol.SetConnectionMode(kModeCable);
    EXPECT_FALSE(protocol.IsWireless());
    EXPECT_EQ(protocol.ChunkSize(), 56);
    protocol.SetConnectionMode(2);
    protocol.SetConnectionMode(7); // anything else is cable
    EXPECT_FALSE(protocol.IsWireless());
    EXPECT_EQ(protocol.ChunkSize(), 56);
}

TEST(CDeviceProtocolState, TableSizeAbove512IsRefused) {
    sim::VirtualHidBus bus;
    CDeviceProtocol protocol(bus);
    EXPECT_FALSE(protocol.SetTableSize(513));
    EXPECT_EQ(protocol.TableSize(), 512);
    EXPECT_TRUE(protocol.SetTableSize(48));
    EXPECT_FALSE(protocol.SetTableSize(513));
    EXPECT_EQ(protocol.TableSize(), 48);
    EXPECT_TRUE(protocol.SetTableSize(512));
}

TEST(CDeviceProtocolState, ClosedConnectionAndBadArgumentsSendNothing) {
    sim::VirtualHidBus bus;
    CDeviceProtocol protocol(bus);
    std::array<std::uint8_t, 64> answer{};
    answer.fill(0xEE);
    std::size_t count = 99;
    const Report request = BuildRequest(kCmdBegin);
    EXPECT_EQ(
        protocol.Transact(request.data(), request.size(), answer.data(), answer.size(), &count),
        kResultNoAnswer);
    EXPECT_EQ(count, 0U);
    EXPECT_EQ(answer[0], 0xEE);
    EXPECT_EQ(protocol.TransactWithCrc(request.data(), 64, nullptr, 0, nullptr), kResultNoAnswer);
    EXPECT_FALSE(protocol.Attach(kModeCable, "/virtual/hidraw9&vid_f5a7&pid_4a01&mi_00&col05"));
    EXPECT_FALSE(protocol.IsOpened());
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_EQ(protocol.ReadKeyTable(buffer.data(), 2), kResultBadBank);
    // an address range beyond 16 bits cannot be sent
    EXPECT_EQ(protocol.ReadIndexedBlock(buffer.data(), 8, 200, 512), kResultNoAnswer);
    EXPECT_EQ(protocol.ReadSettings(buffer.data(), 8, 0xFFFC), kResultNoAnswer);
    EXPECT_EQ(protocol.ReadSettings(nullptr, 8, 0), kResultNoAnswer);
    // nothing to move is done at once
    EXPECT_EQ(protocol.WriteMacroImage(nullptr, 0), kResultOk);
}

TEST(CDeviceProtocolState, SleepingPacerSleepsAtLeastTheDuration) {
    SleepingPacer pacer;
    const auto start = std::chrono::steady_clock::now();
    pacer.Pause(5ms);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5ms);
}

} // namespace
} // namespace q407::protocol
