// Where one control's own background (its colour or its image) hides the whole part being
// drawn, nothing painted before it can show there: the part is neither cleared nor drawn
// beneath it. An animated keyboard's frame is drawn on its panel alone, not on the
// window's background first.

#include <algorithm>

#include "duilib/paint_manager.h"
#include "duilib/render/sdl/control_painter.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_container.h"

namespace DuiLib::sdl {
namespace {

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

void ControlPainter::PaintPart(CControlUI* root, const RECT& part) {
    m_canvas.PushClip(part);
    m_part = part;
    m_cover = root != nullptr ? FindCover(root, part) : Cover{};
    m_pass = m_cover.control != nullptr ? Pass::kBeneathCover : Pass::kDrawing;
    if (m_pass == Pass::kDrawing) {
        m_canvas.Clear(0xFF000000, part);
    }
    if (root != nullptr) {
        PaintControl(root);
    }
    // Nothing has been drawn unless the cover was reached and held the part.
    if (m_pass != Pass::kDrawing) {
        m_pass = Pass::kDrawing;
        m_cover = Cover{};
        m_canvas.Clear(0xFF000000, part);
        PaintControl(root);
    }
    m_canvas.PopClip();
}

ControlPainter::Cover ControlPainter::FindCover(CControlUI* root, const RECT& part) {
    Cover found;
    std::vector<CControlUI*> path;
    SeekCover(root, part, part, path, found);
    return found;
}

// Walks the tree as PaintControl does; the last control in paint order that hides the part
// wins.
void ControlPainter::SeekCover(CControlUI* control, RECT clip, const RECT& part,
                               std::vector<CControlUI*>& path, Cover& found) {
    const RECT rc = control->GetPos();
    clip = Intersect(clip, rc);
    // A control that does not hold all of the part holds nothing that could hide it: its
    // children are clipped to it (a keyboard's keys, for a frame that redraws them all).
    if (!control->IsVisible() || !Contains(clip, part)) {
        return;
    }
    path.push_back(control);
    bool byImage = false;
    if (HidesPart(control, part, &byImage)) {
        found = Cover{control, byImage, path};
    }
    auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"));
    if (container != nullptr && control->GetInterface(L"Combo") == nullptr) {
        const RECT inner = Intersect(clip, ChildArea(control, *container));
        for (int i = 0; i < container->GetCount() && !IsEmpty(inner); ++i) {
            if (CControlUI* child = container->GetItemAt(i)) {
                SeekCover(child, inner, part, path, found);
            }
        }
    }
    path.pop_back();
}

bool ControlPainter::HidesPart(CControlUI* control, const RECT& part, bool* byImage) {
    if (const std::optional<ImagePlacement> placement =
            Place(control->GetBkImage(), control->GetPos())) {
        *byImage = true;
        if (placement->fade == 255 && Contains(placement->dest, part) &&
            m_canvas.HidesOpaquely(placement->image, placement->slice, placement->dest, part)) {
            return true;
        }
    }
    *byImage = false;
    return (control->GetBkColor() >> 24) == 0xFF;
}

bool ControlPainter::OnCoverPath(CControlUI* control) const {
    return std::find(m_cover.path.begin(), m_cover.path.end(), control) != m_cover.path.end();
}

void ControlPainter::ReachCover(const RECT& part) {
    // The walk's clip is the painter's own: the cover holds only if all of the part lies
    // within it.
    m_pass = m_canvas.ClipContains(part) ? Pass::kDrawing : Pass::kAbandoned;
}

}  // namespace DuiLib::sdl
