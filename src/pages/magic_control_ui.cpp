#include "pages/magic_control_ui.h"

#include "duilib/own_interface.h"
#include "duilib/ui_button.h"
#include "pages/panel_lookup.h"

namespace {
constexpr const wchar_t* kSwitch = L"magic_enable_option";
constexpr const wchar_t* kOptions = L"magic_option_layout";
constexpr const wchar_t* kOptionPrefix = L"magic_option_";
}  // namespace

LPCTSTR CMagicControlUI::GetClass() const {
    return kClassName;
}

LPVOID CMagicControlUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CVerticalLayoutUI>(this, pstrName);
}

void CMagicControlUI::SetMagicEnabled(bool enabled) {
    if (auto* option = FindNamed<DuiLib::COptionUI>(this, kSwitch)) {
        option->Selected(enabled, false);
    }
    EnableMagicOptions(enabled);
}

bool CMagicControlUI::IsMagicEnabled() const {
    auto* option = FindNamed<DuiLib::COptionUI>(this, kSwitch);
    return option != nullptr && option->IsSelected();
}

void CMagicControlUI::EnableMagicOptions(bool enabled) {
    SetNamedEnabled(this, kOptions, enabled);
}

void CMagicControlUI::SelectMagicEffect(int n) {
    m_effect = (n >= 1 && n <= kEffectCount) ? n : 0;
    for (int i = 1; i <= kEffectCount; ++i) {
        if (auto* option =
                FindNamed<DuiLib::COptionUI>(this, IndexedName(kOptionPrefix, i).view())) {
            option->Selected(i == m_effect, false);
        }
    }
}
