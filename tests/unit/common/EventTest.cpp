#include "common/Event.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace q407 {
namespace {

using namespace std::chrono_literals;

TEST(Event, ManualEventStaysSetUntilCleared) {
    Event event(Event::Reset::Manual);
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.Wait(0ms));
    event.Set();
    event.Set();
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_TRUE(event.IsSet());
    event.Clear();
    EXPECT_FALSE(event.IsSet());
}

TEST(Event, AutomaticEventWakesOneWaitThenResets) {
    Event event(Event::Reset::Automatic);
    event.Set();
    event.Set(); // a second signal before the wait is not a second wake-up
    EXPECT_TRUE(event.Wait(0ms));
    EXPECT_FALSE(event.Wait(0ms));
    event.Set();
    EXPECT_TRUE(event.IsSet());
    event.Consume();
    EXPECT_FALSE(event.IsSet());
}

TEST(Event, WaitEndsWhenSetFromAnotherThreadOrAtItsTimeOut) {
    Event event;
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.Wait(100ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 95ms);

    std::thread setter([&] {
        std::this_thread::sleep_for(50ms);
        event.Set();
    });
    started = std::chrono::steady_clock::now();
    EXPECT_TRUE(event.Wait(std::chrono::milliseconds(-1)));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    setter.join();
}

TEST(Event, WaitForAnyNamesTheFirstSignalledHandle) {
    Event first;
    Event second;
    const int handles[2] = {first.NativeHandle(), second.NativeHandle()};
    EXPECT_EQ(WaitForAny(handles, 2, 10ms), -1);
    second.Set();
    EXPECT_EQ(WaitForAny(handles, 2, 10ms), 1);
    first.Set();
    EXPECT_EQ(WaitForAny(handles, 2, 10ms), 0);
}

} // namespace
} // namespace q407
