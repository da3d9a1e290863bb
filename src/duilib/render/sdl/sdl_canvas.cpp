#include "duilib/render/sdl/sdl_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace DuiLib::sdl {
namespace {

SDL_Rect ToSdl(const RECT& rc) {
    return SDL_Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
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

// v / 255 rounded, for v up to 255 * 255, without a division.
inline uint32_t Div255(uint32_t v) {
    v += 128;
    return (v + (v >> 8)) >> 8;
}

}  // namespace

bool IsOpaque(SDL_Surface* image) {
    // The image cache marks fully opaque images when it decodes them.
    return image != nullptr && image->userdata == kOpaqueMark;
}

bool IsEmpty(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

Canvas::Canvas(SDL_Surface* target) : m_target(target) {
    if (target != nullptr) {
        m_renderer.reset(SDL_CreateSoftwareRenderer(target));
    }
    if (m_renderer) {
        SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_BLEND);
    }
}

void Canvas::Clear(uint32_t argb) {
    if (!IsValid()) {
        return;
    }
    SDL_RenderSetClipRect(m_renderer.get(), nullptr);
    const SDL_Color c = ToSdlColor(argb);
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(m_renderer.get(), c.r, c.g, c.b, c.a);
    SDL_RenderClear(m_renderer.get());
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_BLEND);
    ApplyClip();
}

void Canvas::Clear(uint32_t argb, const RECT& rc) {
    if (!IsValid() || IsClippedOut(rc)) {
        return;
    }
    const SDL_Color c = ToSdlColor(argb);
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(m_renderer.get(), c.r, c.g, c.b, c.a);
    const SDL_Rect rect = ToSdl(rc);
    SDL_RenderFillRect(m_renderer.get(), &rect);
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_BLEND);
}

void Canvas::PushClip(const RECT& rc) {
    m_clips.push_back(m_clips.empty() ? rc : Intersect(m_clips.back(), rc));
    ApplyClip();
}

void Canvas::PopClip() {
    if (!m_clips.empty()) {
        m_clips.pop_back();
    }
    ApplyClip();
}

bool Canvas::IsClippedOut(const RECT& rc) const {
    if (IsEmpty(rc)) {
        return true;
    }
    return !m_clips.empty() && IsEmpty(Intersect(m_clips.back(), rc));
}

void Canvas::ApplyClip() {
    if (!IsValid()) {
        return;
    }
    if (m_clips.empty()) {
        SDL_RenderSetClipRect(m_renderer.get(), nullptr);
        return;
    }
    RECT clip = m_clips.back();
    if (IsEmpty(clip)) {
        clip = RECT{-1, -1, 0, 0};  // nothing may be drawn
    }
    const SDL_Rect rect = ToSdl(clip);
    SDL_RenderSetClipRect(m_renderer.get(), &rect);
}

void Canvas::FillRect(const RECT& rc, uint32_t argb) {
    if (!IsValid() || (argb >> 24) == 0 || IsClippedOut(rc)) {
        return;
    }
    const SDL_Color c = ToSdlColor(argb);
    SDL_SetRenderDrawColor(m_renderer.get(), c.r, c.g, c.b, c.a);
    const SDL_Rect rect = ToSdl(rc);
    SDL_RenderFillRect(m_renderer.get(), &rect);
}

void Canvas::FrameRect(const RECT& rc, int size, uint32_t argb) {
    if (size <= 0 || IsEmpty(rc)) {
        return;
    }
    size = std::min<int>(size, std::min(rc.right - rc.left, rc.bottom - rc.top) / 2 + 1);
    FillRect(RECT{rc.left, rc.top, rc.right, rc.top + size}, argb);
    FillRect(RECT{rc.left, rc.bottom - size, rc.right, rc.bottom}, argb);
    FillRect(RECT{rc.left, rc.top + size, rc.left + size, rc.bottom - size}, argb);
    FillRect(RECT{rc.right - size, rc.top + size, rc.right, rc.bottom - size}, argb);
}

SDL_Texture* Canvas::TextureFor(SDL_Surface* image) {
    auto it = m_textures.find(image);
    if (it != m_textures.end()) {
        return it->second.get();
    }
    TexturePtr texture{SDL_CreateTextureFromSurface(m_renderer.get(), image)};
    if (texture) {
        SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
        SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeLinear);
    }
    SDL_Texture* result = texture.get();
    m_textures.emplace(image, std::move(texture));
    return result;
}

void Canvas::Copy(SDL_Texture* texture, const RECT& src, const RECT& dst) {
    if (IsEmpty(src) || IsEmpty(dst) || IsClippedOut(dst)) {
        return;
    }
    const SDL_Rect s = ToSdl(src);
    const SDL_Rect d = ToSdl(dst);
    SDL_RenderCopy(m_renderer.get(), texture, &s, &d);
}

