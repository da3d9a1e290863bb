#pragma once
// The SDL2 renderer of the toolkit: paints every window's control tree onto a surface with
// SDL's software renderer and, when a display is open, shows it in a desktop window that
// mirrors the window layer's state. Without a display it keeps the pixels only, which is
// what screenshots and the reference-image test use.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/render/sdl/sdl_text.h"
#include "duilib/render/sdl/sdl_window_host.h"
#include "duilib/render_backend.h"

namespace DuiLib::sdl {

class SdlRenderBackend : public IRenderBackend {
  public:
    // TTF must be initialised; SDL video too when `withDisplay`.
    explicit SdlRenderBackend(bool withDisplay) : m_withDisplay(withDisplay) {}
    ~SdlRenderBackend() override;
    SdlRenderBackend(const SdlRenderBackend&) = delete;
    SdlRenderBackend& operator=(const SdlRenderBackend&) = delete;

    void Paint(CPaintManagerUI& manager, std::span<const RECT> dirty) override;
    void WindowDestroyed(CPaintManagerUI& manager) override;
    SIZE MeasureText(CPaintManagerUI& manager, const CDuiString& text, int font) override;

    // The pixels of the window's last paint; null before its first paint.
    SDL_Surface* PixelsOf(CPaintManagerUI& manager) const;
    // The parts the window's last paint drew (and showed on the desktop).
    std::vector<RECT> LastPaintedRects(CPaintManagerUI& manager) const;
    bool SavePng(CPaintManagerUI& manager, const std::string& file) const;

    // Desktop side (UI thread only).
    // Asked before the desktop windows are touched: false once the display has gone away.
    void SetDesktopCheck(std::function<bool()> alive) { m_desktopAlive = std::move(alive); }
    // The display went away: from now on the windows are painted off-screen only, and no
    // desktop window is touched again.
    void LoseDesktop();
    void SyncWindow(HWND hwnd);
    void SyncAllWindows();
    WindowHost* HostForDesktopWindow(Uint32 windowId);
    SDL_Window* AnyDesktopWindow() const;
    SDL_Window* DesktopWindowOf(HWND hwnd);
    // Raises the shown desktop windows that `owner` owns.
    void RaiseOwnedWindows(HWND owner);
    // Called after each paint (the screenshot writer listens).
    void SetPaintListener(std::function<void(CPaintManagerUI&)> listener) {
        m_paintListener = std::move(listener);
    }
    // Called before a paint shows its pixels on the desktop; the paint listener follows.
    void SetPresentListener(std::function<void()> listener) {
        m_presentListener = std::move(listener);
    }

  private:
    // Opens a combo's list when the combo asks for it ("dropdown").
    class DropDownOpener : public INotifyUI {
      public:
        void Notify(TNotifyUI& msg) override;
    };

    WindowHost& HostFor(CPaintManagerUI& manager);
    bool DesktopUsable();
    SDL_Surface* ProgramIcon(CPaintManagerUI& manager);

    bool m_withDisplay;
    ImageCache m_images;
    ImageResolver m_resolver{m_images};
    FontCache m_fonts;
    TextImages m_texts{m_fonts};
    std::map<CPaintManagerUI*, std::unique_ptr<WindowHost>> m_hosts;
    std::function<void(CPaintManagerUI&)> m_paintListener;
    std::function<void()> m_presentListener;
    std::function<bool()> m_desktopAlive;
    DropDownOpener m_dropDowns;
};

}  // namespace DuiLib::sdl
