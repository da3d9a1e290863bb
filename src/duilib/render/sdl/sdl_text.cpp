#include "duilib/render/sdl/sdl_text.h"

#include <string>

#include "duilib/paint_manager.h"
#include "platform/text_convert.h"

namespace DuiLib::sdl {
namespace {

constexpr const char* kEllipsis = "...";

int TextWidth(TTF_Font* font, const std::string& utf8) {
    int w = 0;
    int h = 0;
    if (utf8.empty() || TTF_SizeUTF8(font, utf8.c_str(), &w, &h) != 0) {
        return 0;
    }
    return w;
}

// The longest start of `text` that fits in `width` with "..." after it.
std::string Ellipsize(TTF_Font* font, const std::wstring& text, int width) {
    size_t lo = 0;
    size_t hi = text.size();
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        const std::string candidate = platform::Utf8Encode(text.substr(0, mid)) + kEllipsis;
        if (TextWidth(font, candidate) <= width) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return platform::Utf8Encode(text.substr(0, lo)) + kEllipsis;
}

int AlignX(UINT style, const RECT& rc, int width) {
    if (style & DT_CENTER) {
        return rc.left + (rc.right - rc.left - width) / 2;
    }
    if (style & DT_RIGHT) {
        return rc.right - width;
    }
    return rc.left;
}

int AlignY(UINT style, const RECT& rc, int height) {
    if (style & DT_VCENTER) {
        return rc.top + (rc.bottom - rc.top - height) / 2;
    }
    if (style & DT_BOTTOM) {
        return rc.bottom - height;
    }
    return rc.top;
}

}  // namespace

int DrawText(Canvas& canvas, FontCache& fonts, CPaintManagerUI& manager,
             const TextRequest& request) {
    const RECT& rc = request.rect;
    const std::wstring& text = request.text.str();
    const TFontInfo* info = manager.GetFontInfo(request.font);
    if (info == nullptr || IsEmpty(rc)) {
        return rc.left;
    }
    std::u32string wide;
    wide.reserve(text.size());
    for (wchar_t c : text) {
        wide.push_back(static_cast<char32_t>(c));
    }
    TTF_Font* font = fonts.Get(*info, manager.Scale(info->iSize), wide);
    if (font == nullptr) {
        return rc.left;
    }
    const int width = rc.right - rc.left;
    const bool singleLine = (request.style & DT_SINGLELINE) != 0;
    // What the texture depends on: face, colour, wrapping or ellipsis width, and the text.
    const std::string key =
        std::to_string(reinterpret_cast<uintptr_t>(font)) + '|' + std::to_string(request.color) +
        '|' +
        std::to_string(request.style & (DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT)) +
        '|' + std::to_string(width) + '|' + platform::Utf8Encode(text);
    SDL_Texture* texture = canvas.CachedTexture(key, [&]() -> SurfacePtr {
        std::string utf8 = platform::Utf8Encode(text);
        const SDL_Color color = ToSdlColor(request.color);
        if (utf8.empty()) {
            return nullptr;
        }
        if (singleLine) {
            if ((request.style & DT_END_ELLIPSIS) && TextWidth(font, utf8) > width) {
                utf8 = Ellipsize(font, text, width);
            }
            return SurfacePtr{TTF_RenderUTF8_Blended(font, utf8.c_str(), color)};
        }
        const int align = (request.style & DT_CENTER)  ? TTF_WRAPPED_ALIGN_CENTER
                          : (request.style & DT_RIGHT) ? TTF_WRAPPED_ALIGN_RIGHT
                                                       : TTF_WRAPPED_ALIGN_LEFT;
        TTF_SetFontWrappedAlign(font, align);
        return SurfacePtr{TTF_RenderUTF8_Blended_Wrapped(font, utf8.c_str(), color,
                                                         static_cast<Uint32>(std::max(1, width)))};
    });
    int w = 0;
    int h = 0;
    if (texture == nullptr || SDL_QueryTexture(texture, nullptr, nullptr, &w, &h) != 0) {
        return AlignX(request.style, rc, 0);
    }
    const int x = AlignX(request.style, rc, w);
    const int y = AlignY(request.style, rc, h);
    canvas.PushClip(rc);
    canvas.DrawTexture(texture, x, y);
    canvas.PopClip();
    return x + w;
}

}  // namespace DuiLib::sdl
