// Discovery on the virtual bus: the thread, its two-step match, slots, arrival and removal.

#include "hid/Discovery.h"

#include "common/Diag.h"
#include "hid/HidPath.h"
#include "integration/hid/RecordingListener.h"
#include "sim/ProductInterfaces.h"
#include "sim/VirtualHidBus.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace q407::hid {
namespace {

using namespace std::chrono_literals;
using testing::DiscoveryEvent;
using testing::RecordingListener;

// Slots of the supported-device table, by row.
constexpr int kMouseACommand = 4;
constexpr int kMouseAEvent = 5;
constexpr int kMouseAReceiverCommand = 6;
constexpr int kMouseAReceiverEvent = 7;

std::vector<std::shared_ptr<sim::VirtualHidDevice>> MakeProduct(sim::SimProduct product) {
    std::vector<std::shared_ptr<sim::VirtualHidDevice>> devices;
    for (auto& info : sim::InterfacesOfProduct(product)) {
        devices.push_back(std::make_shared<sim::VirtualHidDevice>(std::move(info)));
    }
    return devices;
}

class DiscoveryTest : public ::testing::Test {
protected:
    DiscoveryTest() { listener.discovery = &discovery; }

    void Plug(const std::vector<std::shared_ptr<sim::VirtualHidDevice>>& devices) {
        for (const auto& device : devices) {
            ASSERT_FALSE(bus.Plug(device).empty());
        }
    }
    void Unplug(const std::vector<std::shared_ptr<sim::VirtualHidDevice>>& devices) {
        for (const auto& device : devices) {
            ASSERT_TRUE(bus.Unplug(device));
        }
    }
    std::vector<int> SlotsOf(DiscoveryEvent::Kind kind) const {
        std::vector<int> slots;
        for (const auto& event : listener.Events()) {
            if (event.kind == kind) {
                slots.push_back(event.slot);
            }
        }
        std::sort(slots.begin(), slots.end());
        return slots;
    }

    sim::VirtualHidBus bus;
    RecordingListener listener;
    CDeviceDiscovery discovery{bus, listener};
};

TEST_F(DiscoveryTest, FirstPassIsReportedOnceEvenWithNoDevice) {
    ASSERT_TRUE(discovery.Start());
    EXPECT_FALSE(discovery.Start()); // runs already
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::FirstPass, 1));
    std::this_thread::sleep_for(300ms); // a few more passes
    EXPECT_EQ(listener.Count(DiscoveryEvent::FirstPass), 1u);
    EXPECT_EQ(listener.Count(DiscoveryEvent::Arrived), 0u);
    for (const auto& slot : discovery.Slots()) {
        EXPECT_TRUE(slot.IsFree());
    }
}

TEST_F(DiscoveryTest, ArrivalAndRemovalOfACableMouse) {
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::FirstPass, 1));
    const auto mouse = MakeProduct(sim::SimProduct::MouseA);
    Plug(mouse);
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Arrived, 2));
    EXPECT_EQ(SlotsOf(DiscoveryEvent::Arrived), (std::vector<int>{kMouseACommand, kMouseAEvent}));
    const auto paths = bus.PathsOf(mouse[0]);
    // Collection 5 (vendor) is the command interface, collection 4 (consumer) the event one.
    const auto command = discovery.Slot(kMouseACommand);
    EXPECT_EQ(command.occupied, 1);
    EXPECT_EQ(command.devicePath, paths[4]);
    EXPECT_EQ(discovery.Slot(kMouseAEvent).devicePath, paths[3]);
    for (const auto& event : listener.Events()) {
        if (event.kind == DiscoveryEvent::Arrived) {
            EXPECT_FALSE(event.path.empty()); // the slot is filled before the listener hears
        }
    }

    Unplug(mouse);
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Removed, 2));
    EXPECT_EQ(SlotsOf(DiscoveryEvent::Removed), (std::vector<int>{kMouseACommand, kMouseAEvent}));
    for (const auto& event : listener.Events()) {
        if (event.kind == DiscoveryEvent::Removed) {
            EXPECT_TRUE(event.path.empty()); // already free when the listener hears
        }
    }
    EXPECT_TRUE(discovery.Slot(kMouseACommand).IsFree());
}

TEST_F(DiscoveryTest, SecondIdenticalDeviceWaitsForTheFirstToGo) {
    const auto first = MakeProduct(sim::SimProduct::MouseA);
    const auto second = MakeProduct(sim::SimProduct::MouseA);
    Plug(first);
    Plug(second);
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Arrived, 2));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(listener.Count(DiscoveryEvent::Arrived), 2u);
    const std::string firstNode(NodeOfPath(discovery.Slot(kMouseACommand).devicePath));
    EXPECT_EQ(firstNode, NodeOfPath(bus.PathsOf(first[0])[0]));

    Unplug(first);
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Removed, 2));
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Arrived, 4));
    EXPECT_EQ(discovery.Slot(kMouseACommand).devicePath, bus.PathsOf(second[0])[4]);
}

