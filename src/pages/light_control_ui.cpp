#include "pages/light_control_ui.h"

#include <algorithm>
#include <string>

#include "controls/color_palette.h"
#include "duilib/own_interface.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"
#include "pages/panel_lookup.h"

namespace {

constexpr const wchar_t* kModeCombo = L"light_combo_modeSelect";
constexpr const wchar_t* kAreaCombo = L"light_combo_QRVMmodeSelect";
constexpr const wchar_t* kCustomCombo = L"light_combo_custommodeSelect";
constexpr const wchar_t* kBrightness = L"deng_light_slider";
constexpr const wchar_t* kSpeed = L"deng_speed_slider";
constexpr const wchar_t* kLeft = L"deng_FXL_check";
constexpr const wchar_t* kRight = L"deng_FXR_check";
constexpr const wchar_t* kMultiColor = L"deng_7color_check";
constexpr const wchar_t* kRed = L"deng_edit_R";
constexpr const wchar_t* kGreen = L"deng_edit_G";
constexpr const wchar_t* kBlue = L"deng_edit_B";
constexpr const wchar_t* kSyncButton = L"deng_same_mode";
constexpr const wchar_t* kPalette = L"deng_Color_Pallet";
constexpr const wchar_t* kLightKeysButton = L"custom_bright_color_btn";
constexpr const wchar_t* kDarkenKeysButton = L"custom_off_color_btn";
constexpr int kKeyboardKind = 1;

}  // namespace

LPCTSTR CLightControlUI::GetClass() const {
    return kClassName;
}

LPVOID CLightControlUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CHorizontalLayoutUI>(this, pstrName);
}

void CLightControlUI::FillCombo(const wchar_t* name, const std::vector<DuiLib::CDuiString>& rows,
                                const std::vector<int>* enabled, bool rowsAreKeys) {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, name);
    if (combo == nullptr) {
        return;
    }
    combo->RemoveAll();
    for (size_t i = 0; i < rows.size(); ++i) {
        DuiLib::CControlUI* row = NewListRow(rows[i], rowsAreKeys);
        // A missing flag leaves the row usable.
        if (enabled != nullptr && i < enabled->size() && (*enabled)[i] == 0) {
            row->SetEnabled(false);
        }
        combo->Add(row);
    }
}

void CLightControlUI::InitLightModes(std::vector<DuiLib::CDuiString> names,
                                     std::vector<int> enabled, int maxBrightness, int maxSpeed,
                                     std::vector<DuiLib::CDuiString> customNames) {
    // The device's light names are language keys: the rows show them in the current
    // language.
    FillCombo(kModeCombo, names, &enabled, true);
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kModeCombo)) {
        for (const DuiLib::CDuiString& name : customNames) {
            combo->Add(NewListRow(name));
        }
    }
    if (auto* slider = FindNamed<DuiLib::CSliderUI>(this, kBrightness)) {
        slider->SetMinValue(1);
        slider->SetMaxValue(std::max(1, maxBrightness));
    }
    if (auto* slider = FindNamed<DuiLib::CSliderUI>(this, kSpeed)) {
        slider->SetMaxValue(maxSpeed);
    }
}

void CLightControlUI::SetAreaModeNames(std::vector<DuiLib::CDuiString> names) {
    FillCombo(kAreaCombo, names, nullptr, true);
}

void CLightControlUI::SetCustomModeNames(std::vector<DuiLib::CDuiString> names) {
    FillCombo(kCustomCombo, names, nullptr, true);
}

void CLightControlUI::ShowLightSettings(LightPanelRecord record) {
    const int mode = record[0];
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kModeCombo)) {
        // A mode without a usable row shows no selection rather than a stale one.
        if (!combo->SelectItem(mode, false, false)) {
            combo->SelectItem(-1, false, false);
        }
    }
    if (auto* slider = FindNamed<DuiLib::CSliderUI>(this, kBrightness)) {
        slider->SetValue(record[1]);
    }
    if (auto* slider = FindNamed<DuiLib::CSliderUI>(this, kSpeed)) {
        slider->SetValue(record[2]);
    }
    if (auto* left = FindNamed<DuiLib::COptionUI>(this, kLeft)) {
        left->Selected(record[3] != 0, false);
    }
    if (auto* right = FindNamed<DuiLib::COptionUI>(this, kRight)) {
        right->Selected(record[3] == 0, false);
    }
    if (auto* multi = FindNamed<DuiLib::COptionUI>(this, kMultiColor)) {
        multi->Selected(record[4] != 0, false);
    }
    SetColor(record[5], record[6], record[7]);
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kAreaCombo)) {
        if (!combo->SelectItem(record[11], false, false)) {
            combo->SelectItem(-1, false, false);
        }
    }
    LayoutForMode(mode);
}

