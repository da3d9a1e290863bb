#pragma once
// Lookups of a panel's own child controls by name (compared without regard to case), so
// a panel works whether or not it is attached to a window yet. A missing control, or one of
// another kind, gives null and the caller skips its step.

#include <string_view>

#include "duilib/dui_string.h"
#include "duilib/ui_control.h"

DuiLib::CControlUI* FindNamedControl(DuiLib::CControlUI* root, std::wstring_view name);

template <class T>
T* FindNamed(DuiLib::CControlUI* root, std::wstring_view name) {
    return dynamic_cast<T*>(FindNamedControl(root, name));
}

// Panels' read-only accessors look up their own children the same way.
template <class T>
T* FindNamed(const DuiLib::CControlUI* root, std::wstring_view name) {
    return FindNamed<T>(const_cast<DuiLib::CControlUI*>(root), name);
}

// prefix + decimal n ("magic_option_" 3 -> "magic_option_3").
DuiLib::CDuiString IndexedName(const wchar_t* prefix, int n);

// Shows or hides, enables or disables a named control when it exists.
void SetNamedVisible(DuiLib::CControlUI* root, std::wstring_view name, bool visible);
void SetNamedEnabled(DuiLib::CControlUI* root, std::wstring_view name, bool enabled);

// A row for the panels' combos and lists. Its selectability follows its own visible flag
// only: a panel on a tab page that is not shown must still show its values.
DuiLib::CControlUI* NewListRow(const DuiLib::CDuiString& text, bool textIsKey = false);

// The language text of a key, as controls with resource texts show it.
DuiLib::CDuiString TranslateKey(const wchar_t* key);
