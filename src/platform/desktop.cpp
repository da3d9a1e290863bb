#include "platform/desktop.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <mutex>

#include "platform/window_handles.h"

namespace platform {
namespace {

struct Desktop {
    std::mutex mutex;
    std::vector<MonitorArea> monitors{MonitorArea{RECT{0, 0, 1920, 1080}, RECT{0, 0, 1920, 1080}}};
    POINT cursor{};
};

Desktop& TheDesktop() {
    static Desktop desktop;
    return desktop;
}

// Monitor handles are the monitor's place in the list plus one; never dereferenced.
HMONITOR HandleOf(size_t index) {
    return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(index + 1));
}

int64_t Overlap(const RECT& a, const RECT& b) {
    const int64_t width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const int64_t height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

POINT NearestPointIn(const RECT& rc, POINT point) {
    return POINT{std::clamp<LONG>(point.x, rc.left, rc.right - 1),
                 std::clamp<LONG>(point.y, rc.top, rc.bottom - 1)};
}

// In floating point: the squares of two 32-bit differences overflow 64 bits together.
double SquaredDistance(POINT a, POINT b) {
    const double dx = static_cast<double>(a.x) - b.x;
    const double dy = static_cast<double>(a.y) - b.y;
    return dx * dx + dy * dy;
}

// The monitor nearest to `point` (the primary among equals).
size_t NearestMonitor(const std::vector<MonitorArea>& monitors, POINT point) {
    size_t best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (size_t i = 0; i < monitors.size(); ++i) {
        const double distance = SquaredDistance(point, NearestPointIn(monitors[i].bounds, point));
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

SIZE GetScreenSize() {
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    const RECT& primary = desktop.monitors.front().bounds;
    return SIZE{primary.right - primary.left, primary.bottom - primary.top};
}

void SetScreenSize(SIZE size) {
    const RECT bounds{0, 0, std::max<LONG>(1, size.cx), std::max<LONG>(1, size.cy)};
    SetMonitors({MonitorArea{bounds, bounds}});
}

void SetMonitors(std::vector<MonitorArea> monitors) {
    std::erase_if(monitors, [](const MonitorArea& monitor) {
        return monitor.bounds.right <= monitor.bounds.left ||
               monitor.bounds.bottom <= monitor.bounds.top;
    });
    if (monitors.empty()) {
        return;
    }
    for (MonitorArea& monitor : monitors) {
        if (Overlap(monitor.work, monitor.bounds) == 0) {
            monitor.work = monitor.bounds;
        }
    }
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    desktop.monitors = std::move(monitors);
}

std::vector<MonitorArea> GetMonitors() {
    Desktop& desktop = TheDesktop();
    std::lock_guard lock(desktop.mutex);
    return desktop.monitors;
}

POINT ClampToDesktop(POINT point) {
    const std::vector<MonitorArea> monitors = GetMonitors();
    return NearestPointIn(monitors[NearestMonitor(monitors, point)].bounds, point);
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

HMONITOR MonitorFromWindow(HWND hwnd, DWORD /*flags*/) {
    RECT window{};
    if (hwnd == nullptr || !GetWindowRect(hwnd, &window)) {
        return HandleOf(0);
    }
    const std::vector<MonitorArea> monitors = GetMonitors();
    size_t best = 0;
    int64_t bestOverlap = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const int64_t overlap = Overlap(window, monitors[i].bounds);
        if (overlap > bestOverlap) {
            best = i;
            bestOverlap = overlap;
        }
    }
    if (bestOverlap == 0) {
        const POINT centre{(window.left + window.right) / 2, (window.top + window.bottom) / 2};
        best = NearestMonitor(monitors, centre);
    }
    return HandleOf(best);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    const auto index = reinterpret_cast<uintptr_t>(monitor);
    const std::vector<MonitorArea> monitors = GetMonitors();
    if (info == nullptr || index == 0 || index > monitors.size()) {
        return FALSE;
    }
    info->rcMonitor = monitors[index - 1].bounds;
    info->rcWork = monitors[index - 1].work;
    info->dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
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
