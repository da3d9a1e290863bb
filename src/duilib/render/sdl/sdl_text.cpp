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

size_t TextImages::KeyHash::Of(const Look& look, std::wstring_view text) {
    // FNV-1a over the text and the look's numbers, worked inline: the library's string hash
    // is a call per string. The family is left to KeyEqual: a window's texts share one or
    // two, and hashing it again for every legend would tell no two keys apart.
    constexpr uint64_t kPrime = 1099511628211u;
    uint64_t hash = 14695981039346656037u;
    auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * kPrime; };
    for (const wchar_t c : text) {
        mix(static_cast<uint32_t>(c));
    }
    mix(static_cast<uint32_t>(look.pixels));
    mix(static_cast<uint32_t>(look.faceStyle));
    mix(look.colour);
    mix(look.layout);
    mix(static_cast<uint32_t>(look.width));
    return static_cast<size_t>(hash ^ (hash >> 32));
}

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
    view.look.pixels = manager.Scale(info.iSize);
    view.look.faceStyle = (info.bBold ? 1 : 0) | (info.bItalic ? 2 : 0) | (info.bUnderline ? 4 : 0);
    view.look.colour = request.color;
    view.look.layout = request.style & kLayoutBits;
    view.look.width = request.rect.right - request.rect.left;
    view.text = request.text.view();
    view.family = info.sFontName.view();
    auto it = m_texts.find(view);
    if (it == m_texts.end()) {
        Key key{view.look, view.text.size(), std::wstring(view.text)};
        key.chars.append(view.family);
        TTF_Font* font =
            m_fonts.Get(info, key.look.pixels, std::u32string(view.text.begin(), view.text.end()));
        TextImage image = font != nullptr ? Render(font, key) : TextImage{};
        if (m_texts.size() >= kMaxTexts) {
            m_texts.clear();
        }
        it = m_texts.emplace(std::move(key), std::move(image)).first;
    }
    return it->second.pixels ? &it->second : nullptr;
}

TextImage TextImages::Render(TTF_Font* font, const Key& key) {
    const std::wstring text(key.Text());
    std::string utf8 = platform::Utf8Encode(text);
    const SDL_Color color = ToSdlColor(key.look.colour);
    SurfacePtr rendered;
    const UINT layout = key.look.layout;
    if ((layout & DT_SINGLELINE) != 0) {
        if ((layout & DT_END_ELLIPSIS) && TextWidth(font, utf8) > key.look.width) {
            utf8 = Ellipsize(font, text, key.look.width);
        }
        rendered.reset(TTF_RenderUTF8_Blended(font, utf8.c_str(), color));
    } else {
        const int align = (layout & DT_CENTER)  ? TTF_WRAPPED_ALIGN_CENTER
                          : (layout & DT_RIGHT) ? TTF_WRAPPED_ALIGN_RIGHT
                                                : TTF_WRAPPED_ALIGN_LEFT;
        TTF_SetFontWrappedAlign(font, align);
        rendered.reset(TTF_RenderUTF8_Blended_Wrapped(
            font, utf8.c_str(), color, static_cast<Uint32>(std::max(1, key.look.width))));
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
