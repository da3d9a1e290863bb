#include "duilib/window_wnd.h"

#include <algorithm>

#include "duilib/paint_manager.h"
#include "duilib/screen_fit.h"
#include "platform/desktop.h"

namespace DuiLib {

CWindowWnd::~CWindowWnd() {
    // A window object that goes away first takes its window with it, so no message
    // reaches a destroyed object.
    if (m_hWnd != nullptr && platform::IsWindowOnCurrentThread(m_hWnd)) {
        const HWND hwnd = m_hWnd;
        m_hWnd = nullptr;
        platform::DestroyWindow(hwnd);
    }
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rc, HMENU hMenu) {
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x,
                        int y, int cx, int cy, HMENU /*hMenu*/) {
    m_dwStyle = dwStyle;
    m_dwExStyle = dwExStyle;
    platform::WindowCreateParams params;
    params.className = GetWindowClassName() ? GetWindowClassName() : L"";
    params.title = pstrName ? pstrName : L"";
    params.owner = hwndParent;
    const int left = x == CW_USEDEFAULT ? 0 : x;
    const int top = y == CW_USEDEFAULT ? 0 : y;
    const int width = cx == CW_USEDEFAULT ? 0 : std::max(0, cx);
    const int height = cy == CW_USEDEFAULT ? 0 : std::max(0, cy);
    params.rect = RECT{left, top, left + width, top + height};
    // WM_CREATE arrives before CreateWindowHandle returns: the procedure records the
    // handle itself.
    m_hWnd = platform::CreateWindowHandle(
        params, [this](HWND hwnd, UINT m, WPARAM w, LPARAM l) { return Dispatch(hwnd, m, w, l); });
    // A top-level window shows itself once it is ready; an owned one created visible (a
    // pop-up, a dialog) is shown at once.
    if (m_hWnd != nullptr && hwndParent != nullptr && (dwStyle & kStyleVisible) != 0) {
        ShowWindow(true, (dwExStyle & kExStyleNoActivate) == 0);
    }
    return m_hWnd;
}

LRESULT CWindowWnd::Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_CREATE) {
        m_hWnd = hWnd;
    }
    if (uMsg == WM_CLOSE && m_pModalResult != nullptr) {
        *m_pModalResult = static_cast<UINT>(wParam);
    }
    if (uMsg == WM_NCDESTROY) {
        const LRESULT result = HandleMessage(uMsg, wParam, lParam);
        m_hWnd = nullptr;
        m_pModalResult = nullptr;
        OnFinalMessage(hWnd);
        return result;
    }
    return HandleMessage(uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return platform::DefWindowProc(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND /*hWnd*/) {}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
    if (m_hWnd == nullptr) {
        return;
    }
    if (bShow) {
        KeepOnOwnersScreen();
    }
    platform::ShowWindow(m_hWnd,
                         bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
    if (bShow && bTakeFocus) {
        platform::SetActiveWindow(m_hWnd);
    }
}

void CWindowWnd::KeepOnOwnersScreen() {
    const HWND owner = platform::GetWindowOwner(m_hWnd);
    if (owner == nullptr) {
        return;
    }
    RECT rc{};
    platform::GetWindowRect(m_hWnd, &rc);
    const RECT kept = KeptInside(rc, WorkAreaFor(m_hWnd, owner));
    if (kept != rc) {
        platform::SetWindowPos(m_hWnd, nullptr, kept.left, kept.top, kept.right - kept.left,
                               kept.bottom - kept.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

UINT CWindowWnd::ShowModal() {
    const HWND hwnd = m_hWnd;
    if (hwnd == nullptr) {
        return 0;
    }
    const HWND owner = platform::GetWindowOwner(hwnd);
    const bool ownerWasEnabled = owner != nullptr && platform::IsWindowEnabled(owner);
    if (owner != nullptr) {
        platform::EnableWindow(owner, FALSE);
    }
    ShowWindow(true, true);
    UINT result = 0;
    m_pModalResult = &result;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg;
    // The object may delete itself when its window goes: only locals are used below.
    while (platform::IsWindow(hwnd)) {
        if (!platform::GetMessage(&msg)) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            platform::TranslateMessage(&msg);
            platform::DispatchMessage(&msg);
        }
    }
    if (platform::IsWindow(hwnd)) {
        m_pModalResult = nullptr;  // ended by a quit: the object is still there
    }
    if (owner != nullptr && ownerWasEnabled) {
        platform::EnableWindow(owner, TRUE);
        platform::SetActiveWindow(owner);
    }
    if (quit) {
        platform::PostQuitMessage(static_cast<int>(quitCode));
    }
    return result;
}

void CWindowWnd::Close(UINT nRet) {
    if (m_hWnd != nullptr) {
        platform::PostMessage(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
    }
}

void CWindowWnd::CenterWindow() {
    if (m_hWnd == nullptr) {
        return;
    }
    // Over a shown owner, else in the middle of the monitor the window is on; within that
    // monitor's work area either way, so a window moved to another display stays there.
    const HWND owner = platform::GetWindowOwner(m_hWnd);
    const bool overOwner =
        owner != nullptr && platform::IsWindowVisible(owner) && !platform::IsIconic(owner);
    MONITORINFO monitor{};
    platform::GetMonitorInfo(
        platform::MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
        &monitor);
    const RECT work = monitor.rcWork;
    RECT area = work;
    if (overOwner) {
        platform::GetWindowRect(owner, &area);
    }
    RECT window{};
    platform::GetWindowRect(m_hWnd, &window);
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG x = (area.left + area.right - width) / 2;
    LONG y = (area.top + area.bottom - height) / 2;
    x = std::max<LONG>(work.left, std::min<LONG>(x, work.right - width));
    y = std::max<LONG>(work.top, std::min<LONG>(y, work.bottom - height));
    platform::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
    m_uIcon = nRes;
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    if (m_hWnd == nullptr) {
        return;
    }
    RECT rc{};
    platform::GetClientRect(m_hWnd, &rc);
    platform::SetWindowPos(m_hWnd, nullptr, 0, 0, cx < 0 ? rc.right : cx, cy < 0 ? rc.bottom : cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return platform::SendMessage(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return platform::PostMessage(m_hWnd, uMsg, wParam, lParam);
}

SIZE CWindowWnd::GetScreenSize() {
    return platform::GetScreenSize();
}

void CWindowWnd::SetScreenSize(SIZE size) {
    platform::SetScreenSize(size);
}

}  // namespace DuiLib
