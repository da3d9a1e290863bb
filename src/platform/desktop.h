#pragma once
// The desktop the windows live on: one monitor of a given size and the pointer position.
// A renderer sets the real display size; tests set their own.

#include "platform/win_types.h"

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;

struct HMONITOR__;
using HMONITOR = HMONITOR__*;

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    RECT rcMonitor{};
    RECT rcWork{};
    DWORD dwFlags = 0;
};

namespace platform {

SIZE GetScreenSize();
// Sizes below 1 pixel are taken as 1.
void SetScreenSize(SIZE size);

int GetSystemMetrics(int index);
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
