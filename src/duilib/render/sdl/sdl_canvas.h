#pragma once
// Drawing onto one window's 32-bit surface with SDL's software renderer: the same pixels
// whether they go to a window on the desktop or to a PNG file, and no display needed.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "duilib/render/sdl/sdl_handles.h"
#include "platform/win_types.h"

namespace DuiLib::sdl {

struct NineSlice {
    RECT source{};      // part of the image, in image pixels
    RECT corner{};      // fixed borders of that part, in image pixels
    RECT cornerDest{};  // the same borders on the target, in target pixels
};

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
    // A texture kept under `key` (made by `render` the first time); null when none can be
    // made. Texts are drawn from here so an unchanged text is rasterised once.
    SDL_Texture* CachedTexture(const std::string& key, const std::function<SurfacePtr()>& render);
    // Blends a whole texture with its top-left corner at (x, y).
    void DrawTexture(SDL_Texture* texture, int x, int y);
    // A ring segment from `startDeg` (0 = up, clockwise) over `sweepDeg` degrees.
    void FillRing(POINT centre, int outer, int inner, double startDeg, double sweepDeg,
                  uint32_t argb);
    // Forgets textures made from images (the image cache was cleared).
    void DropTextures() { m_textures.clear(); }

  private:
    SDL_Texture* TextureFor(SDL_Surface* image);
    SDL_Texture* SlicedTexture(SDL_Surface* image, const RECT& source, const NineSlice& slice,
                               const RECT& dest);
    // `image`'s part `source` stretched to the size of `dest` by its nine slices; kept.
    SDL_Surface* ComposedSurface(SDL_Surface* image, const RECT& source, const NineSlice& slice,
                                 const RECT& dest);
    void Copy(SDL_Texture* texture, const RECT& src, const RECT& dst);
    void ApplyClip();

    SDL_Surface* m_target;
    RendererPtr m_renderer;
    std::vector<RECT> m_clips;
    std::map<SDL_Surface*, TexturePtr> m_textures;
    std::map<std::string, TexturePtr> m_cached;
    std::map<std::string, SurfacePtr> m_composed;
};

// Set as the userdata of decoded images that have no transparent pixel.
inline void* const kOpaqueMark = const_cast<char*>("opaque");
bool IsOpaque(SDL_Surface* image);
bool IsEmpty(const RECT& rc);
RECT Intersect(const RECT& a, const RECT& b);

}  // namespace DuiLib::sdl
