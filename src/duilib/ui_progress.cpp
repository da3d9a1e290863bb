#include "duilib/ui_progress.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace DuiLib {

LPCTSTR CProgressUI::GetClass() const {
    return L"ProgressUI";
}

LPVOID CProgressUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Progress")) {
        return static_cast<CProgressUI*>(this);
    }
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetHorizontal(bool bHorizontal) {
    m_bHorizontal = bHorizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int nMin) {
    m_nMin = nMin;
    m_nMax = std::max(m_nMax, m_nMin);
    m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
    Invalidate();
}

void CProgressUI::SetMaxValue(int nMax) {
    m_nMax = nMax;
    m_nMin = std::min(m_nMin, m_nMax);
    m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
    Invalidate();
}

void CProgressUI::SetValue(int nValue) {
    nValue = std::clamp(nValue, m_nMin, m_nMax);
    if (nValue == m_nValue) {
        return;
    }
    m_nValue = nValue;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"hor") {
        SetHorizontal(ParseBool(value));
    } else if (name == L"vertical") {
        SetHorizontal(!ParseBool(value));
    } else if (name == L"min") {
        SetMinValue(ParseInt(value));
    } else if (name == L"max") {
        SetMaxValue(ParseInt(value));
    } else if (name == L"value") {
        SetValue(ParseInt(value));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

LPCTSTR CSliderUI::GetClass() const {
    return L"SliderUI";
}

LPVOID CSliderUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Slider")) {
        return static_cast<CSliderUI*>(this);
    }
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const {
    return IsEnabled() ? 1u : 0u;
}

void CSliderUI::SetChangeStep(int step) {
    m_nStep = std::max(1, step);
}

RECT CSliderUI::GetThumbRect() const {
    const int thumbW = Scaled(m_szThumb.cx);
    const int thumbH = Scaled(m_szThumb.cy);
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const long long offset = static_cast<long long>(m_nValue) - m_nMin;
    if (m_bHorizontal) {
        const long long track = std::max(0, GetWidth() - thumbW);
        const LONG left = m_rcItem.left + static_cast<LONG>(range > 0 ? track * offset / range : 0);
        const LONG top = (m_rcItem.top + m_rcItem.bottom - thumbH) / 2;
        return RECT{left, top, left + thumbW, top + thumbH};
    }
    const long long track = std::max(0, GetHeight() - thumbH);
    const LONG top =
        m_rcItem.bottom - thumbH - static_cast<LONG>(range > 0 ? track * offset / range : 0);
    const LONG left = (m_rcItem.left + m_rcItem.right - thumbW) / 2;
    return RECT{left, top, left + thumbW, top + thumbH};
}

int CSliderUI::ValueAt(POINT pt) const {
    const long long range = static_cast<long long>(m_nMax) - m_nMin;
    const int thumbW = Scaled(m_szThumb.cx);
    const int thumbH = Scaled(m_szThumb.cy);
    long long track = 0;
    long long at = 0;
    if (m_bHorizontal) {
        track = std::max(1, GetWidth() - thumbW);
        at = static_cast<long long>(pt.x) - m_rcItem.left - thumbW / 2;
    } else {
        track = std::max(1, GetHeight() - thumbH);
        at = static_cast<long long>(m_rcItem.bottom) - pt.y - thumbH / 2;
    }
    at = std::clamp<long long>(at, 0, track);
    long long value = m_nMin + (range * at + track / 2) / track;
    value = m_nMin + (value - m_nMin) / m_nStep * m_nStep;
    return static_cast<int>(std::clamp<long long>(value, m_nMin, m_nMax));
}

bool CSliderUI::ValueForKey(WPARAM key, int* value) const {
    // A page is a tenth of the range, and never less than a step.
    const long long page =
        std::max<long long>(m_nStep, (static_cast<long long>(m_nMax) - m_nMin) / 10);
    long long next = m_nValue;
    switch (key) {
        case VK_UP:
        case VK_RIGHT:
            next += m_nStep;
            break;
        case VK_DOWN:
        case VK_LEFT:
            next -= m_nStep;
            break;
        case VK_PRIOR:
            next += page;
            break;
        case VK_NEXT:
            next -= page;
            break;
        case VK_HOME:
            next = m_nMin;
            break;
        case VK_END:
            next = m_nMax;
            break;
        default:
            return false;
    }
    *value = static_cast<int>(std::clamp<long long>(next, m_nMin, m_nMax));
    return true;
}

void CSliderUI::SetThumbState(UINT state) {
    if (state != m_uThumbState) {
        m_uThumbState = state;
        Invalidate();
    }
}

CDuiString CSliderUI::GetThumbImage() const {
    if ((m_uThumbState & UISTATE_PUSHED) != 0 && !m_sThumbPushedImage.IsEmpty()) {
        return m_sThumbPushedImage;
    }
    if ((m_uThumbState & UISTATE_HOT) != 0 && !m_sThumbHotImage.IsEmpty()) {
        return m_sThumbHotImage;
    }
    return m_sThumbImage;
}

void CSliderUI::UserValue(int value, LPCTSTR type, bool always) {
    const int old = m_nValue;
    SetValue(value);
    if ((always || old != m_nValue) && m_pManager != nullptr) {
        m_pManager->SendNotify(this, type);
    }
}

void CSliderUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled()) {
                // Focused, so that the keys move it on from where the pointer put it.
                SetFocus();
                m_bDragging = true;
                SetThumbState(m_uThumbState | UISTATE_PUSHED);
                UserValue(ValueAt(event.ptMouse), DUI_MSGTYPE_MOVEVALUECHANGED, false);
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_bDragging) {
                UserValue(ValueAt(event.ptMouse), DUI_MSGTYPE_MOVEVALUECHANGED, false);
            }
            return;
        case UIEVENT_BUTTONUP:
            if (m_bDragging) {
                m_bDragging = false;
                SetThumbState(m_uThumbState & ~UISTATE_PUSHED);
                UserValue(ValueAt(event.ptMouse), DUI_MSGTYPE_VALUECHANGED, true);
            }
            return;
        case UIEVENT_KEYDOWN:
            if (int value = 0; IsEnabled() && ValueForKey(event.chKey, &value)) {
                UserValue(value, DUI_MSGTYPE_VALUECHANGED, false);
            }
            return;
        case UIEVENT_MOUSEENTER:
            SetThumbState(m_uThumbState | UISTATE_HOT);
            CProgressUI::DoEvent(event);
            return;
        case UIEVENT_MOUSELEAVE:
            SetThumbState(m_uThumbState & ~UISTATE_HOT);
            CProgressUI::DoEvent(event);
            return;
        case UIEVENT_SCROLLWHEEL:
            if (IsEnabled()) {
                const int step = LOWORD(event.wParam) == 0 ? m_nStep : -m_nStep;
                UserValue(m_nValue + step, DUI_MSGTYPE_VALUECHANGED, false);
            }
            return;
        default:
            CProgressUI::DoEvent(event);
    }
}

void CSliderUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"step") {
        SetChangeStep(ParseInt(value, 1));
    } else if (name == L"thumbsize") {
        SetThumbSize(ParseSize(value));
    } else if (name == L"thumbimage") {
        m_sThumbImage = pstrValue;
    } else if (name == L"thumbhotimage") {
        m_sThumbHotImage = pstrValue;
    } else if (name == L"thumbpushedimage") {
        m_sThumbPushedImage = pstrValue;
    } else {
        CProgressUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace DuiLib
