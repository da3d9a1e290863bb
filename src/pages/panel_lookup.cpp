#include "pages/panel_lookup.h"

#include <string>

#include "duilib/resource_manager.h"
#include "duilib/ui_container.h"
#include "duilib/ui_list.h"

DuiLib::CControlUI* FindNamedControl(DuiLib::CControlUI* root, std::wstring_view name) {
    if (root == nullptr || name.empty()) {
        return nullptr;
    }
    if (root->GetName().CompareNoCase(name) == 0) {
        return root;
    }
    auto* container = static_cast<DuiLib::IContainerUI*>(root->GetInterface(L"IContainer"));
    if (container == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < container->GetCount(); ++i) {
        if (DuiLib::CControlUI* found = FindNamedControl(container->GetItemAt(i), name)) {
            return found;
        }
    }
    return nullptr;
}

DuiLib::CDuiString IndexedName(const wchar_t* prefix, int n) {
    return DuiLib::CDuiString(std::wstring(prefix ? prefix : L"") + std::to_wstring(n));
}

void SetNamedVisible(DuiLib::CControlUI* root, std::wstring_view name, bool visible) {
    if (DuiLib::CControlUI* control = FindNamedControl(root, name)) {
        control->SetVisible(visible);
    }
}

void SetNamedEnabled(DuiLib::CControlUI* root, std::wstring_view name, bool enabled) {
    if (DuiLib::CControlUI* control = FindNamedControl(root, name)) {
        control->SetEnabled(enabled);
    }
}

namespace {

class PanelListRow final : public DuiLib::CListLabelElementUI {
  public:
    bool IsVisible() const override { return m_bVisible; }
};

}  // namespace

DuiLib::CControlUI* NewListRow(const DuiLib::CDuiString& text, bool textIsKey) {
    auto* row = new PanelListRow();
    row->SetText(text);
    row->SetResourceText(textIsKey);
    return row;
}

DuiLib::CDuiString TranslateKey(const wchar_t* key) {
    return DuiLib::CResourceManager::GetInstance()->GetText(key);
}
