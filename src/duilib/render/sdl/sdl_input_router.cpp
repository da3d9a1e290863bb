#include "duilib/render/sdl/sdl_input_router.h"

#include <string>

#include "duilib/paint_manager.h"
#include "duilib/render/combo_drop_wnd.h"
#include "duilib/render/sdl/display_layout.h"
#include "duilib/render/sdl/sdl_key_map.h"
#include "duilib/render/sdl/sdl_render_backend.h"
#include "platform/desktop.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"

namespace DuiLib::sdl {
namespace {

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr short kWheelDelta = 120;

// As the desktop tells it: the colour depth and the primary screen's new size.
void PostDisplayChange(HWND hwnd) {
    constexpr WPARAM kBitsPerPixel = 32;
    const SIZE screen = platform::GetScreenSize();
    platform::PostMessage(hwnd, WM_DISPLAYCHANGE, kBitsPerPixel,
                          MAKELPARAM(static_cast<WORD>(screen.cx), static_cast<WORD>(screen.cy)));
}

LPARAM PointParam(POINT pt) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(pt.x)),
                      static_cast<WORD>(static_cast<short>(pt.y)));
}

}  // namespace

HWND InputRouter::TargetOf(Uint32 windowId, bool forInput) const {
    WindowHost* host = m_backend.HostForDesktopWindow(windowId);
    if (host == nullptr) {
        return nullptr;
    }
    const HWND hwnd = host->Manager().GetPaintWindow();
    if (hwnd == nullptr || (forInput && !platform::IsWindowEnabled(hwnd))) {
        return nullptr;
    }
    return hwnd;
}

void InputRouter::Route(const SDL_Event& event) {
    switch (event.type) {
        case SDL_WINDOWEVENT:
            RouteWindowEvent(event.window);
            return;
        case SDL_DISPLAYEVENT:
            // A display added, removed or turned: every top-level window hears of it.
            ReadDisplayLayout();
            for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
                const HWND hwnd = manager->GetPaintWindow();
                if (hwnd != nullptr && platform::GetWindowOwner(hwnd) == nullptr) {
                    PostDisplayChange(hwnd);
                }
            }
            return;
        case SDL_MOUSEMOTION:
            if (HWND hwnd = TargetOf(event.motion.windowID, true)) {
                m_lastMouse = POINT{event.motion.x, event.motion.y};
                TellDesktopPointer(hwnd);
                platform::SendMessage(hwnd, WM_MOUSEMOVE, m_buttons, PointParam(m_lastMouse));
                // The move may have closed the window; look its host up again.
                if (WindowHost* host = m_backend.HostForDesktopWindow(event.motion.windowID)) {
                    host->MouseAt(m_lastMouse);
                }
            }
            return;
        case SDL_MOUSEBUTTONDOWN:
            RouteMouseButton(event.button, true);
            return;
        case SDL_MOUSEBUTTONUP:
            RouteMouseButton(event.button, false);
            return;
        case SDL_MOUSEWHEEL:
            if (HWND hwnd = TargetOf(event.wheel.windowID, true)) {
                const auto delta = static_cast<short>(event.wheel.y * kWheelDelta);
                platform::SendMessage(
                    hwnd, WM_MOUSEWHEEL,
                    MAKEWPARAM(static_cast<WORD>(m_buttons), static_cast<WORD>(delta)),
                    PointParam(m_lastMouse));
            }
            return;
        case SDL_KEYDOWN:
            RouteKey(event.key, true);
            return;
        case SDL_KEYUP:
            RouteKey(event.key, false);
            return;
        case SDL_TEXTINPUT:
            RouteText(event.text);
            return;
        default:
            return;
    }
}

