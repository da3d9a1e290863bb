#include "duilib/ui_combo.h"

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace DuiLib {
LPCTSTR CComboUI::GetClass() const {
    return L"ComboUI";
}

LPVOID CComboUI::GetInterface(LPCTSTR pstrName) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (EqualsNoCase(name, L"Combo")) {
        return static_cast<CComboUI*>(this);
    }
    return CListOwnerBaseUI::GetInterface(pstrName);
}

CDuiString CComboUI::GetText() const {
    const CControlUI* selected = GetItemAt(m_selection.Current());
    return selected != nullptr ? selected->GetText() : CControlUI::GetText();
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus, bool bTriggerEvent) {
    bool changed = false;
    int old = -1;
    if (!m_selection.Move(m_items, iIndex, &changed, &old)) {
        return false;
    }
    if (bTakeFocus) {
        SetFocus();
    }
    if (changed) {
        Invalidate();
        if (bTriggerEvent && m_pManager != nullptr) {
            m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex),
                                   static_cast<LPARAM>(old));
        }
    }
    return true;
}

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_DROPDOWN);
    }
    return true;
}

void CComboUI::SetPos(RECT rc, bool bNeedInvalidate) {
    // The rows belong to the drop-down, not to the combo's own rectangle.
    CControlUI::SetPos(rc, bNeedInvalidate);
}

int CComboUI::NextSelectable(int step) const {
    return CListSelection::Selectable(m_items, m_selection.Current() + step, step);
}

void CComboUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        CContainerUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONUP:
            Activate();
            return;
        case UIEVENT_KEYDOWN:
            if (event.chKey == VK_UP || event.chKey == VK_DOWN) {
                const int next = NextSelectable(event.chKey == VK_UP ? -1 : 1);
                if (next >= 0) {
                    SelectItem(next);
                }
                return;
            }
            break;
        case UIEVENT_SCROLLWHEEL: {
            const int next = NextSelectable(LOWORD(event.wParam) == 0 ? -1 : 1);
            if (next >= 0) {
                SelectItem(next);
            }
            return;
        }
        default:
            break;
    }
    CContainerUI::DoEvent(event);
}

void CComboUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"dropboxsize") {
        m_szDropBox = ParseSize(value);
    } else if (name == L"normalimage") {
        m_sNormalImage = pstrValue;
    } else if (name == L"textcolor") {
        m_look.textColor = ParseColor(value);
    } else if (name == L"font") {
        m_look.font = ParseInt(value, -1);
    } else if (name == L"textpadding") {
        m_look.textPadding = ParseRect(value);
    } else if (name == L"itemtextcolor") {
        m_look.itemTextColor = ParseColor(value);
    } else if (name == L"itembkcolor") {
        m_look.itemBkColor = ParseColor(value);
    } else if (name == L"itemhotbkcolor") {
        m_look.itemHotBkColor = ParseColor(value);
    } else if (name == L"itemselectedbkcolor") {
        m_look.itemSelectedBkColor = ParseColor(value);
    } else if (name == L"selectedid") {
        SelectItem(ParseInt(value, -1), false, false);
    } else {
        CContainerUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace DuiLib
