// Kept apart: the system window headers define many short macro names.
#include "duilib/render/sdl/display_connection.h"

#include <SDL_syswm.h>

namespace DuiLib::sdl {

int DisplayConnectionFd(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
        info.subsystem != SDL_SYSWM_X11 || info.info.x11.display == nullptr) {
        return -1;
    }
    return ConnectionNumber(info.info.x11.display);
#else
    (void)window;
    return -1;
#endif
}

}  // namespace DuiLib::sdl
