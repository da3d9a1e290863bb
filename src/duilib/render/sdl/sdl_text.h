#pragma once
// Texts drawn with the paint manager's fonts: alignment, end ellipsis, wrapping. Each text
// is rasterised once and kept by everything its pixels depend on.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "duilib/render/sdl/coverage_blend.h"
#include "duilib/render/sdl/pixel_runs.h"
#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/render/sdl/sdl_canvas.h"

namespace DuiLib {
class CPaintManagerUI;
}

namespace DuiLib::sdl {

struct TextRequest {
    CDuiString text;
    int font = -1;
    uint32_t color = 0xFF000000;
    UINT style = DT_VCENTER | DT_SINGLELINE;
    RECT rect{};
};

// A rasterised text: its pixels (one colour, the glyphs' coverage as alpha) and runs, and
// that coverage alone, which is what a draw reads, when the text is of one colour.
struct TextImage {
    SurfacePtr pixels;
    std::unique_ptr<PixelRuns> runs;
    std::unique_ptr<Coverage> coverage;
};

class TextImages {
  public:
    // Texts come and go (values, languages): a full cache starts again.
    static constexpr size_t kMaxTexts = 2048;

    explicit TextImages(FontCache& fonts) : m_fonts(fonts) {}
    // The request's text as it is drawn at the manager's DPI: null when there is nothing
    // to draw (no text, no font, no face).
    const TextImage* Get(CPaintManagerUI& manager, const TextRequest& request);
    // The same with the request's font, as the manager gives it, looked up already.
    const TextImage* Get(CPaintManagerUI& manager, const TFontInfo& info,
                         const TextRequest& request);
    size_t Count() const { return m_texts.size(); }

  private:
    // What a rasterised text depends on besides its text and the face's family: the face's
    // pixel size and style, the colour, the wrapping or ellipsis width.
    struct Look {
        int pixels = 0;
        int faceStyle = 0;
        uint32_t colour = 0;
        UINT layout = 0;
        int width = 0;
        friend bool operator==(const Look&, const Look&) = default;
    };
    // A kept text's key: a change of DPI, language, skin or size is a new key. The text and
    // the family are kept in one string, the text first: every legend of a keyboard picture
    // is looked up 20 times a second, and a hit reads that one block besides its node.
    struct Key {
        Look look;
        size_t textLength = 0;
        std::wstring chars;
        std::wstring_view Text() const { return std::wstring_view(chars).substr(0, textLength); }
        std::wstring_view Family() const { return std::wstring_view(chars).substr(textLength); }
    };
    // A request's key, through views of its strings: a lookup copies nothing.
    struct KeyView {
        Look look;
        std::wstring_view text;
        std::wstring_view family;
        std::wstring_view Text() const { return text; }
        std::wstring_view Family() const { return family; }
    };
    // Hashed rather than ordered: an order compares the texts of many keys for each.
    struct KeyHash {
        using is_transparent = void;
        static size_t Of(const Look& look, std::wstring_view text);
        template <class K>
        size_t operator()(const K& key) const {
            return Of(key.look, key.Text());
        }
    };
    struct KeyEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return a.look == b.look && a.Text() == b.Text() && a.Family() == b.Family();
        }
    };

    static TextImage Render(TTF_Font* font, const Key& key);

    FontCache& m_fonts;
    std::unordered_map<Key, TextImage, KeyHash, KeyEqual> m_texts;
};

// Draws the text; returns the x just after its last character (a caret goes there).
int DrawText(Canvas& canvas, TextImages& texts, CPaintManagerUI& manager,
             const TextRequest& request);

}  // namespace DuiLib::sdl
