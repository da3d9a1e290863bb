#pragma once
// Decoded skin images and opened fonts, kept for the life of the renderer. Files that
// cannot be read are remembered as missing so a broken skin costs one attempt per file.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "duilib/render/image_attributes.h"
#include "duilib/render/sdl/sdl_handles.h"
#include "duilib/ui_defs.h"

namespace DuiLib {
class CPaintManagerUI;
}

namespace DuiLib::sdl {

class ImageCache {
  public:
    // The image as 32-bit ARGB, or null when the file is missing or not an image.
    SDL_Surface* Get(const std::string& path);
    // The image's shape: white wherever it is, with its own transparency. Drawn with a
    // colour, it lays that colour over the image (a key's LED tint).
    SDL_Surface* Silhouette(SDL_Surface* image);

  private:
    std::map<std::string, SurfacePtr> m_images;
    std::map<SDL_Surface*, SurfacePtr> m_silhouettes;
};

// A skin image attribute read once: its parsed parts and its decoded file.
struct ResolvedImage {
    TImageAttributes attrs;
    SDL_Surface* image = nullptr;
};

class ImageResolver {
  public:
    explicit ImageResolver(ImageCache& images) : m_images(images) {}
    // Null when the attribute names nothing that loads.
    const ResolvedImage* Resolve(CPaintManagerUI& manager, const CDuiString& attribute);
    SDL_Surface* Silhouette(SDL_Surface* image) { return m_images.Silhouette(image); }

  private:
    ImageCache& m_images;
    // By attribute text, for the paths of one generation: a skin switch changes the
    // resource folder and starts the table again.
    std::map<std::wstring, ResolvedImage, std::less<>> m_resolved;
    uint64_t m_pathsGeneration = 0;
    // The attribute last looked up and its entry: the keys of a keyboard share one, and
    // the table's nodes and their texts, compared on the way to it, are out of the
    // processor's caches on a frame.
    std::wstring m_lastAttribute;
    const ResolvedImage* m_last = nullptr;
};

class FontCache {
  public:
    // The face for `info` at `pixels` that can show every character of `text`: the
    // named family first, then the program's other faces, so Chinese or Thai texts
    // still show when the skin's family lacks them. Null when no face can be opened.
    TTF_Font* Get(const TFontInfo& info, int pixels, std::u32string_view text);

  private:
    struct Key {
        std::wstring family;
        bool bold;
        int pixels;
        int style;
        friend bool operator<(const Key& a, const Key& b) {
            return std::tie(a.family, a.bold, a.pixels, a.style) <
                   std::tie(b.family, b.bold, b.pixels, b.style);
        }
    };
    struct Face {
        FontPtr font;
        std::shared_ptr<const std::vector<uint8_t>> bytes;  // memory the font reads from
    };
    TTF_Font* Open(const std::wstring& family, bool bold, int pixels, int style);
    static bool Provides(TTF_Font* font, std::u32string_view text);

    std::map<Key, Face> m_faces;
};

}  // namespace DuiLib::sdl
