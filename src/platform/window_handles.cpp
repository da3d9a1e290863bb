#include "platform/window_handles.h"

#include <algorithm>
#include <utility>

#include "platform/peer_windows.h"
#include "platform/window_messages.h"
#include "platform/window_observer.h"
#include "platform/window_registry.h"

namespace platform {
namespace {

using detail::FindEntry;
using detail::ToHandle;
using detail::WindowEntry;

// A field of a window's state read under its lock; the field's empty value for a handle
// that names no window.
template <class T>
T ReadState(HWND hwnd, T WindowEntry::*field) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return T{};
    }
    std::lock_guard lock(entry->stateMutex);
    return (*entry).*field;
}

std::mutex& ActiveMutex() {
    static std::mutex mutex;
    return mutex;
}
HWND& ActiveWindowSlot() {
    static HWND active = nullptr;
    return active;
}

void DropQueuedFor(const std::shared_ptr<WindowEntry>& entry) {
    const HWND hwnd = ToHandle(entry->id);
    std::lock_guard lock(entry->queue->mutex);
    auto& posted = entry->queue->posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [hwnd](const detail::PostedMessage& m) { return m.hwnd == hwnd; }),
                 posted.end());
    auto& timers = entry->queue->timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [hwnd](const detail::TimerEntry& t) { return t.hwnd == hwnd; }),
                 timers.end());
}

LPARAM ClientSizeParam(const RECT& rect) {
    return MAKELPARAM(static_cast<WORD>(std::max<LONG>(0, rect.right - rect.left)),
                      static_cast<WORD>(std::max<LONG>(0, rect.bottom - rect.top)));
}

// A window's state before and after a ShowWindow command.
struct ShowChange {
    bool wasVisible = false;
    bool wasIconic = false;
    bool visible = false;
    bool iconic = false;
    bool zoomed = false;
    RECT rect{};
};

ShowChange ApplyShowCommand(WindowEntry& entry, int command) {
    std::lock_guard lock(entry.stateMutex);
    ShowChange change;
    change.wasVisible = entry.visible;
    change.wasIconic = entry.iconic;
    entry.visible = command != SW_HIDE;
    entry.iconic = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED;
    if (command == SW_SHOWMAXIMIZED) {
        entry.zoomed = true;
    } else if (command == SW_RESTORE || command == SW_SHOWNORMAL) {
        entry.zoomed = false;
    }
    change.visible = entry.visible;
    change.iconic = entry.iconic;
    change.zoomed = entry.zoomed;
    change.rect = entry.rect;
    return change;
}

// A shown window going to or coming back from the task bar is told so, as by the desktop:
// minimised it has no client area; back, it has its size again.
void SendIconicChange(HWND hwnd, const ShowChange& change) {
    if (change.iconic) {
        SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    } else {
        SendMessage(hwnd, WM_SIZE, change.zoomed ? SIZE_MAXIMIZED : SIZE_RESTORED,
                    ClientSizeParam(change.rect));
    }
}

}  // namespace

