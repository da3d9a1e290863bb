#include "duilib/render/sdl/image_faces.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace DuiLib::sdl {
namespace {

SDL_Rect ToSdl(const RECT& rc) {
    return SDL_Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

bool IsEmptyRect(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

// Splits [lo, hi) into three parts with fixed ends `a` and `b`; the ends shrink
// proportionally when the span is too small for both.
std::array<LONG, 4> Bands(LONG lo, LONG hi, LONG a, LONG b) {
    const LONG span = std::max<LONG>(0, hi - lo);
    if (a + b > span && a + b > 0) {
        a = static_cast<LONG>(static_cast<long long>(a) * span / (a + b));
        b = span - a;
    }
    return {lo, lo + a, hi - b, hi};
}

void CopyPart(SDL_Surface* image, const RECT& source, SDL_Surface* to) {
    const size_t bytes = static_cast<size_t>(source.right - source.left) * 4;
    for (LONG y = source.top; y < source.bottom; ++y) {
        std::memcpy(static_cast<uint8_t*>(to->pixels) + (y - source.top) * to->pitch,
                    static_cast<const uint8_t*>(image->pixels) + y * image->pitch +
                        static_cast<size_t>(source.left) * 4,
                    bytes);
    }
}

void StretchSlices(SDL_Surface* image, const NineSlice& slice, SDL_Surface* to) {
    const RECT& source = slice.source;
    const auto sx = Bands(source.left, source.right, slice.corner.left, slice.corner.right);
    const auto sy = Bands(source.top, source.bottom, slice.corner.top, slice.corner.bottom);
    const auto dx = Bands(0, to->w, slice.cornerDest.left, slice.cornerDest.right);
    const auto dy = Bands(0, to->h, slice.cornerDest.top, slice.cornerDest.bottom);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const RECT s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
            const RECT d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
            if (IsEmptyRect(s) || IsEmptyRect(d)) {
                continue;
            }
            SDL_Rect from = ToSdl(s);
            SDL_Rect onto = ToSdl(d);
            SDL_SoftStretchLinear(image, &from, to, &onto);
        }
    }
}

}  // namespace

const PixelRuns* ImageFace::Runs() {
    if (!m_runsMade) {
        m_runsMade = true;
        m_runs = PixelRuns::Of(m_pixels.get());
    }
    return m_runs.get();
}

SDL_Texture* ImageFace::Texture(SDL_Renderer* renderer) {
    if (!m_texture && renderer != nullptr) {
        m_texture.reset(SDL_CreateTextureFromSurface(renderer, m_pixels.get()));
    }
    return m_texture.get();
}

bool ImageFace::IsOpaqueOver(const RECT& rc) {
    const bool same = m_opaqueKnown && rc.left == m_opaqueAsked.left &&
                      rc.top == m_opaqueAsked.top && rc.right == m_opaqueAsked.right &&
                      rc.bottom == m_opaqueAsked.bottom;
    if (!same) {
        const PixelRuns* runs = Runs();
        m_opaqueAnswer = runs != nullptr && runs->IsOpaqueOver(rc);
        m_opaqueAsked = rc;
        m_opaqueKnown = true;
    }
    return m_opaqueAnswer;
}

ImageFace* ImageFaces::Get(SDL_Surface* image, const NineSlice& slice, SIZE size) {
    const Key key{image, slice.source, slice.corner, slice.cornerDest, size};
    if (m_last != nullptr && key == m_lastKey) {
        return m_last;
    }
    auto it = m_faces.find(key);
    if (it != m_faces.end()) {
        m_lastKey = key;
        m_last = &it->second;
        return m_last;
    }
    if (size.cx <= 0 || size.cy <= 0 || IsEmptyRect(slice.source) ||
        image->format->format != SDL_PIXELFORMAT_ARGB8888) {
        return nullptr;
    }
    SurfacePtr pixels{
        SDL_CreateRGBSurfaceWithFormat(0, size.cx, size.cy, 32, SDL_PIXELFORMAT_ARGB8888)};
    if (!pixels) {
        return nullptr;
    }
    if (size.cx == slice.source.right - slice.source.left &&
        size.cy == slice.source.bottom - slice.source.top) {
        CopyPart(image, slice.source, pixels.get());
    } else {
        StretchSlices(image, slice, pixels.get());
    }
    if (m_faces.size() >= kMaxFaces) {
        m_faces.clear();
    }
    m_lastKey = key;
    m_last = &m_faces.emplace(key, ImageFace(std::move(pixels))).first->second;
    return m_last;
}

}  // namespace DuiLib::sdl
