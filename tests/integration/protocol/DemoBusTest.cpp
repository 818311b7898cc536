// The demo bus: discovery finds every simulated product on it, and each answers the command
// sequence of its kind through the slot discovery gave it.

#include "sim/DemoBus.h"

#include "hid/Discovery.h"
#include "integration/hid/RecordingListener.h"
#include "integration/protocol/ProtocolRig.h"
#include "protocol/Sequences.h"

#include <set>

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
