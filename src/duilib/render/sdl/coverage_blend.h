#pragma once
// Lays an image of one colour whose alpha is all it has to say (a text as the rasteriser
// gives it: the glyphs' coverage) onto a 32-bit xRGB target, four pixels at a time. The
// pixels come out exactly as DrawPixels lays them; the legends of a keyboard picture are
// laid this way 20 times a second.

#include <SDL.h>

#include <cstdint>

#include "duilib/render/sdl/pixel_runs.h"

namespace DuiLib::sdl {

// `image` (ARGB8888) is `rgb` wherever it is not clear; `placement` has no tint.
void DrawCoverage(SDL_Surface* target, const SDL_Surface* image, uint32_t rgb,
                  const RunPlacement& placement);

}  // namespace DuiLib::sdl
