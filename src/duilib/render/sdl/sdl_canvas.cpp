#include "duilib/render/sdl/sdl_canvas.h"

#include "duilib/render/sdl/coverage_blend.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace DuiLib::sdl {
namespace {

SDL_Rect ToSdl(const RECT& rc) {
    return SDL_Rect{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
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

bool Canvas::TakesRuns() const {
    // A desktop window's XRGB surface has our layout; its alpha byte is not read.
    const Uint32 format = m_target->format->format;
    return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
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
    m_clipApplied = false;
    const SDL_Color c = ToSdlColor(argb);
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(m_renderer.get(), c.r, c.g, c.b, c.a);
    SDL_RenderClear(m_renderer.get());
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_BLEND);
}

void Canvas::Clear(uint32_t argb, const RECT& rc) {
    if (!IsValid() || IsClippedOut(rc)) {
        return;
    }
    ApplyClip();
    const SDL_Color c = ToSdlColor(argb);
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(m_renderer.get(), c.r, c.g, c.b, c.a);
    const SDL_Rect rect = ToSdl(rc);
    SDL_RenderFillRect(m_renderer.get(), &rect);
    SDL_SetRenderDrawBlendMode(m_renderer.get(), SDL_BLENDMODE_BLEND);
}

void Canvas::PushClip(const RECT& rc) {
    m_clips.push_back(m_clips.empty() ? rc : Intersect(m_clips.back(), rc));
    m_clipApplied = false;
}

void Canvas::PopClip() {
    if (!m_clips.empty()) {
        m_clips.pop_back();
    }
    m_clipApplied = false;
}

bool Canvas::IsClippedOut(const RECT& rc) const {
    if (IsEmpty(rc)) {
        return true;
    }
    return !m_clips.empty() && IsEmpty(Intersect(m_clips.back(), rc));
}

bool Canvas::ClipContains(const RECT& rc) const {
    const RECT target{0, 0, m_target->w, m_target->h};
    const RECT clip = m_clips.empty() ? target : Intersect(m_clips.back(), target);
    return rc.left >= clip.left && rc.top >= clip.top && rc.right <= clip.right &&
           rc.bottom <= clip.bottom;
}

void Canvas::ApplyClip() {
    if (!IsValid() || m_clipApplied) {
        return;
    }
    m_clipApplied = true;
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
    ApplyClip();
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

void Canvas::Copy(SDL_Texture* texture, const RECT& src, const RECT& dst) {
    if (IsEmpty(src) || IsEmpty(dst) || IsClippedOut(dst)) {
        return;
    }
    ApplyClip();
    const SDL_Rect s = ToSdl(src);
    const SDL_Rect d = ToSdl(dst);
    SDL_RenderCopy(m_renderer.get(), texture, &s, &d);
}

ImageFace* Canvas::FaceFor(SDL_Surface* image, const NineSlice& slice, const RECT& dest) {
    NineSlice part = slice;
    part.source = Intersect(slice.source, RECT{0, 0, image->w, image->h});
    if (IsEmpty(part.source)) {
        return nullptr;
    }
    // Composed once per size (key buttons share one) and then copied pixel for pixel: a
    // stretch cut by the clip would sample other source pixels, and a window drawn in parts
    // must equal one drawn whole.
    return m_faces.Get(image, part, SIZE{dest.right - dest.left, dest.bottom - dest.top});
}

bool Canvas::Place(const RECT& dest, RunPlacement* placement) {
    placement->origin = POINT{dest.left, dest.top};
    placement->area = Intersect(dest, RECT{0, 0, m_target->w, m_target->h});
    if (!m_clips.empty()) {
        placement->area = Intersect(placement->area, m_clips.back());
    }
    if (IsEmpty(placement->area)) {
        return false;
    }
    SDL_RenderFlush(m_renderer.get());
    return true;
}

void Canvas::Lay(const SDL_Surface* image, const PixelRuns* runs, const RECT& dest,
                 RunPlacement placement) {
    if (!Place(dest, &placement)) {
        return;
    }
    uint32_t rgb = 0;
    if (runs != nullptr && placement.tintAlpha == 0 && runs->IsCoverage(&rgb)) {
        DrawCoverage(m_target, image, rgb, placement);
    } else if (runs != nullptr) {
        DrawRuns(m_target, *runs, placement);
    } else {
        DrawPixels(m_target, image, placement);
    }
}

void Canvas::DrawImage(SDL_Surface* image, const NineSlice& slice, const RECT& dest, uint8_t alpha,
                       uint32_t tint) {
    if (!IsValid() || image == nullptr || alpha == 0 || IsClippedOut(dest)) {
        return;
    }
    ImageFace* face = FaceFor(image, slice, dest);
    if (face == nullptr) {
        return;
    }
    // An image without transparency that is drawn as it is needs no blending: SDL copies
    // it. Others are laid from their runs when they are flat, else blended by SDL.
    const bool plain = alpha == 255 && tint == 0xFFFFFFFF && IsOpaque(image);
    if (!plain && tint == 0xFFFFFFFF && face->Runs() != nullptr && TakesRuns()) {
        RunPlacement placement;
        placement.alpha = alpha;
        Lay(face->Pixels(), face->Runs(), dest, placement);
        return;
    }
    SDL_Texture* texture = face->Texture(m_renderer.get());
    if (texture == nullptr) {
        return;
    }
    const SDL_Color t = ToSdlColor(tint);
    SDL_SetTextureBlendMode(texture, plain ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(texture, alpha);
    SDL_SetTextureColorMod(texture, t.r, t.g, t.b);
    Copy(texture, RECT{0, 0, dest.right - dest.left, dest.bottom - dest.top}, dest);
}

bool Canvas::HidesOpaquely(SDL_Surface* image, const NineSlice& slice, const RECT& dest,
                           const RECT& part) {
    if (image == nullptr || IsEmpty(part)) {
        return false;
    }
    if (IsOpaque(image)) {
        return true;
    }
    ImageFace* face = FaceFor(image, slice, dest);
    return face != nullptr &&
           face->IsOpaqueOver(RECT{part.left - dest.left, part.top - dest.top,
                                   part.right - dest.left, part.bottom - dest.top});
}

bool Canvas::DrawShape(SDL_Surface* image, const NineSlice& slice, const RECT& dest, uint8_t alpha,
                       uint32_t rgb) {
    return DrawTintedImage(image, slice, dest, 0, rgb, alpha);
}

bool Canvas::DrawTintedImage(SDL_Surface* image, const NineSlice& slice, const RECT& dest,
                             uint8_t alpha, uint32_t rgb, uint8_t tintAlpha) {
    if (!IsValid() || image == nullptr || image->format->format != SDL_PIXELFORMAT_ARGB8888 ||
        !TakesRuns()) {
        return false;
    }
    if ((alpha == 0 && tintAlpha == 0) || IsClippedOut(dest)) {
        return true;
    }
    ImageFace* face = FaceFor(image, slice, dest);
    if (face == nullptr) {
        return true;
    }
    RunPlacement placement;
    placement.alpha = alpha;
    placement.tintRgb = rgb & 0xFFFFFF;
    placement.tintAlpha = tintAlpha;
    Lay(face->Pixels(), face->Runs(), dest, placement);
    return true;
}

void Canvas::DrawPixelsAt(const SDL_Surface* image, const PixelRuns* runs, POINT at) {
    if (!IsValid() || image == nullptr || image->format->format != SDL_PIXELFORMAT_ARGB8888 ||
        !TakesRuns()) {
        return;
    }
    Lay(image, runs, RECT{at.x, at.y, at.x + image->w, at.y + image->h}, RunPlacement{});
}

void Canvas::DrawCoverageAt(const Coverage& coverage, POINT at) {
    RunPlacement placement;
    if (IsValid() && TakesRuns() &&
        Place(RECT{at.x, at.y, at.x + coverage.Width(), at.y + coverage.Height()}, &placement)) {
        DrawCoverage(m_target, coverage, placement);
    }
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
    ApplyClip();
    SDL_RenderGeometry(m_renderer.get(), nullptr, vertices.data(),
                       static_cast<int>(vertices.size()), nullptr, 0);
}

}  // namespace DuiLib::sdl
