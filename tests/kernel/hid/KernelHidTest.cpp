// The Linux backend and discovery against the real hidraw driver: simulated devices are put on
// the kernel through /dev/uhid. These cases need the hid-vm (run-in-vm.sh), where /dev/uhid
// exists and the test runs as root.

#include "hid/CHidDevice.h"
#include "hid/Discovery.h"
#include "hid/HidPath.h"
#include "hid/LinuxHidBackend.h"
#include "integration/hid/RecordingListener.h"
#include "sim/ProductInterfaces.h"
#include "sim/ScriptedDevice.h"
#include "sim/UhidBridge.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace q407::hid {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using sim::CollectionKind;
using testing::DiscoveryEvent;

bool InsideHidVm() {
    const char* runvm = std::getenv("RUNVM"); // NOLINT(concurrency-mt-unsafe): read at start
    return runvm != nullptr && std::string_view(runvm) == "1" && ::access("/dev/uhid", W_OK) == 0;
}

std::shared_ptr<sim::VirtualHidDevice> TwoCollectionDevice() {
    sim::VirtualHidDeviceInfo info;
    info.name = "Q407 kernel test device";
    info.vendorId = 0xF5A7;
    info.productId = 0x7E57;
    info.interfaceNumber = 2;
    info.reportDescriptor =
        sim::BuildReportDescriptor({CollectionKind::Vendor, CollectionKind::Consumer});
    return sim::MakeInvertingEchoDevice(info);
}

class KernelHidTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!InsideHidVm()) {
            GTEST_SKIP() << "needs /dev/uhid inside the hid-vm (run-in-vm.sh)";
        }
    }

    // Puts `device` on the kernel and returns its paths as the Linux backend lists them.
    std::vector<std::string> PutOnKernel(const std::shared_ptr<sim::VirtualHidDevice>& device,
                                         std::unique_ptr<sim::UhidBridge>& bridge) {
        std::string error;
        bridge = sim::UhidBridge::Create(device, &error);
        EXPECT_TRUE(bridge) << error;
        if (!bridge) {
            return {};
        }
        const std::string node = bridge->WaitForNode(10s);
        EXPECT_FALSE(node.empty()) << "no hidraw node appeared";
        std::vector<std::string> all;
        EXPECT_TRUE(backend.Enumerate(all));
        std::vector<std::string> paths;
        for (const auto& path : all) {
            if (NodeOfPath(path) == node) {
                paths.push_back(path);
            }
        }
        return paths;
    }

    LinuxHidBackend backend;
};

TEST_F(KernelHidTest, TwoCollectionDeviceIsListedAsTwoPathsWithTheirUsagePages) {
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(TwoCollectionDevice(), bridge);
    ASSERT_EQ(paths.size(), 2u);
    for (const auto& path : paths) {
        EXPECT_EQ(VendorIdFromPath(path), 0xF5A7) << path;
        EXPECT_EQ(ProductIdFromPath(path), 0x7E57) << path;
        EXPECT_EQ(InterfaceNumberFromPath(path), 2) << path; // from HID_PHYS ".../input2"
    }
    CHidDevice record(backend);
    ASSERT_TRUE(record.Open(paths[0], true, false, true, false));
    EXPECT_EQ(record.Caps().usagePage, 0xFF1C);
    EXPECT_EQ(record.Caps().usage, 0x92);
    EXPECT_EQ(record.Caps().inputReportByteLength, 64);
    EXPECT_EQ(record.Attributes().productId, 0x7E57);
    EXPECT_EQ(record.CollectionNumber(), 1);
    ASSERT_TRUE(record.Open(paths[1], true, false, true, false));
    EXPECT_EQ(record.Caps().usagePage, 0x0C);
    EXPECT_EQ(record.Caps().inputReportByteLength, 3);
    EXPECT_TRUE(backend.IsPresent(paths[1]));
}

