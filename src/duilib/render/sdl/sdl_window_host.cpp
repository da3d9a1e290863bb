#include "duilib/render/sdl/sdl_window_host.h"

#include <algorithm>
#include <cstring>

#include "duilib/paint_manager.h"
#include "duilib/render/sdl/display_connection.h"
#include "duilib/render/tray_stand_in.h"
#include "duilib/tool_tip.h"
#include "duilib/ui_control.h"
#include "platform/milestones.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"

namespace DuiLib::sdl {
namespace {

// Controls a press acts on; elsewhere in the caption a press drags the window.
bool IsInteractive(CControlUI* control) {
    for (const wchar_t* kind : {L"Button", L"Option", L"Edit", L"Combo", L"Slider", L"ListItem"}) {
        if (control->GetInterface(kind) != nullptr) {
            return true;
        }
    }
    return false;
}

// The desktop window's surface is XRGB: the same 32-bit layout as our ARGB pixels, whose
// alpha the display ignores. Rows are then copied as they are rather than converted pixel
// by pixel (SDL masks each one).
bool SameLayout(const SDL_Surface* from, const SDL_Surface* to) {
    auto xrgb = [](Uint32 format) {
        return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
    };
    return xrgb(from->format->format) && xrgb(to->format->format);
}

void CopyPart(SDL_Surface* from, SDL_Surface* to, SDL_Rect rect) {
    if (!SameLayout(from, to)) {
        SDL_Rect onto = rect;
        SDL_BlitSurface(from, &rect, to, &onto);
        return;
    }
    SDL_Rect clipped{};
    const SDL_Rect bounds{0, 0, std::min(from->w, to->w), std::min(from->h, to->h)};
    if (!SDL_IntersectRect(&rect, &bounds, &clipped)) {
        return;
    }
    const size_t bytes = static_cast<size_t>(clipped.w) * 4;
    for (int y = clipped.y; y < clipped.y + clipped.h; ++y) {
        std::memcpy(static_cast<uint8_t*>(to->pixels) + y * to->pitch + clipped.x * 4,
                    static_cast<const uint8_t*>(from->pixels) + y * from->pitch + clipped.x * 4,
                    bytes);
    }
}

bool IsPopup(HWND hwnd) {
    const std::wstring cls = platform::GetWindowClassName(hwnd);
    return platform::GetWindowOwner(hwnd) != nullptr &&
           (cls.find(L"Menu") != std::wstring::npos || cls.find(L"Combo") != std::wstring::npos);
}

}  // namespace

SDL_Surface* WindowHost::ScreenFor(SIZE size) {
    if (!m_window || !m_appliedVisible || m_appliedIconic) {
        return nullptr;
    }
    SDL_Surface* screen = nullptr;
    {
        const SurvivableDisplayCall survivable;
        screen = SDL_GetWindowSurface(m_window.get());
    }
    // The display may have gone during the call, and the window with it.
    if (!m_window || screen == nullptr || screen->w != size.cx || screen->h != size.cy ||
        screen->format->format != SDL_PIXELFORMAT_RGB888) {
        return nullptr;
    }
    return screen;
}

Canvas* WindowHost::CanvasFor(SIZE size, bool* whole) {
    *whole = true;
    if (size.cx <= 0 || size.cy <= 0) {
        return nullptr;
    }
    SDL_Surface* target = ScreenFor(size);
    if (target == nullptr) {
        if (!m_surface || m_surface->w != size.cx || m_surface->h != size.cy) {
            m_canvas.reset();
            m_target = nullptr;
            m_surface.reset(
                SDL_CreateRGBSurfaceWithFormat(0, size.cx, size.cy, 32, SDL_PIXELFORMAT_ARGB8888));
            if (!m_surface) {
                return nullptr;
            }
            SDL_SetSurfaceBlendMode(m_surface.get(), SDL_BLENDMODE_NONE);
        }
        target = m_surface.get();
    }
    *whole = !m_painted || target != m_target;
    if (!m_canvas || m_canvas->Target() != target) {
        m_canvas = std::make_unique<Canvas>(target);
    }
    m_target = target;
    return m_canvas->IsValid() ? m_canvas.get() : nullptr;
}

SIZE WindowHost::PaintedSize() const {
    return m_painted && m_target != nullptr ? SIZE{m_target->w, m_target->h} : SIZE{0, 0};
}

SDL_Surface* WindowHost::Pixels() {
    if (!m_painted || m_target == nullptr) {
        return nullptr;
    }
    if (!DrawsOnScreen()) {
        return m_surface.get();
    }
    // The screen's pixels carry no alpha (SDL leaves that byte 0 where it draws): the
    // copy is as opaque as pixels drawn apart.
    if (!m_surface || m_surface->w != m_target->w || m_surface->h != m_target->h) {
        m_surface.reset(SDL_CreateRGBSurfaceWithFormat(0, m_target->w, m_target->h, 32,
                                                       SDL_PIXELFORMAT_ARGB8888));
        if (!m_surface) {
            return nullptr;
        }
        SDL_SetSurfaceBlendMode(m_surface.get(), SDL_BLENDMODE_NONE);
    }
    for (int y = 0; y < m_target->h; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(m_target->pixels) + y * m_target->pitch);
        auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(m_surface->pixels) +
                                               y * m_surface->pitch);
        for (int x = 0; x < m_target->w; ++x) {
            to[x] = from[x] | 0xFF000000u;
        }
    }
    return m_surface.get();
}