void CLightControlUI::LayoutForMode(int mode) {
    const bool lit = mode != 0;
    const bool keyboardCustom = m_kind == kKeyboardKind && mode == kKeyboardCustomMode;
    auto* area = FindNamed<DuiLib::CComboUI>(this, kAreaCombo);
    const bool hasAreas = area != nullptr && area->GetCount() > 0;
    SetNamedVisible(this, L"light_custom_layout", keyboardCustom);
    SetNamedVisible(this, kLightKeysButton, keyboardCustom);
    SetNamedVisible(this, kDarkenKeysButton, keyboardCustom);
    SetNamedVisible(this, L"light_QRVM_layout", lit && hasAreas && m_kind == kKeyboardKind);
    SetNamedVisible(this, L"light_direction_layout", lit && !keyboardCustom);
    // In the custom mode the colour is the brush the keys are painted with.
    SetNamedVisible(this, L"light_color_layout", lit);
    SetNamedVisible(this, kMultiColor, lit && !keyboardCustom);
    SetNamedEnabled(this, kBrightness, lit);
    SetNamedEnabled(this, kSpeed, lit && !keyboardCustom);
}

void CLightControlUI::SetCustomLightMode(int n) {
    if (auto* combo = FindNamed<DuiLib::CComboUI>(this, kCustomCombo)) {
        // A group number from a profile that names no row shows none.
        if (!combo->SelectItem(n, false, false)) {
            combo->SelectItem(-1, false, false);
        }
    }
}

int CLightControlUI::GetCustomLightMode() const {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kCustomCombo);
    return combo != nullptr ? combo->GetCurSel() : -1;
}

void CLightControlUI::SetSyncMode(bool show) {
    m_syncMode = show;
    SetNamedVisible(this, kSyncButton, show);
}

int CLightControlUI::GetSelectedMode() const {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kModeCombo);
    return combo != nullptr ? combo->GetCurSel() : -1;
}

int CLightControlUI::GetAreaMode() const {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kAreaCombo);
    return combo != nullptr ? combo->GetCurSel() : -1;
}

int CLightControlUI::GetBrightness() const {
    auto* slider = FindNamed<DuiLib::CSliderUI>(this, kBrightness);
    return slider != nullptr ? slider->GetValue() : 0;
}

int CLightControlUI::GetSpeed() const {
    auto* slider = FindNamed<DuiLib::CSliderUI>(this, kSpeed);
    return slider != nullptr ? slider->GetValue() : 0;
}

int CLightControlUI::GetDirection() const {
    auto* left = FindNamed<DuiLib::COptionUI>(this, kLeft);
    return left != nullptr && left->IsSelected() ? 1 : 0;
}

bool CLightControlUI::IsMultiColor() const {
    auto* multi = FindNamed<DuiLib::COptionUI>(this, kMultiColor);
    return multi != nullptr && multi->IsSelected();
}

int CLightControlUI::EditValue(const wchar_t* name) const {
    auto* edit = FindNamed<DuiLib::CEditUI>(this, name);
    if (edit == nullptr) {
        return 0;
    }
    const std::wstring text = edit->GetText().str();
    long value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return 0;
        }
        value = std::min(value * 10 + (c - L'0'), 255L);
    }
    return static_cast<int>(value);
}

int CLightControlUI::GetRed() const {
    return EditValue(kRed);
}
int CLightControlUI::GetGreen() const {
    return EditValue(kGreen);
}
int CLightControlUI::GetBlue() const {
    return EditValue(kBlue);
}

void CLightControlUI::SetColor(int red, int green, int blue) {
    const std::pair<const wchar_t*, int> edits[] = {{kRed, red}, {kGreen, green}, {kBlue, blue}};
    for (const auto& [name, value] : edits) {
        if (auto* edit = FindNamed<DuiLib::CEditUI>(this, name)) {
            edit->SetText(std::to_wstring(std::clamp(value, 0, 255)).c_str());
        }
    }
}

bool CLightControlUI::ApplyPaletteColor() {
    auto* palette = FindNamed<CColorPaletteUI>(this, kPalette);
    if (palette == nullptr || palette->GetPickedColor() < 0) {
        return false;
    }
    const auto rgb = static_cast<uint32_t>(palette->GetPickedColor());
    SetColor(static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF),
             static_cast<int>(rgb & 0xFF));
    return true;
}

void CLightControlUI::EnableKeyChoiceButtons(bool enabled) {
    SetNamedEnabled(this, kLightKeysButton, enabled);
    SetNamedEnabled(this, kDarkenKeysButton, enabled);
}

bool CLightControlUI::ApplyPresetColor(int n) {
    DuiLib::CControlUI* preset = FindNamedControl(this, IndexedName(L"color_option_", n).view());
    if (preset == nullptr) {
        return false;
    }
    const DWORD argb = preset->GetBkColor();
    SetColor(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
             static_cast<int>(argb & 0xFF));
    return true;
}
