// The UI thread's message wait watches the display connection: it wakes once per arming
// when the descriptor has input, never spins on input left unread, leaves the input alone
// while paused, still wakes for other threads' messages and for timers, and drops a
// descriptor that hangs up.

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>

#include "duilib/render/sdl/display_watcher.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace {

constexpr UINT kWoken = WM_APP + 1;
constexpr UINT kFromAnotherThread = WM_APP + 2;
constexpr UINT_PTR kTick = 7;
constexpr UINT_PTR kGiveUp = 8;

class Pipe {
  public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    ~Pipe() {
        CloseReadEnd();
        CloseWriteEnd();
    }
    int ReadEnd() const { return fds_[0]; }
    void Write() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }
    void Drain() {
        char c = 0;
        EXPECT_EQ(read(fds_[0], &c, 1), 1);
    }
    void CloseWriteEnd() { Close(fds_[1]); }
    void CloseReadEnd() { Close(fds_[0]); }

  private:
    static void Close(int& fd) {
        if (fd >= 0) {
            close(fd);
            fd = -1;
        }
    }
    int fds_[2] = {-1, -1};
};

// A window on the test thread: the watcher's wake posts kWoken to it, and GetMessage hands
// back what the thread's wait woke for.
class UiThread : public ::testing::Test {
  protected:
    UiThread() {
        platform::WindowCreateParams params;
        params.className = L"DisplayWatcherTest";
        window_ =
            platform::CreateWindowHandle(params, [](HWND, UINT, WPARAM, LPARAM) { return 0; });
    }
    ~UiThread() override { platform::DestroyWindow(window_); }

    std::function<void()> Wake() {
        return [this] {
            ++wakes_;
            platform::PostMessage(window_, kWoken, 0, 0);
        };
    }
    // The next message the thread's loop takes.
    UINT Next() {
        MSG msg{};
        EXPECT_TRUE(platform::GetMessage(&msg));
        return msg.message == WM_TIMER ? static_cast<UINT>(WM_TIMER + msg.wParam) : msg.message;
    }
    // A timer that ends a wait nothing else ends.
    void TickEvery(UINT ms) { platform::SetTimer(window_, kTick, ms); }

    static constexpr UINT kTicked = WM_TIMER + kTick;
    HWND window_ = nullptr;
    int wakes_ = 0;
};

TEST_F(UiThread, WakesOncePerArmingAndNeverSpinsOnUnreadInput) {
    Pipe pipe;
    DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), Wake());
    ASSERT_TRUE(watcher.IsRunning());
    TickEvery(20);

    pipe.Write();
    EXPECT_EQ(Next(), kTicked);  // not armed yet: the UI thread is still reading
    EXPECT_EQ(wakes_, 0);
    watcher.Arm();
    EXPECT_EQ(Next(), kWoken);
    // The input is still unread, yet the wait does not wake for it again.
    EXPECT_EQ(Next(), kTicked);
    EXPECT_EQ(Next(), kTicked);
    EXPECT_EQ(wakes_, 1);

    pipe.Drain();
    watcher.Arm();
    EXPECT_EQ(Next(), kTicked);  // armed, nothing to read
    pipe.Write();
    EXPECT_EQ(Next(), kWoken);
    EXPECT_EQ(wakes_, 2);
}

// While the UI thread talks to the display itself (a frame's present and its reply) the
// watch wakes nobody; armed again, it wakes for what is still waiting.
TEST_F(UiThread, PausedItLeavesTheInputToTheUiThreadUntilArmedAgain) {
    Pipe pipe;
    DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), Wake());
    TickEvery(20);
    watcher.Arm();
    watcher.Pause();
    pipe.Write();
    EXPECT_EQ(Next(), kTicked);
    EXPECT_EQ(wakes_, 0);
    watcher.Arm();
    EXPECT_EQ(Next(), kWoken);
}

// A thread waiting on the display still takes what other threads post and the timers they
// set, as soon as they come.
TEST_F(UiThread, OtherThreadsReachAThreadWaitingOnTheDisplay) {
    Pipe pipe;
    DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), Wake());
    platform::SetTimer(window_, kGiveUp, 60'000);
    watcher.Arm();
    std::thread poster([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        platform::PostMessage(window_, kFromAnotherThread, 0, 0);
    });
    EXPECT_EQ(Next(), kFromAnotherThread);
    poster.join();

    watcher.Arm();
    std::thread timerSetter([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        platform::SetTimer(window_, kTick, 1);
    });
    EXPECT_EQ(Next(), kTicked);
    timerSetter.join();
    EXPECT_EQ(wakes_, 0);
}

// The display going away hangs its connection up: told once, then no longer watched, and
// the loop goes on with its timers.
TEST_F(UiThread, AHungUpDescriptorIsToldOnceAndDropped) {
    Pipe pipe;
    DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), Wake());
    TickEvery(20);
    watcher.Arm();
    pipe.CloseWriteEnd();
    EXPECT_EQ(Next(), kWoken);
    watcher.Arm();  // the drain arms again, but nothing is watched any more
    EXPECT_EQ(Next(), kTicked);
    EXPECT_EQ(Next(), kTicked);
    EXPECT_EQ(wakes_, 1);
}

TEST_F(UiThread, ADroppedWatcherLeavesThePlainWait) {
    Pipe pipe;
    {
        DuiLib::sdl::DisplayWatcher watcher(pipe.ReadEnd(), Wake());
        watcher.Arm();
    }
    pipe.Write();
    TickEvery(20);
    EXPECT_EQ(Next(), kTicked);
    EXPECT_EQ(wakes_, 0);
}

}  // namespace
