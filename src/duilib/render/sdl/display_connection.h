#pragma once
// The descriptor of the display connection behind a desktop window (X11), or -1.

#include <SDL.h>

namespace DuiLib::sdl {

int DisplayConnectionFd(SDL_Window* window);

}  // namespace DuiLib::sdl
