#include "device/device_threads.h"

#include <gtest/gtest.h>

#include "platform/debug_trace.h"
#include "platform/fake_clock.h"

namespace device {
namespace {

TEST(DeviceThreadTest, StopRightAfterStartEndsInTimeWithTraces) {
    platform::TraceCapture trace;
    DeviceThread thread("test");
    thread.Start(
        [](platform::Event& stop) {
            while (stop.Wait(1) != platform::kWaitObject0) {
            }
        },
        kKeyboardLightThreadExitText);
    thread.Stop();
    EXPECT_TRUE(trace.Contains(kKeyboardLightThreadExitText));
    EXPECT_TRUE(trace.Contains(kThreadEndedText));
    EXPECT_FALSE(trace.Contains(kThreadTimedOutText));
    trace.Clear();
    thread.Stop();  // no stop event any more: nothing happens
    EXPECT_TRUE(trace.Lines().empty());
}

TEST(LightLoopTest, StepsRunEveryThresholdTicksAndPauseUnderSync) {
    platform::FakeClock clock;
    platform::Event stop(true, false);
    int pass = 0;
    std::vector<int> stepPasses;
    LightLoopHooks hooks;
    hooks.channelOpen = [] { return true; };
    hooks.lightSyncActive = [&] {
        ++pass;
        clock.Advance(16);  // one coarse tick per pass
        if (pass == 15) {
            stop.Set();
        }
        return (pass >= 7 && pass <= 10) || pass == 15;
    };
    hooks.stepTicks = [] { return 3; };
    hooks.runStep = [&] { stepPasses.push_back(pass); };
    RunLightLoop(stop, hooks);
    EXPECT_EQ(stepPasses, (std::vector<int>{3, 6, 13}));
}

TEST(LightLoopTest, FastSpeedsStepOncePerCountedTickNotPerPass) {
    platform::FakeClock clock;
    platform::Event stop(true, false);
    int pass = 0;
    int steps = 0;
    LightLoopHooks hooks;
    hooks.channelOpen = [] { return true; };
    hooks.lightSyncActive = [&] {
        // The coarse tick moves on every third pass only.
        if (++pass % 3 == 0) {
            clock.Advance(16);
        }
        if (pass == 30) {
            stop.Set();
        }
        return false;
    };
    hooks.stepTicks = [] { return 0; };
    hooks.runStep = [&] { ++steps; };
    RunLightLoop(stop, hooks);
    EXPECT_EQ(steps, 10);  // one for each tick, counted on passes 3, 6, ... 30
}

TEST(LightLoopTest, PassesWaitForTheCoarseTickAndAStopEndsTheWait) {
    platform::Event stop(true, false);
    const uint32_t firstTick = platform::TickCount();
    int passes = 0;
    LightLoopHooks hooks;
    hooks.channelOpen = [] { return true; };
    hooks.lightSyncActive = [&] {
        if (++passes == 5) {
            stop.Set();
        }
        return false;
    };
    hooks.stepTicks = [] { return 28; };
    hooks.runStep = [] {};
    RunLightLoop(stop, hooks);
    // Every pass after the first waited for the tick to move on (15 or 16 ms).
    EXPECT_GE(platform::TickCount() - firstTick, 4u * 15u);

    // A loop that waits for a distant tick still ends as soon as it is stopped.
    platform::TraceCapture trace;
    DeviceThread thread("test");
    thread.Start([&](platform::Event& threadStop) { RunLightLoop(threadStop, hooks); },
                 kLightThreadExitText);
    thread.Stop();
    EXPECT_TRUE(trace.Contains(kThreadEndedText));
}

TEST(LightLoopTest, ClosedChannelIdlesUntilStopped) {
    platform::Event stop(true, false);
    int opens = 0;
    LightLoopHooks hooks;
    hooks.channelOpen = [&] {
        if (++opens == 2) {
            stop.Set();
        }
        return false;
    };
    hooks.lightSyncActive = [] { return false; };
    hooks.stepTicks = [] { return 0; };
    hooks.runStep = [] { FAIL() << "no step while closed"; };
    RunLightLoop(stop, hooks);
    EXPECT_EQ(opens, 2);
}

}  // namespace
}  // namespace device
