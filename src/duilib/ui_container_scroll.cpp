// The scrolling part of containers: the scroll bars, the scroll position, and the content
// rectangle the layouts place their children in.

#include <algorithm>
#include <utility>

#include "duilib/paint_manager.h"
#include "duilib/ui_container.h"
#include "duilib/ui_scrollbar.h"

namespace DuiLib {
namespace {

LONG Width(const RECT& rc) {
    return rc.right - rc.left;
}

LONG Height(const RECT& rc) {
    return rc.bottom - rc.top;
}

// How far content must move for [start, end) to lie in [viewStart, viewEnd); the near edge
// wins when the part is larger than the view.
LONG ShiftToShow(LONG start, LONG end, LONG viewStart, LONG viewEnd) {
    LONG shift = end > viewEnd ? end - viewEnd : 0;
    if (start - shift < viewStart) {
        shift = start - viewStart;
    }
    return shift;
}

}  // namespace

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
    auto update = [this](CScrollBarUI*& bar, bool enable, bool horizontal,
                         const CDuiString& style) {
        if (enable == (bar != nullptr)) {
            return;
        }
        if (!enable) {
            if (m_pManager != nullptr) {
                m_pManager->ReapObjects(bar);
            }
            delete std::exchange(bar, nullptr);
            return;
        }
        bar = new CScrollBarUI;
        bar->SetHorizontal(horizontal);
        bar->SetOwner(this);
        bar->SetVisible(false);
        if (!style.IsEmpty()) {
            bar->ApplyAttributeList(style);
        }
        bar->SetManager(m_pManager, this, m_pManager != nullptr);
    };
    update(m_pVerticalScrollBar, bEnableVertical, false, m_sVerticalScrollBarStyle);
    update(m_pHorizontalScrollBar, bEnableHorizontal, true, m_sHorizontalScrollBarStyle);
    NeedUpdate();
}

SIZE CContainerUI::GetScrollPos() const {
    return SIZE{m_pHorizontalScrollBar != nullptr ? m_pHorizontalScrollBar->GetScrollPos() : 0,
                m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const {
    return SIZE{m_pHorizontalScrollBar != nullptr ? m_pHorizontalScrollBar->GetScrollRange() : 0,
                m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE szPos) {
    const SIZE before = GetScrollPos();
    if (m_pHorizontalScrollBar != nullptr) {
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
    }
    if (m_pVerticalScrollBar != nullptr) {
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
    }
    const SIZE after = GetScrollPos();
    if (after.cx == before.cx && after.cy == before.cy) {
        return;
    }
    // Laid out at once, so that what the pointer hits next is where it is drawn.
    SetPos(m_rcItem, false);
    Invalidate();
}

void CContainerUI::EnsureVisible(CControlUI* pControl) {
    if (pControl == nullptr || GetItemIndex(pControl) < 0 || !HasScrollBar()) {
        return;
    }
    const RECT rc = pControl->GetPos();
    const SIZE pos = GetScrollPos();
    SetScrollPos(SIZE{pos.cx + ShiftToShow(rc.left, rc.right, m_rcView.left, m_rcView.right),
                      pos.cy + ShiftToShow(rc.top, rc.bottom, m_rcView.top, m_rcView.bottom)});
}

RECT CContainerUI::ScrollContent(const RECT& inner, SIZE needed) {
    m_rcView = inner;
    if (!HasScrollBar()) {
        return inner;
    }
    CScrollBarUI* vertical = m_pVerticalScrollBar;
    CScrollBarUI* horizontal = m_pHorizontalScrollBar;
    // A bar on one axis takes room from the other, which may then need its bar too.
    bool showVertical = vertical != nullptr && needed.cy > Height(inner);
    const bool showHorizontal =
        horizontal != nullptr &&
        needed.cx > Width(inner) - (showVertical ? vertical->GetThickness() : 0);
    if (vertical != nullptr && !showVertical && showHorizontal) {
        showVertical = needed.cy > Height(inner) - horizontal->GetThickness();
    }
    RECT view = inner;
    if (showVertical) {
        view.right = std::max(view.left, view.right - vertical->GetThickness());
    }
    if (showHorizontal) {
        view.bottom = std::max(view.top, view.bottom - horizontal->GetThickness());
    }
    m_rcView = view;
    if (vertical != nullptr) {
        vertical->SetVisible(showVertical);
        vertical->SetScrollRange(showVertical ? needed.cy - Height(view) : 0);
        vertical->SetPos(RECT{view.right, view.top, inner.right, view.bottom}, false);
    }
    if (horizontal != nullptr) {
        horizontal->SetVisible(showHorizontal);
        horizontal->SetScrollRange(showHorizontal ? needed.cx - Width(view) : 0);
        horizontal->SetPos(RECT{view.left, view.bottom, view.right, inner.bottom}, false);
    }
    const SIZE pos = GetScrollPos();
    const LONG left = view.left - pos.cx;
    const LONG top = view.top - pos.cy;
    return RECT{left, top, left + std::max(Width(view), needed.cx),
                top + std::max(Height(view), needed.cy)};
}

}  // namespace DuiLib
