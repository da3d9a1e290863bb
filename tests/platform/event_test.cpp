#include "platform/event.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>

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
