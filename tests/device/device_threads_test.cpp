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
    hooks.runStep = [&](uint32_t) { stepPasses.push_back(pass); };
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
    hooks.runStep = [&](uint32_t) { ++steps; };
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
    hooks.runStep = [](uint32_t) {};
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
    hooks.runStep = [](uint32_t) { FAIL() << "no step while closed"; };
    RunLightLoop(stop, hooks);
    EXPECT_EQ(opens, 2);
}

// A count whose loop sleeps and whose readers catch it up now and then steps at the same
// ticks, with the same tick times, as a loop that passes at every tick: through changes of
// the threshold, the light synchronisation and a closed channel, each caught up to before
// it is made, as the devices do.
TEST(LightTicksTest, CaughtUpNowAndThenStepsAsAPassAtEveryTick) {
    platform::FakeClock clock;
    clock.SetTick(5000);
    struct Run {
        bool open = true;
        bool sync = false;
        int threshold = 3;
        std::vector<uint32_t> steps;
        std::vector<uint32_t> passes;
        LightLoopHooks hooks;
        LightTicks ticks;
    };
    Run eager;
    Run lazy;
    for (Run* run : {&eager, &lazy}) {
        run->hooks.channelOpen = [run] { return run->open; };
        run->hooks.lightSyncActive = [run] { return run->sync; };
        run->hooks.stepTicks = [run] { return run->threshold; };
        run->hooks.runStep = [run](uint32_t now) { run->steps.push_back(now); };
        run->hooks.everyPass = [run](uint32_t now) { run->passes.push_back(now); };
        run->ticks.Start(run->hooks);
    }
    lazy.hooks.onDemand = [] { return true; };
    auto change = [&](auto what) {
        lazy.ticks.CatchUp();
        what(eager);
        what(lazy);
    };
    for (int i = 1; i <= 240; ++i) {
        // The coarse tick's 15 and 16 ms, and now and then a move of 1 ms that counts not.
        clock.Advance(i % 17 == 0 ? 1 : 15 + i % 2);
        if (eager.open) {
            eager.ticks.Pass();
        }
        if (i % 7 == 0 || i % 11 == 0) {
            lazy.ticks.CatchUp();
        }
        if (i == 40 || i == 90 || i == 200) {
            change([i](Run& run) { run.threshold = i == 40 ? 0 : i == 90 ? 5 : -1; });
        }
        if (i == 120 || i == 150) {
            change([](Run& run) { run.sync = !run.sync; });
        }
        if (i == 170 || i == 185) {
            change([](Run& run) { run.open = !run.open; });
        }
    }
    lazy.ticks.CatchUp();
    EXPECT_EQ(lazy.steps, eager.steps);
    EXPECT_EQ(lazy.passes, eager.passes);
    EXPECT_GT(eager.steps.size(), 40u);

    // A count that is not on demand, or whose loop stopped, is left to its loop.
    const size_t eagerSteps = eager.steps.size();
    clock.Advance(16);
    eager.ticks.CatchUp();
    EXPECT_EQ(eager.steps.size(), eagerSteps);
    lazy.ticks.Stop();
    lazy.threshold = 1;
    clock.Advance(16);
    lazy.ticks.CatchUp();
    EXPECT_EQ(lazy.steps, eager.steps);
}

// While the steps are held (a command exchange under way) an awake pass counts its tick and
// steps at the first pass after; a sleeping count leaves the ticks to the next catch-up,
// which steps each at its own tick, never dropping one.
TEST(LightTicksTest, HeldStepsWaitForTheNextPassOrCatchUp) {
    platform::FakeClock clock;
    clock.SetTick(9000);
    bool held = false;
    bool onDemand = false;
    std::vector<uint32_t> steps;
    LightLoopHooks hooks;
    hooks.channelOpen = [] { return true; };
    hooks.lightSyncActive = [] { return false; };
    hooks.stepTicks = [] { return 2; };
    hooks.runStep = [&](uint32_t now) { steps.push_back(now); };
    hooks.stepsHeld = [&] { return held; };
    hooks.onDemand = [&] { return onDemand; };
    LightTicks ticks;
    ticks.Start(hooks);
    for (int i = 1; i <= 6; ++i) {
        clock.Advance(16);
        held = i == 4;
        ticks.Pass();
    }
    EXPECT_EQ(steps, (std::vector<uint32_t>{9032, 9080}));  // 9064's waited a tick

    steps.clear();
    onDemand = true;
    for (int i = 0; i < 3; ++i) {
        clock.Advance(16);
    }
    held = true;
    ticks.CatchUp();
    EXPECT_TRUE(steps.empty());
    clock.Advance(16);
    held = false;
    ticks.CatchUp();
    EXPECT_EQ(steps, (std::vector<uint32_t>{9112, 9144}));
}

}  // namespace
}  // namespace device
