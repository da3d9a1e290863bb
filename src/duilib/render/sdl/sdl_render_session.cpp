#include "duilib/render/sdl/sdl_render_session.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>

#include "duilib/paint_manager.h"
#include "duilib/render/desktop_tray.h"
#include "duilib/render/sdl/display_connection.h"
#include "duilib/render/sdl/display_layout.h"
#include "duilib/render/sdl/display_watcher.h"
#include "duilib/render/sdl/render_pump_messages.h"
#include "duilib/render/sdl/screenshot_writer.h"
#include "duilib/render/sdl/sdl_input_router.h"
#include "duilib/render/sdl/sdl_render_backend.h"
#include "duilib/window_wnd.h"
#include "platform/debug_trace.h"
#include "platform/window_handles.h"
#include "platform/window_observer.h"

namespace DuiLib {
namespace {

// The loop sleeps on the X connection (a Wayland desktop serves it through XWayland).
bool HasDisplayEnvironment() {
    const char* x11 = std::getenv("DISPLAY");
    return x11 != nullptr && *x11 != 0;
}

// VELKARO_SCREENSHOT_MS: whole milliseconds up to an hour; anything else means none.
int ScreenshotDelayMs() {
    const char* value = std::getenv("VELKARO_SCREENSHOT_MS");
    if (value == nullptr || *value == 0) {
        return 0;
    }
    char* end = nullptr;
    const long ms = std::strtol(value, &end, 10);
    return (*end == 0 && ms > 0 && ms <= 3600000) ? static_cast<int>(ms) : 0;
}

// Far from the screenshot writer's timer on the same window.
constexpr UINT_PTR kFollowUpDrainTimer = 2;
constexpr UINT kFollowUpDrainMs = 250;

}  // namespace

struct CSdlRenderSession::Impl {
    bool videoStarted = false;
    bool ttfStarted = false;
    std::unique_ptr<sdl::SdlRenderBackend> backend;
    std::unique_ptr<sdl::InputRouter> input;
    std::unique_ptr<sdl::ScreenshotWriter> screenshot;
    std::unique_ptr<sdl::DisplayLossGuard> guard;
    std::unique_ptr<sdl::DisplayWatcher> watcher;
    std::unique_ptr<CDesktopTray> trays;
    std::string lostDisplay;
    std::function<void(const std::string&)> onDisplayLost;
    bool lossTold = false;
    HWND pump = nullptr;
    std::atomic<bool> drainPosted{false};
    std::mutex dirtyMutex;
    std::set<HWND> dirty;

    void Start();
    void Stop();
    LRESULT PumpProc(UINT message, WPARAM wParam);
    void RequestDrain();
    void Drain();
    void WatchDisplay();
    // Whether the display has gone away: known already, or hung up by its server now.
    bool DisplayGone() { return guard && guard->CheckLost(); }
    void DisplayLost(const std::string& display);
    void TellDisplayLost();
};

void CSdlRenderSession::Impl::Start() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The pixels are made in memory: the plain window framebuffer needs no GL context.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (HasDisplayEnvironment()) {
        // Watching before the connection is made: a display that goes away while the
        // video starts is said as any later loss is, not in Xlib's words through exit().
        guard = std::make_unique<sdl::DisplayLossGuard>(
            [this](const std::string& display) { DisplayLost(display); });
        videoStarted = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    }
    if (videoStarted) {
        sdl::ReadDisplayLayout();
    } else if (HasDisplayEnvironment()) {
        guard.reset();
        platform::DebugTrace(L"renderer: no display, painting off-screen\n");
    }
    ttfStarted = TTF_Init() == 0;
    IMG_Init(IMG_INIT_PNG);
    backend = std::make_unique<sdl::SdlRenderBackend>(videoStarted);
    backend->SetDesktopCheck([this] { return !DisplayGone(); });
    input = std::make_unique<sdl::InputRouter>(*backend);

    platform::WindowCreateParams params;
    params.className = L"VelkaroRenderPump";
    pump = platform::CreateWindowHandle(
        params, [this](HWND, UINT m, WPARAM w, LPARAM) { return PumpProc(m, w); });
    if (const char* file = std::getenv("VELKARO_SCREENSHOT"); file != nullptr && *file != 0) {
        screenshot =
            std::make_unique<sdl::ScreenshotWriter>(*backend, pump, file, ScreenshotDelayMs());
    }
    // The replies to a present come on the connection the watcher looks at: the UI thread
    // reads them itself, and the drain after the paint looks at what else came.
    backend->SetPresentListener([this] {
        if (watcher) {
            watcher->Pause();
        }
    });
    backend->SetPaintListener([this](CPaintManagerUI& manager) {
        if (screenshot) {
            screenshot->WindowPainted(manager);
        }
        // Painting talks to the display, which may read its events meanwhile.
        if (videoStarted) {
            WatchDisplay();
            RequestDrain();
        }
    });
    platform::SetWindowStateObserver([this](HWND hwnd) {
        {
            std::lock_guard lock(dirtyMutex);
            dirty.insert(hwnd);
        }
        RequestDrain();
    });
    CPaintManagerUI::SetRenderBackend(backend.get());
}

