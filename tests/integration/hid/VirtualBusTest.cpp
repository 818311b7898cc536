// CHidDevice on the virtual bus: enumeration, collections, report routing, time-outs, cancel,
// unplugging and node reuse.

#include "hid/CHidDevice.h"
#include "hid/HidPath.h"
#include "sim/ProductInterfaces.h"
#include "sim/ScriptedDevice.h"
#include "sim/VirtualHidBus.h"

#include <array>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace q407::hid {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using sim::CollectionKind;

std::shared_ptr<sim::VirtualHidDevice> TwoCollectionDevice(std::uint16_t productId = 0x1111) {
    sim::VirtualHidDeviceInfo info;
    info.vendorId = 0xF5A7;
    info.productId = productId;
    info.interfaceNumber = 2;
    info.reportDescriptor =
        sim::BuildReportDescriptor({CollectionKind::Vendor, CollectionKind::Consumer});
    return sim::MakeInvertingEchoDevice(info);
}

class VirtualBusTest : public ::testing::Test {
protected:
    sim::VirtualHidBus bus;
};

TEST_F(VirtualBusTest, OneNodeListsOnePathPerCollectionWithItsCapabilities) {
    auto device = TwoCollectionDevice();
    const auto paths = bus.Plug(device);
    ASSERT_EQ(paths.size(), 2u);
    CHidDevice record(bus);
    ASSERT_TRUE(record.FindDevices());
    EXPECT_EQ(record.PathCount(), 2u);
    const std::string first = record.NextPath();
    const std::string second = record.NextPath();
    EXPECT_EQ(record.NextPath(), nullptr);
    EXPECT_EQ(NodeOfPath(first), NodeOfPath(second));
    EXPECT_EQ(CollectionNumberFromPath(first), 1);
    EXPECT_EQ(CollectionNumberFromPath(second), 2);
    EXPECT_EQ(InterfaceNumberFromPath(first), 2);

    ASSERT_TRUE(record.Open(first, true, false, true, false));
    EXPECT_EQ(record.Attributes().vendorId, 0xF5A7);
    EXPECT_EQ(record.Attributes().productId, 0x1111);
    EXPECT_EQ(record.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(record.Caps().usage, 0x92);
    EXPECT_EQ(record.ReportBuffer(HidReportType::Input).size(), 64u);
    EXPECT_EQ(record.InterfaceNumber(), 2);
    EXPECT_EQ(record.CollectionNumber(), 1);
    ASSERT_TRUE(record.Open(second, true, false, true, false));
    EXPECT_EQ(record.Caps().usagePage, 0x0C);
    EXPECT_EQ(record.Caps().inputReportByteLength, 3);
    EXPECT_EQ(record.Data(HidReportType::Input).size(), 1u);
}

TEST_F(VirtualBusTest, RequestOnTheVendorCollectionIsAnsweredThere) {
    auto device = TwoCollectionDevice();
    const auto paths = bus.Plug(device);
    CHidDevice command(bus);
    CHidDevice events(bus);
    ASSERT_TRUE(command.Open(paths[0], true, true, true, false));
    ASSERT_TRUE(events.Open(paths[1], true, true, true, false));

    std::array<std::uint8_t, 64> request{};
    request[0] = sim::kCommandReportId;
    request[3] = 0x42;
    std::size_t written = 0;
    ASSERT_TRUE(command.Write(request.data(), request.size(), &written, 1000));
    EXPECT_EQ(written, 64u);
    std::array<std::uint8_t, 64> answer{};
    std::size_t read = 0;
    ASSERT_TRUE(command.Read(answer.data(), answer.size(), &read, 1000));
    EXPECT_EQ(read, 64u);
    EXPECT_EQ(answer[0], sim::kCommandReportId);
    EXPECT_EQ(answer[3], 0xBD);
    // The consumer collection never sees the vendor report.
    EXPECT_FALSE(events.Read(answer.data(), answer.size(), &read, 50));
    EXPECT_EQ(read, 0u);

    // A short request is padded to the report length; a request for the consumer collection's
    // id, or one longer than the report, is refused.
    const std::array<std::uint8_t, 8> shortRequest = {sim::kCommandReportId, 0, 0, 0x07};
    ASSERT_TRUE(command.Write(shortRequest.data(), shortRequest.size(), &written, 1000));
    EXPECT_EQ(written, 64u);
    ASSERT_TRUE(command.Read(answer.data(), answer.size(), &read, 1000));
    EXPECT_EQ(answer[3], 0xF8);
    EXPECT_EQ(answer[63], 0xFF);
    std::array<std::uint8_t, 65> tooLong{};
    tooLong[0] = sim::kCommandReportId;
    EXPECT_FALSE(command.Write(tooLong.data(), tooLong.size(), &written, 1000));
    request[0] = sim::kEventReportId;
    EXPECT_FALSE(command.Write(request.data(), request.size(), &written, 1000));
    EXPECT_FALSE(events.Write(request.data(), 3, &written, 1000));
    EXPECT_EQ(written, 0u);
}

TEST_F(VirtualBusTest, EventReportArrivesOnlyOnTheConsumerCollection) {
    auto device = TwoCollectionDevice();
    const auto paths = bus.Plug(device);
    CHidDevice command(bus);
    CHidDevice events(bus);
    ASSERT_TRUE(command.Open(paths[0], true, true, true, false));
    ASSERT_TRUE(events.Open(paths[1], true, false, true, false));
    const std::array<std::uint8_t, 3> event = {sim::kEventReportId, 0x03, 0x01};
    ASSERT_TRUE(device->SendInputReport(event));
    std::array<std::uint8_t, 16> buffer{};
    std::size_t read = 0;
    ASSERT_TRUE(events.Read(buffer.data(), buffer.size(), &read, 1000));
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(buffer[1], 0x03);
    EXPECT_EQ(buffer[3], 0x00); // nothing past the report
    auto& data = events.Data(HidReportType::Input);
    ASSERT_TRUE(
        UnpackReport({buffer.data(), read}, HidReportType::Input, data, *events.PreparsedData()));
    EXPECT_EQ(data[0].usages[0], 0x0103);
    EXPECT_FALSE(command.Read(buffer.data(), buffer.size(), &read, 50));

    // A report shorter than declared is refused, not delivered half-filled.
    const std::array<std::uint8_t, 2> truncated = {sim::kEventReportId, 0x03};
    ASSERT_TRUE(device->SendInputReport(truncated));
    EXPECT_FALSE(events.Read(buffer.data(), buffer.size(), &read, 1000));
    EXPECT_EQ(read, 0u);
}

TEST_F(VirtualBusTest, ReadTimesOutAndIsCancelledByCloseFromAnotherThread) {
    auto device = TwoCollectionDevice();
    const auto paths = bus.Plug(device);
    CHidDevice record(bus);
    ASSERT_TRUE(record.Open(paths[0], true, true, true, false));
    std::array<std::uint8_t, 64> buffer{};
    std::size_t read = 1;

    auto started = Clock::now();
    EXPECT_FALSE(record.Read(buffer.data(), buffer.size(), &read, 200));
    const auto waited = Clock::now() - started;
    EXPECT_EQ(read, 0u);
    EXPECT_GE(waited, 190ms);
    EXPECT_LT(waited, 5s);

    // Close from another thread ends a read waiting for 10 s at once.
    auto pending = std::async(std::launch::async, [&] {
        std::size_t count = 1;
        const bool ok = record.Read(buffer.data(), buffer.size(), &count, 10000);
        return std::make_pair(ok, count);
    });
    std::this_thread::sleep_for(50ms);
    started = Clock::now();
    record.Close();
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    EXPECT_LT(Clock::now() - started, 5s);
    const auto [ok, count] = pending.get();
    EXPECT_FALSE(ok);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(record.IsOpen());

    // CancelTransfer ends a read without a time-out; the record stays open.
    ASSERT_TRUE(record.Open(paths[0], true, true, true, false));
    auto forever = std::async(std::launch::async, [&] {
        return record.Read(buffer.data(), buffer.size(), nullptr, kHidInfinite);
    });
    std::this_thread::sleep_for(50ms);
    record.CancelTransfer();
    ASSERT_EQ(forever.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(forever.get());
    EXPECT_TRUE(record.IsOpen());
}

TEST_F(VirtualBusTest, ReadTimesOutWhileOtherCollectionsKeepReporting) {
    auto device = TwoCollectionDevice();
    const auto paths = bus.Plug(device);
    CHidDevice command(bus);
    ASSERT_TRUE(command.Open(paths[0], true, true, true, false));
    std::atomic<bool> done{false};
    std::thread chatter([&] {
        const std::array<std::uint8_t, 3> event = {sim::kEventReportId, 0x01, 0x00};
        while (!done) {
            device->SendInputReport(event);
        }
    });
    std::array<std::uint8_t, 64> buffer{};
    const auto started = Clock::now();
    EXPECT_FALSE(command.Read(buffer.data(), buffer.size(), nullptr, 200));
    const auto waited = Clock::now() - started;
    done = true;
    chatter.join();
    EXPECT_GE(waited, 190ms);
    EXPECT_LT(waited, 5s);
}

TEST_F(VirtualBusTest, UnplugEndsReadsAndReuseOfTheNodeIsNoticed) {
    auto first = TwoCollectionDevice(0x1111);
    const auto paths = bus.Plug(first);
    CHidDevice record(bus);
    ASSERT_TRUE(record.Open(paths[0], true, true, true, false));
    EXPECT_TRUE(bus.IsPresent(paths[0]));

    auto pending = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 64> buffer{};
        return record.Read(buffer.data(), buffer.size(), nullptr, 10000);
    });
    std::this_thread::sleep_for(50ms);
    ASSERT_TRUE(bus.Unplug(first));
    ASSERT_EQ(pending.wait_for(5s), std::future_status::ready);
    EXPECT_FALSE(pending.get());
    EXPECT_FALSE(bus.IsPresent(paths[0]));
    std::array<std::uint8_t, 64> request{sim::kCommandReportId};
    EXPECT_FALSE(record.Write(request.data(), request.size(), nullptr, 1000));
    EXPECT_FALSE(first->SendInputReport(request));
    // Gone between enumeration and open.
    CHidDevice late(bus);
    EXPECT_FALSE(late.Open(paths[0], true, true, true, false));

    // Another device takes the same node: the old path does not open it.
    auto second = TwoCollectionDevice(0x2222);
    const auto newPaths = bus.Plug(second);
    ASSERT_EQ(newPaths.size(), 2u);
    EXPECT_EQ(NodeOfPath(newPaths[0]), NodeOfPath(paths[0]));
    EXPECT_FALSE(record.Open(paths[0], true, true, true, false));
    EXPECT_FALSE(bus.IsPresent(paths[0]));
    EXPECT_TRUE(record.Open(newPaths[0], true, true, true, false));

    // The same device under a new instance at the same path is reported gone once.
    CHidDevice lister(bus);
    ASSERT_TRUE(lister.FindDevices());
    ASSERT_TRUE(bus.Unplug(second));
    ASSERT_EQ(bus.Plug(second), newPaths);
    EXPECT_FALSE(bus.IsPresent(newPaths[0]));
    ASSERT_TRUE(lister.FindDevices());
    EXPECT_TRUE(bus.IsPresent(newPaths[0]));
}

