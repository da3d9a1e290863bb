#pragma once
// Draws one window's control tree: for each visible control its background colour and
// image, its state image, its own parts (progress, slider thumb, ring, caret), its text
// and its border, then its children clipped to it.

#include <optional>
#include <vector>

#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/render/sdl/sdl_canvas.h"
#include "duilib/render/sdl/sdl_text.h"

namespace DuiLib {
class CButtonUI;
class CContainerUI;
class CControlUI;
class CLabelUI;
class IControlDrawDataUI;
class CPaintManagerUI;
class CMenuElementUI;
class CScrollBarUI;
}  // namespace DuiLib

namespace DuiLib::sdl {

class ControlPainter {
  public:
    ControlPainter(Canvas& canvas, ImageResolver& images, TextImages& texts,
                   CPaintManagerUI& manager, CControlUI* hoveredRow = nullptr)
        : m_canvas(canvas),
          m_images(images),
          m_texts(texts),
          m_manager(manager),
          m_hoveredRow(hoveredRow) {}

    // Draws the part `part` of the window whose tree starts at `root`.
    void PaintPart(CControlUI* root, const RECT& part);

  private:
    // Beneath a cover, controls are walked but not drawn until the cover is reached.
    enum class Pass { kDrawing, kBeneathCover, kAbandoned };
    // The last control in paint order whose own background hides the whole part.
    struct Cover {
        CControlUI* control = nullptr;
        bool byImage = false;           // its image hides it (its colour need not be drawn)
        std::vector<CControlUI*> path;  // from the root to the control
    };

    Cover FindCover(CControlUI* root, const RECT& part);
    void SeekCover(CControlUI* control, RECT clip, const RECT& part, std::vector<CControlUI*>& path,
                   Cover& found);
    // Whether `control`'s background colour or image hides all of `part`.
    bool HidesPart(CControlUI* control, const RECT& part, bool* byImage);
    bool OnCoverPath(CControlUI* control) const;
    // The walk reached the cover: it draws from here on, unless the cover does not hold
    // the part after all, when the walk is abandoned and the part drawn whole.
    void ReachCover(const RECT& part);
    // Where a container's children may draw, within the container's rectangle.
    static RECT ChildArea(CControlUI* control, CContainerUI& container);

    void PaintControl(CControlUI* control);
    // What PaintControl asks of a control once for all its parts.
    struct Kinds {
        CButtonUI* button = nullptr;
        IControlDrawDataUI* drawData = nullptr;
    };
    static Kinds KindsOf(CControlUI* control);
    void PaintOwnParts(CControlUI* control, const Kinds& kinds);
    void PaintChildren(CControlUI* control);
    // Where an image attribute lands inside a control's rectangle.
    struct ImagePlacement {
        SDL_Surface* image = nullptr;
        NineSlice slice;
        RECT dest{};
        uint8_t fade = 255;
    };
    // Null when the attribute names nothing that loads.
    std::optional<ImagePlacement> Place(const CDuiString& attribute, const RECT& rc);
    // Draws an image attribute inside `rc`; false when it names nothing that loads.
    // `silhouette` draws the image's shape in the tint colour instead of its pixels.
    bool DrawImage(const CDuiString& attribute, const RECT& rc, uint8_t alpha = 255,
                   uint32_t tint = 0xFFFFFFFF, bool silhouette = false);
    // The image with `overlay` (0xAARRGGBB) laid over it through its shape, in one pass;
    // false when that cannot be done (the image is drawn apart from its tint then).
    bool DrawTintedImage(const CDuiString& attribute, const RECT& rc, DWORD overlay);
    // The colour a control lays over its image (its draw data); alpha 0 when none.
    static DWORD OverlayOf(CControlUI* control);
    void PaintButton(CControlUI* control, const Kinds& kinds);
    // `label`: the control as a label, when the caller knows it.
    void PaintLabelText(CControlUI* control, uint32_t color, CLabelUI* label = nullptr);
    void PaintProgress(CControlUI* control);
    void PaintEdit(CControlUI* control);
    void PaintCombo(CControlUI* control);
    void PaintListRow(CControlUI* control);
    void PaintScrollBar(CScrollBarUI& bar);
    void PaintMenuElement(CMenuElementUI& item);
    void PaintTick(const RECT& rc, uint32_t color);
    void PaintArrow(const RECT& rc, bool horizontal, bool forward, uint32_t color);
    void PaintDrawData(CControlUI* control, const Kinds& kinds, bool overChildren);
    void PaintCornerMark(const RECT& rc);
    void PaintDisabledVeil(CControlUI* control);
    // The draw data's colour laid over `shape` (an image attribute) through its outline.
    void PaintOverlay(CControlUI* control, const CDuiString& shape);

    Canvas& m_canvas;
    ImageResolver& m_images;
    TextImages& m_texts;
    CPaintManagerUI& m_manager;
    CControlUI* m_hoveredRow;
    Pass m_pass = Pass::kDrawing;
    Cover m_cover;
    RECT m_part{};
};

}  // namespace DuiLib::sdl
