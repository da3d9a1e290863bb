#pragma once
// Draws one window's control tree: for each visible control its background colour and
// image, its state image, its own parts (progress, slider thumb, ring, caret), its text
// and its border, then its children clipped to it.

#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/render/sdl/sdl_canvas.h"

namespace DuiLib {
class CControlUI;
class CPaintManagerUI;
class CMenuElementUI;
class CScrollBarUI;
}  // namespace DuiLib

namespace DuiLib::sdl {

class ControlPainter {
  public:
    ControlPainter(Canvas& canvas, ImageResolver& images, FontCache& fonts,
                   CPaintManagerUI& manager, CControlUI* hoveredRow = nullptr)
        : m_canvas(canvas),
          m_images(images),
          m_fonts(fonts),
          m_manager(manager),
          m_hoveredRow(hoveredRow) {}

    void PaintTree(CControlUI* root);

  private:
    void PaintControl(CControlUI* control);
    void PaintOwnParts(CControlUI* control);
    void PaintChildren(CControlUI* control);
    // Draws an image attribute inside `rc`; false when it names nothing that loads.
    // `silhouette` draws the image's shape in the tint colour instead of its pixels.
    bool DrawImage(const CDuiString& attribute, const RECT& rc, uint8_t alpha = 255,
                   uint32_t tint = 0xFFFFFFFF, bool silhouette = false);
    void PaintButton(CControlUI* control);
    void PaintLabelText(CControlUI* control, uint32_t color);
    void PaintProgress(CControlUI* control);
    void PaintEdit(CControlUI* control);
    void PaintCombo(CControlUI* control);
    void PaintListRow(CControlUI* control);
    void PaintScrollBar(CScrollBarUI& bar);
    void PaintMenuElement(CMenuElementUI& item);
    void PaintTick(const RECT& rc, uint32_t color);
    void PaintArrow(const RECT& rc, bool horizontal, bool forward, uint32_t color);
    void PaintDrawData(CControlUI* control, bool overChildren);
    // The draw data's colour laid over `shape` (an image attribute) through its outline.
    void PaintOverlay(CControlUI* control, const CDuiString& shape);

    Canvas& m_canvas;
    ImageResolver& m_images;
    FontCache& m_fonts;
    CPaintManagerUI& m_manager;
    CControlUI* m_hoveredRow;
};

}  // namespace DuiLib::sdl