HWND CreateWindowHandle(const WindowCreateParams& params, WindowProc proc) {
    auto entry = std::make_shared<WindowEntry>();
    entry->id = detail::NextWindowId();
    entry->queue = detail::CurrentThreadQueue();
    entry->proc = std::move(proc);
    entry->className = params.className;
    entry->title = params.title;
    entry->owner = params.owner;
    entry->rect = params.rect;
    entry->visible = params.visible;
    detail::AddEntry(entry);
    const HWND hwnd = ToHandle(entry->id);
    if (SendMessage(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    NotifyWindowStateChanged(hwnd);
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
    auto entry = FindEntry(hwnd);
    if (!entry || !IsWindowOnCurrentThread(hwnd)) {
        return FALSE;
    }
    // Owned windows go first, as on the desktop: a message box still open when its owner
    // goes is destroyed (and frees its object), not left behind.
    for (const auto& other : detail::AllEntries()) {
        if (GetWindowOwner(ToHandle(other->id)) == hwnd) {
            DestroyWindow(ToHandle(other->id));
        }
    }
    entry->closing = true;
    detail::ReleaseWindowMessages(entry);
    {
        std::lock_guard lock(ActiveMutex());
        if (ActiveWindowSlot() == hwnd) {
            ActiveWindowSlot() = nullptr;
        }
    }
    if (entry->proc) {
        entry->proc(hwnd, WM_DESTROY, 0, 0);
    }
    detail::RemoveEntry(hwnd);
    DropQueuedFor(entry);
    detail::ReleaseWindowMessages(entry);
    if (entry->proc) {
        entry->proc(hwnd, WM_NCDESTROY, 0, 0);
    }
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return FindEntry(hwnd) ? TRUE : FALSE;
}

bool IsWindowOnCurrentThread(HWND hwnd) {
    auto entry = FindEntry(hwnd);
    return entry && entry->queue->owner == std::this_thread::get_id();
}

// WM_SHOWWINDOW when the window is shown or hidden; WM_SIZE when a shown window is
// minimised (SIZE_MINIMIZED, no client size) or stops being minimised (SIZE_RESTORED or
// SIZE_MAXIMIZED, with its client size).
BOOL ShowWindow(HWND hwnd, int command) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    const ShowChange change = ApplyShowCommand(*entry, command);
    if (change.wasVisible != change.visible) {
        SendMessage(hwnd, WM_SHOWWINDOW, change.visible ? 1 : 0, 0);
    }
    // A window hidden while minimised is not told: nothing of it is seen either way.
    if (change.visible && change.wasIconic != change.iconic) {
        SendIconicChange(hwnd, change);
    }
    NotifyWindowStateChanged(hwnd);
    return change.wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::visible) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::iconic) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::zoomed) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    bool wasDisabled = false;
    {
        std::lock_guard lock(entry->stateMutex);
        wasDisabled = !entry->enabled;
        entry->enabled = enable != FALSE;
    }
    NotifyWindowStateChanged(hwnd);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::enabled) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hwnd, HWND /*insertAfter*/, int x, int y, int cx, int cy, UINT flags) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    bool resized = false;
    RECT now{};
    {
        std::lock_guard lock(entry->stateMutex);
        RECT& rect = entry->rect;
        const LONG width = rect.right - rect.left;
        const LONG height = rect.bottom - rect.top;
        if (!(flags & SWP_NOMOVE)) {
            rect = RECT{x, y, x + width, y + height};
        }
        if (!(flags & SWP_NOSIZE)) {
            resized = cx != width || cy != height;
            rect.right = rect.left + std::max(0, cx);
            rect.bottom = rect.top + std::max(0, cy);
        }
        now = rect;
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(hwnd, SW_SHOW);
    } else if (flags & SWP_HIDEWINDOW) {
        ShowWindow(hwnd, SW_HIDE);
    }
    if (resized) {
        SendMessage(hwnd, WM_SIZE, 0, ClientSizeParam(now));
    }
    NotifyWindowStateChanged(hwnd);
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL /*repaint*/) {
    return SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    auto entry = FindEntry(hwnd);
    if (!entry || rect == nullptr) {
        return FALSE;
    }
    std::lock_guard lock(entry->stateMutex);
    *rect = entry->rect;
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    auto entry = FindEntry(hwnd);
    if (!entry || rect == nullptr) {
        return FALSE;
    }
    std::lock_guard lock(entry->stateMutex);
    *rect = RECT{0, 0, entry->rect.right - entry->rect.left, entry->rect.bottom - entry->rect.top};
    return TRUE;
}

BOOL SetWindowText(HWND hwnd, std::wstring_view text) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    {
        std::lock_guard lock(entry->stateMutex);
        entry->title = text;
    }
    NotifyWindowStateChanged(hwnd);
    return TRUE;
}

std::wstring GetWindowText(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::title);
}

std::wstring GetWindowClassName(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::className);
}

HWND GetWindowOwner(HWND hwnd) {
    return ReadState(hwnd, &WindowEntry::owner);
}

HWND FindOwnWindow(const wchar_t* className, const wchar_t* title) {
    const std::wstring_view wantedClass = className ? className : L"";
    const std::wstring_view wantedTitle = title ? title : L"";
    for (const auto& entry : detail::AllEntries()) {
        std::lock_guard lock(entry->stateMutex);
        if ((wantedClass.empty() || entry->className == wantedClass) &&
            (wantedTitle.empty() || entry->title == wantedTitle)) {
            return ToHandle(entry->id);
        }
    }
    return nullptr;
}

HWND FindWindow(const wchar_t* className, const wchar_t* title) {
    if (const HWND own = FindOwnWindow(className, title)) {
        return own;
    }
    return detail::FindPeerWindow(className ? className : L"", title ? title : L"");
}

HWND SetActiveWindow(HWND hwnd) {
    if (hwnd != nullptr && !IsWindow(hwnd)) {
        return nullptr;
    }
    HWND previous = nullptr;
    {
        std::lock_guard lock(ActiveMutex());
        previous = ActiveWindowSlot();
        ActiveWindowSlot() = hwnd;
    }
    if (previous == hwnd) {
        return previous;
    }
    if (previous != nullptr) {
        SendMessage(previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    }
    if (hwnd != nullptr) {
        SendMessage(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previous));
    }
    return previous;
}

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    PostMessage(hwnd, WM_CLOSE, 0, 0);
                    return 0;
                case SC_MINIMIZE:
                    ShowWindow(hwnd, SW_MINIMIZE);
                    return 0;
                case SC_MAXIMIZE:
                    ShowWindow(hwnd, SW_SHOWMAXIMIZED);
                    return 0;
                case SC_RESTORE:
                    ShowWindow(hwnd, SW_RESTORE);
                    return 0;
                default:
                    return 0;
            }
        default:
            return 0;
    }
}

HWND GetActiveWindow() {
    std::lock_guard lock(ActiveMutex());
    return ActiveWindowSlot();
}

BOOL InvalidateRect(HWND hwnd, const RECT* /*rect*/, BOOL /*erase*/) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return FALSE;
    }
    std::lock_guard lock(entry->stateMutex);
    entry->invalidated = true;
    return TRUE;
}

bool TakeInvalidated(HWND hwnd) {
    auto entry = FindEntry(hwnd);
    if (!entry) {
        return false;
    }
    std::lock_guard lock(entry->stateMutex);
    return std::exchange(entry->invalidated, false);
}

}  // namespace platform
