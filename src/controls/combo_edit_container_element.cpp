#include "controls/combo_edit_container_element.h"

#include "duilib/own_interface.h"

LPCTSTR CComboEditContainerElementUI::GetClass() const {
    return kClassName;
}

LPVOID CComboEditContainerElementUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CListContainerElementUI>(this, pstrName);
}

DuiLib::CEditUI* CComboEditContainerElementUI::GetEdit() const {
    for (int i = 0; i < GetCount(); ++i) {
        if (auto* edit = dynamic_cast<DuiLib::CEditUI*>(GetItemAt(i))) {
            return edit;
        }
    }
    return nullptr;
}

DuiLib::CDuiString CComboEditContainerElementUI::GetText() const {
    const DuiLib::CEditUI* edit = GetEdit();
    return edit != nullptr ? edit->GetText() : CListContainerElementUI::GetText();
}

void CComboEditContainerElementUI::SetText(LPCTSTR pstrText) {
    if (DuiLib::CEditUI* edit = GetEdit()) {
        edit->SetText(pstrText);
        return;
    }
    CListContainerElementUI::SetText(pstrText);
}