void CSdlRenderSession::Impl::Stop() {
    // Asked first: a display gone takes the desktop windows away before they are destroyed.
    const bool displayGone = DisplayGone();
    platform::SetWindowStateObserver(nullptr);
    if (CPaintManagerUI::GetRenderBackend() == backend.get()) {
        CPaintManagerUI::SetRenderBackend(nullptr);
    }
    watcher.reset();
    trays.reset();
    if (pump != nullptr) {
        platform::DestroyWindow(pump);
    }
    screenshot.reset();
    input.reset();
    backend.reset();
    IMG_Quit();
    if (ttfStarted) {
        TTF_Quit();
    }
    if (displayGone) {
        // SDL's teardown would destroy its windows and close its connections, which talks
        // to the dead server: they are left to the end of the process.
        guard.reset();
        return;
    }
    guard.reset();  // gives the connection back before SDL closes it
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Quit();
}

LRESULT CSdlRenderSession::Impl::PumpProc(UINT message, WPARAM wParam) {
    if (message == sdl::PumpMessage() && message != 0) {
        if (wParam == sdl::kPumpDrain) {
            Drain();
        } else if (wParam == sdl::kPumpScreenshot && screenshot) {
            screenshot->OnSettled();
        } else if (wParam == sdl::kPumpDisplayLost) {
            watcher.reset();
            TellDisplayLost();
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == sdl::ScreenshotWriter::kTimerId && screenshot) {
        screenshot->OnTimer();
    }
    if (message == WM_TIMER && wParam == kFollowUpDrainTimer) {
        platform::KillTimer(pump, kFollowUpDrainTimer);
        Drain();
    }
    return 0;
}

void CSdlRenderSession::Impl::RequestDrain() {
    if (pump != nullptr && !drainPosted.exchange(true)) {
        if (!platform::PostMessage(pump, sdl::PumpMessage(), sdl::kPumpDrain, 0)) {
            drainPosted = false;
        }
    }
}

void CSdlRenderSession::Impl::Drain() {
    drainPosted = false;
    std::set<HWND> changed;
    {
        std::lock_guard lock(dirtyMutex);
        changed.swap(dirty);
    }
    for (HWND hwnd : changed) {
        backend->SyncWindow(hwnd);
    }
    if (videoStarted) {
        if (!trays) {
            trays = std::make_unique<CDesktopTray>();
        }
        trays->Sync();
    }
    if (!videoStarted) {
        return;
    }
    SDL_Event event;
    bool routed = false;
    while (!DisplayGone() && SDL_PollEvent(&event) != 0) {
        input->Route(event);
        routed = true;
    }
    if (guard && guard->IsLost()) {
        return;
    }
    // SDL holds a focus change back for 200 ms and reports it only from a later pump,
    // which nothing else may bring about while nothing is drawn: look again then.
    if (routed) {
        platform::SetTimer(pump, kFollowUpDrainTimer, kFollowUpDrainMs);
    }
    WatchDisplay();
    if (watcher) {
        watcher->Arm();
    }
}

// Once the first desktop window is up: its connection is guarded and watched.
void CSdlRenderSession::Impl::WatchDisplay() {
    if (!videoStarted || (guard && guard->IsLost())) {
        return;
    }
    SDL_Window* window = backend->AnyDesktopWindow();
    if (guard && !guard->IsGuarding()) {
        guard->Guard(window);
    }
    const int fd = watcher ? -1 : sdl::DisplayConnectionFd(window);
    if (fd >= 0) {
        watcher = std::make_unique<sdl::DisplayWatcher>(fd, [this] { RequestDrain(); });
    }
}

// Maybe inside the display call that noticed: nothing here may call SDL's video functions.
void CSdlRenderSession::Impl::DisplayLost(const std::string& display) {
    lostDisplay = display;
    if (backend) {
        backend->LoseDesktop();
    }
    platform::PostMessage(pump, sdl::PumpMessage(), sdl::kPumpDisplayLost, 0);
}

void CSdlRenderSession::Impl::TellDisplayLost() {
    if (guard && guard->IsLost() && onDisplayLost && !lossTold) {
        lossTold = true;
        onDisplayLost(lostDisplay);
    }
}

CSdlRenderSession::CSdlRenderSession() : m_impl(std::make_unique<Impl>()) {
    m_impl->Start();
}

CSdlRenderSession::~CSdlRenderSession() {
    m_impl->Stop();
}

bool CSdlRenderSession::HasDisplay() const {
    return m_impl->videoStarted;
}

void CSdlRenderSession::SetDisplayLostHandler(
    std::function<void(const std::string& display)> lost) {
    m_impl->onDisplayLost = std::move(lost);
    m_impl->TellDisplayLost();
}

}  // namespace DuiLib
