#include "duilib/screen_fit.h"

#include <algorithm>

#include "platform/desktop.h"
#include "platform/window_handles.h"

namespace DuiLib {

RECT WorkAreaAt(POINT point) {
    const POINT onDesktop = platform::ClampToDesktop(point);
    for (const platform::MonitorArea& monitor : platform::GetMonitors()) {
        const RECT& b = monitor.bounds;
        if (onDesktop.x >= b.left && onDesktop.x < b.right && onDesktop.y >= b.top &&
            onDesktop.y < b.bottom) {
            return monitor.work;
        }
    }
    return platform::GetMonitors().front().work;
}

RECT WorkAreaFor(HWND hwnd, HWND owner) {
    const bool overOwner =
        owner != nullptr && platform::IsWindowVisible(owner) && !platform::IsIconic(owner);
    MONITORINFO info{};
    if (!platform::GetMonitorInfo(
            platform::MonitorFromWindow(overOwner ? owner : hwnd, MONITOR_DEFAULTTONEAREST),
            &info)) {
        return platform::GetMonitors().front().work;
    }
    return info.rcWork;
}

RECT KeptInside(const RECT& rc, const RECT& area) {
    const LONG width = std::min(rc.right - rc.left, area.right - area.left);
    const LONG height = std::min(rc.bottom - rc.top, area.bottom - area.top);
    const LONG left = std::clamp<LONG>(rc.left, area.left, area.right - width);
    const LONG top = std::clamp<LONG>(rc.top, area.top, area.bottom - height);
    return RECT{left, top, left + width, top + height};
}

}  // namespace DuiLib