void Canvas::DrawImage(SDL_Surface* image, const NineSlice& slice, const RECT& dest, uint8_t alpha,
                       uint32_t tint) {
    if (!IsValid() || image == nullptr || alpha == 0 || IsClippedOut(dest)) {
        return;
    }
    RECT source = Intersect(slice.source, RECT{0, 0, image->w, image->h});
    if (IsEmpty(source)) {
        return;
    }
    // A stretched image (nine-sliced or not) is composed once per size (key buttons share
    // one) and then copied pixel for pixel: a stretch cut by the clip would sample other
    // source pixels, and a window drawn in parts must equal one drawn whole.
    bool sliced = dest.right - dest.left != source.right - source.left ||
                  dest.bottom - dest.top != source.bottom - source.top;
    SDL_Texture* texture = sliced ? SlicedTexture(image, source, slice, dest) : nullptr;
    if (texture == nullptr) {
        sliced = false;
        texture = TextureFor(image);
    }
    if (texture == nullptr) {
        return;
    }
    const SDL_Color t = ToSdlColor(tint);
    // An image without transparency that is drawn as it is needs no blending.
    const bool plain = alpha == 255 && tint == 0xFFFFFFFF && IsOpaque(image);
    SDL_SetTextureBlendMode(texture, plain ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(texture, alpha);
    SDL_SetTextureColorMod(texture, t.r, t.g, t.b);
    if (sliced) {
        Copy(texture, RECT{0, 0, dest.right - dest.left, dest.bottom - dest.top}, dest);
    } else {
        Copy(texture, source, dest);
    }
    SDL_SetTextureAlphaMod(texture, 255);
    SDL_SetTextureColorMod(texture, 255, 255, 255);
}

namespace {

// Names a composition: the image, the part of it, its slices and the size it is drawn at.
std::string SliceKey(SDL_Surface* image, const RECT& source, const NineSlice& slice,
                     const RECT& dest) {
    auto rect = [](const RECT& rc) {
        return std::to_string(rc.left) + ',' + std::to_string(rc.top) + ',' +
               std::to_string(rc.right) + ',' + std::to_string(rc.bottom) + '|';
    };
    return std::to_string(reinterpret_cast<uintptr_t>(image)) + '|' + rect(source) +
           rect(slice.corner) + rect(slice.cornerDest) + std::to_string(dest.right - dest.left) +
           'x' + std::to_string(dest.bottom - dest.top);
}

}  // namespace

SDL_Surface* Canvas::ComposedSurface(SDL_Surface* image, const RECT& source, const NineSlice& slice,
                                     const RECT& dest) {
    const std::string key = SliceKey(image, source, slice, dest);
    auto it = m_composed.find(key);
    if (it != m_composed.end()) {
        return it->second.get();
    }
    const int width = dest.right - dest.left;
    const int height = dest.bottom - dest.top;
    if (width <= 0 || height <= 0 || image->format->format != SDL_PIXELFORMAT_ARGB8888) {
        return nullptr;
    }
    SurfacePtr composed{
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888)};
    if (!composed) {
        return nullptr;
    }
    const auto sx = Bands(source.left, source.right, slice.corner.left, slice.corner.right);
    const auto sy = Bands(source.top, source.bottom, slice.corner.top, slice.corner.bottom);
    const auto dx = Bands(0, width, slice.cornerDest.left, slice.cornerDest.right);
    const auto dy = Bands(0, height, slice.cornerDest.top, slice.cornerDest.bottom);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const RECT s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
            const RECT d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
            if (IsEmpty(s) || IsEmpty(d)) {
                continue;
            }
            SDL_Rect from = ToSdl(s);
            SDL_Rect to = ToSdl(d);
            // Pixels are copied as they are (alpha included): blending comes later.
            SDL_SoftStretchLinear(image, &from, composed.get(), &to);
        }
    }
    // Sizes come and go with the DPI: a full cache starts again.
    constexpr size_t kMaxComposed = 256;
    if (m_composed.size() >= kMaxComposed) {
        m_composed.clear();
        m_cached.clear();  // textures of the same key were made from them
    }
    SDL_Surface* result = composed.get();
    m_composed.emplace(key, std::move(composed));
    return result;
}

SDL_Texture* Canvas::SlicedTexture(SDL_Surface* image, const RECT& source, const NineSlice& slice,
                                   const RECT& dest) {
    return CachedTexture("slice|" + SliceKey(image, source, slice, dest), [&]() -> SurfacePtr {
        SDL_Surface* composed = ComposedSurface(image, source, slice, dest);
        return SurfacePtr{composed != nullptr ? SDL_DuplicateSurface(composed) : nullptr};
    });
}

