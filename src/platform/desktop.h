#pragma once
// The desktop the windows live on: its monitors (the primary first) and the pointer
// position. A renderer sets the real monitors; tests set their own.

#include <vector>

#include "platform/win_types.h"

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
inline constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    RECT rcMonitor{};
    RECT rcWork{};
    DWORD dwFlags = 0;
};

namespace platform {

struct MonitorArea {
    RECT bounds{};
    RECT work{};  // the bounds less the desktop's panels
    bool operator==(const MonitorArea&) const = default;
};

// The primary monitor's size.
SIZE GetScreenSize();
// One monitor of this size at the origin. Sizes below 1 pixel are taken as 1.
void SetScreenSize(SIZE size);
// Monitors without area are left out; with none left, the monitors stay as they were.
void SetMonitors(std::vector<MonitorArea> monitors);
std::vector<MonitorArea> GetMonitors();
// The point itself when a monitor holds it, else the nearest point of a monitor.
POINT ClampToDesktop(POINT point);

int GetSystemMetrics(int index);
// The monitor holding most of the window; for a window on none, the nearest one.
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);

}  // namespace platform

using platform::GetCursorPos;
using platform::GetSystemMetrics;
using platform::MonitorFromWindow;
using platform::SetCursorPos;

inline BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    return platform::GetMonitorInfo(monitor, info);
}
