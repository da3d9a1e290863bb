#include "duilib/ui_list.h"

#include <algorithm>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace DuiLib {

// ---- rows

template <class Base>
LPVOID CListRowUI<Base>::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"ListItem")) {
        return static_cast<IListItemUI*>(this);
    }
    return Base::GetInterface(pstrName);
}

template <class Base>
UINT CListRowUI<Base>::GetControlFlags() const {
    return this->IsEnabled() ? 1u : 0u;
}

template <class Base>
void CListRowUI<Base>::SetOwner(CControlUI* pOwner) {
    m_pOwner = pOwner ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
    m_pOwnerControl = m_pOwner != nullptr ? pOwner : nullptr;
}

template <class Base>
bool CListRowUI<Base>::Select(bool bSelect) {
    if (!this->IsEnabled() && bSelect) {
        return false;
    }
    m_bSelected = bSelect;
    this->Invalidate();
    return true;
}

template <class Base>
bool CListRowUI<Base>::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (this->m_pManager != nullptr) {
        this->m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    }
    return true;
}

template <class Base>
void CListRowUI<Base>::DoEvent(TEventUI& event) {
    if (!HandleRowEvent(event)) {
        Base::DoEvent(event);
    }
}

template <class Base>
bool CListRowUI<Base>::HandleRowEvent(TEventUI& event) {
    if (!this->IsEnabled()) {
        return false;
    }
    if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_RBUTTONDOWN) {
        if (m_pOwner != nullptr) {
            m_pOwner->SelectItem(m_iIndex, true);
        }
        if (this->GetManager() != nullptr && event.Type == UIEVENT_BUTTONDOWN) {
            this->GetManager()->SendNotify(this, DUI_MSGTYPE_ITEMCLICK);
        }
        return true;
    }
    if (event.Type == UIEVENT_DBLCLICK) {
        this->Activate();
        return true;
    }
    if (event.Type == UIEVENT_KEYDOWN && m_pOwnerControl != nullptr) {
        m_pOwnerControl->DoEvent(event);
        return true;
    }
    return false;
}

template class CListRowUI<CHorizontalLayoutUI>;
template class CListRowUI<CLabelUI>;

// ---- selection

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

int CListSelection::Selectable(const std::vector<CControlUI*>& rows, int from, int step) {
    for (int i = from; i >= 0 && i < static_cast<int>(rows.size()); i += step) {
        if (rows[static_cast<size_t>(i)]->IsEnabled()) {
            return i;
        }
    }
    return -1;
}

void CListSelection::RowRemoved(int iIndex) {
    if (iIndex == m_iCurSel) {
        m_iCurSel = -1;
    } else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
}

// ---- CListContainerElementUI, CListLabelElementUI

LPCTSTR CListContainerElementUI::GetClass() const {
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"ListContainerElement")) {
        return static_cast<CListContainerElementUI*>(this);
    }
    return CListRowUI::GetInterface(pstrName);
}

LPCTSTR CListLabelElementUI::GetClass() const {
    return L"ListLabelElementUI";
}

LPVOID CListLabelElementUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"ListLabelElement")) {
        return static_cast<CListLabelElementUI*>(this);
    }
    return CListRowUI::GetInterface(pstrName);
}

// ---- list owners

template <class Base>
LPVOID CListOwnerBaseUI<Base>::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"IListOwner")) {
        return static_cast<IListOwnerUI*>(this);
    }
    return Base::GetInterface(pstrName);
}

template <class Base>
UINT CListOwnerBaseUI<Base>::GetControlFlags() const {
    return this->IsEnabled() ? 1u : 0u;
}

template <class Base>
void CListOwnerBaseUI<Base>::Renumber() {
    for (int i = 0; i < this->GetCount(); ++i) {
        auto* item = static_cast<IListItemUI*>(this->GetItemAt(i)->GetInterface(L"ListItem"));
        if (item != nullptr) {
            item->SetIndex(i);
            item->SetOwner(this);
        }
    }
}

template <class Base>
bool CListOwnerBaseUI<Base>::AddAt(CControlUI* pControl, int iIndex) {
    const int current = m_selection.Current();
    if (!Base::AddAt(pControl, iIndex)) {
        return false;
    }
    if (current >= 0 && iIndex <= current) {
        // The selected row moved down one place; it stays the selected row.
        bool changed = false;
        int old = 0;
        m_selection.Clear();
        m_selection.Move(this->m_items, current + 1, &changed, &old);
    }
    Renumber();
    return true;
}

template <class Base>
bool CListOwnerBaseUI<Base>::RemoveAt(int iIndex, bool bDoNotDestroy) {
    if (!Base::RemoveAt(iIndex, bDoNotDestroy)) {
        return false;
    }
    m_selection.RowRemoved(iIndex);
    Renumber();
    this->Invalidate();
    return true;
}

template <class Base>
bool CListOwnerBaseUI<Base>::Remove(CControlUI* pControl, bool bDoNotDestroy) {
    const int index = this->GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index, bDoNotDestroy);
}

