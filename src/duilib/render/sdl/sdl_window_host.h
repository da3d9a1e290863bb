#pragma once
// One toolkit window's pixels and, with a display, its desktop window: the surface the
// tree is painted on, and the SDL window that mirrors the window's title, rectangle,
// visibility and modal state as the window layer holds them.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "duilib/render/sdl/sdl_canvas.h"
#include "duilib/render/sdl/sdl_handles.h"

namespace DuiLib {
class CControlUI;
class CPaintManagerUI;
}  // namespace DuiLib

namespace DuiLib::sdl {

class WindowHost {
  public:
    explicit WindowHost(CPaintManagerUI& manager) : m_manager(manager) {}

    CPaintManagerUI& Manager() const { return m_manager; }
    // A canvas of the window's client size. While the desktop window is shown with a
    // surface of that size and of our pixel layout, the canvas draws straight into it, and
    // presenting copies nothing; otherwise into pixels of its own. `whole` is set when the
    // canvas holds nothing of the last paint (another target, another size): the window is
    // then painted whole.
    Canvas* CanvasFor(SIZE size, bool* whole);
    // The last painted pixels (ARGB8888, opaque); null before the first paint. Pixels drawn
    // in the desktop window's surface are copied out first.
    SDL_Surface* Pixels();
    // The size of the last painted pixels; {0, 0} before the first paint.
    SIZE PaintedSize() const;
    bool HasPainted() const { return m_painted; }
    // The parts a paint just drew.
    void MarkPainted(std::vector<RECT> parts) {
        m_painted = true;
        m_lastParts = std::move(parts);
    }
    const std::vector<RECT>& LastPaintedRects() const { return m_lastParts; }

    // Brings the desktop window in line with the window layer's state; creates it the
    // first time the window is visible.
    // `icon` (may be null) is given to a desktop window made now.
    void Sync(const std::function<SDL_Window*(HWND)>& windowOf, SDL_Surface* icon);
    // Shows the last painted pixels in the desktop window: only `parts` when given and the
    // desktop window still shows everything else.
    void Present(std::span<const RECT> parts = {});
    SDL_Window* Window() const { return m_window.get(); }
    // The display went away: the desktop window is left to the end of the process, since
    // destroying it would talk to the dead server.
    void AbandonWindow();
    Uint32 WindowId() const { return m_window ? SDL_GetWindowID(m_window.get()) : 0; }
    // The desktop moved or sized the window; the window layer learns it.
    void DesktopMoved(int x, int y);
    void DesktopResized(int cx, int cy);
    void DesktopMinimized(bool minimized);
    // The list row (or menu item) under the mouse, which is drawn highlighted; a change
    // asks for a repaint.
    void MouseAt(POINT pt);
    void MouseLeft();
    CControlUI* HoveredRow() const { return m_hoveredRow; }
    // What a press at `pt` does to the window: drag it (an empty part of the caption) or
    // reach the controls.
    SDL_HitTestResult HitTestAt(POINT pt) const;

  private:
    void CreateWindow(SDL_Surface* icon);
    static SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* pt, void* data);

    CPaintManagerUI& m_manager;
    // The desktop window's surface, when the canvas may draw straight into it.
    SDL_Surface* ScreenFor(SIZE size);
    bool DrawsOnScreen() const { return m_target != nullptr && m_target != m_surface.get(); }

    SurfacePtr m_surface;
    std::unique_ptr<Canvas> m_canvas;
    // What the canvas draws on: m_surface or the desktop window's surface.
    SDL_Surface* m_target = nullptr;
    bool m_painted = false;
    std::vector<RECT> m_lastParts;
    // The window surface the last whole present went to; another one is presented whole.
    SDL_Surface* m_presentedScreen = nullptr;
    WindowPtr m_window;
    // What the desktop window shows now, to tell our changes from the desktop's.
    RECT m_appliedRect{};
    std::wstring m_appliedTitle;
    bool m_appliedVisible = false;
    bool m_appliedIconic = false;
    CControlUI* m_hoveredRow = nullptr;
    HWND m_appliedModalOwner = nullptr;
};

}  // namespace DuiLib::sdl
