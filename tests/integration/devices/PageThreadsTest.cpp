// Page threads on the virtual bus with the simulated products: the listening channel turns the
// product's event reports into page work, the light thread animates only while the device is
// open, and every stop ends within its bound even while a thread is blocked in a read.

#include "common/Diag.h"
#include "devices/DeviceModel.h"
#include "sim/SimulatedProduct.h"
#include "sim/VirtualHidBus.h"

#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace q407::devices {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Records what the threads hand to the UI side.
class RecordingEvents final : public PageEvents {
public:
    struct Call {
        enum Kind { Resync, Slot } kind;
        int a = 0;
        int b = 0;
    };

    void RequestResync(int delayMs) override { Add({Call::Resync, delayMs, 0}); }
    void ProfileSlotChanged(int slot, int stage) override { Add({Call::Slot, slot, stage}); }

    // Waits until `count` calls arrived; returns them.
    std::vector<Call> WaitFor(std::size_t count, std::chrono::milliseconds limit = 3000ms) {
        std::unique_lock lock(m_mutex);
        m_cv.wait_for(lock, limit, [&] { return m_calls.size() >= count; });
        return m_calls;
    }

private:
    void Add(Call call) {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(call);
        m_cv.notify_all();
    }
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Call> m_calls;
};

template <typename Predicate>
bool Eventually(Predicate done, std::chrono::milliseconds limit = 3000ms) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

class PageThreadsTest : public ::testing::Test {
protected:
    void Plug(sim::SimProduct product, std::uint16_t deviceType) {
        device = sim::SimulatedProduct::Create(product);
        ASSERT_TRUE(device->PlugInto(bus));
        hid::DeviceIdentity identity;
        identity.deviceType = deviceType;
        model.SetIdentity(identity);
        model.SetPageEvents(&events);
        ASSERT_TRUE(model.AttachCommand(protocol::kModeCable, device->CommandPath(bus)));
        ASSERT_TRUE(model.StartListening(device->EventPath(bus), model.Kind()));
    }

    void TearDown() override { model.StopPageThreads(); }

    sim::VirtualHidBus bus;
    std::shared_ptr<sim::SimulatedProduct> device;
    RecordingEvents events;
    DeviceModel model{bus};
};

TEST_F(PageThreadsTest, MouseDpiButtonSelectsSlotAndStage) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    ASSERT_TRUE(model.IsListening(hid::kDeviceMouse));
    ASSERT_TRUE(device->EmitEvent(0x1203)); // another high byte: ignored
    ASSERT_TRUE(device->EmitProfileAndStage(3, 2));
    const auto calls = events.WaitFor(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, RecordingEvents::Call::Slot);
    EXPECT_EQ(calls[0].a, 3);
    EXPECT_EQ(calls[0].b, 2);
    EXPECT_EQ(model.ProfileSlot(), 3);
    EXPECT_EQ(model.DpiStage(), 2);

    ASSERT_TRUE(device->EmitProfileSwitch(5));
    const auto more = events.WaitFor(2);
    ASSERT_EQ(more.size(), 2u);
    EXPECT_EQ(more[1].a, 5);
    EXPECT_EQ(model.DpiStage(), 2) << "the profile button keeps the stage";
}

TEST_F(PageThreadsTest, ProfileButtonsNeedAnOpenCommandInterface) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    model.DetachCommand();
    ASSERT_TRUE(device->EmitProfileSwitch(4));
    ASSERT_TRUE(device->EmitResync());
    const auto calls = events.WaitFor(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, RecordingEvents::Call::Resync);
    EXPECT_EQ(calls[0].a, 50);
    EXPECT_EQ(model.ProfileSlot(), -1);
}

TEST_F(PageThreadsTest, MousePadResynchronisesAfter500msAndIgnoresTheProfileRequest) {
    Plug(sim::SimProduct::MousePad, hid::kDeviceMousePad);
    ASSERT_TRUE(device->EmitProfileResync()); // 0x0402: nothing on a mouse pad
    ASSERT_TRUE(device->EmitEvent(0x0404));   // counted only
    ASSERT_TRUE(device->EmitResync());
    const auto calls = events.WaitFor(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].kind, RecordingEvents::Call::Resync);
    EXPECT_EQ(calls[0].a, 500);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(events.WaitFor(1, 0ms).size(), 1u);
}

