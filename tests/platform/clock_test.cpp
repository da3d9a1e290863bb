#include "platform/clock.h"

#include <gtest/gtest.h>

#include "platform/fake_clock.h"

namespace {

TEST(ClockTest, CoarseTickMovesInWindowsTickSteps) {
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(0), 0u);
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(15624), 0u);
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(15625), 15u);
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(31250), 31u);
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(46875), 46u);
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(62500), 62u);
    EXPECT_EQ(platform::CoarseTickFromMicroseconds(1000000), 1000u);  // 64 ticks a second
    // Every step is 15 or 16 ms.
    for (uint64_t tick = 1; tick < 200; ++tick) {
        const uint32_t step = platform::CoarseTickFromMicroseconds(tick * 15625) -
                              platform::CoarseTickFromMicroseconds((tick - 1) * 15625);
        EXPECT_TRUE(step == 15 || step == 16) << tick;
    }
}

// Work paced by the millisecond learns the tick of each of its moments from the same clock
// the tick is read from.
TEST(ClockTest, TheMillisecondReadingGivesTheTickOfItsMoment) {
    // Over a few ticks' boundaries: a reading just past one is given the tick after it.
    const uint64_t until = platform::MonotonicMs() + 40;
    for (uint64_t ms = 0; ms < until;) {
        const uint32_t before = platform::TickCount();
        ms = platform::MonotonicMs();
        const uint32_t after = platform::TickCount();
        ASSERT_LE(before, platform::TickAtMs(ms)) << ms;
        ASSERT_LE(platform::TickAtMs(ms), after) << ms;
    }
    EXPECT_EQ(platform::TickAtMs(15), 0u);
    EXPECT_EQ(platform::TickAtMs(16), 15u);
    EXPECT_EQ(platform::TickAtMs(1000), 1000u);

    platform::FakeClock fake;
    fake.SetTick(500);
    platform::Sleep(2);
    EXPECT_EQ(platform::MonotonicMs(), 502u);
    EXPECT_EQ(platform::TickAtMs(501), 501u);
}

TEST(ClockTest, FakeClockIsInstalledForItsLifetime) {
    {
        platform::FakeClock fake;
        fake.SetTick(1000);
        platform::Sleep(50);
        EXPECT_EQ(platform::TickCount(), 1050u);
        fake.SetNow({2026, 3, 6, 7, 9, 5, 3, 42});
        EXPECT_EQ(platform::GetLocalTime().milliseconds, 42);
    }
    EXPECT_GT(platform::GetLocalTime().year, 2000);
}

}  // namespace
