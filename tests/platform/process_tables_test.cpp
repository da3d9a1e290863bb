// The process tables that worker threads share outlive exit(): a thread still running
// while exit() destroys the static objects finds every one of them intact.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/hid/hid_bus.h"
#include "platform/paths.h"
#include "platform/user_notice.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "platform/window_observer.h"

namespace {

HWND g_window = nullptr;

// What a worker thread does: tick, trace, tell the user, find the HID devices, post to a
// window and tell of its change.
void UseTheProcessTables() {
    platform::TickCount();
    platform::MsUntilNextTick();
    platform::DebugTrace(L"still running\n");
    platform::TellUser(L"notice", L"still running");
    std::vector<std::wstring> paths;
    platform::hid::CurrentHidBus().Enumerate(&paths);
    platform::InstancePath();
    platform::PostMessage(g_window, platform::RegisterWindowMessage(L"StillRunning"), 0, 0);
    platform::NotifyWindowStateChanged(g_window);
}

TEST(ProcessTablesTest, OutliveTheDestructorsThatExitRuns) {
    // A fresh process, so that the tables are made after the probe below is registered.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("VELKARO_TRACE", "1", 1);
            // Runs after the destructors of everything made later, as a thread would.
            std::atexit(UseTheProcessTables);
            g_window = platform::CreateWindowHandle(platform::WindowCreateParams{},
                                                    [](HWND, UINT, WPARAM, LPARAM) { return 0; });
            platform::SetWindowStateObserver([](HWND) {});
            UseTheProcessTables();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
