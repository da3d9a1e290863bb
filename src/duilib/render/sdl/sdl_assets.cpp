#include "duilib/render/sdl/sdl_assets.h"

#include <SDL_image.h>

#include <algorithm>
#include <array>
#include <cwctype>

#include "duilib/paint_manager.h"
#include "duilib/render/sdl/sdl_canvas.h"
#include "platform/paths.h"
#include "platform/private_fonts.h"
#include "platform/text_convert.h"

namespace DuiLib::sdl {
namespace {

// Faces tried, in order, after the requested family.
constexpr std::array<const wchar_t*, 3> kFallbackFamilies = {L"DejaVu Sans", L"WenQuanYi Micro Hei",
                                                             L"Noto Sans Thai"};

// Files of the program's Font/ folder (and the system's copies) for the families above,
// used when the private fonts were not registered (tests, or a run without Font/).
struct FaceFile {
    const wchar_t* family;
    bool bold;
    const char* file;
};
constexpr std::array<FaceFile, 4> kFaceFiles = {{
    {L"DejaVu Sans", false, "DejaVuSans.ttf"},
    {L"DejaVu Sans", true, "DejaVuSans-Bold.ttf"},
    {L"WenQuanYi Micro Hei", false, "wqy-microhei.ttc"},
    {L"Noto Sans Thai", false, "NotoSansThai-Regular.ttf"},
}};
constexpr std::array<const char*, 3> kSystemFontDirs = {"/usr/share/fonts/truetype/dejavu/",
                                                        "/usr/share/fonts/truetype/wqy/",
                                                        "/usr/share/fonts/truetype/noto/"};

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

TTF_Font* OpenFile(const std::string& path, int pixels) {
    return TTF_OpenFont(path.c_str(), pixels);
}

TTF_Font* OpenFaceFile(const std::wstring& family, bool bold, int pixels) {
    const std::wstring wanted = Lower(family);
    for (const FaceFile& face : kFaceFiles) {
        if (Lower(face.family) != wanted || face.bold != bold) {
            continue;
        }
        if (TTF_Font* font = OpenFile(platform::InstancePath() + "Font/" + face.file, pixels)) {
            return font;
        }
        for (const char* dir : kSystemFontDirs) {
            if (TTF_Font* font = OpenFile(std::string(dir) + face.file, pixels)) {
                return font;
            }
        }
    }
    return nullptr;
}

bool HasNoTransparency(SDL_Surface* argb) {
    for (int y = 0; y < argb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + y * argb->pitch);
        for (int x = 0; x < argb->w; ++x) {
            if ((row[x] >> 24) != 0xFF) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

SDL_Surface* ImageCache::Get(const std::string& path) {
    auto it = m_images.find(path);
    if (it != m_images.end()) {
        return it->second.get();
    }
    SurfacePtr converted;
    if (SurfacePtr loaded{IMG_Load(path.c_str())}) {
        converted.reset(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    }
    if (converted && HasNoTransparency(converted.get())) {
        converted->userdata = kOpaqueMark;
    }
    SDL_Surface* result = converted.get();
    m_images.emplace(path, std::move(converted));
    return result;
}

SDL_Surface* ImageCache::Silhouette(SDL_Surface* image) {
    if (image == nullptr || image->format->format != SDL_PIXELFORMAT_ARGB8888) {
        return nullptr;
    }
    auto it = m_silhouettes.find(image);
    if (it != m_silhouettes.end()) {
        return it->second.get();
    }
    SurfacePtr shape{
        SDL_CreateRGBSurfaceWithFormat(0, image->w, image->h, 32, SDL_PIXELFORMAT_ARGB8888)};
    if (shape) {
        for (int y = 0; y < image->h; ++y) {
            const auto* from = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(image->pixels) + y * image->pitch);
            auto* to = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(shape->pixels) +
                                                   y * shape->pitch);
            for (int x = 0; x < image->w; ++x) {
                to[x] = (from[x] & 0xFF000000u) | 0x00FFFFFFu;
            }
        }
    }
    SDL_Surface* result = shape.get();
    m_silhouettes.emplace(image, std::move(shape));
    return result;
}

const ResolvedImage* ImageResolver::Resolve(CPaintManagerUI& manager, const CDuiString& attribute) {
    if (attribute.IsEmpty()) {
        return nullptr;
    }
    const uint64_t generation = CPaintManagerUI::GetPathsGeneration();
    if (generation != m_pathsGeneration) {
        m_resolved.clear();
        m_last = nullptr;
        m_pathsGeneration = generation;
    }
    if (m_last != nullptr && attribute.view() == m_lastAttribute) {
        return m_last->image != nullptr ? m_last : nullptr;
    }
    auto it = m_resolved.find(attribute.view());
    if (it == m_resolved.end()) {
        ResolvedImage resolved;
        if (ParseImageAttributes(attribute.view(), &resolved.attrs)) {
            const TImageInfo* declared = manager.GetImage(resolved.attrs.file.str().c_str());
            const CDuiString path = declared != nullptr
                                        ? declared->sPath
                                        : CPaintManagerUI::ResolveResourceFile(resolved.attrs.file);
            resolved.image = m_images.Get(platform::Utf8Encode(path.str()));
        }
        it = m_resolved.emplace(attribute.str(), std::move(resolved)).first;
    }
    m_lastAttribute = attribute.str();
    m_last = &it->second;
    return it->second.image != nullptr ? &it->second : nullptr;
}

TTF_Font* FontCache::Get(const TFontInfo& info, int pixels, std::u32string_view text) {
    pixels = std::clamp(pixels, 4, 400);
    int style = TTF_STYLE_NORMAL;
    style |= info.bUnderline ? TTF_STYLE_UNDERLINE : 0;
    style |= info.bItalic ? TTF_STYLE_ITALIC : 0;
    TTF_Font* first = Open(info.sFontName.str(), info.bBold, pixels, style);
    if (first != nullptr && Provides(first, text)) {
        return first;
    }
    for (const wchar_t* family : kFallbackFamilies) {
        TTF_Font* font = Open(family, info.bBold, pixels, style);
        if (font != nullptr && Provides(font, text)) {
            return font;
        }
    }
    return first != nullptr ? first : Open(kFallbackFamilies[0], info.bBold, pixels, style);
}

TTF_Font* FontCache::Open(const std::wstring& family, bool bold, int pixels, int style) {
    const Key key{Lower(family), bold, pixels, style};
    auto it = m_faces.find(key);
    if (it != m_faces.end()) {
        return it->second.font.get();
    }
    Face face;
    bool synthesiseBold = bold;
    if (auto privateFont = platform::FindPrivateFont(family, bold)) {
        if (privateFont->bytes && !privateFont->bytes->empty()) {
            face.bytes = privateFont->bytes;
            SDL_RWops* rw =
                SDL_RWFromConstMem(face.bytes->data(), static_cast<int>(face.bytes->size()));
            face.font.reset(TTF_OpenFontRW(rw, 1, pixels));
            synthesiseBold = bold && !privateFont->bold;
        }
    }
    if (!face.font) {
        face.font.reset(OpenFaceFile(family, bold, pixels));
        synthesiseBold = false;
        if (!face.font && bold) {
            face.font.reset(OpenFaceFile(family, false, pixels));
            synthesiseBold = true;
        }
    }
    if (face.font) {
        TTF_SetFontStyle(face.font.get(), style | (synthesiseBold ? TTF_STYLE_BOLD : 0));
        TTF_SetFontHinting(face.font.get(), TTF_HINTING_LIGHT);
    }
    TTF_Font* result = face.font.get();
    m_faces.emplace(key, std::move(face));
    return result;
}

bool FontCache::Provides(TTF_Font* font, std::u32string_view text) {
    for (char32_t c : text) {
        if (c > U' ' && TTF_GlyphIsProvided32(font, static_cast<Uint32>(c)) == 0) {
            return false;
        }
    }
    return true;
}

}  // namespace DuiLib::sdl
