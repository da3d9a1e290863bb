#include "device/device_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "platform/debug_trace.h"
#include "platform/fake_clock.h"

namespace device {
namespace {

size_t ThreadCount() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task")) {
        ++count;
    }
    return count;
}

TEST(DeviceThreadTest, RepeatedStartStopLeavesNoThread) {
    const size_t before = ThreadCount();
    std::atomic<int> bodies{0};
    DeviceThread thread;
    for (int i = 0; i < 100; ++i) {
        thread.Start(
            [&](platform::Event& stop) {
                ++bodies;
                while (stop.Wait(1) != platform::kWaitObject0) {
                }
            },
            kLightThreadExitText);
        thread.Stop();
    }
    EXPECT_EQ(bodies.load(), 100);
    EXPECT_FALSE(thread.IsStarted());
    EXPECT_EQ(ThreadCount(), before);
}

TEST(DeviceThreadTest, StopRightAfterStartEndsInTimeWithTraces) {
    platform::TraceCapture trace;
    DeviceThread thread;
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

TEST(DeviceThreadTest, StopCancelsABlockedRead) {
    platform::TraceCapture trace;
    platform::Event cancelled(true, false);
    std::atomic<int> reads{0};
    InputLoopHooks hooks;
    hooks.channelOpen = [] { return true; };
    hooks.readReport = [&](std::vector<uint8_t>&) {
        ++reads;
        cancelled.Wait(platform::kInfinite);  // a read without time-out
        return false;
    };
    hooks.onReport = [](const std::vector<uint8_t>&) { FAIL() << "nothing was read"; };
    DeviceThread thread;
    thread.Start([&](platform::Event& stop) { RunInputLoop(stop, hooks); }, kInputThreadExitText);
    while (reads.load() == 0) {
        platform::Event(true, false).Wait(1);
    }
    thread.Stop([&] { cancelled.Set(); });
    EXPECT_TRUE(trace.Contains(kInputThreadExitText));
    EXPECT_TRUE(trace.Contains(kThreadEndedText));
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
