#include "duilib/ui_scrollbar.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/ui_container.h"

namespace DuiLib {
namespace {

// At 96 DPI.
constexpr int kDefaultThickness = 12;
constexpr int kDefaultLineSize = 24;
constexpr int kMinThumbLength = 24;

}  // namespace

LPCTSTR CScrollBarUI::GetClass() const {
    return L"ScrollBarUI";
}

LPVOID CScrollBarUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"ScrollBar")) {
        return static_cast<CScrollBarUI*>(this);
    }
    return CControlUI::GetInterface(pstrName);
}

void CScrollBarUI::SetScrollRange(int nRange) {
    m_nRange = std::clamp(nRange, 0, kMaxCoordinate);
    SetScrollPos(m_nPos);
}

void CScrollBarUI::SetScrollPos(int nPos) {
    const int pos = std::clamp(nPos, 0, m_nRange);
    if (pos != m_nPos) {
        m_nPos = pos;
        Invalidate();
    }
}

int CScrollBarUI::GetLineSize() const {
    return std::max(1, Scaled(m_nLineSize > 0 ? m_nLineSize : kDefaultLineSize));
}

int CScrollBarUI::GetThickness() const {
    const int fixed = m_bHorizontal ? GetFixedHeight() : GetFixedWidth();
    return fixed > 0 ? fixed : Scaled(kDefaultThickness);
}

RECT CScrollBarUI::GetButton1Rect() const {
    if (!m_bShowButton1) {
        return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left, m_rcItem.top};
    }
    const int size = GetThickness();
    return m_bHorizontal ? RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left + size, m_rcItem.bottom}
                         : RECT{m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.top + size};
}

RECT CScrollBarUI::GetButton2Rect() const {
    if (!m_bShowButton2) {
        return RECT{m_rcItem.right, m_rcItem.bottom, m_rcItem.right, m_rcItem.bottom};
    }
    const int size = GetThickness();
    return m_bHorizontal
               ? RECT{m_rcItem.right - size, m_rcItem.top, m_rcItem.right, m_rcItem.bottom}
               : RECT{m_rcItem.left, m_rcItem.bottom - size, m_rcItem.right, m_rcItem.bottom};
}

RECT CScrollBarUI::TrackRect() const {
    RECT track = m_rcItem;
    if (m_bHorizontal) {
        track.left = GetButton1Rect().right;
        track.right = std::max(track.left, GetButton2Rect().left);
    } else {
        track.top = GetButton1Rect().bottom;
        track.bottom = std::max(track.top, GetButton2Rect().top);
    }
    return track;
}

// The thumb is to the track what the view is to the whole content.
RECT CScrollBarUI::GetThumbRect() const {
    const RECT track = TrackRect();
    const long long trackLength =
        m_bHorizontal ? track.right - track.left : track.bottom - track.top;
    const long long view = PageSize();
    const long long minimum = std::min<long long>(trackLength, Scaled(kMinThumbLength));
    const long long length = std::clamp<long long>(
        trackLength * view / std::max<long long>(1, view + m_nRange), minimum, trackLength);
    const long long offset = m_nRange > 0 ? (trackLength - length) * m_nPos / m_nRange : 0;
    RECT thumb = track;
    if (m_bHorizontal) {
        thumb.left = static_cast<LONG>(track.left + offset);
        thumb.right = static_cast<LONG>(thumb.left + length);
    } else {
        thumb.top = static_cast<LONG>(track.top + offset);
        thumb.bottom = static_cast<LONG>(thumb.top + length);
    }
    return thumb;
}

CDuiString CScrollBarUI::GetThumbImage() const {
    if ((m_uThumbState & UISTATE_PUSHED) != 0 && !m_sThumbPushedImage.IsEmpty()) {
        return m_sThumbPushedImage;
    }
    if ((m_uThumbState & UISTATE_HOT) != 0 && !m_sThumbHotImage.IsEmpty()) {
        return m_sThumbHotImage;
    }
    return m_sThumbImage;
}