void WindowHost::CreateWindow(SDL_Surface* icon) {
    const HWND hwnd = m_manager.GetPaintWindow();
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (platform::GetWindowClassName(hwnd) == kToolTipClass) {
        flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
    } else if (IsPopup(hwnd)) {
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    } else if (platform::GetWindowClassName(hwnd) == kTrayStandInClass) {
        flags |= SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
    }
    RECT rc{};
    platform::GetWindowRect(hwnd, &rc);
    const std::string title = platform::Utf8Encode(platform::GetWindowText(hwnd));
    m_window.reset(SDL_CreateWindow(title.c_str(), rc.left, rc.top,
                                    std::max<LONG>(1, rc.right - rc.left),
                                    std::max<LONG>(1, rc.bottom - rc.top), flags));
    if (!m_window) {
        return;
    }
    if (icon != nullptr) {
        SDL_SetWindowIcon(m_window.get(), icon);
    }
    SDL_SetWindowHitTest(m_window.get(), &WindowHost::HitTest, this);
    const SIZE minimum = m_manager.GetMinInfo();
    if (minimum.cx > 0 && minimum.cy > 0) {
        SDL_SetWindowMinimumSize(m_window.get(), m_manager.Scale(minimum.cx),
                                 m_manager.Scale(minimum.cy));
    }
    m_appliedRect = rc;
    m_appliedTitle = platform::GetWindowText(hwnd);
}

void WindowHost::Sync(const std::function<SDL_Window*(HWND)>& windowOf, SDL_Surface* icon) {
    const HWND hwnd = m_manager.GetPaintWindow();
    if (hwnd == nullptr || !platform::IsWindow(hwnd)) {
        return;
    }
    const bool visible = platform::IsWindowVisible(hwnd) != FALSE;
    const bool iconic = visible && platform::IsIconic(hwnd);
    if (!m_window && (!visible || iconic)) {
        return;
    }
    if (!m_window) {
        CreateWindow(icon);
        if (!m_window) {
            return;
        }
    }
    SDL_Window* window = m_window.get();
    RECT rc{};
    platform::GetWindowRect(hwnd, &rc);
    if (rc.left != m_appliedRect.left || rc.top != m_appliedRect.top) {
        SDL_SetWindowPosition(window, rc.left, rc.top);
    }
    if (rc.right - rc.left != m_appliedRect.right - m_appliedRect.left ||
        rc.bottom - rc.top != m_appliedRect.bottom - m_appliedRect.top) {
        SDL_SetWindowSize(window, std::max<LONG>(1, rc.right - rc.left),
                          std::max<LONG>(1, rc.bottom - rc.top));
    }
    m_appliedRect = rc;
    const std::wstring title = platform::GetWindowText(hwnd);
    if (title != m_appliedTitle) {
        SDL_SetWindowTitle(window, platform::Utf8Encode(title).c_str());
        m_appliedTitle = title;
    }
    // A window whose owner is disabled by it is that owner's modal dialog.
    const HWND owner = platform::GetWindowOwner(hwnd);
    const HWND modalOwner = owner != nullptr && !platform::IsWindowEnabled(owner) ? owner : nullptr;
    if (modalOwner != m_appliedModalOwner && modalOwner != nullptr) {
        if (SDL_Window* ownerWindow = windowOf(modalOwner)) {
            SDL_SetWindowModalFor(window, ownerWindow);
        }
    }
    m_appliedModalOwner = modalOwner;
    // A display lost during the calls above took the window away.
    if (!m_window) {
        return;
    }
    if (visible != m_appliedVisible) {
        if (visible) {
            SDL_ShowWindow(window);
            if (platform::GetActiveWindow() == hwnd) {
                SDL_RaiseWindow(window);
            }
        } else {
            SDL_HideWindow(window);
        }
        m_appliedVisible = visible;
    }
    if (visible && iconic != m_appliedIconic && m_window) {
        if (iconic) {
            SDL_MinimizeWindow(window);
        } else {
            SDL_RestoreWindow(window);
            SDL_RaiseWindow(window);
        }
    }
    m_appliedIconic = iconic;
}

