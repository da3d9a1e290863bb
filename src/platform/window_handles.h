#pragma once
// Windows of the process: each has a handle, a title and class name, a rectangle, a
// visible flag and a procedure that handles its messages on the thread that created it.
// This is the window state of the desktop without any drawing: a renderer reads it.

#include <functional>
#include <string>
#include <string_view>

#include "platform/win_types.h"

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<intptr_t>(-2));

namespace platform {

using WindowProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

struct WindowCreateParams {
    std::wstring className;
    std::wstring title;
    HWND owner = nullptr;
    RECT rect{};
    bool visible = false;
};

// Creates a window owned by the calling thread; `proc` handles its messages there.
// WM_CREATE is sent before the handle is returned; an answer of -1 destroys the window
// and gives null.
HWND CreateWindowHandle(const WindowCreateParams& params, WindowProc proc);
// On the owning thread: the windows it owns (on this thread) are destroyed first; then
// WM_DESTROY, WM_NCDESTROY, and the handle is gone; its posted messages and timers are
// dropped and blocked senders get 0. FALSE from another thread.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
// True when the calling thread created the window.
bool IsWindowOnCurrentThread(HWND hwnd);

BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
// Maximised (SW_SHOWMAXIMIZED) until restored.
BOOL IsZoomed(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
// Moves and sizes the window; a size change sends WM_SIZE with the client size.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint);
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL SetWindowText(HWND hwnd, std::wstring_view text);
std::wstring GetWindowText(HWND hwnd);
std::wstring GetWindowClassName(HWND hwnd);
HWND GetWindowOwner(HWND hwnd);
// The first window with that class and title; an empty or null part matches any. When no
// window of this process matches, the windows other programs of the user published
// (peer_windows.h) are looked at.
HWND FindWindow(const wchar_t* className, const wchar_t* title);
// As FindWindow, among this process's windows only: never waits on another program.
HWND FindOwnWindow(const wchar_t* className, const wchar_t* title);
// Activation moves between windows of the process: the old one gets WM_ACTIVATE
// (WA_INACTIVE), the new one WM_ACTIVATE (WA_ACTIVE). Returns the previous active window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
// What a window does with a message it does not handle itself: WM_CLOSE destroys it,
// WM_SYSCOMMAND closes, minimises, maximises or restores it.
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Marks the window for repainting; a renderer collects it with TakeInvalidated.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
bool TakeInvalidated(HWND hwnd);

}  // namespace platform

using platform::DestroyWindow;
using platform::EnableWindow;
using platform::FindWindow;
using platform::GetActiveWindow;
using platform::GetClientRect;
using platform::GetWindowRect;
using platform::InvalidateRect;
using platform::IsIconic;
using platform::IsWindow;
using platform::IsWindowEnabled;
using platform::IsWindowVisible;
using platform::IsZoomed;
using platform::MoveWindow;
using platform::SetActiveWindow;
using platform::SetWindowPos;
using platform::ShowWindow;

inline HWND FindWindowW(const wchar_t* className, const wchar_t* title) {
    return platform::FindWindow(className, title);
}