// The view is as long as the bar that stands beside it.
int CScrollBarUI::PageSize() const {
    return std::max<int>(
        1, m_bHorizontal ? m_rcItem.right - m_rcItem.left : m_rcItem.bottom - m_rcItem.top);
}

void CScrollBarUI::ScrollTo(int nPos) {
    if (m_pOwner == nullptr) {
        SetScrollPos(nPos);
        return;
    }
    SIZE pos = m_pOwner->GetScrollPos();
    (m_bHorizontal ? pos.cx : pos.cy) = nPos;
    m_pOwner->SetScrollPos(pos);
}

void CScrollBarUI::Press(POINT pt) {
    if (PtInRect(GetButton1Rect(), pt)) {
        ScrollTo(m_nPos - GetLineSize());
        return;
    }
    if (PtInRect(GetButton2Rect(), pt)) {
        ScrollTo(m_nPos + GetLineSize());
        return;
    }
    const RECT thumb = GetThumbRect();
    if (PtInRect(thumb, pt)) {
        m_bDragging = true;
        m_nDragFrom = Along(pt);
        m_nDragFromPos = m_nPos;
        m_uThumbState |= UISTATE_PUSHED;
        Invalidate();
        return;
    }
    const bool before = Along(pt) < (m_bHorizontal ? thumb.left : thumb.top);
    ScrollTo(m_nPos + (before ? -PageSize() : PageSize()));
}

void CScrollBarUI::Drag(POINT pt) {
    const RECT track = TrackRect();
    const RECT thumb = GetThumbRect();
    const long long room = m_bHorizontal ? (track.right - track.left) - (thumb.right - thumb.left)
                                         : (track.bottom - track.top) - (thumb.bottom - thumb.top);
    if (room <= 0) {
        return;
    }
    const long long moved = static_cast<long long>(Along(pt)) - m_nDragFrom;
    ScrollTo(static_cast<int>(
        std::clamp<long long>(m_nDragFromPos + moved * m_nRange / room, 0, m_nRange)));
}

void CScrollBarUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        CControlUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            Press(event.ptMouse);
            return;
        case UIEVENT_BUTTONUP:
            m_bDragging = false;
            m_uThumbState &= ~UISTATE_PUSHED;
            Invalidate();
            return;
        case UIEVENT_MOUSEMOVE: {
            if (m_bDragging) {
                Drag(event.ptMouse);
                return;
            }
            const UINT hot = PtInRect(GetThumbRect(), event.ptMouse) ? UISTATE_HOT : 0;
            if ((m_uThumbState & UISTATE_HOT) != hot) {
                m_uThumbState = (m_uThumbState & ~UISTATE_HOT) | hot;
                Invalidate();
            }
            return;
        }
        case UIEVENT_MOUSELEAVE:
            m_uThumbState &= ~UISTATE_HOT;
            Invalidate();
            return;
        default:
            CControlUI::DoEvent(event);  // the wheel goes on to the owner
            return;
    }
}

void CScrollBarUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"hor") {
        SetHorizontal(ParseBool(value));
    } else if (name == L"linesize") {
        m_nLineSize = std::clamp(ParseInt(value), 0, kMaxCoordinate);
    } else if (name == L"range") {
        SetScrollRange(ParseInt(value));
    } else if (name == L"value") {
        SetScrollPos(ParseInt(value));
    } else if (name == L"showbutton1") {
        m_bShowButton1 = ParseBool(value);
    } else if (name == L"showbutton2") {
        m_bShowButton2 = ParseBool(value);
    } else if (name == L"thumbnormalimage") {
        m_sThumbImage = CDuiString(value);
    } else if (name == L"thumbhotimage") {
        m_sThumbHotImage = CDuiString(value);
    } else if (name == L"thumbpushedimage") {
        m_sThumbPushedImage = CDuiString(value);
    } else if (name == L"railnormalimage" || name == L"bknormalimage") {
        m_sRailImage = CDuiString(value);
    } else if (name == L"button1normalimage") {
        m_sButton1Image = CDuiString(value);
    } else if (name == L"button2normalimage") {
        m_sButton2Image = CDuiString(value);
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace DuiLib