TEST_F(KernelHidTest, RequestOnTheVendorCollectionIsAnswered) {
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(TwoCollectionDevice(), bridge);
    ASSERT_EQ(paths.size(), 2u);
    CHidDevice command(backend);
    ASSERT_TRUE(command.Open(paths[0], true, true, true, false));
    std::array<std::uint8_t, 64> request{};
    request[0] = sim::kCommandReportId;
    request[3] = 0x11;
    std::size_t count = 0;
    ASSERT_TRUE(command.Write(request.data(), request.size(), &count, 1000));
    EXPECT_EQ(count, 64u);
    std::array<std::uint8_t, 64> answer{};
    ASSERT_TRUE(command.Read(answer.data(), answer.size(), &count, 5000));
    EXPECT_EQ(count, 64u);
    EXPECT_EQ(answer[0], sim::kCommandReportId);
    EXPECT_EQ(answer[3], 0xEE);
    // The set-output-report path reaches the device too.
    request[3] = 0x22;
    ASSERT_TRUE(command.SetOutputReport(request.data(), request.size()));
    ASSERT_TRUE(command.Read(answer.data(), answer.size(), &count, 5000));
    EXPECT_EQ(answer[3], 0xDD);
}

TEST_F(KernelHidTest, EventReportIsReadOnlyOnTheConsumerCollection) {
    auto device = TwoCollectionDevice();
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(device, bridge);
    ASSERT_EQ(paths.size(), 2u);
    CHidDevice command(backend);
    CHidDevice events(backend);
    ASSERT_TRUE(command.Open(paths[0], true, true, true, false));
    ASSERT_TRUE(events.Open(paths[1], true, false, true, false));
    const std::array<std::uint8_t, 3> event = {sim::kEventReportId, 0x03, 0x01};
    ASSERT_TRUE(device->SendInputReport(event));
    std::array<std::uint8_t, 8> buffer{};
    std::size_t count = 0;
    ASSERT_TRUE(events.Read(buffer.data(), buffer.size(), &count, 5000));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(buffer[1], 0x03);
    EXPECT_EQ(buffer[2], 0x01);
    std::array<std::uint8_t, 64> other{};
    EXPECT_FALSE(command.Read(other.data(), other.size(), &count, 200));
    EXPECT_EQ(count, 0u);
}

