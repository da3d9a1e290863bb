#include "duilib/render/sdl/sdl_render_backend.h"

#include <SDL_image.h>

#include "duilib/paint_manager.h"
#include "duilib/render/combo_drop_wnd.h"
#include "duilib/render/sdl/control_painter.h"
#include "platform/window_handles.h"

namespace DuiLib::sdl {
namespace {

// The skin's logo stands for the program's icon resource on the desktop.
constexpr const wchar_t* kProgramIconImage = L"common/logo.png";

}  // namespace

SdlRenderBackend::~SdlRenderBackend() {
    // Hosts hold textures made from cached images: they go first.
    m_hosts.clear();
}

WindowHost& SdlRenderBackend::HostFor(CPaintManagerUI& manager) {
    auto& host = m_hosts[&manager];
    if (!host) {
        host = std::make_unique<WindowHost>(manager);
        if (m_withDisplay) {
            manager.AddNotifier(&m_dropDowns);
        }
    }
    return *host;
}

void SdlRenderBackend::Paint(CPaintManagerUI& manager, std::span<const RECT> dirty) {
    const HWND hwnd = manager.GetPaintWindow();
    // SDL and the caches belong to the UI thread; a window of another thread stays unpainted.
    if (hwnd != nullptr && !platform::IsWindowOnCurrentThread(hwnd)) {
        return;
    }
    WindowHost& host = HostFor(manager);
    const SIZE client = manager.GetClientSize();
    bool whole = true;
    Canvas* canvas = host.CanvasFor(client, &whole);
    if (canvas == nullptr) {
        return;
    }
    // New pixels (the first paint, a new size, another target) are drawn whole.
    std::vector<RECT> parts(dirty.begin(), dirty.end());
    if (whole) {
        parts.assign(1, RECT{0, 0, client.cx, client.cy});
    }
    ControlPainter painter(*canvas, m_resolver, m_texts, manager, host.HoveredRow());
    for (const RECT& part : parts) {
        painter.PaintPart(manager.GetRoot(), part);
    }
    host.MarkPainted(parts);
    if (hwnd != nullptr && DesktopUsable()) {
        if (m_presentListener) {
            m_presentListener();
        }
        host.Sync([this](HWND owner) { return DesktopWindowOf(owner); }, ProgramIcon(manager));
        host.Present(parts);
    }
    if (m_paintListener) {
        m_paintListener(manager);
    }
}

void SdlRenderBackend::WindowDestroyed(CPaintManagerUI& manager) {
    if (m_hosts.erase(&manager) != 0) {
        manager.RemoveNotifier(&m_dropDowns);
    }
}

SIZE SdlRenderBackend::MeasureText(CPaintManagerUI& manager, const CDuiString& text, int font) {
    TextRequest request;
    request.text = text;
    request.font = font;
    const TextImage* image = m_texts.Get(manager, request);
    return image != nullptr && image->pixels ? SIZE{image->pixels->w, image->pixels->h} : SIZE{};
}

void SdlRenderBackend::DropDownOpener::Notify(TNotifyUI& msg) {
    if (msg.sType != DUI_MSGTYPE_DROPDOWN || msg.pSender == nullptr) {
        return;
    }
    auto* combo = static_cast<CComboUI*>(msg.pSender->GetInterface(L"Combo"));
    // A press that closed this combo's list does not open it again.
    if (combo != nullptr && !CComboDropWnd::TakeDismissed(combo)) {
        CComboDropWnd::Open(combo);
    }
}

SDL_Surface* SdlRenderBackend::PixelsOf(CPaintManagerUI& manager) const {
    auto it = m_hosts.find(&manager);
    return it != m_hosts.end() && it->second->HasPainted() ? it->second->Pixels() : nullptr;
}

std::vector<RECT> SdlRenderBackend::LastPaintedRects(CPaintManagerUI& manager) const {
    auto it = m_hosts.find(&manager);
    return it != m_hosts.end() ? it->second->LastPaintedRects() : std::vector<RECT>{};
}

bool SdlRenderBackend::SavePng(CPaintManagerUI& manager, const std::string& file) const {
    SDL_Surface* pixels = PixelsOf(manager);
    return pixels != nullptr && IMG_SavePNG(pixels, file.c_str()) == 0;
}

SDL_Surface* SdlRenderBackend::ProgramIcon(CPaintManagerUI& manager) {
    const ResolvedImage* icon = m_resolver.Resolve(manager, CDuiString(kProgramIconImage));
    return icon != nullptr ? icon->image : nullptr;
}

void SdlRenderBackend::RaiseOwnedWindows(HWND owner) {
    if (!DesktopUsable()) {
        return;
    }
    for (auto& [manager, host] : m_hosts) {
        const HWND hwnd = manager->GetPaintWindow();
        if (host->Window() != nullptr && platform::GetWindowOwner(hwnd) == owner &&
            platform::IsWindowVisible(hwnd)) {
            SDL_RaiseWindow(host->Window());
        }
    }
}

SDL_Window* SdlRenderBackend::DesktopWindowOf(HWND hwnd) {
    for (auto& [manager, host] : m_hosts) {
        if (manager->GetPaintWindow() == hwnd) {
            return host->Window();
        }
    }
    return nullptr;
}

bool SdlRenderBackend::DesktopUsable() {
    if (m_withDisplay && m_desktopAlive && !m_desktopAlive()) {
        LoseDesktop();
    }
    return m_withDisplay;
}

void SdlRenderBackend::LoseDesktop() {
    m_withDisplay = false;
    for (auto& [manager, host] : m_hosts) {
        host->AbandonWindow();
    }
}

void SdlRenderBackend::SyncWindow(HWND hwnd) {
    if (hwnd == nullptr || !platform::IsWindowOnCurrentThread(hwnd)) {
        return;
    }
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (manager->GetPaintWindow() != hwnd) {
            continue;
        }
        auto it = m_hosts.find(manager);
        WindowHost* host = it != m_hosts.end() ? it->second.get() : nullptr;
        if (host != nullptr && DesktopUsable()) {
            host->Sync([this](HWND owner) { return DesktopWindowOf(owner); },
                       ProgramIcon(*manager));
            host->Present();
        }
        // A window never drawn, or whose size changed, is painted again, as the desktop
        // asks after a resize; so is one that came into view after paints were left out.
        const SIZE client = manager->GetClientSize();
        const SIZE painted = host != nullptr ? host->PaintedSize() : SIZE{0, 0};
        if (painted.cx != client.cx || painted.cy != client.cy || painted.cx == 0) {
            manager->Invalidate();
        }
        manager->ResumePaint();
        return;
    }
}

void SdlRenderBackend::SyncAllWindows() {
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        SyncWindow(manager->GetPaintWindow());
    }
}

SDL_Window* SdlRenderBackend::AnyDesktopWindow() const {
    for (const auto& [manager, host] : m_hosts) {
        if (host->Window() != nullptr) {
            return host->Window();
        }
    }
    return nullptr;
}

WindowHost* SdlRenderBackend::HostForDesktopWindow(Uint32 windowId) {
    for (auto& [manager, host] : m_hosts) {
        if (host->WindowId() == windowId) {
            return host.get();
        }
    }
    return nullptr;
}

}  // namespace DuiLib::sdl
