// The desktop's monitors: which one a window is on, and points kept on the desktop.

#include "platform/desktop.h"

#include <gtest/gtest.h>

#include "platform/window_handles.h"

namespace {

using platform::MonitorArea;

class DesktopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // A laptop screen with a panel at the bottom, and a wider one to its right.
        platform::SetMonitors({MonitorArea{RECT{0, 0, 1366, 768}, RECT{0, 0, 1366, 740}},
                               MonitorArea{RECT{1366, 0, 3926, 1440}, RECT{1366, 0, 3926, 1440}}});
        platform::WindowCreateParams params;
        params.className = L"DesktopTestWnd";
        window_ = platform::CreateWindowHandle(
            params, [](HWND, UINT, WPARAM, LPARAM) { return LRESULT{0}; });
    }
    void TearDown() override {
        platform::DestroyWindow(window_);
        platform::SetMonitors({old_});
    }
    MONITORINFO MonitorAt(int x, int y, int cx = 1000, int cy = 640) {
        platform::SetWindowPos(window_, nullptr, x, y, cx, cy, SWP_NOZORDER);
        MONITORINFO info{};
        EXPECT_TRUE(GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info));
        return info;
    }

    MonitorArea old_ = platform::GetMonitors().front();
    HWND window_ = nullptr;
};

TEST_F(DesktopTest, AWindowIsOnTheMonitorHoldingMostOfIt) {
    MONITORINFO info = MonitorAt(100, 100);
    EXPECT_EQ(info.rcMonitor, (RECT{0, 0, 1366, 768}));
    EXPECT_EQ(info.rcWork, (RECT{0, 0, 1366, 740}));
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    // Straddling the edge, mostly on the right.
    info = MonitorAt(1000, 100);
    EXPECT_EQ(info.rcMonitor, (RECT{1366, 0, 3926, 1440}));
    EXPECT_EQ(info.dwFlags, 0u);
    // Off every screen: the nearest monitor.
    EXPECT_EQ(MonitorAt(5000, 2000).rcMonitor, (RECT{1366, 0, 3926, 1440}));
    EXPECT_EQ(MonitorAt(-3000, 100).rcMonitor, (RECT{0, 0, 1366, 768}));
    EXPECT_EQ(platform::GetScreenSize(), (SIZE{1366, 768})) << "the primary's size";
}

TEST_F(DesktopTest, PointsAreKeptOnTheDesktopAndEmptyMonitorsIgnored) {
    EXPECT_EQ(platform::ClampToDesktop(POINT{2000, 1000}), (POINT{2000, 1000}));
    EXPECT_EQ(platform::ClampToDesktop(POINT{500, 1000}), (POINT{500, 767}))
        << "below the laptop screen, not on the gap beside the larger one";
    EXPECT_EQ(platform::ClampToDesktop(POINT{-2147483647, 2147483647}), (POINT{0, 767}));

    platform::SetMonitors({MonitorArea{RECT{0, 0, 0, 0}, RECT{}}});
    EXPECT_EQ(platform::GetMonitors().size(), 2u) << "a list of nothing changes nothing";
}

}  // namespace