TEST_F(DiscoveryTest, CableAndReceiverArePresentTogether) {
    const auto cable = MakeProduct(sim::SimProduct::MouseA);
    const auto receiver = MakeProduct(sim::SimProduct::MouseAReceiver);
    ASSERT_TRUE(discovery.Start());
    Plug(receiver);
    Plug(cable);
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Arrived, 4));
    EXPECT_EQ(SlotsOf(DiscoveryEvent::Arrived),
              (std::vector<int>{kMouseACommand, kMouseAEvent, kMouseAReceiverCommand,
                                kMouseAReceiverEvent}));
    // The receiver's event interface is collection 3 of its second USB interface.
    EXPECT_EQ(discovery.Slot(kMouseAReceiverEvent).devicePath, bus.PathsOf(receiver[1])[2]);
    Unplug(cable);
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Removed, 2));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(SlotsOf(DiscoveryEvent::Removed), (std::vector<int>{kMouseACommand, kMouseAEvent}));
    EXPECT_EQ(discovery.Slot(kMouseAReceiverCommand).occupied, 1);
}

TEST_F(DiscoveryTest, EveryRecognisedProductFillsItsRows) {
    std::vector<std::vector<std::shared_ptr<sim::VirtualHidDevice>>> products;
    for (const auto product :
         {sim::SimProduct::MouseA, sim::SimProduct::MouseAReceiver, sim::SimProduct::MouseBReceiver,
          sim::SimProduct::MousePad, sim::SimProduct::Headset, sim::SimProduct::KeyboardK,
          sim::SimProduct::KeyboardKReceiver}) {
        products.push_back(MakeProduct(product));
        Plug(products.back());
    }
    discovery.RunPass();
    std::vector<int> expected;
    const auto table = SupportedDevices();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].vendorId != 0) {
            expected.push_back(static_cast<int>(i));
        }
    }
    EXPECT_EQ(SlotsOf(DiscoveryEvent::Arrived), expected);
    EXPECT_EQ(listener.Count(DiscoveryEvent::FirstPass), 1u);
}

TEST_F(DiscoveryTest, PathMatchWithoutTheRightCollectionIsNotTaken) {
    // Mouse A's ids and interface, but the vendor collection where the consumer one belongs and
    // the other way round: the path matches, the opened collections do not.
    sim::VirtualHidDeviceInfo info = sim::InterfacesOfProduct(sim::SimProduct::MouseA)[0];
    using K = sim::CollectionKind;
    info.reportDescriptor = sim::BuildReportDescriptor(
        {K::Mouse, K::Keyboard, K::SystemControl, K::Vendor, K::Consumer});
    auto device = std::make_shared<sim::VirtualHidDevice>(info);
    Plug({device});
    discovery.RunPass();
    discovery.RunPass();
    EXPECT_EQ(listener.Count(DiscoveryEvent::Arrived), 0u);
}

TEST_F(DiscoveryTest, DeviceWithZeroIdsDoesNotTakeAReservedSlot) {
    // Laid out like mouse B's cable command interface, with the 0:0 ids of its reserved rows.
    sim::VirtualHidDeviceInfo info = sim::InterfacesOfProduct(sim::SimProduct::MouseA)[0];
    info.vendorId = 0;
    info.productId = 0;
    Plug({std::make_shared<sim::VirtualHidDevice>(info)});
    discovery.RunPass();
    EXPECT_EQ(listener.Count(DiscoveryEvent::Arrived), 0u);
}

TEST_F(DiscoveryTest, FailedEnumerationIsRetriedAndTheWindowIsStillShown) {
    bus.FailEnumerations(3);
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::FirstPass, 1));
    Plug(MakeProduct(sim::SimProduct::MouseA));
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::Arrived, 2));
    EXPECT_TRUE(discovery.IsRunning());
}

TEST_F(DiscoveryTest, StopEndsTheThreadPromptlyAndSaysSo) {
    diag::Capture capture;
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::FirstPass, 1));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(discovery.Stop(5000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    EXPECT_FALSE(discovery.IsRunning());
    EXPECT_TRUE(capture.Contains("抓取设备线程设定退出"));
    // It can be started again, and reports a first pass again.
    ASSERT_TRUE(discovery.Start());
    ASSERT_TRUE(listener.WaitFor(DiscoveryEvent::FirstPass, 2));
}

} // namespace
} // namespace q407::hid
