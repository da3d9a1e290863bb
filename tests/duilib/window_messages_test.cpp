#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "platform/pumping_wait.h"
#include "platform/worker_thread.h"

namespace {

using namespace std::chrono_literals;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::thread::id thread;
};

// A window whose procedure records what it gets and answers wParam + 1.
class RecordingWindow {
  public:
    explicit RecordingWindow(const wchar_t* title = L"recorder") {
        platform::WindowCreateParams params;
        params.className = L"Recorder";
        params.title = title;
        hwnd_ = platform::CreateWindowHandle(params, [this](HWND, UINT m, WPARAM w, LPARAM l) {
            if (m == WM_COPYDATA) {
                const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(l);
                copied_.assign(static_cast<const char*>(data->lpData),
                               static_cast<const char*>(data->lpData) + data->cbData);
                copiedPointer_ = data->lpData;
            }
            log_.push_back({m, w, l, std::this_thread::get_id()});
            return static_cast<LRESULT>(w + 1);
        });
    }
    ~RecordingWindow() { DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }
    std::vector<Received> Of(UINT message) const {
        std::vector<Received> out;
        for (const auto& r : log_) {
            if (r.message == message) {
                out.push_back(r);
            }
        }
        return out;
    }
    std::string copied_;
    const void* copiedPointer_ = nullptr;

  private:
    HWND hwnd_ = nullptr;
    std::vector<Received> log_;
};

// Runs the calling thread's message loop until `done` or two seconds pass.
template <typename Predicate>
bool PumpUntil(Predicate done) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    MSG msg;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (PeekMessage(&msg, PM_REMOVE)) {
            DispatchMessage(&msg);
        } else {
            std::this_thread::sleep_for(1ms);
        }
    }
    return true;
}

TEST(RegisteredMessages, SameNameGivesSameIdWithoutRegardToCase) {
    const UINT a = RegisterWindowMessageW(L"WM_HOOK_TEST_MSG");
    const UINT b = RegisterWindowMessageW(L"wm_hook_test_msg");
    const UINT c = RegisterWindowMessageW(L"another name");
    EXPECT_GE(a, kFirstRegisteredMessage);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(0u, RegisterWindowMessageW(L""));
    EXPECT_EQ(0u, RegisterWindowMessageW(nullptr));
}

TEST(PostedMessages, ArriveInOrderOnTheOwningThreadAndTheLoopEndsOnQuit) {
    RecordingWindow window;
    std::thread worker([&] {
        for (WPARAM i = 0; i < 5; ++i) {
            EXPECT_TRUE(PostMessageW(window.hwnd(), WM_USER + 1, i, 0));
        }
    });
    worker.join();
    PostQuitMessage(7);
    MSG msg;
    while (GetMessage(&msg)) {
        DispatchMessage(&msg);
    }
    EXPECT_EQ(7u, msg.wParam);
    const auto got = window.Of(WM_USER + 1);
    ASSERT_EQ(5u, got.size());
    for (WPARAM i = 0; i < 5; ++i) {
        EXPECT_EQ(i, got[i].wParam);
        EXPECT_EQ(std::this_thread::get_id(), got[i].thread);
    }
    EXPECT_FALSE(PostMessageW(nullptr, WM_USER, 0, 0));
}

TEST(SentMessages, BlockUntilTheOwningThreadAnswers) {
    RecordingWindow window;
    std::atomic<LRESULT> answer{-1};
    std::thread worker([&] { answer = SendMessageW(window.hwnd(), WM_USER + 2, 41, 0); });
    EXPECT_TRUE(PumpUntil([&] { return answer.load() != -1; }));
    worker.join();
    EXPECT_EQ(42, answer.load());
    ASSERT_EQ(1u, window.Of(WM_USER + 2).size());
    EXPECT_EQ(std::this_thread::get_id(), window.Of(WM_USER + 2)[0].thread);
    // On the owning thread a send is handled at once.
    EXPECT_EQ(10, SendMessageW(window.hwnd(), WM_USER + 2, 9, 0));
}

TEST(SentMessages, ToAClosingWindowReturnZeroAndReleaseBlockedSenders) {
    RecordingWindow window;
    std::atomic<bool> returned{false};
    std::atomic<LRESULT> answer{-1};
    std::thread worker([&] {
        answer = SendMessageW(window.hwnd(), WM_USER + 3, 5, 0);
        returned = true;
    });
    // The UI thread does not pump; the close itself must release the sender.
    std::this_thread::sleep_for(20ms);
    platform::MarkWindowClosing(window.hwnd());
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(0, answer.load());
    EXPECT_TRUE(window.Of(WM_USER + 3).empty());
    std::thread late([&] { answer = SendMessageW(window.hwnd(), WM_USER + 3, 5, 0); });
    late.join();
    EXPECT_EQ(0, answer.load());
}

