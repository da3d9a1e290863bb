// Kept apart: the X headers define many short macro names.
#include "duilib/render/sdl/display_connection.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <errno.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace DuiLib::sdl {
namespace {

// Xlib's I/O error handler is process-wide and is given no context.
std::atomic<DisplayLossGuard*> g_guard{nullptr};
thread_local bool t_inSurvivableCall = false;

Display* DisplayOf(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11) {
        return nullptr;
    }
    return info.info.x11.display;
#else
    (void)window;
    return nullptr;
#endif
}

std::string NameOf(Display* display) {
    const char* name = DisplayString(display);
    return name != nullptr ? name : "";
}

// The server closed its end: looked at without reading, so Xlib's state stays untouched.
bool HungUp(int fd) {
    pollfd p{fd, POLLRDHUP, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace

struct XlibHandlers {
    // Xlib calls it first, on the thread whose call noticed, instead of printing its own
    // message; then the connection's exit handler, whose default calls exit().
    static int IoError(Display* display) {
        const DisplayLossGuard* guard = g_guard.load();
        if (guard != nullptr && guard->m_display == display && t_inSurvivableCall) {
            return 0;
        }
        std::fprintf(stderr, "%s: lost the connection to the display %s; ending at once\n",
                     program_invocation_short_name, NameOf(display).c_str());
        std::fflush(stderr);
        _exit(1);
    }

    static void Exit(Display* /*display*/, void* guard) {
        static_cast<DisplayLossGuard*>(guard)->Lost();
    }
};

int DisplayConnectionFd(SDL_Window* window) {
    Display* display = DisplayOf(window);
    return display != nullptr ? ConnectionNumber(display) : -1;
}

SurvivableDisplayCall::SurvivableDisplayCall() {
    t_inSurvivableCall = true;
}

SurvivableDisplayCall::~SurvivableDisplayCall() {
    t_inSurvivableCall = false;
}

DisplayLossGuard::DisplayLossGuard(LostHandler lost) : m_onLost(std::move(lost)) {
    g_guard = this;
    XSetIOErrorHandler(&XlibHandlers::IoError);
}

DisplayLossGuard::~DisplayLossGuard() {
    if (m_display != nullptr) {
        XSetIOErrorExitHandler(m_display, nullptr, nullptr);
    }
    XSetIOErrorHandler(nullptr);
    g_guard = nullptr;
}

bool DisplayLossGuard::Guard(SDL_Window* window) {
    if (m_display != nullptr) {
        return true;
    }
    Display* display = DisplayOf(window);
    if (display == nullptr) {
        return false;
    }
    XSetIOErrorExitHandler(display, &XlibHandlers::Exit, this);
    m_display = display;
    return true;
}

bool DisplayLossGuard::CheckLost() {
    if (!m_lost && m_display != nullptr && HungUp(ConnectionNumber(m_display))) {
        Lost();
    }
    return m_lost;
}

void DisplayLossGuard::Lost() {
    if (m_lost) {
        return;
    }
    m_lost = true;
    if (m_onLost) {
        m_onLost(NameOf(m_display));
    }
}

}  // namespace DuiLib::sdl
