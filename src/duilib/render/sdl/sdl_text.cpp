#include "duilib/render/sdl/sdl_text.h"

#include <string>

#include "duilib/paint_manager.h"
#include "platform/text_convert.h"

namespace DuiLib::sdl {
namespace {

constexpr const char* kEllipsis = "...";
// The style bits that change a text's pixels (not its place).
constexpr UINT kLayoutBits = DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT;

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

const TextImage* TextImages::Get(CPaintManagerUI& manager, const TextRequest& request) {
    const TFontInfo* info = manager.GetFontInfo(request.font);
    return info != nullptr ? Get(manager, *info, request) : nullptr;
}

const TextImage* TextImages::Get(CPaintManagerUI& manager, const TFontInfo& info,
                                 const TextRequest& request) {
    if (request.text.IsEmpty()) {
        return nullptr;
    }
    KeyView view;
    view.family = info.sFontName.view();
    view.pixels = manager.Scale(info.iSize);
    view.faceStyle = (info.bBold ? 1 : 0) | (info.bItalic ? 2 : 0) | (info.bUnderline ? 4 : 0);
    view.colour = request.color;
    view.layout = request.style & kLayoutBits;
    view.width = request.rect.right - request.rect.left;
    view.text = request.text.view();
    auto it = m_texts.find(view);
    if (it == m_texts.end()) {
        Key key{std::wstring(view.family),
                view.pixels,
                view.faceStyle,
                view.colour,
                view.layout,
                view.width,
                std::wstring(view.text)};
        TTF_Font* font =
            m_fonts.Get(info, key.pixels, std::u32string(key.text.begin(), key.text.end()));
        TextImage image = font != nullptr ? Render(font, key) : TextImage{};
        if (m_texts.size() >= kMaxTexts) {
            m_texts.clear();
        }
        it = m_texts.emplace(std::move(key), std::move(image)).first;
    }
    return it->second.pixels ? &it->second : nullptr;
}

TextImage TextImages::Render(TTF_Font* font, const Key& key) {
    std::string utf8 = platform::Utf8Encode(key.text);
    const SDL_Color color = ToSdlColor(key.colour);
    SurfacePtr rendered;
    if ((key.layout & DT_SINGLELINE) != 0) {
        if ((key.layout & DT_END_ELLIPSIS) && TextWidth(font, utf8) > key.width) {
            utf8 = Ellipsize(font, key.text, key.width);
        }
        rendered.reset(TTF_RenderUTF8_Blended(font, utf8.c_str(), color));
    } else {
        const int align = (key.layout & DT_CENTER)  ? TTF_WRAPPED_ALIGN_CENTER
                          : (key.layout & DT_RIGHT) ? TTF_WRAPPED_ALIGN_RIGHT
                                                    : TTF_WRAPPED_ALIGN_LEFT;
        TTF_SetFontWrappedAlign(font, align);
        rendered.reset(TTF_RenderUTF8_Blended_Wrapped(font, utf8.c_str(), color,
                                                      static_cast<Uint32>(std::max(1, key.width))));
    }
    TextImage image;
    if (rendered) {
        image.pixels.reset(SDL_ConvertSurfaceFormat(rendered.get(), SDL_PIXELFORMAT_ARGB8888, 0));
        image.runs = PixelRuns::Of(image.pixels.get());
        if (image.runs) {
            image.coverage = Coverage::Of(image.pixels.get(), *image.runs);
        }
    }
    return image;
}

int DrawText(Canvas& canvas, TextImages& texts, CPaintManagerUI& manager,
             const TextRequest& request) {
    const RECT& rc = request.rect;
    const TFontInfo* font = IsEmpty(rc) ? nullptr : manager.GetFontInfo(request.font);
    if (font == nullptr) {
        return rc.left;
    }
    const TextImage* image = texts.Get(manager, *font, request);
    if (image == nullptr) {
        return AlignX(request.style, rc, 0);
    }
    const int w = image->pixels->w;
    const int h = image->pixels->h;
    const int x = AlignX(request.style, rc, w);
    const int y = AlignY(request.style, rc, h);
    canvas.PushClip(rc);
    if (image->coverage) {
        canvas.DrawCoverageAt(*image->coverage, POINT{x, y});
    } else {
        canvas.DrawPixelsAt(image->pixels.get(), image->runs.get(), POINT{x, y});
    }
    canvas.PopClip();
    return x + w;
}

}  // namespace DuiLib::sdl