TEST(SentMessages, WmCloseMarksTheWindowClosing) {
    RecordingWindow window;
    EXPECT_FALSE(platform::IsWindowClosing(window.hwnd()));
    PostMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !window.Of(WM_CLOSE).empty(); }));
    EXPECT_TRUE(platform::IsWindowClosing(window.hwnd()));
}

TEST(SentMessages, WorkerSendingWhileTheUiThreadStopsItDoesNotDeadlock) {
    RecordingWindow window;
    platform::WorkerThread worker{"test"};
    std::atomic<LRESULT> answer{-1};
    platform::Event sending(true, false);
    worker.Start([&](platform::Event& stop) {
        sending.Set();
        answer = SendMessageW(window.hwnd(), WM_USER + 4, 1, 0);
        stop.Wait(platform::kInfinite);
    });
    ASSERT_EQ(platform::kWaitObject0, sending.Wait(2000));
    EXPECT_TRUE(platform::StopWorkerPumpingSends(worker, 2000));
    EXPECT_EQ(2, answer.load());
}

TEST(SentMessages, WaitPumpingSendsAnswersWhileWaiting) {
    RecordingWindow window;
    platform::Event finished(true, false);
    std::thread worker([&] {
        SendMessageW(window.hwnd(), WM_USER + 5, 0, 0);
        finished.Set();
    });
    EXPECT_EQ(platform::kWaitObject0, platform::WaitPumpingSends(finished, 2000));
    worker.join();
    platform::Event never(true, false);
    EXPECT_EQ(platform::kWaitTimeout, platform::WaitPumpingSends(never, 10));
}

TEST(CopyData, TheReceiverGetsACopyOfTheBytes) {
    RecordingWindow window;
    char bytes[] = "device list";
    COPYDATASTRUCT data{5, sizeof(bytes), bytes};
    std::thread worker(
        [&] { SendMessageW(window.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)); });
    EXPECT_TRUE(PumpUntil([&] { return !window.Of(WM_COPYDATA).empty(); }));
    worker.join();
    EXPECT_EQ(std::string(bytes, sizeof(bytes)), window.copied_);
    EXPECT_NE(static_cast<const void*>(bytes), window.copiedPointer_);
    EXPECT_FALSE(PostMessageW(window.hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
}

TEST(WindowTimers, ArmedOnAWorkerFireOnTheOwningThreadUntilKilled) {
    RecordingWindow window;
    std::thread worker([&] { EXPECT_EQ(77u, SetTimer(window.hwnd(), 77, 5)); });
    worker.join();
    EXPECT_TRUE(PumpUntil([&] { return window.Of(WM_TIMER).size() >= 2; }));
    EXPECT_EQ(77u, window.Of(WM_TIMER)[0].wParam);
    EXPECT_EQ(std::this_thread::get_id(), window.Of(WM_TIMER)[0].thread);
    EXPECT_TRUE(KillTimer(window.hwnd(), 77));
    EXPECT_FALSE(KillTimer(window.hwnd(), 77));
}

TEST(WindowTimers, ATimerArmedWhileTheLoopSleepsWakesIt) {
    RecordingWindow window;
    std::thread worker([&] {
        std::this_thread::sleep_for(20ms);
        SetTimer(window.hwnd(), 5, 1);
    });
    MSG msg;
    ASSERT_TRUE(GetMessage(&msg));  // blocks until the timer is due
    worker.join();
    EXPECT_EQ(static_cast<UINT>(WM_TIMER), msg.message);
    EXPECT_EQ(5u, msg.wParam);
    KillTimer(window.hwnd(), 5);
}

TEST(WindowTimers, ATimerSlowerThanItsIntervalDoesNotHoldOffQuit) {
    platform::WindowCreateParams params;
    params.className = L"SlowTimer";
    // Each tick outlasts the interval, so the timer is always due again.
    HWND hwnd = platform::CreateWindowHandle(params, [](HWND, UINT m, WPARAM, LPARAM) {
        if (m == WM_TIMER) {
            std::this_thread::sleep_for(3ms);
        }
        return LRESULT{0};
    });
    SetTimer(hwnd, 1, 1);
    std::this_thread::sleep_for(3ms);
    PostQuitMessage(4);
    MSG msg;
    int ticks = 0;
    while (GetMessage(&msg) && ticks < 50) {
        ticks += msg.message == WM_TIMER;
        DispatchMessage(&msg);
    }
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(4u, msg.wParam);
    DestroyWindow(hwnd);
}

TEST(WindowHandles, DestroyEndsTheHandleAndDropsItsMessages) {
    auto* window = new RecordingWindow(L"ZuzoZara");
    const HWND hwnd = window->hwnd();
    EXPECT_EQ(hwnd, FindWindowW(nullptr, L"ZuzoZara"));
    PostMessageW(hwnd, WM_USER + 6, 0, 0);
    SetTimer(hwnd, 1, 1);
    const auto destroyed = window->Of(WM_DESTROY).size();
    EXPECT_EQ(0u, destroyed);
    delete window;
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, FindWindowW(nullptr, L"ZuzoZara"));
    EXPECT_FALSE(PostMessageW(hwnd, WM_USER, 0, 0));
    EXPECT_EQ(0, SendMessageW(hwnd, WM_USER, 1, 0));
    MSG msg;
    std::this_thread::sleep_for(5ms);
    EXPECT_FALSE(PeekMessage(&msg, PM_REMOVE));
}

