// The display watcher wakes the UI thread once per arming when its descriptor has input,
// and stops cooperatively even while it waits.

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "duilib/render/sdl/display_watcher.h"

namespace {

using namespace std::chrono_literals;

class Pipe {
  public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    ~Pipe() {
        close(fds_[0]);
        close(fds_[1]);
    }
    int ReadEnd() const { return fds_[0]; }
    void Write() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }
    void Drain() {
        char c = 0;
        EXPECT_EQ(read(fds_[0], &c, 1), 1);
    }

  private:
    int fds_[2] = {-1, -1};
};

bool WaitFor(const std::atomic<int>& value, int expected) {
    for (int i = 0; i < 400 && value.load() < expected; ++i) {
        std::this_thread::sleep_for(5ms);
    }
    return value.load() >= expected;
}

TEST(DisplayWatcher, WakesOncePerArmingWhileInputWaits) {
    Pipe pipe;
    std::atomic<int> wakes{0};
    DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), [&] { ++wakes; });
    ASSERT_TRUE(watcher.IsRunning());

    pipe.Write();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(wakes.load(), 0);  // not armed yet: the UI thread is still reading
    watcher.Arm();
    ASSERT_TRUE(WaitFor(wakes, 1));
    // The input is still unread, yet the watcher does not spin on it.
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(wakes.load(), 1);

    pipe.Drain();
    watcher.Arm();
    pipe.Write();
    ASSERT_TRUE(WaitFor(wakes, 2));
}

// While the UI thread talks to the display itself (a frame's present and its reply) the
// watcher wakes nobody; armed again, it wakes for what is still waiting.
TEST(DisplayWatcher, PausedItLeavesTheInputToTheUiThreadUntilArmedAgain) {
    Pipe pipe;
    std::atomic<int> wakes{0};
    DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), [&] { ++wakes; });
    watcher.Arm();
    std::this_thread::sleep_for(10ms);  // it waits on the descriptor now
    watcher.Pause();
    pipe.Write();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(wakes.load(), 0);
    watcher.Arm();
    ASSERT_TRUE(WaitFor(wakes, 1));
}

TEST(DisplayWatcher, StopsWhileArmedAndWhileIdle) {
    Pipe pipe;
    {
        DuiLib::sdl::DisplayWatcher idle(pipe.ReadEnd(), [] {});
    }
    {
        DuiLib::sdl::DisplayWatcher armed(pipe.ReadEnd(), [] {});
        armed.Arm();
        std::this_thread::sleep_for(10ms);
    }
    SUCCEED();  // both destructors returned: the thread ended without input
}

}  // namespace
