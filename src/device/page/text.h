#pragma once
// Language texts on a device page. Each page holds a hidden label, "text_test", that
// shows what is set as its text in the current language; the pages translate through it
// so that a text follows the same rules as the page's own controls.

#include "duilib/dui_string.h"
#include "duilib/ui_control.h"

namespace device {

inline constexpr const wchar_t* kTranslationLabelName = L"text_test";

// The text of language key `key`: through `label` when the page has one, else straight
// from the language table.
DuiLib::CDuiString TranslatePageText(DuiLib::CControlUI* label, const wchar_t* key);

}  // namespace device