template <class Base>
void CListOwnerBaseUI<Base>::RemoveAll() {
    Base::RemoveAll();
    m_selection.Clear();
    this->Invalidate();
}

template class CListOwnerBaseUI<CVerticalLayoutUI>;
template class CListOwnerBaseUI<CContainerUI>;

// ---- CListUI

LPCTSTR CListUI::GetClass() const {
    return L"ListUI";
}

LPVOID CListUI::GetInterface(LPCTSTR pstrName) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (EqualsNoCase(name, L"List")) {
        return static_cast<CListUI*>(this);
    }
    return CListOwnerBaseUI::GetInterface(pstrName);
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex) {
    ApplyItemLook(pControl);
    return CListOwnerBaseUI::AddAt(pControl, iIndex);
}

void CListUI::ApplyItemLook(CControlUI* row) const {
    if (row == nullptr || row->GetInterface(L"ListItem") == nullptr) {
        return;
    }
    if (row->GetFixedHeight() == 0 && m_itemLook.height > 0) {
        row->SetFixedHeight(m_itemLook.height);
    }
    auto* label = static_cast<CLabelUI*>(row->GetInterface(L"Label"));
    if (label == nullptr) {
        return;
    }
    if (label->GetTextColor() == 0) {
        label->SetTextColor(m_itemLook.textColor);
    }
    if (label->GetDisabledTextColor() == 0) {
        label->SetDisabledTextColor(m_itemLook.disabledTextColor);
    }
    if (label->GetFont() < 0) {
        label->SetFont(m_itemLook.font);
    }
    if (label->GetTextPadding() == RECT{}) {
        label->SetTextPadding(m_itemLook.textPadding);
    }
}

void CListUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"itemheight") {
        m_itemLook.height = ParseCoordinate(value);
    } else if (name == L"itemfont") {
        m_itemLook.font = ParseInt(value, -1);
    } else if (name == L"itemtextcolor") {
        m_itemLook.textColor = ParseColor(value);
    } else if (name == L"itemdisabledtextcolor") {
        m_itemLook.disabledTextColor = ParseColor(value);
    } else if (name == L"itemselectedbkcolor") {
        m_itemLook.selectedBkColor = ParseColor(value);
    } else if (name == L"itemhotbkcolor") {
        m_itemLook.hotBkColor = ParseColor(value);
    } else if (name == L"itemtextpadding") {
        m_itemLook.textPadding = ParseRect(value);
    } else {
        CListOwnerBaseUI::SetAttribute(pstrName, pstrValue);
        return;
    }
    // Rows already there take the look as well.
    for (CControlUI* row : m_items) {
        ApplyItemLook(row);
    }
    Invalidate();
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
    EnsureVisible(iIndex);
    if (changed && bTriggerEvent && m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex),
                               static_cast<LPARAM>(old));
    }
    return true;
}

void CListUI::EnsureVisible(int iIndex) {
    if (GetItemAt(iIndex) == nullptr) {
        return;
    }
    // Rows added since the last layout have no place yet.
    if (IsUpdateNeeded()) {
        m_iShowAfterLayout = iIndex;
        NeedUpdate();
        return;
    }
    CContainerUI::EnsureVisible(GetItemAt(iIndex));
}

void CListUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CListOwnerBaseUI::SetPos(rc, bNeedInvalidate);
    if (m_iShowAfterLayout >= 0) {
        EnsureVisible(std::exchange(m_iShowAfterLayout, -1));
    }
}

int CListUI::RowsPerView() const {
    const CControlUI* row = GetItemAt(std::max(0, GetCurSel()));
    const int rowHeight = row != nullptr ? std::max(1, row->GetHeight()) : 1;
    return std::max(1, static_cast<int>(GetViewRect().bottom - GetViewRect().top) / rowHeight);
}

int CListUI::RowForKey(WPARAM key) const {
    const int current = GetCurSel();
    const int last = GetCount() - 1;
    switch (key) {
        case VK_UP:
            return CListSelection::Selectable(m_items, current < 0 ? last : current - 1, -1);
        case VK_DOWN:
            return CListSelection::Selectable(m_items, current + 1, 1);
        case VK_HOME:
            return CListSelection::Selectable(m_items, 0, 1);
        case VK_END:
            return CListSelection::Selectable(m_items, last, -1);
        case VK_PRIOR: {
            const int row =
                CListSelection::Selectable(m_items, std::max(0, current - RowsPerView()), 1);
            return row >= 0 && row < current ? row : RowForKey(VK_HOME);
        }
        case VK_NEXT: {
            const int row =
                CListSelection::Selectable(m_items, std::min(last, current + RowsPerView()), -1);
            return row > current ? row : RowForKey(VK_END);
        }
        default:
            return -1;
    }
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_KEYDOWN && IsEnabled()) {
        if (const int row = RowForKey(event.chKey); row >= 0) {
            SelectItem(row, true);
            return;
        }
    }
    CListOwnerBaseUI::DoEvent(event);
}

}  // namespace DuiLib
