// The device model without devices: the event table, the frame and feature-page tables, the
// LED buffers and effect helpers, the preview frames as the light thread calls them, the paths,
// and the thread stop procedure.

#include "devices/DeviceModel.h"

#include "common/Diag.h"
#include "devices/PageEventTable.h"
#include "devices/PageThread.h"
#include "unit/devices/LightTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace q407::devices {
namespace {

using namespace std::chrono_literals;

// A backend with no interfaces at all.
class EmptyBackend final : public hid::HidBackend {
public:
    bool Enumerate(std::vector<std::string>& paths) override {
        paths.clear();
        return true;
    }
    std::unique_ptr<hid::HidHandle> Open(std::string_view, const hid::HidOpenFlags&) override {
        return nullptr;
    }
    bool IsPresent(std::string_view) override { return false; }
    std::unique_ptr<hid::HidChangeWatch> WatchChanges() override { return nullptr; }
};

TEST(PageEventTable, ProfileAndStageButtonsOnMiceAndKeyboards) {
    for (int kind : {kKindMouse, kKindKeyboard}) {
        const EventDecision dpi = DecideEvent(kind, kind, 0x1123);
        EXPECT_EQ(dpi.action, EventAction::ProfileSwitch);
        EXPECT_EQ(dpi.slot, 3);
        EXPECT_EQ(dpi.stage, 2);
        const EventDecision profile = DecideEvent(kind, kind, 0x1005);
        EXPECT_EQ(profile.action, EventAction::ProfileSwitch);
        EXPECT_EQ(profile.slot, 5);
        EXPECT_EQ(profile.stage, -1) << "a profile button leaves the stage alone";
        EXPECT_EQ(DecideEvent(kind, kind, 0x1203).action, EventAction::Ignore);
    }
    EXPECT_EQ(DecideEvent(kKindMousePad, kKindMousePad, 0x1123).action, EventAction::Ignore);
}

TEST(PageEventTable, ResynchronisationDelaysByKind) {
    EXPECT_EQ(DecideEvent(kKindMouse, 6, 0x0401).delayMs, 50);
    EXPECT_EQ(DecideEvent(kKindKeyboard, 1, 0x0402).delayMs, 50);
    const EventDecision pad = DecideEvent(kKindMousePad, 3, 0x0401);
    EXPECT_EQ(pad.action, EventAction::Resync);
    EXPECT_EQ(pad.delayMs, 500);
    EXPECT_EQ(DecideEvent(kKindMousePad, 3, 0x0402).action, EventAction::Ignore);
    EXPECT_EQ(DecideEvent(kKindHeadset, 7, 0x0401).delayMs, 500);
    EXPECT_EQ(DecideEvent(kKindHeadset, 7, 0x0404).action, EventAction::Counted);
    EXPECT_EQ(DecideEvent(kKindMouse, 2, 0x0404).action, EventAction::Ignore);
}

TEST(PageEventTable, RippleOnlyOnTheMouseCableChannel) {
    EXPECT_EQ(DecideEvent(kKindMouse, 2, 0x0403).action, EventAction::Ripple);
    EXPECT_EQ(DecideEvent(kKindMouse, 6, 0x0403).action, EventAction::Ignore);
    EXPECT_EQ(DecideEvent(kKindKeyboard, 1, 0x0403).action, EventAction::Ignore);
}

TEST(PageEventTable, KeyboardKeysGiveTheirPositionAndKind) {
    const EventDecision pressed = DecideEvent(kKindKeyboard, 9, 0x0512);
    EXPECT_EQ(pressed.action, EventAction::KeyLight);
    EXPECT_EQ(pressed.keyPosition, 0x12);
    EXPECT_EQ(pressed.keyKind, 1);
    const EventDecision second = DecideEvent(kKindKeyboard, 1, 0x06FF);
    EXPECT_EQ(second.keyPosition, 0xFF);
    EXPECT_EQ(second.keyKind, 2);
    EXPECT_EQ(DecideEvent(kKindMouse, 2, 0x0512).action, EventAction::Ignore);
    EXPECT_EQ(DecideEvent(kKindMousePad, 3, 0x0512).action, EventAction::Ignore);
}

TEST(PageEventTable, FramesAndIntervalsOfTheLightModes) {
    EXPECT_EQ(FrameForMode(kKindMouse, 5), PreviewFrame::DeviceB);
    EXPECT_EQ(FrameForMode(kKindMouse, 6), PreviewFrame::DeviceC);
    EXPECT_EQ(FrameForMode(kKindMouse, 10), PreviewFrame::Off);
    EXPECT_EQ(FrameForMode(kKindMouse, 9), PreviewFrame::EffectStep);
    EXPECT_EQ(FrameForMode(kKindMouse, 40), PreviewFrame::EffectStep);
    EXPECT_EQ(FrameForMode(kKindMousePad, 6), PreviewFrame::DeviceC);
    EXPECT_EQ(FrameForMode(kKindMousePad, 7), PreviewFrame::DeviceB);
    EXPECT_EQ(FrameForMode(kKindHeadset, 8), PreviewFrame::Off);
    EXPECT_EQ(FrameForMode(kKindHeadset, 10), PreviewFrame::None);
    EXPECT_EQ(FrameForMode(kKindKeyboard, 2), PreviewFrame::None);

    EXPECT_EQ(FrameInterval(kKindMouse, 2, 0), 8);
    EXPECT_EQ(FrameInterval(kKindMouse, 2, 4), 1);
    EXPECT_EQ(FrameInterval(kKindMouse, 5, 0), 16);
    EXPECT_EQ(FrameInterval(kKindMouse, 5, 4), 2);
    EXPECT_EQ(FrameInterval(kKindMousePad, 5, 0), 8) << "the long mode-5 interval is the mouse's";
    EXPECT_EQ(FrameInterval(kKindMouse, 3, 5), 0);
}

TEST(FeaturePages, TabsByPageAndKind) {
    EXPECT_EQ(FeatureTabsFor(4, kKindMouse), (FeatureTabs{4, -1}));
    EXPECT_EQ(FeatureTabsFor(4, kKindKeyboard), (FeatureTabs{4, -1}));
    EXPECT_EQ(FeatureTabsFor(4, kKindMousePad), (FeatureTabs{0, 2}));
    EXPECT_EQ(FeatureTabsFor(7, kKindMouse), (FeatureTabs{0, 2}));
    EXPECT_EQ(FeatureTabsFor(6, kKindMouse), (FeatureTabs{0, 1}));
    EXPECT_EQ(FeatureTabsFor(10, kKindMouse), (FeatureTabs{1, -1}));
    EXPECT_EQ(FeatureTabsFor(9, kKindMouse), (FeatureTabs{5, -1}));
    EXPECT_EQ(FeatureTabsFor(1, kKindMouse), (FeatureTabs{0, 0}));
    EXPECT_EQ(FeatureTabsFor(-3, kKindMouse), (FeatureTabs{0, 0}));

    EmptyBackend backend;
    DeviceModel model(backend);
    EXPECT_EQ(model.GetFeaturePage(), 1);
    model.SetKind(kKindMousePad);
    EXPECT_EQ(model.SelectFeaturePage(4), (FeatureTabs{0, 2}));
    EXPECT_EQ(model.GetFeaturePage(), 4);
}

class ModelTest : public ::testing::Test {
protected:
    EmptyBackend backend;
    test::ManualClock clock{5000};
    test::ScriptedRandom random;
    DeviceModel model{backend, &clock, &random};
};

TEST_F(ModelTest, StartsWithItsInitialValues) {
    EXPECT_EQ(model.LayoutIndex(), -1);
    EXPECT_EQ(model.SelectedKey(), -1);
    EXPECT_EQ(model.SelectedKey2(), -1);
    EXPECT_FALSE(model.LightOutput());
    EXPECT_FALSE(model.IsOpen());
    EXPECT_EQ(model.LedCount(), 0);
    EXPECT_EQ(model.ProfileSlot(), -1);
}

TEST_F(ModelTest, LedColoursOnlyInsideTheLedCount) {
    model.SetLedCount(15);
    model.SetLedColour(14, {1, 2, 3, 4});
    model.SetLedColour(15, {9, 9, 9, 9});
    model.SetLedColour(-1, {9, 9, 9, 9});
    EXPECT_EQ(model.GetLedColour(14), (LedColour{1, 2, 3, 4}));
    EXPECT_EQ(model.GetLedColour(-1), LedColour{});
    EXPECT_EQ(model.GetLedColour(15), LedColour{});
    model.SetLedCount(15);
    EXPECT_EQ(model.GetLedColour(14), LedColour{}) << "setting the count zeroes the colours";
    EXPECT_EQ(model.LedStates().size(), 15u);
    model.SetLedCount(-4);
    EXPECT_EQ(model.LedCount(), 0);
}

TEST_F(ModelTest, IdentityGivesTheKind) {
    hid::DeviceIdentity identity;
    identity.deviceType = hid::kDeviceMouseReceiver;
    model.SetIdentity(identity);
    EXPECT_EQ(model.Kind(), kKindMouse);
    identity.deviceType = hid::kDeviceKeyboardReceiver;
    model.SetIdentity(identity);
    EXPECT_EQ(model.Kind(), kKindKeyboard);
}

TEST_F(ModelTest, RingMarksAndRotates) {
    std::array<std::uint8_t, kRingSize> ring{};
    ring[0] = 3;
    ring[8] = 7;
    ring[9] = 11; // beyond the nine marked positions
    model.SetRing(ring);
    model.MarkRingLeds();
    const auto levels = model.LedLevels();
    EXPECT_EQ(levels[3], 255);
    EXPECT_EQ(levels[7], 255);
    EXPECT_EQ(levels[11], 0);
    EXPECT_EQ(levels[0], 0);

    model.RotateRing(1);
    EXPECT_EQ(model.Ring()[1], 3);
    EXPECT_EQ(model.Ring()[9], 7);
    EXPECT_EQ(model.Ring()[10], 11);
    model.RotateRing(0);
    model.RotateRing(0);
    EXPECT_EQ(model.Ring()[22], 3) << "towards lower positions the first byte wraps to the end";
    EXPECT_EQ(model.Ring()[7], 7);

    model.ClearEffectBuffers();
    EXPECT_EQ(model.Ring(), (std::array<std::uint8_t, kRingSize>{}));
    EXPECT_EQ(model.LedLevels()[3], 0);
}

TEST_F(ModelTest, FadeLedStepUsesTheLevelsAndIgnoresStrayIndices) {
    model.SetLedLevel(5, 255);
    model.FadeLedStep(5, 0);
    EXPECT_EQ(model.LedLevels()[5], 215);
    model.FadeLedStep(5, 29);
    EXPECT_EQ(model.LedLevels()[5], 170);
    model.FadeLedStep(-1, 0);
    model.FadeLedStep(static_cast<int>(kLedLevelCount), 0);
    model.SetLedLevel(0, 1);
    model.FadeLedStep(0, 3);
    model.FadeLedStep(0, 3);
    EXPECT_EQ(model.LedLevels()[0], 0) << "a level stays at 0";
}

TEST_F(ModelTest, BlinkTogglesByTheSpeedPeriod) {
    model.SetKind(kKindMouse);
    model.SetLedCount(4);
    profiles::LightInfo params;
    params.mode = 4;
    params.brightness = 4;
    params.speed = 0;
    params.red = 200;
    model.SetLightParams(params);
    model.RunLightFrame(4); // first toggle: long after the epoch
    const bool first = model.PreviewState().blinkOn;
    clock.Advance(1599);
    model.RunLightFrame(4);
    EXPECT_EQ(model.PreviewState().blinkOn, first);
    clock.Advance(1);
    model.RunLightFrame(4);
    EXPECT_NE(model.PreviewState().blinkOn, first);

    params.speed = 4;
    model.SetLightParams(params);
    const bool before = model.PreviewState().blinkOn;
    clock.Advance(200);
    model.RunLightFrame(4);
    EXPECT_NE(model.PreviewState().blinkOn, before);
    const LedColour led = model.GetLedColour(3);
    if (model.PreviewState().blinkOn) {
        EXPECT_EQ(led, (LedColour{200, 0, 0, 255}));
    } else {
        EXPECT_EQ(led, LedColour{});
    }
}

TEST_F(ModelTest, LightModesRunTheirFrames) {
    model.SetKind(kKindMouse);
    model.SetLedCount(3);
    profiles::LightInfo params;
    params.brightness = 2;
    params.direction = 1;
    params.green = 90;
    model.SetLightParams(params);
    model.RunLightFrame(3);
    EXPECT_EQ(model.GetLedColour(2), (LedColour{0, 90, 0, 135}));
    model.RunLightFrame(1);
    EXPECT_EQ(model.GetLedColour(0), MakeLed(light::Hue(1), 135)) << "spectrum steps one hue";
    model.RunLightFrame(10);
    EXPECT_EQ(model.GetLedColour(1), LedColour{});
    model.RunLightFrame(3);
    model.PreviewOff();
    EXPECT_EQ(model.GetLedColour(0), LedColour{});
}

TEST_F(ModelTest, ListeningNeedsAChannelOfThePageKind) {
    model.SetKind(kKindMousePad);
    EXPECT_FALSE(model.StartListening("/virtual/none", kChannelMouseReceiver));
    // An interface that does not open still gets its idling thread, which stops at once.
    EXPECT_FALSE(model.StartListening("/virtual/none", kKindMousePad));
    EXPECT_FALSE(model.IsListening(kKindMousePad));
    model.StopListening(kKindMousePad);
    model.StopListening(kKindMousePad); // never started again: nothing happens
}

TEST_F(ModelTest, LightThreadIdlesWhileTheDeviceIsClosed) {
    model.SetKind(kKindMouse);
    model.SetLedCount(2);
    model.StartLightThread();
    EXPECT_TRUE(model.IsLightThreadRunning());
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(model.FrameCount(), 0u);
    diag::Capture capture;
    EXPECT_EQ(model.StopLightThread(), PageThread::StopResult::Ended);
    EXPECT_TRUE(capture.Contains("MS灯光线程设定退出"));
    EXPECT_EQ(model.StopLightThread(), PageThread::StopResult::NotStarted);
}

class PathTest : public ::testing::Test {
protected:
    void SetUp() override {
        root =
            std::filesystem::temp_directory_path() / ("q407-paths-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        const char* oldData = std::getenv("XDG_DATA_HOME");
        savedData = oldData ? std::optional<std::string>(oldData) : std::nullopt;
        ::setenv("XDG_DATA_HOME", root.c_str(), 1);
    }
    void TearDown() override {
        if (savedData) {
            ::setenv("XDG_DATA_HOME", savedData->c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
        std::filesystem::remove_all(root);
    }
    std::filesystem::path root;
    std::optional<std::string> savedData;
    EmptyBackend backend;
    DeviceModel model{backend};
};

TEST_F(PathTest, ProfileFolderIsCreatedBelowTheUserFolder) {
    model.SetDeviceFolderName("Mouse");
    const auto folder = model.GetProfileFolder();
    EXPECT_EQ(folder, root / "Q407" / "Mouse");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(model.GetDefaultProfilePath().filename(), "Mouse.Json");
    EXPECT_EQ(model.GetDefaultProfilePath().parent_path().filename(), "DefaultData");
}

TEST_F(PathTest, FolderNamesThatLeaveTheUserFolderAreRefused) {
    for (const char* name : {"", "..", "../escape", "a/b"}) {
        model.SetDeviceFolderName(name);
        EXPECT_TRUE(model.GetProfileFolder().empty()) << name;
        EXPECT_TRUE(model.GetDefaultProfilePath().empty()) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(root / "escape"));
}

TEST(PageThreadStop, OutcomesOfTheStopProcedure) {
    PageThread thread;
    EXPECT_EQ(thread.Stop(100ms), PageThread::StopResult::NotStarted);

    std::atomic<bool> woken{false};
    thread.Start([](const Event& stop) { stop.Wait(std::chrono::milliseconds(-1)); });
    EXPECT_TRUE(thread.IsRunning());
    {
        diag::Capture capture;
        EXPECT_EQ(thread.Stop(500ms, [&] { woken = true; }), PageThread::StopResult::Ended);
        EXPECT_TRUE(capture.Contains("线程退出：：对象处于激发状态"));
    }
    EXPECT_TRUE(woken.load());
    EXPECT_FALSE(thread.IsRunning());

    // A body that ignores its stop event overruns the bound; it is reported and joined later.
    std::atomic<bool> release{false};
    thread.Start([&](const Event&) {
        while (!release.load()) {
            std::this_thread::sleep_for(1ms);
        }
    });
    diag::Capture capture;
    EXPECT_EQ(thread.Stop(20ms), PageThread::StopResult::TimedOut);
    EXPECT_TRUE(capture.Contains("超时"));
    release = true;
    thread.Start([](const Event& stop) { stop.Wait(std::chrono::milliseconds(-1)); });
    EXPECT_EQ(thread.Stop(500ms), PageThread::StopResult::Ended);
}

} // namespace
} // namespace q407::devices
