#pragma once
// Drawing onto one window's 32-bit surface with SDL's software renderer: the same pixels
// whether they go to a window on the desktop or to a PNG file, and no display needed.

#include <vector>

#include "duilib/render/sdl/coverage_blend.h"
#include "duilib/render/sdl/image_faces.h"
#include "duilib/render/sdl/sdl_handles.h"
#include "platform/win_types.h"

namespace DuiLib::sdl {

class Canvas {
  public:
    // `target` must outlive the canvas; the canvas never frees it.
    explicit Canvas(SDL_Surface* target);
    bool IsValid() const { return m_renderer != nullptr; }
    SDL_Surface* Target() const { return m_target; }

    void Clear(uint32_t argb);
    // Sets every pixel of `rc` to `argb`, blending nothing.
    void Clear(uint32_t argb, const RECT& rc);
    // Clipping nests: each push narrows to the intersection with the current clip.
    void PushClip(const RECT& rc);
    void PopClip();
    bool IsClippedOut(const RECT& rc) const;
    // Whether all of `rc` may be drawn on.
    bool ClipContains(const RECT& rc) const;

    void FillRect(const RECT& rc, uint32_t argb);
    void FrameRect(const RECT& rc, int size, uint32_t argb);
    // Blends `image` (kept by the image cache, which outlives the canvas) into `dest`,
    // stretching its centre and keeping its corners; `tint` multiplies the colours.
    void DrawImage(SDL_Surface* image, const NineSlice& slice, const RECT& dest, uint8_t alpha,
                   uint32_t tint = 0xFFFFFFFF);
    // Lays the colour `rgb` over `dest` through the shape (the alpha) of `image` drawn
    // there as DrawImage would, at `alpha`: an LED's tint on its key. Blended here rather
    // than by SDL's modulating blit, which costs several times more and runs for every
    // key of an animated keyboard. False when the image has no 32-bit pixels.
    bool DrawShape(SDL_Surface* image, const NineSlice& slice, const RECT& dest, uint8_t alpha,
                   uint32_t rgb);
    // DrawImage at `alpha`, then DrawShape of the same image at `tintAlpha`, in one pass:
    // where the key's face is opaque its tinted colour is one fill. False when the image
    // has no 32-bit pixels.
    bool DrawTintedImage(SDL_Surface* image, const NineSlice& slice, const RECT& dest,
                         uint8_t alpha, uint32_t rgb, uint8_t tintAlpha);
    // Whether `image` drawn as DrawImage would at `dest` (at full alpha) leaves no pixel of
    // `part` (within `dest`) showing what lies beneath.
    bool HidesOpaquely(SDL_Surface* image, const NineSlice& slice, const RECT& dest,
                       const RECT& part);
    // Blends a whole ARGB8888 image (drawn from `runs` when given) with its top-left
    // corner at `at`.
    void DrawPixelsAt(const SDL_Surface* image, const PixelRuns* runs, POINT at);
    // The same for an image kept as its coverage.
    void DrawCoverageAt(const Coverage& coverage, POINT at);
    // A ring segment from `startDeg` (0 = up, clockwise) over `sweepDeg` degrees.
    void FillRing(POINT centre, int outer, int inner, double startDeg, double sweepDeg,
                  uint32_t argb);

  private:
    // Whether the target's pixels are 32-bit xRGB, which the runs of images and texts are
    // laid onto directly.
    bool TakesRuns() const;
    // `image`'s part `slice.source` at the size of `dest`; null when it cannot be made.
    ImageFace* FaceFor(SDL_Surface* image, const NineSlice& slice, const RECT& dest);
    // Blends `image` (or its `runs`) at `dest` by `placement`, whose origin and area are
    // filled in here.
    void Lay(const SDL_Surface* image, const PixelRuns* runs, const RECT& dest,
             RunPlacement placement);
    // Fills in where an image drawn at `dest` lands and what of the target it may touch;
    // false when nothing. What SDL drew is laid down first: it lies beneath.
    bool Place(const RECT& dest, RunPlacement* placement);
    void Copy(SDL_Texture* texture, const RECT& src, const RECT& dst);
    // Hands the current clip to SDL before SDL draws; pixels drawn here clip themselves.
    void ApplyClip();

    SDL_Surface* m_target;
    RendererPtr m_renderer;
    std::vector<RECT> m_clips;
    bool m_clipApplied = false;  // SDL's clip is the current one
    ImageFaces m_faces;
};

// Set as the userdata of decoded images that have no transparent pixel.
inline void* const kOpaqueMark = const_cast<char*>("opaque");
bool IsOpaque(SDL_Surface* image);
bool IsEmpty(const RECT& rc);
RECT Intersect(const RECT& a, const RECT& b);

}  // namespace DuiLib::sdl
