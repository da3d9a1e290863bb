#include "pages/voice_tamsel_control_ui.h"

#include "duilib/own_interface.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"
#include "pages/panel_lookup.h"

namespace {

constexpr const wchar_t* kPresetPrefix = L"Tamsel_eq_option_";
constexpr const wchar_t* kBandPrefix = L"Tamsel_eq_hz_slider_";
constexpr const wchar_t* kCustomLayout = L"custom_eq_layout";
constexpr const wchar_t* kMicIn = L"Tamsel_MicIn_option";
constexpr const wchar_t* kMonitor = L"Tamsel_MicMoniter_option";
constexpr const wchar_t* kMicInSlider = L"Tamsel_MicIn_slider";
constexpr const wchar_t* kMonitorSlider = L"Tamsel_MicMoniter_slider";
constexpr const wchar_t* kNameEdit = L"custom_eq_name_edit";
constexpr const wchar_t* kNameCombo = L"custom_eq_name_combo";

void SelectOption(DuiLib::CControlUI* root, const wchar_t* name, bool selected) {
    if (auto* option = FindNamed<DuiLib::COptionUI>(root, name)) {
        option->Selected(selected, false);
    }
}

bool IsOptionSelected(const DuiLib::CControlUI* root, const wchar_t* name) {
    auto* option = FindNamed<DuiLib::COptionUI>(root, name);
    return option != nullptr && option->IsSelected();
}

void SetSlider(DuiLib::CControlUI* root, std::wstring_view name, int value) {
    if (auto* slider = FindNamed<DuiLib::CSliderUI>(root, name)) {
        slider->SetValue(value);
    }
}

int SliderValue(const DuiLib::CControlUI* root, std::wstring_view name, int missing) {
    auto* slider = FindNamed<DuiLib::CSliderUI>(root, name);
    return slider != nullptr ? slider->GetValue() : missing;
}

}  // namespace

LPCTSTR CVoiceTamselControlUI::GetClass() const {
    return kClassName;
}

LPVOID CVoiceTamselControlUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CHorizontalLayoutUI>(this, pstrName);
}

void CVoiceTamselControlUI::SelectEqPreset(int n) {
    m_preset = (n >= 1 && n <= kPresetCount) ? n : 0;
    for (int i = 1; i <= kPresetCount; ++i) {
        SelectOption(this, IndexedName(kPresetPrefix, i), i == m_preset);
    }
}

int CVoiceTamselControlUI::SetEqBandValue(int band, int value) {
    if (band < 0 || band >= kBandCount) {
        return value;
    }
    const DuiLib::CDuiString name = IndexedName(kBandPrefix, band);
    SetSlider(this, name.view(), value);
    return SliderValue(this, name.view(), value);
}

int CVoiceTamselControlUI::GetEqBandValue(int band) const {
    if (band < 0 || band >= kBandCount) {
        return -1;
    }
    return SliderValue(this, IndexedName(kBandPrefix, band).view(), -1);
}

void CVoiceTamselControlUI::EnableCustomEqLayout(bool enabled) {
    SetNamedEnabled(this, kCustomLayout, enabled);
}

void CVoiceTamselControlUI::SetMicInSelected(bool selected) {
    SelectOption(this, kMicIn, selected);
}
bool CVoiceTamselControlUI::IsMicInSelected() const {
    return IsOptionSelected(this, kMicIn);
}
void CVoiceTamselControlUI::SetMicMonitorSelected(bool selected) {
    SelectOption(this, kMonitor, selected);
}
bool CVoiceTamselControlUI::IsMicMonitorSelected() const {
    return IsOptionSelected(this, kMonitor);
}
void CVoiceTamselControlUI::SetMicInValue(int value) {
    SetSlider(this, kMicInSlider, value);
}
int CVoiceTamselControlUI::GetMicInValue() const {
    return SliderValue(this, kMicInSlider, 0);
}
void CVoiceTamselControlUI::SetMicMonitorValue(int value) {
    SetSlider(this, kMonitorSlider, value);
}
int CVoiceTamselControlUI::GetMicMonitorValue() const {
    return SliderValue(this, kMonitorSlider, 0);
}

DuiLib::CDuiString CVoiceTamselControlUI::GetCustomEqName() const {
    auto* edit = FindNamed<DuiLib::CEditUI>(this, kNameEdit);
    return edit != nullptr ? edit->GetText() : DuiLib::CDuiString();
}

int CVoiceTamselControlUI::GetCustomEqSelection() const {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo);
    return combo != nullptr ? combo->GetCurSel() : -1;
}

int CVoiceTamselControlUI::GetCustomEqCount() const {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo);
    return combo != nullptr ? combo->GetCount() : 0;
}

DuiLib::CDuiString CVoiceTamselControlUI::GetCustomEqItemText(int i) const {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo);
    DuiLib::CControlUI* item = combo != nullptr ? combo->GetItemAt(i) : nullptr;
    return item != nullptr ? item->GetText() : DuiLib::CDuiString();
}

void CVoiceTamselControlUI::ClearCustomEqItems() {
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo)) {
        combo->RemoveAll();
    }
}

void CVoiceTamselControlUI::AddCustomEqItem(DuiLib::CDuiString name) {
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo)) {
        combo->Add(NewListRow(name));
    }
}

void CVoiceTamselControlUI::RemoveCustomEqItem(int i) {
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo)) {
        combo->RemoveAt(i);
    }
}

void CVoiceTamselControlUI::SelectCustomEqItem(int i) {
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kNameCombo)) {
        if (!combo->SelectItem(i, false, false)) {
            combo->SelectItem(-1, false, false);
        }
    }
    if (auto* edit = FindNamed<DuiLib::CEditUI>(this, kNameEdit)) {
        edit->SetText(L"");
    }
}
