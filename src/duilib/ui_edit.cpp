#include "duilib/ui_edit.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace DuiLib {

LPCTSTR CEditUI::GetClass() const {
    return L"EditUI";
}

LPVOID CEditUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Edit")) {
        return static_cast<CEditUI*>(this);
    }
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const {
    return IsEnabled() ? 1u : 0u;
}

CDuiString CEditUI::Filter(const CDuiString& text) const {
    CDuiString out;
    for (int i = 0; i < text.GetLength() && out.GetLength() < m_uMaxChar; ++i) {
        const wchar_t ch = text.GetAt(i);
        if (!m_bDigitsOnly || (ch >= L'0' && ch <= L'9')) {
            out += ch;
        }
    }
    return out;
}

void CEditUI::SetText(LPCTSTR pstrText) {
    CLabelUI::SetText(Filter(CDuiString(pstrText)));
}

void CEditUI::SetMaxChar(int uMax) {
    m_uMaxChar = std::clamp(uMax, 0, 1 << 20);
    if (m_sText.GetLength() > m_uMaxChar) {
        CLabelUI::SetText(m_sText.Left(m_uMaxChar));
    }
}

void CEditUI::SetReadOnly(bool bReadOnly) {
    m_bReadOnly = bReadOnly;
    Invalidate();
}

void CEditUI::SetNumberOnly(bool bNumberOnly) {
    m_bDigitsOnly = bNumberOnly;
}

void CEditUI::SetSel(long /*nStartChar*/, long /*nEndChar*/) {}

void CEditUI::TypeChar(wchar_t ch) {
    if (m_bReadOnly || !IsEnabled()) {
        return;
    }
    CDuiString next = m_sText;
    if (ch == L'\b') {
        if (next.IsEmpty()) {
            return;
        }
        next = next.Left(next.GetLength() - 1);
    } else if (ch == L'\r') {
        if (m_pManager != nullptr) {
            m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
        }
        return;
    } else {
        next += ch;
        next = Filter(next);
    }
    if (next == m_sText) {
        return;
    }
    CLabelUI::SetText(next);
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
    }
}

void CEditUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_CHAR:
            TypeChar(event.chKey);
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled()) {
                SetFocus();
            }
            return;
        default:
            CLabelUI::DoEvent(event);
    }
}

void CEditUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"maxchar") {
        SetMaxChar(ParseInt(value, 255));
    } else if (name == L"readonly") {
        SetReadOnly(ParseBool(value));
    } else if (name == L"numberonly") {
        SetNumberOnly(ParseBool(value));
    } else if (name == L"password") {
        SetPasswordMode(ParseBool(value));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

LPCTSTR CRichEditUI::GetClass() const {
    return L"RichEditUI";
}

LPVOID CRichEditUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"RichEdit")) {
        return static_cast<CRichEditUI*>(this);
    }
    return CEditUI::GetInterface(pstrName);
}

void CRichEditUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (std::wstring_view(pstrName ? pstrName : L"") == L"multiline") {
        SetMultiLine(ParseBool(pstrValue ? pstrValue : L""));
        return;
    }
    CEditUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace DuiLib
