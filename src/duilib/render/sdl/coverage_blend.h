#pragma once
// Lays an image of one colour whose alpha is all it has to say (a text as the rasteriser
// gives it: the glyphs' coverage) onto a 32-bit xRGB target, four pixels at a time. The
// pixels come out exactly as DrawPixels lays them; the legends of a keyboard picture are
// laid this way 20 times a second.

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "duilib/render/sdl/pixel_runs.h"

namespace DuiLib::sdl {

// `image` (ARGB8888) is `rgb` wherever it is not clear; `placement` has no tint.
void DrawCoverage(SDL_Surface* target, const SDL_Surface* image, uint32_t rgb,
                  const RunPlacement& placement);

// Such an image kept as its colour and one byte of coverage a pixel: a quarter of the
// memory a frame reads for it. A frame comes after the UI thread slept, when what it
// reads is mostly out of the processor's caches, and a keyboard has a hundred legends.
class Coverage {
  public:
    // Null when `runs` (the image's) do not make it a coverage.
    static std::unique_ptr<Coverage> Of(const SDL_Surface* image, const PixelRuns& runs);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    uint32_t Rgb() const { return m_rgb; }
    const uint8_t* Row(int y) const { return m_alpha.data() + static_cast<size_t>(y) * m_width; }

  private:
    Coverage(int width, int height, uint32_t rgb) : m_width(width), m_height(height), m_rgb(rgb) {}

    int m_width;
    int m_height;
    uint32_t m_rgb;
    std::vector<uint8_t> m_alpha;
};

// The same as DrawCoverage of the image `coverage` was taken from.
void DrawCoverage(SDL_Surface* target, const Coverage& coverage, const RunPlacement& placement);

}  // namespace DuiLib::sdl