bool Canvas::DrawShape(SDL_Surface* image, const NineSlice& slice, const RECT& dest, uint8_t alpha,
                       uint32_t rgb) {
    if (!IsValid() || image == nullptr || image->format->format != SDL_PIXELFORMAT_ARGB8888 ||
        m_target->format->format != SDL_PIXELFORMAT_ARGB8888) {
        return false;
    }
    const RECT source = Intersect(slice.source, RECT{0, 0, image->w, image->h});
    if (alpha == 0 || IsEmpty(source) || IsClippedOut(dest)) {
        return true;
    }
    const bool stretched = dest.right - dest.left != source.right - source.left ||
                           dest.bottom - dest.top != source.bottom - source.top;
    SDL_Surface* shape = stretched ? ComposedSurface(image, source, slice, dest) : image;
    if (shape == nullptr) {
        return false;
    }
    // Where the shape's pixel (0, 0) lies on the target.
    const POINT origin = stretched ? POINT{dest.left, dest.top}
                                   : POINT{dest.left - source.left, dest.top - source.top};
    RECT area = Intersect(dest, RECT{0, 0, m_target->w, m_target->h});
    if (!m_clips.empty()) {
        area = Intersect(area, m_clips.back());
    }
    if (IsEmpty(area)) {
        return true;
    }
    SDL_RenderFlush(m_renderer.get());  // what the renderer drew lies beneath
    const uint32_t r = (rgb >> 16) & 0xFF;
    const uint32_t g = (rgb >> 8) & 0xFF;
    const uint32_t b = rgb & 0xFF;
    for (LONG y = area.top; y < area.bottom; ++y) {
        const auto* from = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(shape->pixels) + (y - origin.y) * shape->pitch);
        auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(m_target->pixels) +
                                               y * m_target->pitch);
        for (LONG x = area.left; x < area.right; ++x) {
            const uint32_t a = Div255((from[x - origin.x] >> 24) * alpha);
            const uint32_t d = to[x];
            to[x] = 0xFF000000u | (Div255(((d >> 16) & 0xFF) * (255 - a) + r * a) << 16) |
                    (Div255(((d >> 8) & 0xFF) * (255 - a) + g * a) << 8) |
                    Div255((d & 0xFF) * (255 - a) + b * a);
        }
    }
    return true;
}

SDL_Texture* Canvas::CachedTexture(const std::string& key,
                                   const std::function<SurfacePtr()>& render) {
    auto it = m_cached.find(key);
    if (it != m_cached.end()) {
        return it->second.get();
    }
    if (!IsValid()) {
        return nullptr;
    }
    // Texts come and go (values, languages): a full cache starts again.
    constexpr size_t kMaxCached = 2048;
    if (m_cached.size() >= kMaxCached) {
        m_cached.clear();
    }
    SurfacePtr surface = render();
    TexturePtr texture;
    if (surface) {
        texture.reset(SDL_CreateTextureFromSurface(m_renderer.get(), surface.get()));
    }
    if (texture) {
        SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
    }
    SDL_Texture* result = texture.get();
    m_cached.emplace(key, std::move(texture));
    return result;
}

void Canvas::DrawTexture(SDL_Texture* texture, int x, int y) {
    int w = 0;
    int h = 0;
    if (!IsValid() || texture == nullptr ||
        SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0) {
        return;
    }
    Copy(texture, RECT{0, 0, w, h}, RECT{x, y, x + w, y + h});
}

void Canvas::FillRing(POINT centre, int outer, int inner, double startDeg, double sweepDeg,
                      uint32_t argb) {
    if (!IsValid() || outer <= 0 || (argb >> 24) == 0 || sweepDeg <= 0) {
        return;
    }
    inner = std::clamp(inner, 0, outer);
    sweepDeg = std::min(sweepDeg, 360.0);
    const int steps = std::max(4, static_cast<int>(sweepDeg / 4));
    const SDL_Color c = ToSdlColor(argb);
    std::vector<SDL_Vertex> vertices;
    vertices.reserve(static_cast<size_t>(steps) * 6);
    auto at = [&](double deg, int radius) {
        const double rad = (deg - 90.0) * M_PI / 180.0;
        return SDL_Vertex{SDL_FPoint{static_cast<float>(centre.x + radius * std::cos(rad)),
                                     static_cast<float>(centre.y + radius * std::sin(rad))},
                          c, SDL_FPoint{0, 0}};
    };
    for (int i = 0; i < steps; ++i) {
        const double a0 = startDeg + sweepDeg * i / steps;
        const double a1 = startDeg + sweepDeg * (i + 1) / steps;
        const SDL_Vertex o0 = at(a0, outer), o1 = at(a1, outer);
        const SDL_Vertex i0 = at(a0, inner), i1 = at(a1, inner);
        vertices.insert(vertices.end(), {o0, o1, i0, i0, o1, i1});
    }
    SDL_RenderGeometry(m_renderer.get(), nullptr, vertices.data(),
                       static_cast<int>(vertices.size()), nullptr, 0);
}

}  // namespace DuiLib::sdl
