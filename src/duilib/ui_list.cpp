#include "duilib/ui_list.h"

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace DuiLib {

// ---- shared row behaviour

void CListItemState::SetOwnerState(CControlUI* pOwner) {
    m_pOwner = pOwner ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

bool CListItemState::HandleRowEvent(CControlUI* self, TEventUI& event) {
    if (!self->IsEnabled()) {
        return false;
    }
    if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_RBUTTONDOWN) {
        if (m_pOwner != nullptr) {
            m_pOwner->SelectItem(m_iIndex, true);
        }
        if (self->GetManager() != nullptr && event.Type == UIEVENT_BUTTONDOWN) {
            self->GetManager()->SendNotify(self, DUI_MSGTYPE_ITEMCLICK);
        }
        return true;
    }
    if (event.Type == UIEVENT_DBLCLICK) {
        self->Activate();
        return true;
    }
    return false;
}

bool CListSelection::Move(const std::vector<CControlUI*>& rows, int iIndex, bool* changed,
                          int* old) {
    *changed = false;
    *old = m_iCurSel;
    if (iIndex == m_iCurSel) {
        return true;
    }
    if (iIndex < -1 || iIndex >= static_cast<int>(rows.size())) {
        return false;
    }
    CControlUI* target = iIndex >= 0 ? rows[static_cast<size_t>(iIndex)] : nullptr;
    if (target != nullptr && !target->IsEnabled()) {
        return false;
    }
    if (m_iCurSel >= 0 && m_iCurSel < static_cast<int>(rows.size())) {
        auto* item = static_cast<IListItemUI*>(
            rows[static_cast<size_t>(m_iCurSel)]->GetInterface(L"ListItem"));
        if (item != nullptr) {
            item->Select(false);
        }
    }
    m_iCurSel = iIndex;
    if (target != nullptr) {
        auto* item = static_cast<IListItemUI*>(target->GetInterface(L"ListItem"));
        if (item != nullptr) {
            item->Select(true);
        }
    }
    *changed = true;
    return true;
}

void CListSelection::RowRemoved(int iIndex) {
    if (iIndex == m_iCurSel) {
        m_iCurSel = -1;
    } else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
}

// ---- CListContainerElementUI

LPCTSTR CListContainerElementUI::GetClass() const {
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCTSTR pstrName) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (EqualsNoCase(name, L"ListItem")) {
        return static_cast<IListItemUI*>(this);
    }
    if (EqualsNoCase(name, L"ListContainerElement")) {
        return static_cast<CListContainerElementUI*>(this);
    }
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const {
    return IsEnabled() ? 1u : 0u;
}

bool CListContainerElementUI::Select(bool bSelect) {
    if (!IsEnabled() && bSelect) {
        return false;
    }
    m_bSelected = bSelect;
    Invalidate();
    return true;
}

bool CListContainerElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    }
    return true;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    if (!HandleRowEvent(this, event)) {
        CHorizontalLayoutUI::DoEvent(event);
    }
}

// ---- CListLabelElementUI

LPCTSTR CListLabelElementUI::GetClass() const {
    return L"ListLabelElementUI";
}

LPVOID CListLabelElementUI::GetInterface(LPCTSTR pstrName) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (EqualsNoCase(name, L"ListItem")) {
        return static_cast<IListItemUI*>(this);
    }
    if (EqualsNoCase(name, L"ListLabelElement")) {
        return static_cast<CListLabelElementUI*>(this);
    }
    return CLabelUI::GetInterface(pstrName);
}

UINT CListLabelElementUI::GetControlFlags() const {
    return IsEnabled() ? 1u : 0u;
}

bool CListLabelElementUI::Select(bool bSelect) {
    if (!IsEnabled() && bSelect) {
        return false;
    }
    m_bSelected = bSelect;
    Invalidate();
    return true;
}

bool CListLabelElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    }
    return true;
}

void CListLabelElementUI::DoEvent(TEventUI& event) {
    if (!HandleRowEvent(this, event)) {
        CLabelUI::DoEvent(event);
    }
}

// ---- CListUI

LPCTSTR CListUI::GetClass() const {
    return L"ListUI";
}

LPVOID CListUI::GetInterface(LPCTSTR pstrName) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (EqualsNoCase(name, L"List")) {
        return static_cast<CListUI*>(this);
    }
    if (EqualsNoCase(name, L"IListOwner")) {
        return static_cast<IListOwnerUI*>(this);
    }
    return CVerticalLayoutUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const {
    return IsEnabled() ? 1u : 0u;
}

void CListUI::Renumber() {
    for (int i = 0; i < GetCount(); ++i) {
        auto* item = static_cast<IListItemUI*>(GetItemAt(i)->GetInterface(L"ListItem"));
        if (item != nullptr) {
            item->SetIndex(i);
            item->SetOwner(this);
        }
    }
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CVerticalLayoutUI::AddAt(pControl, iIndex)) {
        return false;
    }
    if (iIndex <= m_selection.Current()) {
        bool changed = false;
        int old = 0;
        const int keep = m_selection.Current() + 1;
        m_selection.Clear();
        m_selection.Move(m_items, keep, &changed, &old);
    }
    Renumber();
    return true;
}

bool CListUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
    if (!CVerticalLayoutUI::RemoveAt(iIndex, bDoNotDestroy)) {
        return false;
    }
    m_selection.RowRemoved(iIndex);
    Renumber();
    return true;
}

bool CListUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index, bDoNotDestroy);
}

void CListUI::RemoveAll() {
    CVerticalLayoutUI::RemoveAll();
    m_selection.Clear();
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus, bool bTriggerEvent) {
    bool changed = false;
    int old = -1;
    if (!m_selection.Move(m_items, iIndex, &changed, &old)) {
        return false;
    }
    if (bTakeFocus && iIndex >= 0 && m_pManager != nullptr) {
        m_pManager->SetFocus(GetItemAt(iIndex));
    }
    if (changed && bTriggerEvent && m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex),
                               static_cast<LPARAM>(old));
    }
    return true;
}

void CListUI::DoEvent(TEventUI& event) {
    CVerticalLayoutUI::DoEvent(event);
}

}  // namespace DuiLib
