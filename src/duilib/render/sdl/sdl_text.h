#pragma once
// Texts drawn with the paint manager's fonts: alignment, end ellipsis, wrapping.

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

// Draws the text; returns the x just after its last character (a caret goes there).
int DrawText(Canvas& canvas, FontCache& fonts, CPaintManagerUI& manager,
             const TextRequest& request);

}  // namespace DuiLib::sdl
