#include "controls/hand_buttons.h"

namespace {

bool IsName(LPCTSTR asked, const wchar_t* name) {
    return asked != nullptr && DuiLib::CDuiString(asked).CompareNoCase(name) == 0;
}

}  // namespace

LPCTSTR CHandImgButtonUI::GetClass() const {
    return kClassName;
}

LPVOID CHandImgButtonUI::GetInterface(LPCTSTR pstrName) {
    return IsName(pstrName, kClassName) ? this : CButtonUI::GetInterface(pstrName);
}

LPCTSTR CHandImgSelectButtonUI::GetClass() const {
    return kClassName;
}

LPVOID CHandImgSelectButtonUI::GetInterface(LPCTSTR pstrName) {
    return IsName(pstrName, kClassName) ? this : COptionUI::GetInterface(pstrName);
}