TEST(WindowHandles, SizeChangesAreSentAsWmSize) {
    RecordingWindow window;
    SetWindowPos(window.hwnd(), nullptr, 10, 20, 800, 572, SWP_NOZORDER);
    RECT rect;
    ASSERT_TRUE(GetClientRect(window.hwnd(), &rect));
    EXPECT_EQ((RECT{0, 0, 800, 572}), rect);
    ASSERT_EQ(1u, window.Of(WM_SIZE).size());
    EXPECT_EQ(800, LOWORD(window.Of(WM_SIZE)[0].lParam));
    EXPECT_EQ(572, HIWORD(window.Of(WM_SIZE)[0].lParam));
    ShowWindow(window.hwnd(), SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
}

// Going to and coming back from the task bar is told once per change, as the desktop
// tells it: nothing of a minimised window is seen, back it has the client size it had.
TEST(WindowHandles, MinimisingAndRestoringAShownWindowIsSentAsWmSize) {
    RecordingWindow window;
    const HWND hwnd = window.hwnd();
    SetWindowPos(hwnd, nullptr, 0, 0, 800, 572, SWP_NOZORDER | SWP_NOMOVE);
    size_t told = window.Of(WM_SIZE).size();
    // The WM_SIZE the command brought, if any.
    const auto sizeAfter = [&](int command) -> std::optional<Received> {
        ShowWindow(hwnd, command);
        const std::vector<Received> sizes = window.Of(WM_SIZE);
        EXPECT_LE(sizes.size(), told + 1) << "one WM_SIZE per change, command " << command;
        const bool sent = sizes.size() > told;
        told = sizes.size();
        return sent ? std::optional(sizes.back()) : std::nullopt;
    };
    const auto kind = [](const std::optional<Received>& size) {
        return size ? std::optional(size->wParam) : std::nullopt;
    };
    const LPARAM client = MAKELPARAM(800, 572);

    // Shown minimised from hidden: shown, and minimised.
    std::optional<Received> size = sizeAfter(SW_MINIMIZE);
    ASSERT_TRUE(size);
    EXPECT_EQ(SIZE_MINIMIZED, size->wParam);
    EXPECT_EQ(0, size->lParam);
    EXPECT_EQ(1u, window.Of(WM_SHOWWINDOW).size());
    EXPECT_FALSE(sizeAfter(SW_SHOWMINIMIZED)) << "minimised already";
    size = sizeAfter(SW_RESTORE);
    ASSERT_TRUE(size);
    EXPECT_EQ(SIZE_RESTORED, size->wParam);
    EXPECT_EQ(client, size->lParam);
    EXPECT_FALSE(sizeAfter(SW_RESTORE));
    EXPECT_FALSE(sizeAfter(SW_SHOW));

    // A maximised window comes back maximised; shown from the tray, a minimised one is back.
    sizeAfter(SW_SHOWMAXIMIZED);
    EXPECT_EQ(kind(sizeAfter(SW_MINIMIZE)), SIZE_MINIMIZED);
    size = sizeAfter(SW_SHOW);
    ASSERT_TRUE(size);
    EXPECT_EQ(SIZE_MAXIMIZED, size->wParam);
    EXPECT_EQ(client, size->lParam);

    // Hidden while minimised, and shown again: nothing of it was seen in between.
    EXPECT_EQ(kind(sizeAfter(SW_MINIMIZE)), SIZE_MINIMIZED);
    EXPECT_FALSE(sizeAfter(SW_HIDE));
    EXPECT_FALSE(sizeAfter(SW_SHOW));
    EXPECT_EQ(3u, window.Of(WM_SHOWWINDOW).size());
}

TEST(Desktop, OneMonitorOfTheScreenSizeAndThePointer) {
    const SIZE old = platform::GetScreenSize();
    platform::SetScreenSize(SIZE{1501, 961});
    EXPECT_EQ(1501, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(961, GetSystemMetrics(SM_CYSCREEN));
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(nullptr, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ((RECT{0, 0, 1501, 961}), info.rcMonitor);
    EXPECT_FALSE(GetMonitorInfoW(nullptr, &info));
    platform::SetScreenSize(SIZE{0, -4});
    EXPECT_EQ((SIZE{1, 1}), platform::GetScreenSize());
    SetCursorPos(12, 34);
    POINT at;
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ((POINT{12, 34}), at);
    platform::SetScreenSize(old);
}

}  // namespace
