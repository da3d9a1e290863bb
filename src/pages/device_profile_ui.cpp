#include "pages/device_profile_ui.h"

#include <algorithm>
#include <iterator>

#include "duilib/own_interface.h"
#include "duilib/string_utils.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "pages/panel_lookup.h"

namespace {

constexpr const wchar_t* kTabNames[] = {
    L"deng_Op_tab",   L"key_Op_tab",          L"macro_Op_tab", L"system_Op_tab",
    L"cursor_Op_tab", L"Tamsel_voice_Op_tab", L"magic_Op_tab", L"Virtual7.1_Op_tab",
};
constexpr int kTabCount = static_cast<int>(std::size(kTabNames));

constexpr const wchar_t* kCombo = L"device_profile_combo";
constexpr const wchar_t* kNameEdit = L"device_profile_edit";

}  // namespace

LPCTSTR CDeviceProfileUI::GetClass() const {
    return kClassName;
}

LPVOID CDeviceProfileUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CVerticalLayoutUI>(this, pstrName);
}

void CDeviceProfileUI::SetDeviceKind(int kind) {
    m_kind = kind;
    m_store.SetDeviceKind(kind);
}

void CDeviceProfileUI::SetPaths(DuiLib::CDuiString folder, DuiLib::CDuiString defaultFile) {
    m_store.SetPaths(folder.ToUtf8(), defaultFile.ToUtf8());
}

std::vector<int> CDeviceProfileUI::AllowedFunctionTabs(int kind) {
    switch (kind) {
        case 1:  // keyboard
            return {1, 2, 3, 4};
        case 2:  // mice
        case 6:
            return {1, 2, 3, 4, 5};
        case 7:  // headset
            return {1, 6, 7, 8};
        default:  // mouse pad and anything else: lighting only
            return {1};
    }
}

void CDeviceProfileUI::LoadProfileList() {
    m_store.Load();
    FillCombo();
    ShowAllowedTabs();
}

void CDeviceProfileUI::ShowAllowedTabs() {
    const std::vector<int> allowed = AllowedFunctionTabs(m_kind);
    for (int n = 1; n <= kTabCount; ++n) {
        const bool shown = std::find(allowed.begin(), allowed.end(), n) != allowed.end();
        SetNamedVisible(this, kTabNames[n - 1], shown);
    }
}

void CDeviceProfileUI::SelectFunctionTab(int n) {
    for (int i = 1; i <= kTabCount; ++i) {
        if (auto* tab = FindNamed<DuiLib::COptionUI>(this, kTabNames[i - 1])) {
            // No notification: the window's tab handler is what calls this.
            tab->Selected(i == n, false);
        }
    }
}

DuiLib::CDuiString CDeviceProfileUI::GetSelectedProfileUUID() const {
    return Utf8ToDuiString(m_store.SelectedUuid());
}

DuiLib::CDuiString CDeviceProfileUI::GetProfileName(int index) const {
    if (index < 0 || index >= GetProfileCount()) {
        return {};
    }
    return Utf8ToDuiString(m_store.Entries()[static_cast<size_t>(index)].name);
}

void CDeviceProfileUI::FillCombo() {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kCombo);
    if (combo != nullptr) {
        combo->RemoveAll();
        for (const ProfileEntry& entry : m_store.Entries()) {
            combo->Add(NewListRow(Utf8ToDuiString(entry.name)));
        }
        // The window reacts to user choices only; showing the stored one is silent.
        combo->SelectItem(m_store.SelectedIndex(), false, false);
    }
    if (auto* edit = FindNamed<DuiLib::CEditUI>(this, kNameEdit)) {
        edit->SetText(GetProfileName(m_store.SelectedIndex()));
    }
}

int CDeviceProfileUI::AddProfile() {
    const int result = m_store.Add(m_store.NextDefaultName());
    FillCombo();
    return result;
}

int CDeviceProfileUI::DeleteProfile() {
    const int result = m_store.Delete();
    FillCombo();
    return result;
}

int CDeviceProfileUI::CopyProfile() {
    const int index = m_store.SelectedIndex();
    if (index < 0) {
        return 0;
    }
    const std::string name = m_store.Entries()[static_cast<size_t>(index)].name + "_copy";
    const int result = m_store.Copy(name);
    FillCombo();
    return result;
}

int CDeviceProfileUI::RenameProfile(DuiLib::CDuiString name) {
    if (IsBlankText(name)) {
        return 0;
    }
    const int result = m_store.Rename(name.ToUtf8());
    FillCombo();
    return result;
}

int CDeviceProfileUI::ImportProfile(DuiLib::CDuiString path) {
    const int result = m_store.Import(path.ToUtf8());
    FillCombo();
    return result;
}

int CDeviceProfileUI::ExportProfile(DuiLib::CDuiString path) {
    return m_store.Export(path.ToUtf8());
}

int CDeviceProfileUI::ResetProfile() {
    return m_store.Reset();
}

int CDeviceProfileUI::SelectProfile(int index) {
    const int result = m_store.Select(index);
    FillCombo();
    return result;
}

int CDeviceProfileUI::SelectComboProfile() {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kCombo);
    return combo != nullptr ? SelectProfile(combo->GetCurSel()) : 0;
}

DuiLib::CDuiString CDeviceProfileUI::GetEditedName() const {
    auto* edit = FindNamed<DuiLib::CEditUI>(this, kNameEdit);
    return edit != nullptr ? edit->GetText() : DuiLib::CDuiString();
}
