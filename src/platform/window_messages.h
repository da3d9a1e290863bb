#pragma once
// Window messages between threads, kept as the application expects them from the desktop:
// registered message ids, posting from any thread, a blocking cross-thread send, window
// timers and the thread message loop. UI state stays on the thread that owns a window;
// other threads reach it only through these calls.

#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/event.h"
#include "platform/win_types.h"
#include "platform/window_handles.h"

inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_COPYDATA = 0x004A;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_POWERBROADCAST = 0x0218;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_DPICHANGED = 0x02E0;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// WM_POWERBROADCAST events.
inline constexpr WPARAM PBT_APMSUSPEND = 0x4;
inline constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 0x12;

inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// Registered message ids are handed out from here up to 0xFFFF.
inline constexpr UINT kFirstRegisteredMessage = 0xC000;

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
};

inline constexpr UINT PM_NOREMOVE = 0;
inline constexpr UINT PM_REMOVE = 1;

namespace platform {

// The same name (compared without regard to case) always gives the same id; 0 for an
// empty name or when the id range is used up.
UINT RegisterWindowMessage(std::wstring_view name);

// Queues the message for the window's thread. FALSE for an unknown or destroyed window
// and for WM_COPYDATA, whose bytes must travel through SendMessage.
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// As PostMessage, unless `limit` messages of this id for this window wait in its queue
// already: then nothing is posted and FALSE returned. For senders the window does not
// control (other programs), whose floods must not grow the queue without bound.
BOOL PostMessageBounded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, size_t limit);

// On the window's own thread the window handles the message at once. From another thread
// the caller blocks until the owning thread has handled it, and gets 0 at once when the
// window is closing or gone (a sender never waits on a window that will not answer).
// While blocked, the caller still handles messages sent to its own windows.
// WM_COPYDATA: lParam points to a COPYDATASTRUCT; the receiver gets a copy of the bytes.
// A window of another process (found with FindWindow) takes WM_COPYDATA by value through
// its socket, and the answer comes back; other messages to it give 0.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Queues the message for the window's thread and returns at once; `done` is called there
// with the window's answer (with 0 when the window closes first). WM_COPYDATA's bytes are
// copied before this returns. FALSE, and `done` never called, for an unknown or closing
// window. On the window's own thread the window handles it at once.
BOOL SendMessageCallback(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                         std::function<void(LRESULT)> done);

// Thread message loop. GetMessage handles pending sends while it waits and returns FALSE
// for the quit message (its code in wParam).
BOOL GetMessage(MSG* msg);
// Takes (PM_REMOVE) or looks at the next posted message or due timer without waiting.
BOOL PeekMessage(MSG* msg, UINT removeFlag);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessage(const MSG* msg);
// Asks the calling thread's message loop to end once its posted messages are handled.
void PostQuitMessage(int exitCode);

// Window timers: WM_TIMER with wParam = id, every `ms` until killed. Callable from any
// thread; the message is delivered on the window's thread. Returns the id, 0 on failure.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// Handles every message other threads have sent to this thread's windows; the count.
int PumpPendingSends();

// A closing window answers no further cross-thread send: blocked senders get 0 at once.
// Set when WM_CLOSE reaches the window and when it is destroyed.
void MarkWindowClosing(HWND hwnd);
bool IsWindowClosing(HWND hwnd);

}  // namespace platform

using platform::DispatchMessage;
using platform::GetMessage;
using platform::KillTimer;
using platform::PeekMessage;
using platform::PostMessage;
using platform::PostQuitMessage;
using platform::RegisterWindowMessage;
using platform::SendMessage;
using platform::SendMessageCallback;
using platform::SetTimer;
using platform::TranslateMessage;

// The wide-character names the application code uses.
inline UINT RegisterWindowMessageW(const wchar_t* name) {
    return platform::RegisterWindowMessage(name ? name : L"");
}
inline BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::PostMessage(hwnd, message, wParam, lParam);
}
inline LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::SendMessage(hwnd, message, wParam, lParam);
}
