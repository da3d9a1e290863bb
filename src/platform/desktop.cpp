#include "platform/desktop.h"

#include <algorithm>
#include <mutex>

namespace platform {
namespace {

struct Desktop {
    std::mutex mutex;
    SIZE screen{1920, 1080};
    POINT cursor{};
};

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

// The one monitor's handle; never dereferenced.
const HMONITOR kPrimaryMonitor = reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(1));

}  // namespace

SIZE GetScreenSize() {
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    return desktop.screen;
}

void SetScreenSize(SIZE size) {
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    desktop.screen = SIZE{std::max<LONG>(1, size.cx), std::max<LONG>(1, size.cy)};
}

int GetSystemMetrics(int index) {
    const SIZE screen = GetScreenSize();
    switch (index) {
        case SM_CXSCREEN:
            return screen.cx;
        case SM_CYSCREEN:
            return screen.cy;
        default:
            return 0;
    }
}

HMONITOR MonitorFromWindow(HWND /*hwnd*/, DWORD /*flags*/) {
    return kPrimaryMonitor;
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (monitor != kPrimaryMonitor || info == nullptr) {
        return FALSE;
    }
    const SIZE screen = GetScreenSize();
    info->rcMonitor = RECT{0, 0, screen.cx, screen.cy};
    info->rcWork = info->rcMonitor;
    info->dwFlags = 1;
    return TRUE;
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) {
        return FALSE;
    }
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    *point = desktop.cursor;
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    desktop.cursor = POINT{x, y};
    return TRUE;
}

}  // namespace platform
