#include "duilib/render/sdl/display_layout.h"

#include <SDL.h>

#include <vector>

#include "platform/desktop.h"

namespace DuiLib::sdl {
namespace {

RECT ToRect(const SDL_Rect& rc) {
    return RECT{rc.x, rc.y, rc.x + rc.w, rc.y + rc.h};
}

}  // namespace

bool ReadDisplayLayout() {
    std::vector<platform::MonitorArea> monitors;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{};
        SDL_Rect usable{};
        if (SDL_GetDisplayBounds(i, &bounds) != 0) {
            continue;
        }
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0) {
            usable = bounds;
        }
        monitors.push_back(platform::MonitorArea{ToRect(bounds), ToRect(usable)});
    }
    if (monitors.empty() || monitors == platform::GetMonitors()) {
        return false;
    }
    platform::SetMonitors(std::move(monitors));
    return true;
}

}  // namespace DuiLib::sdl