TEST_F(PageThreadsTest, RippleLightsEveryLedInMode6) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    model.SetLedCount(15);
    ASSERT_TRUE(device->EmitRipple()); // mode 0: nothing
    ASSERT_TRUE(device->EmitResync());
    events.WaitFor(1);
    EXPECT_EQ(model.LedStates()[0].ripple, 0);

    profiles::LightInfo params;
    params.mode = 6;
    model.SetLightParams(params);
    ASSERT_TRUE(device->EmitRipple());
    ASSERT_TRUE(Eventually([&] { return model.LedStates()[14].ripple == 1; }));
    for (const LedState& state : model.LedStates()) {
        EXPECT_EQ(state.fadeLevel, 255);
        EXPECT_LT(state.hue, light::kHueCount);
    }
}

TEST_F(PageThreadsTest, StoppingABlockedListenerEndsWellWithinItsBound) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    std::this_thread::sleep_for(20ms); // the thread now waits in its read without a time-out
    diag::Capture capture;
    const auto start = Clock::now();
    model.StopListening(hid::kDeviceMouse);
    EXPECT_LT(Clock::now() - start, 400ms);
    EXPECT_TRUE(capture.Contains("MS 设备同步线程设定退出"));
    EXPECT_TRUE(capture.Contains("线程退出：：对象处于激发状态"));
    EXPECT_FALSE(capture.Contains("超时"));
    EXPECT_FALSE(model.IsListening(hid::kDeviceMouse));

    // Restarted on the same path, the channel reads again.
    ASSERT_TRUE(model.RestartListening(device->EventPath(bus), hid::kDeviceMouse));
    ASSERT_TRUE(device->EmitResync());
    EXPECT_EQ(events.WaitFor(1).size(), 1u);
}

TEST_F(PageThreadsTest, StartingARunningChannelAgainReplacesItsThread) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    std::this_thread::sleep_for(20ms);
    diag::Capture capture;
    const auto start = Clock::now();
    ASSERT_TRUE(model.StartListening(device->EventPath(bus), hid::kDeviceMouse));
    EXPECT_LT(Clock::now() - start, 400ms);
    ASSERT_TRUE(device->EmitResync());
    EXPECT_EQ(events.WaitFor(1).size(), 1u);
    const auto stop = Clock::now();
    model.StopListening(hid::kDeviceMouse);
    EXPECT_LT(Clock::now() - stop, 400ms);
    EXPECT_FALSE(capture.Contains("超时"));
}

TEST_F(PageThreadsTest, UnpluggedListenerStaysStoppable) {
    Plug(sim::SimProduct::MousePad, hid::kDeviceMousePad);
    device->Unplug();
    std::this_thread::sleep_for(100ms); // reads now fail at once
    const auto start = Clock::now();
    model.StopListening(hid::kDeviceMousePad);
    EXPECT_LT(Clock::now() - start, 400ms);
}

TEST_F(PageThreadsTest, LightThreadAnimatesOnlyWhileTheDeviceIsOpen) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    model.SetLedCount(15);
    profiles::LightInfo params;
    params.mode = 3;
    params.brightness = 4;
    params.speed = 4;
    params.blue = 77;
    model.SetLightParams(params);
    model.StartLightThread();
    ASSERT_TRUE(Eventually([&] { return model.FrameCount() > 3; }));
    EXPECT_EQ(model.GetLedColour(14), (LedColour{0, 0, 77, 255}));

    model.DetachCommand();
    std::this_thread::sleep_for(30ms);
    const auto idle = model.FrameCount();
    std::this_thread::sleep_for(150ms);
    EXPECT_EQ(model.FrameCount(), idle) << "a closed device gets no frames";
    EXPECT_TRUE(model.IsLightThreadRunning()) << "the thread idles until the page goes";

    const auto start = Clock::now();
    EXPECT_EQ(model.StopLightThread(), PageThread::StopResult::Ended);
    EXPECT_LT(Clock::now() - start, 500ms);
}

TEST_F(PageThreadsTest, SlowerSpeedsGiveFewerFrames) {
    Plug(sim::SimProduct::MouseA, hid::kDeviceMouse);
    model.SetLedCount(2);
    profiles::LightInfo params;
    params.mode = 5; // 16 steps between frames at speed 0, 2 at speed 4
    params.speed = 0;
    model.SetLightParams(params);
    model.StartLightThread();
    std::this_thread::sleep_for(300ms);
    const auto slow = model.FrameCount();
    params.speed = 4;
    model.SetLightParams(params);
    std::this_thread::sleep_for(300ms);
    const auto fast = model.FrameCount() - slow;
    EXPECT_GT(fast, 2 * slow) << "slow " << slow << " fast " << fast;
}

} // namespace
} // namespace q407::devices
