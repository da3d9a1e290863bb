#include "platform/worker_thread.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>

namespace {

using platform::Event;
using platform::WorkerThread;

// The pass every worker of the program runs: do a little, then wait 1 ms on the stop event.
void OneMillisecondLoop(Event& stop, std::atomic<int>& passes) {
    while (stop.Wait(1) == platform::kWaitTimeout)
        ++passes;
}

TEST(WorkerThreadTest, LoopingWorkerStopsWithinTheTimeOut) {
    std::atomic<int> passes{0};
    WorkerThread worker{"test"};
    ASSERT_TRUE(worker.Start([&](Event& stop) { OneMillisecondLoop(stop, passes); }));
    while (passes.load() < 3)
        std::this_thread::yield();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(worker.Stop(1000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_FALSE(worker.IsRunning());
}

TEST(WorkerThreadTest, StopRightAfterStartIsNotLost) {
    for (int i = 0; i < 200; ++i) {
        std::atomic<int> passes{0};
        WorkerThread worker{"test"};
        ASSERT_TRUE(worker.Start([&](Event& stop) { OneMillisecondLoop(stop, passes); }));
        EXPECT_TRUE(worker.Stop(1000));
    }
}

TEST(WorkerThreadTest, CancelHookWakesABlockedWorkerAndLateWorkerIsJoinedNotKilled) {
    Event transfer(true);
    std::atomic<bool> finishedBody{false};
    WorkerThread worker{"test"};
    worker.Start([&](Event&) {
        transfer.Wait(platform::kInfinite);  // a transfer that ignores the stop event
        finishedBody = true;
    });
    EXPECT_TRUE(worker.Stop(1000, [&] { transfer.Set(); }));
    EXPECT_TRUE(finishedBody.load());

    // A worker that outlives the time-out still runs to its end: nothing is killed. Far
    // later than the time-out, so that a loaded machine pausing the stopper cannot hide it.
    std::atomic<bool> lateDone{false};
    worker.Start([&](Event&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        lateDone = true;
    });
    EXPECT_FALSE(worker.Stop(20));
    EXPECT_TRUE(lateDone.load());
}

// The name the running thread itself carries.
std::string NameSeenInside(std::string_view role) {
    WorkerThread worker{role};
    std::string seen;
    worker.Start([&](Event&) {
        char name[32] = {};
        pthread_getname_np(pthread_self(), name, sizeof name);
        seen = name;
    });
    worker.Stop();
    return seen;
}

TEST(WorkerThreadTest, EachWorkerIsNamedForItsRoleUnderTheProgramsPrefix) {
    EXPECT_EQ(NameSeenInside("light"), "vk-light");
    // Linux keeps 15 characters: a long role is cut, the prefix stays.
    EXPECT_EQ(NameSeenInside("lightsynchronisation"), "vk-lightsynchro");
}

TEST(WorkerThreadTest, StartFailsWhileRunningAndWorksAgainAfterStop) {
    std::atomic<int> passes{0};
    WorkerThread worker{"test"};
    ASSERT_TRUE(worker.Start([&](Event& stop) { OneMillisecondLoop(stop, passes); }));
    EXPECT_FALSE(worker.Start([](Event&) {}));
    worker.Stop();
    EXPECT_TRUE(worker.Start([&](Event& stop) { OneMillisecondLoop(stop, passes); }));
}

}  // namespace
