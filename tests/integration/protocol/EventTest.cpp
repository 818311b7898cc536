// Event reports of the simulated products reach the event collection and parse to the value the
// pages act on: the 16-bit value of the first item of the report.

#include "hid/CHidDevice.h"
#include "integration/protocol/ProtocolRig.h"

namespace q407::testing {
namespace {

using sim::SimProduct;

std::uint32_t ReadEventValue(hid::CHidDevice& record) {
    auto& buffer = record.ReportBuffer(hid::HidReportType::Input);
    std::size_t count = 0;
    if (!record.Read(buffer.data(), buffer.size(), &count, 1000)) {
        return 0xFFFFFFFF;
    }
    auto& data = record.Data(hid::HidReportType::Input);
    if (data.empty() ||
        !hid::UnpackReport(buffer, hid::HidReportType::Input, data, *record.PreparsedData())) {
        return 0xFFFFFFFF;
    }
    const hid::HidData& first = data.front();
    return first.isButton ? (first.usages.empty() ? 0 : first.usages.front()) : first.value;
}

TEST(SimulatedEvents, EveryProductReportsItsEventsOnItsEventCollection) {
    for (const SimProduct which :
         {SimProduct::MouseA, SimProduct::MouseAReceiver, SimProduct::MouseBReceiver,
          SimProduct::KeyboardK, SimProduct::KeyboardKReceiver, SimProduct::MousePad,
          SimProduct::Headset}) {
        sim::VirtualHidBus bus;
        auto product = sim::SimulatedProduct::Create(which);
        ASSERT_TRUE(product->PlugInto(bus));
        hid::CHidDevice record(bus);
        ASSERT_TRUE(record.Open(product->EventPath(bus), true, true, true, false));
        EXPECT_EQ(record.Caps().usagePage, 0x000C);

        ASSERT_TRUE(product->EmitResync());
        EXPECT_EQ(ReadEventValue(record), 0x0401U);
        ASSERT_TRUE(product->EmitProfileAndStage(3, 2));
        EXPECT_EQ(ReadEventValue(record), 0x1123U);
        ASSERT_TRUE(product->EmitProfileSwitch(4));
        EXPECT_EQ(ReadEventValue(record), 0x1004U);
        ASSERT_TRUE(product->EmitKeyPress(0x50));
        EXPECT_EQ(ReadEventValue(record), 0x0550U);
        ASSERT_TRUE(product->EmitKeyKind2(0xA9));
        EXPECT_EQ(ReadEventValue(record), 0x06A9U);
        product->Unplug();
        EXPECT_FALSE(product->EmitRipple());
    }
}

TEST(SimulatedEvents, CommandAnswersDoNotReachTheEventCollection) {
    ProtocolRig rig(SimProduct::MouseA); // events share the command interface's node
    hid::CHidDevice events(rig.bus);
    ASSERT_TRUE(events.Open(rig.product->EventPath(rig.bus), true, true, true, false));
    ASSERT_EQ(rig.protocol.BeginConfig(), protocol::kResultOk);
    ASSERT_TRUE(rig.product->EmitRipple());
    EXPECT_EQ(ReadEventValue(events), 0x0403U);
}

TEST(SimulatedHeadset, LedOutputReportsSetItsRegistersWithoutAnAnswer) {
    ProtocolRig rig(SimProduct::Headset);
    auto& record = rig.protocol.CableRecord();
    std::array<std::uint8_t, 17> report{};
    report[0] = sim::kLedReportId;
    for (const std::uint8_t group : {0x22, 0x44}) {
        for (std::uint8_t reg = 0xAA; reg <= 0xAF; ++reg) {
            report[1] = group;
            report[2] = reg;
            for (std::size_t i = 4; i < report.size(); ++i) {
                report[i] = static_cast<std::uint8_t>(group + reg + i);
            }
            EXPECT_TRUE(record.SetOutputReport(report.data(), report.size()));
        }
    }
    EXPECT_EQ(rig.firmware().LedReports(), 12);
    const auto red = rig.firmware().LedRegister(0x44, 0xAA);
    ASSERT_EQ(red.size(), 13U);
    EXPECT_EQ(red[0], static_cast<std::uint8_t>(0x44 + 0xAA + 4));
    EXPECT_TRUE(rig.firmware().LedRegister(0x33, 0xAA).empty());
    // the command protocol goes on as before
    EXPECT_EQ(rig.protocol.BeginConfig(), protocol::kResultOk);
}

} // namespace
} // namespace q407::testing
