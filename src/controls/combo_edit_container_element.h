#pragma once
// A combo row that holds an edit: the row's text is what the edit holds, so a user can
// name the entry in place.

#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"

class CComboEditContainerElementUI : public DuiLib::CListContainerElementUI {
  public:
    static constexpr const wchar_t* kClassName = L"ComboEditContainerElement";

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    DuiLib::CDuiString GetText() const override;
    void SetText(LPCTSTR pstrText) override;

    // The first edit among the row's children, or null.
    DuiLib::CEditUI* GetEdit() const;
};
