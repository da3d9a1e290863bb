#pragma once
// What the pixel layers share: rows of 32-bit surfaces, the rounded division by 255 and
// the blend of one colour over another, and the part of a target a placed image reaches.
// Internal to the SDL renderer.

#include <SDL.h>

#include <algorithm>
#include <cstdint>

#include "duilib/render/sdl/pixel_runs.h"

namespace DuiLib::sdl::blend {

inline const uint32_t* RowOf(const SDL_Surface* surface, int y) {
    return reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                             y * surface->pitch);
}

inline uint32_t* TargetRow(SDL_Surface* target, LONG y) {
    return reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target->pixels) + y * target->pitch);
}

// v / 255 rounded, for v up to 255 * 255, without a division.
inline uint32_t Div255(uint32_t v) {
    v += 128;
    return (v + (v >> 8)) >> 8;
}

// Div255 of the two 16-bit lanes of `v` at once (each lane at most 255 * 255).
inline uint32_t Div255Lanes(uint32_t v) {
    v += 0x00800080u;
    return ((v + ((v >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// `over` laid on `under` at `a` of 255, channel by channel (Div255 rounding); the alpha
// byte is dropped. Red and blue share one multiplication, as two 16-bit lanes.
inline uint32_t Mix(uint32_t under, uint32_t over, uint32_t a) {
    const uint32_t keep = 255 - a;
    const uint32_t redBlue = Div255Lanes((under & 0x00FF00FFu) * keep + (over & 0x00FF00FFu) * a);
    const uint32_t green = Div255(((under >> 8) & 0xFF) * keep + ((over >> 8) & 0xFF) * a);
    return redBlue | (green << 8);
}

// The part of the target that a `width` x `height` image placed by `placement` may touch.
inline RECT Reach(const SDL_Surface* target, int width, int height, const RunPlacement& placement) {
    const POINT o = placement.origin;
    return RECT{std::max({placement.area.left, o.x, 0}), std::max({placement.area.top, o.y, 0}),
                std::min({placement.area.right, o.x + width, target->w}),
                std::min({placement.area.bottom, o.y + height, target->h})};
}

}  // namespace DuiLib::sdl::blend