void WindowHost::AbandonWindow() {
    if (DrawsOnScreen()) {
        // Its pixels went with the window: the next paint starts afresh.
        Pixels();
        m_canvas.reset();
        m_target = nullptr;
    }
    static_cast<void>(m_window.release());
    m_presentedScreen = nullptr;
    m_appliedVisible = false;
}

void WindowHost::DesktopMinimized(bool minimized) {
    const HWND hwnd = m_manager.GetPaintWindow();
    if (minimized == m_appliedIconic || !platform::IsWindowVisible(hwnd)) {
        return;
    }
    m_appliedIconic = minimized;
    platform::ShowWindow(hwnd, minimized ? SW_MINIMIZE : SW_RESTORE);
}

void WindowHost::Present(std::span<const RECT> parts) {
    if (!m_window || m_target == nullptr || !m_appliedVisible) {
        m_presentedScreen = nullptr;  // shown again later: presented whole
        return;
    }
    SDL_Surface* screen = SDL_GetWindowSurface(m_window.get());
    if (screen == nullptr) {
        return;
    }
    if (DrawsOnScreen() && screen != m_target) {
        // The window's surface was made anew since the paint (a resize): paint again.
        m_canvas.reset();
        m_target = nullptr;
        m_painted = false;
        m_manager.Invalidate();
        return;
    }
    const bool whole = parts.empty() || screen != m_presentedScreen || screen->w != m_target->w ||
                       screen->h != m_target->h;
    std::vector<SDL_Rect> rects;
    if (whole) {
        rects.push_back(SDL_Rect{0, 0, m_target->w, m_target->h});
    } else {
        rects.reserve(parts.size());
        for (const RECT& part : parts) {
            rects.push_back(
                SDL_Rect{part.left, part.top, part.right - part.left, part.bottom - part.top});
        }
    }
    // Pixels drawn straight into the window's surface are there already.
    if (!DrawsOnScreen()) {
        for (const SDL_Rect& rect : rects) {
            CopyPart(m_surface.get(), screen, rect);
        }
    }
    {
        const SurvivableDisplayCall survivable;
        if (whole) {
            SDL_UpdateWindowSurface(m_window.get());
        } else {
            SDL_UpdateWindowSurfaceRects(m_window.get(), rects.data(),
                                         static_cast<int>(rects.size()));
        }
    }
    m_presentedScreen = screen;
    if (platform::MilestonesWanted()) {
        const std::wstring cls = platform::GetWindowClassName(m_manager.GetPaintWindow());
        platform::Milestone("present-" + platform::Utf8Encode(cls));
    }
}

void WindowHost::DesktopMoved(int x, int y) {
    const HWND hwnd = m_manager.GetPaintWindow();
    m_appliedRect = RECT{x, y, x + (m_appliedRect.right - m_appliedRect.left),
                         y + (m_appliedRect.bottom - m_appliedRect.top)};
    platform::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowHost::DesktopResized(int cx, int cy) {
    const HWND hwnd = m_manager.GetPaintWindow();
    m_appliedRect.right = m_appliedRect.left + cx;
    m_appliedRect.bottom = m_appliedRect.top + cy;
    platform::SetWindowPos(hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowHost::MouseAt(POINT pt) {
    CControlUI* row = m_manager.FindControl(pt);
    while (row != nullptr && row->GetInterface(L"ListItem") == nullptr) {
        row = row->GetParent();
    }
    if (row != m_hoveredRow) {
        m_hoveredRow = row;
        m_manager.Invalidate();
    }
}

void WindowHost::MouseLeft() {
    if (m_hoveredRow != nullptr) {
        m_hoveredRow = nullptr;
        m_manager.Invalidate();
    }
}

SDL_HitTestResult WindowHost::HitTestAt(POINT pt) const {
    const RECT caption = m_manager.Scale(m_manager.GetCaptionRect());
    const SIZE client = m_manager.GetClientSize();
    const bool inCaption = pt.x >= caption.left && pt.x < client.cx - caption.right &&
                           pt.y >= caption.top && pt.y < caption.bottom;
    if (!inCaption) {
        return SDL_HITTEST_NORMAL;
    }
    CControlUI* control = m_manager.FindControl(pt);
    return control != nullptr && IsInteractive(control) ? SDL_HITTEST_NORMAL
                                                        : SDL_HITTEST_DRAGGABLE;
}

SDL_HitTestResult WindowHost::HitTest(SDL_Window* /*window*/, const SDL_Point* pt, void* data) {
    return static_cast<const WindowHost*>(data)->HitTestAt(POINT{pt->x, pt->y});
}

}  // namespace DuiLib::sdl
