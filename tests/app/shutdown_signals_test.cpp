// SIGTERM, SIGINT and SIGHUP reach the main window as a close request.

#include "app/shutdown_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace {

int ThreadCount() {
    int count = 0;
    std::error_code ec;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/task", ec)) {
        ++count;
    }
    return count;
}

int CountCloses(HWND window, int ms) {
    int closes = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        while (platform::PeekMessage(&msg, PM_REMOVE)) {
            closes += msg.hwnd == window && msg.message == WM_CLOSE ? 1 : 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return closes;
}

TEST(ShutdownSignalsTest, TerminationInterruptAndHangUpAskTheWindowToClose) {
    platform::WindowCreateParams params;
    params.className = L"MainWnd";
    HWND window =
        platform::CreateWindowHandle(params, [](HWND, UINT, WPARAM, LPARAM) { return 0; });
    {
        ShutdownSignals signals;
        // A process-directed signal goes to a thread that does not block it: every thread
        // here must have been started after the watcher blocked them.
        if (ThreadCount() != 2) {
            GTEST_SKIP() << "other threads are running";
        }
        ASSERT_EQ(kill(getpid(), SIGTERM), 0);  // before the target exists: kept for it
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        signals.SetTarget(window);
        EXPECT_EQ(CountCloses(window, 300), 1);
        for (int signal : {SIGINT, SIGHUP}) {
            ASSERT_EQ(kill(getpid(), signal), 0);
            EXPECT_EQ(CountCloses(window, 300), 1) << signal;
        }
    }
    platform::DestroyWindow(window);
}

}  // namespace