TEST_F(KernelHidTest, DeviceWithoutReportIdsUsesIdZeroBothWays) {
    // A boot keyboard numbers no reports: the node carries bare data, the program sees id 0.
    sim::VirtualHidDeviceInfo info;
    info.vendorId = 0xF5A7;
    info.productId = 0x7E58;
    info.reportDescriptor = {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29,
                             0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
                             0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05,
                             0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03,
                             0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05,
                             0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
    auto device = std::make_shared<sim::VirtualHidDevice>(info);
    std::promise<std::vector<std::uint8_t>> received;
    device->SetOutputHandler([&received, once = std::make_shared<std::once_flag>()](
                                 sim::VirtualHidDevice&, std::span<const std::uint8_t> report) {
        std::call_once(*once, [&] { received.set_value({report.begin(), report.end()}); });
    });
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(device, bridge);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(CollectionNumberFromPath(paths[0]), 0); // one collection: no "&col"
    CHidDevice keyboard(backend);
    ASSERT_TRUE(keyboard.Open(paths[0], true, true, true, false));
    EXPECT_EQ(keyboard.Caps().inputReportByteLength, 9);

    const std::array<std::uint8_t, 9> keys = {0x00, 0x02, 0x00, 0x04, 0x05, 0, 0, 0, 0};
    ASSERT_TRUE(device->SendInputReport(keys));
    std::array<std::uint8_t, 9> buffer{};
    std::size_t count = 0;
    ASSERT_TRUE(keyboard.Read(buffer.data(), buffer.size(), &count, 5000));
    EXPECT_EQ(count, 9u);
    EXPECT_EQ(buffer, keys);
    auto& data = keyboard.Data(HidReportType::Input);
    ASSERT_TRUE(UnpackReport(buffer, HidReportType::Input, data, *keyboard.PreparsedData()));
    EXPECT_EQ(data[0].usages[0], 0xE1); // left shift
    EXPECT_EQ(data[1].usages[0], 0x04);

    const std::array<std::uint8_t, 2> leds = {0x00, 0x02}; // caps lock
    ASSERT_TRUE(keyboard.Write(leds.data(), leds.size(), &count, 1000));
    auto future = received.get_future();
    ASSERT_EQ(future.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(future.get(), (std::vector<std::uint8_t>{0x00, 0x02}));
}

TEST_F(KernelHidTest, ReadTimesOutWhileTheOtherCollectionKeepsReporting) {
    auto device = TwoCollectionDevice();
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(device, bridge);
    ASSERT_EQ(paths.size(), 2u);
    CHidDevice command(backend);
    ASSERT_TRUE(command.Open(paths[0], true, true, true, false));
    std::atomic<bool> done{false};
    std::thread chatter([&] {
        const std::array<std::uint8_t, 3> event = {sim::kEventReportId, 0x01, 0x00};
        while (!done) {
            device->SendInputReport(event);
            std::this_thread::sleep_for(1ms);
        }
    });
    std::array<std::uint8_t, 64> buffer{};
    const auto started = Clock::now();
    EXPECT_FALSE(command.Read(buffer.data(), buffer.size(), nullptr, 300));
    const auto waited = Clock::now() - started;
    done = true;
    chatter.join();
    EXPECT_GE(waited, 290ms);
    EXPECT_LT(waited, 10s);
}

TEST_F(KernelHidTest, ReadTimesOutAndIsCancelledFromAnotherThread) {
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(TwoCollectionDevice(), bridge);
    ASSERT_EQ(paths.size(), 2u);
    CHidDevice record(backend);
    ASSERT_TRUE(record.Open(paths[0], true, true, true, false));
    std::array<std::uint8_t, 64> buffer{};
    std::size_t count = 1;
    auto started = Clock::now();
    EXPECT_FALSE(record.Read(buffer.data(), buffer.size(), &count, 300));
    EXPECT_GE(Clock::now() - started, 290ms);
    EXPECT_EQ(count, 0u);

    auto pending = std::async(std::launch::async, [&] {
        return record.Read(buffer.data(), buffer.size(), nullptr, 20000);
    });
    std::this_thread::sleep_for(100ms);
    started = Clock::now();
    record.Close();
    ASSERT_EQ(pending.wait_for(10s), std::future_status::ready);
    EXPECT_FALSE(pending.get());
    EXPECT_LT(Clock::now() - started, 10s);
}

TEST_F(KernelHidTest, DestroyedDeviceEndsReadsAndIsNoLongerPresent) {
    std::unique_ptr<sim::UhidBridge> bridge;
    const auto paths = PutOnKernel(TwoCollectionDevice(), bridge);
    ASSERT_EQ(paths.size(), 2u);
    CHidDevice record(backend);
    ASSERT_TRUE(record.Open(paths[0], true, true, true, false));
    auto pending = std::async(std::launch::async, [&] {
        std::array<std::uint8_t, 64> buffer{};
        return record.Read(buffer.data(), buffer.size(), nullptr, 20000);
    });
    std::this_thread::sleep_for(100ms);
    bridge->Destroy();
    ASSERT_EQ(pending.wait_for(10s), std::future_status::ready);
    EXPECT_FALSE(pending.get());
    EXPECT_FALSE(backend.IsPresent(paths[0]));
    CHidDevice again(backend);
    EXPECT_FALSE(again.Open(paths[0], true, true, true, false));
}

TEST_F(KernelHidTest, DiscoveryReportsArrivalAndRemovalOfASupportedMouse) {
    testing::RecordingListener listener;
    CDeviceDiscovery discovery(backend, listener);
    listener.discovery = &discovery;
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::FirstPass, 1, 10s));

    auto mouse = std::make_shared<sim::VirtualHidDevice>(
        sim::InterfacesOfProduct(sim::SimProduct::MouseA).front());
    std::string error;
    auto bridge = sim::UhidBridge::Create(mouse, &error);
    ASSERT_TRUE(bridge) << error;
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Arrived, 2, 20s));
    const auto command = discovery.Slot(4);
    EXPECT_EQ(command.occupied, 1);
    EXPECT_EQ(CollectionNumberFromPath(command.devicePath), 5);
    EXPECT_EQ(discovery.Slot(5).occupied, 1);
    // Present means present: a few more passes keep the slots.
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(listener.Count(DiscoveryEvent::Removed), 0u);
    EXPECT_EQ(listener.Count(DiscoveryEvent::Arrived), 2u);

    bridge->Destroy();
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Removed, 2, 20s));
    EXPECT_TRUE(discovery.Slot(4).IsFree());
    EXPECT_TRUE(discovery.Slot(5).IsFree());
    EXPECT_TRUE(discovery.Stop(5s));
}

} // namespace
} // namespace q407::hid