TEST_F(VirtualBusTest, BadDescriptorsAndPathsGiveClearFailures) {
    sim::VirtualHidDeviceInfo info;
    info.vendorId = 0xF5A7;
    info.reportDescriptor = {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}; // never closed
    auto broken = std::make_shared<sim::VirtualHidDevice>(info);
    EXPECT_TRUE(bus.Plug(broken).empty());
    auto device = TwoCollectionDevice();
    const auto paths = bus.Plug(device);
    EXPECT_TRUE(bus.Plug(device).empty()); // plugged already
    CHidDevice record(bus);
    EXPECT_FALSE(record.Open("", true, true, true, false));
    EXPECT_FALSE(record.Open("/virtual/hidraw0", true, true, true, false));
    EXPECT_FALSE(record.Open(std::string(NodeOfPath(paths[0])) + "&vid_f5a7&pid_1111&mi_02&col03",
                             true, true, true, false));
    EXPECT_FALSE(
        record.Open("/virtual/hidrawX&vid_f5a7&pid_1111&mi_02&col01", true, true, true, false));
    // A record opened for reading only does not write, and one opened for writing only does not
    // read.
    ASSERT_TRUE(record.Open(paths[0], true, false, true, false));
    std::array<std::uint8_t, 64> request{sim::kCommandReportId};
    EXPECT_FALSE(record.Write(request.data(), request.size(), nullptr, 100));
    ASSERT_TRUE(record.Open(paths[0], false, true, true, false));
    EXPECT_FALSE(record.Read(request.data(), request.size(), nullptr, 10));
}

} // namespace
} // namespace q407::hid