void InputRouter::RouteWindowEvent(const SDL_WindowEvent& event) {
    WindowHost* host = m_backend.HostForDesktopWindow(event.windowID);
    if (host == nullptr) {
        return;
    }
    const HWND hwnd = host->Manager().GetPaintWindow();
    switch (event.event) {
        case SDL_WINDOWEVENT_EXPOSED:
            host->Present();
            return;
        case SDL_WINDOWEVENT_MOVED:
            host->DesktopMoved(event.data1, event.data2);
            return;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            host->DesktopResized(event.data1, event.data2);
            return;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            // Moved to another display: its size decides the window's DPI now.
            ReadDisplayLayout();
            PostDisplayChange(hwnd);
            return;
        case SDL_WINDOWEVENT_MINIMIZED:
            host->DesktopMinimized(true);
            return;
        case SDL_WINDOWEVENT_RESTORED:
            host->DesktopMinimized(false);
            return;
        case SDL_WINDOWEVENT_ENTER:
            // The pointer is over the window, active or not.
            platform::SendMessage(hwnd, WM_MOUSEHOVER, m_buttons, PointParam(m_lastMouse));
            return;
        case SDL_WINDOWEVENT_LEAVE:
            // A point outside every control: the hovered one gets its leave.
            host->MouseLeft();
            platform::SendMessage(hwnd, WM_MOUSEMOVE, m_buttons, PointParam(POINT{-1, -1}));
            if (platform::IsWindow(hwnd)) {
                platform::SendMessage(hwnd, WM_MOUSELEAVE, 0, 0);
            }
            return;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (platform::IsWindowEnabled(hwnd)) {
                platform::SetActiveWindow(hwnd);
            }
            return;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (platform::GetActiveWindow() == hwnd) {
                platform::SetActiveWindow(nullptr);
            }
            return;
        case SDL_WINDOWEVENT_CLOSE:
            if (platform::IsWindowEnabled(hwnd)) {
                platform::PostMessage(hwnd, WM_CLOSE, 0, 0);
            }
            return;
        default:
            return;
    }
}

void InputRouter::RouteMouseButton(const SDL_MouseButtonEvent& event, bool down) {
    const HWND hwnd = TargetOf(event.windowID, true);
    if (hwnd == nullptr && down) {
        // A press on the owner of a modal window brings that window to the front.
        if (const HWND blocked = TargetOf(event.windowID, false)) {
            m_backend.RaiseOwnedWindows(blocked);
        }
    }
    if (hwnd == nullptr || (event.button != SDL_BUTTON_LEFT && event.button != SDL_BUTTON_RIGHT)) {
        return;
    }
    // A press makes its window the active one: an open menu or list loses activation and
    // closes, as it does when the desktop moves the focus.
    if (down) {
        CComboDropWnd::ForgetDismissed();
    }
    if (down && platform::GetActiveWindow() != hwnd) {
        platform::SetActiveWindow(hwnd);
        if (!platform::IsWindow(hwnd)) {
            return;
        }
    }
    const bool left = event.button == SDL_BUTTON_LEFT;
    const WPARAM flag = left ? MK_LBUTTON : MK_RBUTTON;
    m_buttons = down ? (m_buttons | flag) : (m_buttons & ~flag);
    m_lastMouse = POINT{event.x, event.y};
    TellDesktopPointer(hwnd);
    // Dragging past the window's edge keeps reporting to it until the release.
    SDL_CaptureMouse(m_buttons != 0 ? SDL_TRUE : SDL_FALSE);
    UINT message = 0;
    if (left) {
        message = !down ? WM_LBUTTONUP
                        : (event.clicks >= 2 && event.clicks % 2 == 0 ? WM_LBUTTONDBLCLK
                                                                      : WM_LBUTTONDOWN);
    } else {
        message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    }
    platform::SendMessage(hwnd, message, m_buttons, PointParam(m_lastMouse));
}

// Where the pointer is on the desktop, for what opens at it (menus, tips).
void InputRouter::TellDesktopPointer(HWND hwnd) const {
    RECT rc{};
    if (platform::GetWindowRect(hwnd, &rc)) {
        platform::SetCursorPos(rc.left + m_lastMouse.x, rc.top + m_lastMouse.y);
    }
}

void InputRouter::RouteKey(const SDL_KeyboardEvent& event, bool down) {
    const HWND hwnd = TargetOf(event.windowID, true);
    const WPARAM vk = VirtualKeyFor(event.keysym.sym);
    if (hwnd == nullptr || vk == 0) {
        return;
    }
    platform::SendMessage(hwnd, down ? WM_KEYDOWN : WM_KEYUP, vk, KeyDataFor(event.keysym.sym));
    // These keys type a character too; printable ones arrive as text input.
    if (down && platform::IsWindow(hwnd)) {
        if (const wchar_t ch = ControlCharFor(event.keysym.sym)) {
            platform::SendMessage(hwnd, WM_CHAR, static_cast<WPARAM>(ch), 0);
        }
    }
}

void InputRouter::RouteText(const SDL_TextInputEvent& event) {
    const HWND hwnd = TargetOf(event.windowID, true);
    if (hwnd == nullptr) {
        return;
    }
    for (wchar_t ch : platform::Utf8Decode(event.text)) {
        if (!platform::IsWindow(hwnd)) {
            return;
        }
        platform::SendMessage(hwnd, WM_CHAR, static_cast<WPARAM>(ch), 0);
    }
}

}  // namespace DuiLib::sdl
