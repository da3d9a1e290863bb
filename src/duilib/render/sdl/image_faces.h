#pragma once
// Images as they are drawn: a part of a skin image at one size, composed once from its
// nine slices (the key buttons of a keyboard share one) and kept with what it is drawn
// from: its runs of equal pixels or, for images that have few, an SDL texture.

#include <map>
#include <memory>
#include <tuple>

#include "duilib/render/sdl/pixel_runs.h"
#include "duilib/render/sdl/sdl_handles.h"

namespace DuiLib::sdl {

struct NineSlice {
    RECT source{};      // part of the image, in image pixels
    RECT corner{};      // fixed borders of that part, in image pixels
    RECT cornerDest{};  // the same borders on the target, in target pixels
};

// One image part at one size. Its pixels are copied as they are, alpha included:
// blending happens when the face is drawn.
class ImageFace {
  public:
    explicit ImageFace(SurfacePtr pixels) : m_pixels(std::move(pixels)) {}
    SDL_Surface* Pixels() const { return m_pixels.get(); }
    // Null when the face has too many runs to be drawn from them.
    const PixelRuns* Runs();
    // Null when none can be made.
    SDL_Texture* Texture(SDL_Renderer* renderer);
    // Whether every pixel of `rc` (within the face) is opaque; false when the face is not
    // flat. The last answer is kept: a key asks it of its face on every frame.
    bool IsOpaqueOver(const RECT& rc);

  private:
    SurfacePtr m_pixels;
    std::unique_ptr<PixelRuns> m_runs;
    bool m_runsMade = false;
    TexturePtr m_texture;
    RECT m_opaqueAsked{};
    bool m_opaqueAnswer = false;
    bool m_opaqueKnown = false;
};

class ImageFaces {
  public:
    // Sizes come and go with the DPI and the window's size: a full cache starts again.
    static constexpr size_t kMaxFaces = 256;

    // `image`'s part `slice.source` (within the image) at `size`; null when it cannot be
    // made (not 32-bit ARGB, or no size).
    ImageFace* Get(SDL_Surface* image, const NineSlice& slice, SIZE size);
    size_t Count() const { return m_faces.size(); }

  private:
    struct Key {
        SDL_Surface* image;
        RECT source;
        RECT corner;
        RECT cornerDest;
        SIZE size;
        auto Tie() const {
            return std::tie(image, source.left, source.top, source.right, source.bottom,
                            corner.left, corner.top, corner.right, corner.bottom, cornerDest.left,
                            cornerDest.top, cornerDest.right, cornerDest.bottom, size.cx, size.cy);
        }
        friend bool operator<(const Key& a, const Key& b) { return a.Tie() < b.Tie(); }
        friend bool operator==(const Key& a, const Key& b) { return a.Tie() == b.Tie(); }
    };

    std::map<Key, ImageFace> m_faces;
    // The face last asked for: the keys of a keyboard share one, and the table's nodes,
    // walked for each, are out of the processor's caches on a frame.
    Key m_lastKey{};
    ImageFace* m_last = nullptr;
};

}  // namespace DuiLib::sdl
