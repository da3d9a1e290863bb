#include "platform/event.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/critical_section.h"

namespace {

using platform::Event;

TEST(EventTest, AutoResetEventIsConsumedByOneWait) {
    Event event(false, true);
    EXPECT_EQ(event.Wait(0), platform::kWaitObject0);
    EXPECT_EQ(event.Wait(0), platform::kWaitTimeout);
}

TEST(EventTest, ManualResetEventStaysSignalledUntilReset) {
    Event event(true, false);
    EXPECT_EQ(event.Wait(1), platform::kWaitTimeout);
    event.Set();
    EXPECT_EQ(event.Wait(0), platform::kWaitObject0);
    EXPECT_EQ(event.Wait(0), platform::kWaitObject0);
    event.Reset();
    EXPECT_FALSE(event.IsSet());
}

TEST(EventTest, WaitAnyReportsTheFirstSignalledEventAndWakesOnSetFromAnotherThread) {
    Event a(true), b(false);
    std::array<Event*, 2> both{&a, &b};
    EXPECT_EQ(Event::WaitAny(both, 0), platform::kWaitTimeout);
    EXPECT_EQ(Event::WaitAny({}, 0), platform::kWaitFailed);

    std::thread setter([&] { b.Set(); });
    EXPECT_EQ(Event::WaitAny(both, platform::kInfinite), platform::kWaitObject0 + 1);
    setter.join();
    EXPECT_FALSE(b.IsSet());  // auto-reset: consumed by the wait
}

TEST(EventTest, SetWakesEveryWaiterHoweverManyWait) {
    Event go(true, false);
    constexpr int kWaiters = 12;  // more than a Set wakes without a list of its own
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < kWaiters; ++i) {
        waiters.emplace_back([&] {
            if (go.Wait(platform::kInfinite) == platform::kWaitObject0)
                ++woken;
        });
    }
    go.Set();
    for (std::thread& waiter : waiters)
        waiter.join();
    EXPECT_EQ(woken.load(), kWaiters);
}

TEST(EventTest, HandOffsBackAndForthNeverLoseAWakeUp) {
    // Each side waits for the other's Set right after its own: a wake-up lost between a
    // waiter's look and its sleep would hang the exchange.
    Event ping(false, false), pong(false, false);
    constexpr int kRounds = 2000;
    std::thread other([&] {
        for (int i = 0; i < kRounds; ++i) {
            ASSERT_EQ(ping.Wait(platform::kInfinite), platform::kWaitObject0);
            pong.Set();
        }
    });
    for (int i = 0; i < kRounds; ++i) {
        ping.Set();
        ASSERT_EQ(pong.Wait(platform::kInfinite), platform::kWaitObject0);
    }
    other.join();
}

TEST(CriticalSectionTest, OwnerMayEnterAgain) {
    platform::CriticalSection section;
    platform::CriticalSectionLock outer(section);
    platform::CriticalSectionLock inner(section);
    bool otherGotIt = true;
    std::thread other([&] { otherGotIt = section.TryEnter(); });
    other.join();
    EXPECT_FALSE(otherGotIt);
}

}  // namespace
