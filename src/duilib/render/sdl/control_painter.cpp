#include "duilib/render/sdl/control_painter.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/menu_wnd.h"
#include "duilib/paint_manager.h"
#include "duilib/render/control_draw_data.h"
#include "duilib/render/image_attributes.h"
#include "duilib/render/sdl/sdl_text.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_container.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"
#include "duilib/ui_scrollbar.h"
#include "platform/text_convert.h"

namespace DuiLib::sdl {
namespace {

constexpr uint32_t kDefaultTextColor = 0xFF000000;
constexpr uint32_t kSelectedRowColor = 0x603FA9F5;
constexpr uint32_t kHotRowColor = 0x303FA9F5;
constexpr uint32_t kRingTrackColor = 0x40FFFFFF;
constexpr uint32_t kRingValueColor = 0xFF3FA9F5;
constexpr uint32_t kBandColor = 0x403FA9F5;
constexpr uint32_t kBandBorderColor = 0xFF3FA9F5;
constexpr uint32_t kScrollRailColor = 0x20FFFFFF;
constexpr uint32_t kScrollThumbColor = 0x70FFFFFF;
constexpr uint32_t kScrollThumbHotColor = 0xA0FFFFFF;
constexpr uint32_t kScrollThumbPushedColor = 0xC8FFFFFF;
constexpr DWORD kVeilDefaultColor = 0xFF161E29;
constexpr DWORD kVeilAlpha = 0xA0000000;
constexpr int kCornerMarkSize = 9;  // at 96 DPI
constexpr uint32_t kCornerMarkColor = 0xFFFFB020;
constexpr uint32_t kCornerMarkRimColor = 0xFF101820;

template <typename T>
T* As(CControlUI* control, const wchar_t* name) {
    return static_cast<T*>(control->GetInterface(name));
}

uint32_t OrDefault(uint32_t color, uint32_t fallback) {
    return color != 0 ? color : fallback;
}

RECT Deflate(const RECT& rc, const RECT& by) {
    RECT inner{rc.left + by.left, rc.top + by.top, rc.right - by.right, rc.bottom - by.bottom};
    inner.right = std::max(inner.right, inner.left);
    inner.bottom = std::max(inner.bottom, inner.top);
    return inner;
}

bool Shown(const CScrollBarUI* bar) {
    return bar != nullptr && bar->IsVisible();
}

}  // namespace

void ControlPainter::PaintControl(CControlUI* control) {
    if (!control->IsVisible() || m_pass == Pass::kAbandoned) {
        return;
    }
    const RECT rc = control->GetPos();
    if (m_canvas.IsClippedOut(rc)) {
        return;
    }
    // What is painted before the cover cannot show: only the way down to it is walked.
    if (m_pass == Pass::kBeneathCover && !OnCoverPath(control)) {
        return;
    }
    m_canvas.PushClip(rc);
    bool colourHidden = false;
    if (m_pass == Pass::kBeneathCover && control == m_cover.control) {
        ReachCover(m_part);
        colourHidden = m_cover.byImage;
    }
    // What the control is, asked once: each key of an animated keyboard is drawn on every
    // frame, and each question goes down the control's chain of interface names.
    std::optional<Kinds> kinds;
    if (m_pass == Pass::kDrawing) {
        kinds = KindsOf(control);
        if (!colourHidden) {
            m_canvas.FillRect(rc, control->GetBkColor());
        }
        DrawImage(control->GetBkImage(), rc);
        PaintOwnParts(control, *kinds);
        PaintDrawData(control, *kinds, false);
        m_canvas.FrameRect(rc, m_manager.Scale(control->GetBorderSize()),
                           control->GetBorderColor());
    }
    PaintChildren(control);
    if (m_pass == Pass::kDrawing) {
        PaintDrawData(control, kinds ? *kinds : KindsOf(control), true);
        PaintDisabledVeil(control);
    }
    m_canvas.PopClip();
}

// A disabled control (a disabled container with all it holds) is drawn dimmed: a veil of
// the background it stands on, over it. Drawn once, by the outermost disabled control, and
// whatever part is being painted, so a partial repaint looks as a whole one. A list's rows
// keep their own disabled look (the list's disabled text colour).
void ControlPainter::PaintDisabledVeil(CControlUI* control) {
    if (control->IsEnabled() || control->GetInterface(L"ListItem") != nullptr) {
        return;
    }
    DWORD background = kVeilDefaultColor;
    bool found = false;
    for (CControlUI* parent = control->GetParent(); parent != nullptr;
         parent = parent->GetParent()) {
        if (!parent->IsEnabled()) {
            return;  // its veil covers this one
        }
        if (!found && (parent->GetBkColor() >> 24) == 0xFF) {
            background = parent->GetBkColor();
            found = true;
        }
    }
    m_canvas.FillRect(control->GetPos(), (background & 0x00FFFFFF) | kVeilAlpha);
}

void ControlPainter::PaintChildren(CControlUI* control) {
    auto* container = As<CContainerUI>(control, L"Container");
    // A combo holds its rows but shows them only in its drop-down.
    if (container == nullptr || As<CComboUI>(control, L"Combo") != nullptr) {
        return;
    }
    m_canvas.PushClip(ChildArea(control, *container));
    for (int i = 0; i < container->GetCount(); ++i) {
        if (CControlUI* child = container->GetItemAt(i)) {
            PaintControl(child);
        }
    }
    m_canvas.PopClip();
    for (CScrollBarUI* bar :
         {container->GetVerticalScrollBar(), container->GetHorizontalScrollBar()}) {
        if (Shown(bar)) {
            PaintControl(bar);
        }
    }
}

RECT ControlPainter::ChildArea(CControlUI* control, CContainerUI& container) {
    // Scrolled children show in the view only, beside the bars.
    const bool scrolled =
        Shown(container.GetVerticalScrollBar()) || Shown(container.GetHorizontalScrollBar());
    return scrolled ? container.GetViewRect() : Deflate(control->GetPos(), container.GetInset());
}

ControlPainter::Kinds ControlPainter::KindsOf(CControlUI* control) {
    Kinds kinds;
    kinds.button = As<CButtonUI>(control, L"Button");
    kinds.drawData =
        static_cast<IControlDrawDataUI*>(control->GetInterface(kControlDrawDataInterface));
    return kinds;
}

void ControlPainter::PaintOwnParts(CControlUI* control, const Kinds& kinds) {
    // Buttons first: no button is also a scroll bar, menu element, combo, edit or progress.
    if (kinds.button != nullptr) {
        PaintButton(control, kinds);
    } else if (auto* bar = As<CScrollBarUI>(control, L"ScrollBar")) {
        PaintScrollBar(*bar);
    } else if (auto* item = As<CMenuElementUI>(control, L"MenuElement")) {
        PaintMenuElement(*item);
    } else if (As<CComboUI>(control, L"Combo") != nullptr) {
        PaintCombo(control);
    } else if (As<CEditUI>(control, L"Edit") != nullptr) {
        PaintEdit(control);
    } else if (As<CProgressUI>(control, L"Progress") != nullptr) {
        PaintProgress(control);
    } else if (auto* label = As<CLabelUI>(control, L"Label")) {
        PaintListRow(control);
        PaintLabelText(control, label->IsEnabled() ? label->GetTextColor()
                                                   : OrDefault(label->GetDisabledTextColor(),
                                                               label->GetTextColor()));
    } else {
        PaintListRow(control);
    }
}

std::optional<ControlPainter::ImagePlacement> ControlPainter::Place(const CDuiString& attribute,
                                                                    const RECT& rc) {
    const ResolvedImage* resolved = m_images.Resolve(m_manager, attribute);
    if (resolved == nullptr || resolved->image == nullptr) {
        return std::nullopt;
    }
    const TImageAttributes& attrs = resolved->attrs;
    ImagePlacement placement;
    placement.image = resolved->image;
    placement.dest = rc;
    if (attrs.hasDest) {
        const RECT d = m_manager.Scale(attrs.dest);
        placement.dest = Intersect(
            RECT{rc.left + d.left, rc.top + d.top, rc.left + d.right, rc.top + d.bottom}, rc);
    }
    placement.slice.source =
        attrs.hasSource ? attrs.source : RECT{0, 0, placement.image->w, placement.image->h};
    placement.slice.corner = attrs.corner;
    placement.slice.cornerDest = m_manager.Scale(attrs.corner);
    placement.fade = attrs.fade;
    return placement;
}

bool ControlPainter::DrawImage(const CDuiString& attribute, const RECT& rc, uint8_t alpha,
                               uint32_t tint, bool silhouette) {
    std::optional<ImagePlacement> placement = Place(attribute, rc);
    if (!placement) {
        return false;
    }
    SDL_Surface* image = placement->image;
    const uint8_t fade = static_cast<uint8_t>(alpha * placement->fade / 255);
    if (silhouette &&
        m_canvas.DrawShape(image, placement->slice, placement->dest, fade, tint & 0xFFFFFF)) {
        return true;
    }
    if (silhouette) {
        image = m_images.Silhouette(image);
        if (image == nullptr) {
            return false;
        }
    }
    m_canvas.DrawImage(image, placement->slice, placement->dest, fade, tint);
    return true;
}

bool ControlPainter::DrawTintedImage(const CDuiString& attribute, const RECT& rc, DWORD overlay) {
    const std::optional<ImagePlacement> placement = Place(attribute, rc);
    if (!placement) {
        return false;
    }
    const auto tintAlpha = static_cast<uint8_t>((overlay >> 24) * placement->fade / 255);
    return m_canvas.DrawTintedImage(placement->image, placement->slice, placement->dest,
                                    placement->fade, overlay & 0xFFFFFF, tintAlpha);
}

DWORD ControlPainter::OverlayOf(CControlUI* control) {
    auto* source =
        static_cast<IControlDrawDataUI*>(control->GetInterface(kControlDrawDataInterface));
    return source != nullptr ? source->GetDrawData().dwOverlayColor : 0;
}

void ControlPainter::PaintButton(CControlUI* control, const Kinds& kinds) {
    CButtonUI* button = kinds.button;
    auto* option = As<COptionUI>(control, L"Option");
    const UINT state = button->GetButtonState();
    if (option != nullptr && option->IsSelected()) {
        m_canvas.FillRect(control->GetPos(), option->GetSelectedBkColor());
    }
    // A tint colours the button's face, under its text: a key keeps its legend readable
    // whatever its LED shows. Face and tint are laid in one pass where the image allows.
    const DWORD overlay =
        kinds.drawData != nullptr ? kinds.drawData->GetDrawData().dwOverlayColor : 0;
    if ((overlay >> 24) == 0 ||
        !DrawTintedImage(button->GetStateImage(), control->GetPos(), overlay)) {
        DrawImage(button->GetStateImage(), control->GetPos());
        PaintOverlay(control, button->GetStateImage());
    }
    uint32_t color = button->GetTextColor();
    if (!button->IsEnabled()) {
        color = OrDefault(button->GetDisabledTextColor(), color);
    } else if ((state & UISTATE_PUSHED) != 0) {
        color = OrDefault(button->GetPushedTextColor(), color);
    } else if ((state & UISTATE_HOT) != 0) {
        color = OrDefault(button->GetHotTextColor(), color);
    }
    if (option != nullptr && option->IsSelected()) {
        color = OrDefault(option->GetSelectedTextColor(), color);
    }
    PaintLabelText(control, color, button);
}

void ControlPainter::PaintLabelText(CControlUI* control, uint32_t color, CLabelUI* label) {
    if (label == nullptr) {
        label = As<CLabelUI>(control, L"Label");
    }
    CDuiString text = control->GetText();
    if (label == nullptr || text.IsEmpty()) {
        return;
    }
    TextRequest request;
    request.text = std::move(text);
    request.font = label->GetFont();
    request.color = OrDefault(color, kDefaultTextColor);
    request.style = label->GetTextStyle();
    request.rect = Deflate(control->GetPos(), label->GetTextPadding());
    DrawText(m_canvas, m_texts, m_manager, request);
}

void ControlPainter::PaintProgress(CControlUI* control) {
    auto* progress = As<CProgressUI>(control, L"Progress");
    const RECT rc = control->GetPos();
    const long long range = std::max<long long>(
        1, static_cast<long long>(progress->GetMaxValue()) - progress->GetMinValue());
    const long long done = std::clamp<long long>(
        static_cast<long long>(progress->GetValue()) - progress->GetMinValue(), 0, range);
    RECT filled = rc;
    if (progress->IsHorizontal()) {
        filled.right = rc.left + static_cast<LONG>((rc.right - rc.left) * done / range);
    } else {
        filled.top = rc.bottom - static_cast<LONG>((rc.bottom - rc.top) * done / range);
    }
    if (EqualsNoCase(control->GetClass(), L"CircleProgressUI") ||
        EqualsNoCase(control->GetClass(), L"CircleProgress")) {
        // Drawn as a ring by PaintDrawData or below when the control offers no draw data.
        if (control->GetInterface(kControlDrawDataInterface) == nullptr) {
            const int outer = std::min(rc.right - rc.left, rc.bottom - rc.top) / 2;
            const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
            m_canvas.FillRing(centre, outer, outer * 4 / 5, 0, 360, kRingTrackColor);
            m_canvas.FillRing(centre, outer, outer * 4 / 5, 0, 360.0 * done / range,
                              kRingValueColor);
        }
    } else if (!IsEmpty(filled)) {
        m_canvas.PushClip(filled);
        DrawImage(progress->GetForeImage(), rc);
        m_canvas.PopClip();
    }
    if (auto* slider = As<CSliderUI>(control, L"Slider")) {
        DrawImage(slider->GetThumbImage(), slider->GetThumbRect());
    }
    PaintLabelText(control, progress->GetTextColor());
}

void ControlPainter::PaintEdit(CControlUI* control) {
    auto* edit = As<CEditUI>(control, L"Edit");
    CDuiString text = control->GetText();
    if (edit->IsPasswordMode()) {
        text = CDuiString(std::wstring(static_cast<size_t>(text.GetLength()), L'*'));
    }
    TextRequest request;
    request.text = text;
    request.font = edit->GetFont();
    request.color =
        OrDefault(edit->IsEnabled() ? edit->GetTextColor()
                                    : OrDefault(edit->GetDisabledTextColor(), edit->GetTextColor()),
                  kDefaultTextColor);
    // A multi-line rich edit wraps its text from the top; other edits keep one line.
    auto* rich = As<CRichEditUI>(control, L"RichEdit");
    const bool multiLine = rich != nullptr && rich->IsMultiLine();
    request.style =
        multiLine
            ? (edit->GetTextStyle() & ~static_cast<UINT>(DT_SINGLELINE | DT_VCENTER | DT_BOTTOM))
            : (edit->GetTextStyle() | DT_SINGLELINE);
    request.style &= ~static_cast<UINT>(DT_END_ELLIPSIS);
    request.rect = Deflate(control->GetPos(), edit->GetTextPadding());
    const int end = DrawText(m_canvas, m_texts, m_manager, request);
    if (edit->IsFocused() && !edit->IsReadOnly() && !multiLine) {
        const RECT& r = request.rect;
        const int height = std::max(1, m_manager.Scale(16));
        const int top = (r.top + r.bottom - height) / 2;
        m_canvas.FillRect(RECT{end, top, end + std::max(1, m_manager.Scale(1)), top + height},
                          request.color);
    }
}

void ControlPainter::PaintCombo(CControlUI* control) {
    auto* combo = As<CComboUI>(control, L"Combo");
    const CComboUI::TextLook& look = combo->GetTextLook();
    DrawImage(combo->GetNormalImage(), control->GetPos());
    TextRequest request;
    request.text = combo->GetText();
    RECT padding = m_manager.Scale(look.textPadding);
    if (padding == RECT{}) {
        padding = RECT{m_manager.Scale(6), 0, m_manager.Scale(24), 0};  // clear of the arrow
    }
    request.rect = Deflate(control->GetPos(), padding);
    request.style = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    request.font = look.font;
    request.color = look.textColor;
    // Without a look of its own the combo shows the selected row's font and colour.
    CControlUI* selected = combo->GetItemAt(combo->GetCurSel());
    if (auto* row = selected != nullptr ? As<CLabelUI>(selected, L"Label") : nullptr) {
        request.font = look.font >= 0 ? look.font : row->GetFont();
        request.color = OrDefault(request.color, row->GetTextColor());
    }
    request.color = OrDefault(request.color, kDefaultTextColor);
    DrawText(m_canvas, m_texts, m_manager, request);
}

void ControlPainter::PaintScrollBar(CScrollBarUI& bar) {
    const RECT rc = bar.GetPos();
    if (!DrawImage(bar.GetRailImage(), rc) && bar.GetBkColor() == 0) {
        m_canvas.FillRect(rc, kScrollRailColor);
    }
    if (bar.IsShowButton1() && !DrawImage(bar.GetButton1Image(), bar.GetButton1Rect())) {
        PaintArrow(bar.GetButton1Rect(), bar.IsHorizontal(), false, kScrollThumbColor);
    }
    if (bar.IsShowButton2() && !DrawImage(bar.GetButton2Image(), bar.GetButton2Rect())) {
        PaintArrow(bar.GetButton2Rect(), bar.IsHorizontal(), true, kScrollThumbColor);
    }
    const RECT thumb = bar.GetThumbRect();
    if (DrawImage(bar.GetThumbImage(), thumb)) {
        return;
    }
    const UINT state = bar.GetThumbState();
    const uint32_t color = (state & UISTATE_PUSHED) != 0 ? kScrollThumbPushedColor
                           : (state & UISTATE_HOT) != 0  ? kScrollThumbHotColor
                                                         : kScrollThumbColor;
    // A thumb a little narrower than its rail.
    const int margin = std::max(1, m_manager.Scale(2));
    m_canvas.FillRect(bar.IsHorizontal() ? Deflate(thumb, RECT{0, margin, 0, margin})
                                         : Deflate(thumb, RECT{margin, 0, margin, 0}),
                      color);
}

void ControlPainter::PaintMenuElement(CMenuElementUI& item) {
    const RECT rc = item.GetPos();
    CControlUI* parent = item.GetParent();
    auto* menu = parent != nullptr ? As<CMenuUI>(parent, L"Menu") : nullptr;
    const CMenuUI::ItemLook look = menu != nullptr ? menu->GetItemLook() : CMenuUI::ItemLook{};
    const bool hot = menu != nullptr && menu->GetHotItem() == &item && item.IsEnabled();
    if (hot) {
        m_canvas.FillRect(rc, OrDefault(look.hotBkColor, kHotRowColor));
    }
    uint32_t color = look.textColor;
    if (!item.IsEnabled()) {
        color = OrDefault(look.disabledTextColor, color);
    } else if (hot) {
        color = OrDefault(look.hotTextColor, color);
    }
    color = OrDefault(color, kDefaultTextColor);
    TextRequest request;
    request.text = item.GetText();
    request.font = look.font;
    request.color = color;
    request.style = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    const RECT padding = m_manager.Scale(look.textPadding);
    request.rect = Deflate(rc, padding);
    DrawText(m_canvas, m_texts, m_manager, request);
    // The check mark and the submenu arrow sit in the padding before and after the text.
    const int side = std::max(4, std::min<int>(rc.bottom - rc.top, m_manager.Scale(10)));
    const LONG middle = (rc.top + rc.bottom) / 2;
    if (item.GetChecked() && padding.left >= side) {
        const LONG left = rc.left + (padding.left - side) / 2;
        PaintTick(RECT{left, middle - side / 2, left + side, middle + side / 2}, color);
    }
    if (item.HasSubMenu() && padding.right >= side) {
        const LONG left = rc.right - padding.right + (padding.right - side) / 2;
        PaintArrow(RECT{left, middle - side, left + side * 3 / 2, middle + side}, true, true,
                   color);
    }
}

// A check mark across `rc`: a short stroke down, a long one up.
void ControlPainter::PaintTick(const RECT& rc, uint32_t color) {
    const LONG width = rc.right - rc.left;
    const LONG height = rc.bottom - rc.top;
    const POINT start{rc.left, rc.top + height / 2};
    const POINT low{rc.left + width / 3, rc.bottom - 1};
    const POINT end{rc.right - 1, rc.top};
    const int thickness = std::max(1, m_manager.Scale(2));
    for (const auto& [from, to] : {std::pair{start, low}, std::pair{low, end}}) {
        const LONG steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
        for (LONG i = 0; i <= steps; ++i) {
            const LONG x = from.x + (to.x - from.x) * i / std::max<LONG>(1, steps);
            const LONG y = from.y + (to.y - from.y) * i / std::max<LONG>(1, steps);
            m_canvas.FillRect(RECT{x, y, x + thickness, y + thickness}, color);
        }
    }
}

// A small filled triangle in the middle of `rc`, pointing to the end of the axis when
// `forward`, else to its start.
void ControlPainter::PaintArrow(const RECT& rc, bool horizontal, bool forward, uint32_t color) {
    const int size = std::max(2, std::min(rc.right - rc.left, rc.bottom - rc.top) / 3);
    const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    for (int row = 0; row < size; ++row) {
        // Row 0 is the tip; each row further back is one pixel wider on each side.
        const int distance = forward ? size / 2 - row : row - size / 2;
        const RECT line = horizontal ? RECT{centre.x + distance, centre.y - row,
                                            centre.x + distance + 1, centre.y + row + 1}
                                     : RECT{centre.x - row, centre.y + distance, centre.x + row + 1,
                                            centre.y + distance + 1};
        m_canvas.FillRect(line, color);
    }
}

void ControlPainter::PaintListRow(CControlUI* control) {
    auto* row = static_cast<IListItemUI*>(control->GetInterface(L"ListItem"));
    if (row == nullptr) {
        return;
    }
    // The list's own colours for the selected and the hot row, where the skin gives them.
    CControlUI* parent = control->GetParent();
    const CListUI* list = parent != nullptr ? As<CListUI>(parent, L"List") : nullptr;
    const TListItemLook look = list != nullptr ? list->GetItemLook() : TListItemLook{};
    // A row with a background of its own shows its selection through it.
    if (row->IsSelected() && control->GetBkColor() == 0) {
        m_canvas.FillRect(control->GetPos(), OrDefault(look.selectedBkColor, kSelectedRowColor));
    } else if (control == m_hoveredRow && control->IsEnabled()) {
        m_canvas.FillRect(control->GetPos(), OrDefault(look.hotBkColor, kHotRowColor));
    }
}

void ControlPainter::PaintDrawData(CControlUI* control, const Kinds& kinds, bool overChildren) {
    IControlDrawDataUI* source = kinds.drawData;
    if (source == nullptr) {
        return;
    }
    const TControlDrawData data = source->GetDrawData();
    const RECT rc = control->GetPos();
    // The band lies over the keys it selects; the rest belongs to the control itself.
    if (overChildren) {
        if (data.bHasBand && !IsEmpty(data.rcBand)) {
            m_canvas.FillRect(data.rcBand, kBandColor);
            m_canvas.FrameRect(data.rcBand, 1, kBandBorderColor);
        }
        return;
    }
    if (kinds.button == nullptr) {
        PaintOverlay(control, control->GetBkImage());
    }
    if (data.bCornerMark) {
        PaintCornerMark(rc);
    }
    if (data.nArcDegrees >= 0) {
        const int outer = std::min(rc.right - rc.left, rc.bottom - rc.top) / 2;
        const POINT centre{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        m_canvas.FillRing(centre, outer, outer * 4 / 5, 0, 360, kRingTrackColor);
        m_canvas.FillRing(centre, outer, outer * 4 / 5, 0, std::min(data.nArcDegrees, 360),
                          kRingValueColor);
    }
}

// A right triangle filling the corner, light on a dark rim, so that it shows on any face
// a key's light gives it.
void ControlPainter::PaintCornerMark(const RECT& rc) {
    const int size = std::min<int>(
        {m_manager.Scale(kCornerMarkSize), (rc.right - rc.left) / 2, (rc.bottom - rc.top) / 2});
    const int rim = std::max(1, m_manager.Scale(1));
    // Row `row` of a triangle whose right angle is at the corner, `inset` inside it.
    const auto row = [&](int r, int inset, uint32_t colour) {
        const LONG left = rc.right - size + r + 2 * inset;
        const LONG right = rc.right - inset;
        if (left < right) {
            m_canvas.FillRect(RECT{left, rc.top + r, right, rc.top + r + 1}, colour);
        }
    };
    for (int r = 0; r < size; ++r) {
        row(r, 0, kCornerMarkRimColor);
    }
    for (int r = rim; r < size; ++r) {
        row(r, rim, kCornerMarkColor);
    }
}

void ControlPainter::PaintOverlay(CControlUI* control, const CDuiString& shape) {
    const DWORD overlay = OverlayOf(control);
    if ((overlay >> 24) == 0) {
        return;
    }
    // The tint follows the image's shape: the image again, coloured.
    if (!DrawImage(shape, control->GetPos(), static_cast<uint8_t>(overlay >> 24),
                   overlay | 0xFF000000, true)) {
        m_canvas.FillRect(control->GetPos(), overlay);
    }
}

}  // namespace DuiLib::sdl
