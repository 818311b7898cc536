// The main window's worker slots and its part in discovery: devices plugged on the virtual bus
// reach the window's slots, the window shows after the first pass, and the exit routine stops
// every worker within its bound.

#include "app/CMainWnd.h"
#include "app/Startup.h"
#include "app/ThreadSlots.h"
#include "common/Diag.h"
#include "common/Paths.h"
#include "sim/ProductInterfaces.h"
#include "sim/VirtualHidBus.h"
#include "support/QtTestUtil.h"
#include "support/UiTestScopes.h"

#include <QtEndian>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(ThreadSlots, StopAllEndsCooperativeWorkersAndReportsEachSlot) {
    q407::diag::Capture diagnostics;
    q407::app::ThreadSlots slots;
    std::atomic<int> ended{0};
    for (int slot : {0, 8, 19}) {
        ASSERT_TRUE(slots.Start(slot, [&](const q407::Event& stop) {
            while (!stop.Wait(5ms)) {
            }
            ++ended;
        }));
    }
    EXPECT_FALSE(slots.Start(8, [](const q407::Event&) {})) << "busy";
    EXPECT_FALSE(slots.Start(20, [](const q407::Event&) {})) << "out of range";
    EXPECT_FALSE(slots.Start(-1, [](const q407::Event&) {}));

    EXPECT_EQ(slots.StopAll(1000ms), 0);
    EXPECT_EQ(ended.load(), 3);
    const auto lines = diagnostics.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string("所有对象处于激发状态\n")), 3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string("错误\n3")), 1)
        << "an empty slot is a failed wait";
    EXPECT_FALSE(slots.IsBusy(0));
}

TEST(ThreadSlots, WorkerThatIgnoresItsStopIsLeftRunningNotKilled) {
    q407::diag::Capture diagnostics;
    auto release = std::make_shared<q407::Event>();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    {
        q407::app::ThreadSlots slots;
        ASSERT_TRUE(slots.Start(1, [release, finished](const q407::Event&) {
            release->Wait(-1ms); // deaf to its stop event
            *finished = true;
        }));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(slots.StopAll(50ms), 1);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "the wait is bounded";
        EXPECT_TRUE(diagnostics.Contains("所有对象处于非激发状态，超时"));
    }
    // The straggler still runs safely after its slots are gone, and ends when it can.
    release->Set();
    ASSERT_TRUE(testutil::WaitUntil([&] { return finished->load(); }));
}

TEST(DeviceInformation, BlockListsTheOptionRows) {
    const QByteArray block = q407::app::DeviceInformationBlock();
    ASSERT_EQ(block.size(), 1024);
    const auto value = [&](int index) {
        return qFromLittleEndian<quint32>(block.constData() + 4 * index);
    };
    EXPECT_EQ(value(0), 2u);
    EXPECT_EQ(value(1), 3u);
    EXPECT_EQ(value(2), 0u);
    EXPECT_EQ(value(3), 2u);
    const auto options = q407::hid::DeviceOptions();
    ASSERT_EQ(value(4), options.size());
    for (std::size_t row = 0; row < options.size(); ++row) {
        EXPECT_EQ(value(5 + 3 * static_cast<int>(row)), static_cast<quint32>(options[row].i[4]));
        EXPECT_EQ(value(6 + 3 * static_cast<int>(row)), static_cast<quint32>(options[row].i[5]));
        EXPECT_EQ(value(7 + 3 * static_cast<int>(row)), static_cast<quint32>(options[row].i[6]));
    }
    for (int index = 5 + 3 * static_cast<int>(options.size()); index < 256; ++index) {
        EXPECT_EQ(value(index), 0u) << index;
    }
}

class MainWindowOnBusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString skin = QString::fromStdString((q407::paths::DataDir() / "skin").string());
        ASSERT_TRUE(q407::app::SetupUiResources(skin + QLatin1Char('/')));
    }

    std::vector<std::shared_ptr<q407::sim::VirtualHidDevice>> Plug(q407::sim::SimProduct product) {
        std::vector<std::shared_ptr<q407::sim::VirtualHidDevice>> devices;
        for (const auto& info : q407::sim::InterfacesOfProduct(product)) {
            auto device = std::make_shared<q407::sim::VirtualHidDevice>(info);
            EXPECT_FALSE(m_bus.Plug(device).empty());
            devices.push_back(device);
        }
        return devices;
    }

    int OccupiedSlots(const q407::app::CMainWnd& window) const {
        int occupied = 0;
        for (const auto& slot : window.DeviceSlots()) {
            occupied += slot.occupied != 0 ? 1 : 0;
        }
        return occupied;
    }

    testutil::UserFolderScope m_userFolder;
    testutil::ScriptedDialogsScope m_dialogs;
    q407::diag::Capture m_diagnostics;
    q407::sim::VirtualHidBus m_bus;
};

TEST_F(MainWindowOnBusTest, ShowsAfterTheFirstPassAndFollowsPlugAndUnplug) {
    q407::app::CMainWnd window(nullptr, &m_bus);
    ASSERT_TRUE(window.Create(QStringLiteral("Q407"), QSize(800, 572)));
    EXPECT_EQ(OccupiedSlots(window), 0);
    ASSERT_TRUE(testutil::WaitUntil([&] { return window.isVisible(); }))
        << "shown once the first pass is over, with no device";

    auto mouse = Plug(q407::sim::SimProduct::MouseA);
    ASSERT_TRUE(testutil::WaitUntil([&] { return OccupiedSlots(window) == 2; }))
        << "command and event interfaces of the mouse";
    EXPECT_TRUE(m_diagnostics.Contains("device arrived in slot"));

    for (const auto& device : mouse) {
        m_bus.Unplug(device);
    }
    ASSERT_TRUE(testutil::WaitUntil([&] { return OccupiedSlots(window) == 0; }));
    EXPECT_TRUE(m_diagnostics.Contains("device removed from slot"));
}

TEST_F(MainWindowOnBusTest, ExitRoutineStopsDiscoveryWithinItsBound) {
    auto window = std::make_unique<q407::app::CMainWnd>(nullptr, &m_bus);
    ASSERT_TRUE(window->Create(QStringLiteral("Q407"), QSize(800, 572)));
    ASSERT_TRUE(testutil::WaitUntil([&] { return window->isVisible(); }));
    auto pad = Plug(q407::sim::SimProduct::MousePad);
    const auto start = std::chrono::steady_clock::now();
    window->OnRegisteredMessage(q407::app::RegisteredMessage::AppControl, 4, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_FALSE(m_diagnostics.Contains("超时")) << "no worker needed more than its bound";
    EXPECT_TRUE(m_diagnostics.Contains("所有对象处于激发状态")) << "discovery ended in its slot";
    window.reset(); // nothing left to stop: the destructor is quiet and quick
}

} // namespace
