#include "pages/key_set_control_ui.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "duilib/own_interface.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "pages/hook_messages.h"
#include "pages/key_code_tables.h"
#include "pages/key_usage_map.h"
#include "pages/panel_lookup.h"

namespace {

namespace T = KeyFunctionType;

constexpr const wchar_t* kFunctionCombo = L"keyset_function_combo";
constexpr const wchar_t* kMouseCombo = L"keyset_mousekey_combo";
constexpr const wchar_t* kSwingCombo = L"keyset_mouseswing_combo";
constexpr const wchar_t* kWheelCombo = L"keyset_mousewheel_combo";
constexpr const wchar_t* kDpiCombo = L"keyset_mousedpi_combo";
constexpr const wchar_t* kMediaCombo = L"keyset_media_combo";
constexpr const wchar_t* kSystemCombo = L"keyset_system_combo";
constexpr const wchar_t* kMacroCombo = L"keyset_macro_combo";
constexpr const wchar_t* kMacroModeCombo = L"keyset_macro_over_combo";
constexpr const wchar_t* kGunCombo = L"keyset_gunkey_combo";
constexpr const wchar_t* kShortcutCombo = L"keyset_combokey_combo";
constexpr const wchar_t* kKeyEdit = L"keyset_keyboard_text_edit";
constexpr const wchar_t* kSwingCount = L"keyset_mouseswing_num_edit";
constexpr const wchar_t* kSwingSpeed = L"keyset_mouseswing_speed_edit";
constexpr const wchar_t* kWheelCount = L"keyset_mousewheel_num_edit";
constexpr const wchar_t* kWheelSpeed = L"keyset_mousewheel_speed_edit";
constexpr const wchar_t* kFireInterval = L"keyset_mousefire_interval_edit";
constexpr const wchar_t* kFireCount = L"keyset_mousefire_num_edit";
constexpr const wchar_t* kMacroCycles = L"keyset_macro_cycle_edit";
constexpr const wchar_t* kModifierPrefix = L"key_ComBox_check_";
constexpr int kModifierChecks = 4;  // Ctrl, Shift, Alt, Win: modifier bits 0..3
constexpr uint8_t kDirectionBit = 0x80;

struct RowInfo {
    const wchar_t* label;  // language key of the function row
    const wchar_t* layout;
};

constexpr RowInfo kRows[CKeySetControlUI::kRowCount] = {
    {L"keyset_keyboard_text", L"keyset_keyboard_layout"},
    {L"keyset_mousekey_text", L"keyset_mousekey_layout"},
    {L"keyset_mouseswing_text", L"keyset_mouseswing_layout"},
    {L"keyset_mousewheel_text", L"keyset_mousewheel_layout"},
    {L"keyset_mousefire_text", L"keyset_mousefire_layout"},
    {L"keyset_mousedpi_text", L"keyset_mousedpi_layout"},
    {L"keyset_media_text", L"keyset_media_layout"},
    {L"keyset_system_text", L"keyset_system_layout"},
    {L"keyset_macro_text", L"keyset_macro_layout"},
    {L"keyset_gunkey_text", L"keyset_gunkey_layout"},
    {L"keyset_combokey_text", L"keyset_combokey_combo_layout"},
    {L"close_text", nullptr},
};

KeyCodeTableView TableFor(const wchar_t* combo) {
    const DuiLib::CDuiString name(combo);
    if (name == kMouseCombo)
        return MouseButtonCodes();
    if (name == kDpiCombo)
        return DpiCodes();
    if (name == kMediaCombo)
        return MediaCodes();
    if (name == kSystemCombo)
        return SystemCodes();
    return ShortcutCodes();
}

int RowForFunction(const KeyFunctionRecord& f) {
    // Type 0 with a code is a key as the device reported it; without one it is no function.
    if (f.type == T::kDisabled && (f.p1 != 0 || f.p2 != 0)) {
        return CKeySetControlUI::kRowKey;
    }
    switch (f.type) {
        case T::kKeyboardKey:
            return CKeySetControlUI::kRowKey;
        case T::kMouseButton:
            return CKeySetControlUI::kRowMouseButton;
        case T::kSwing:
            return CKeySetControlUI::kRowSwing;
        case T::kWheel:
            return CKeySetControlUI::kRowWheel;
        case T::kFireKey:
            return CKeySetControlUI::kRowFire;
        case T::kDpi:
            return CKeySetControlUI::kRowDpi;
        case T::kMedia:
            return CKeySetControlUI::kRowMedia;
        case T::kSystem:
            return CKeySetControlUI::kRowSystem;
        case T::kMacro:
        case T::kMacroRepeat:
            return CKeySetControlUI::kRowMacro;
        case T::kGunKey:
            return CKeySetControlUI::kRowGun;
        case T::kShortcut:
            return CKeySetControlUI::kRowShortcut;
        default:
            return CKeySetControlUI::kRowDisabled;
    }
}

KeyFunctionRecord Code(uint8_t type, int p1, int p2) {
    KeyFunctionRecord record;
    record.type = type;
    record.p1 = static_cast<uint8_t>(p1);
    record.p2 = static_cast<uint8_t>(p2);
    return record;
}

}  // namespace

LPCTSTR CKeySetControlUI::GetClass() const {
    return kClassName;
}

LPVOID CKeySetControlUI::GetInterface(LPCTSTR pstrName) {
    return DuiLib::OwnInterface<DuiLib::CHorizontalLayoutUI>(this, pstrName);
}

void CKeySetControlUI::FillNamedRows(const wchar_t* name, std::vector<DuiLib::CDuiString> keys) {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, name);
    if (combo == nullptr) {
        return;
    }
    combo->RemoveAll();
    for (const DuiLib::CDuiString& key : keys) {
        combo->Add(NewListRow(key, true));
    }
}

void CKeySetControlUI::FillTableCombo(const wchar_t* name) {
    const KeyCodeTableView table = TableFor(name);
    std::vector<DuiLib::CDuiString> keys;
    for (int i = 0; i < table.Count(); ++i) {
        keys.emplace_back(table.Name(i));
    }
    FillNamedRows(name, std::move(keys));
}

void CKeySetControlUI::InitControls() {
    std::vector<DuiLib::CDuiString> functions;
    for (const RowInfo& row : kRows) {
        functions.emplace_back(row.label);
    }
    FillNamedRows(kFunctionCombo, functions);
    for (const wchar_t* combo :
         {kMouseCombo, kDpiCombo, kMediaCombo, kSystemCombo, kShortcutCombo}) {
        FillTableCombo(combo);
    }
    FillNamedRows(kSwingCombo, {L"mouse_key_left_Swing", L"mouse_key_right_Swing"});
    FillNamedRows(kWheelCombo, {L"mouse_key_up_Swing", L"mouse_key_down_Swing"});
    FillNamedRows(kMacroModeCombo, {L"macro_run_count", L"macro_run_hold"});
    std::vector<DuiLib::CDuiString> guns(GunNames, GunNames + GunNameCount);
    FillNamedRows(kGunCombo, guns);
    SetDeviceKind(m_kind);
}

void CKeySetControlUI::SetDeviceKind(int kind) {
    m_kind = kind;
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kFunctionCombo);
    if (combo == nullptr) {
        return;
    }
    const bool mouseOnly = kind != 1;
    for (int row : {kRowDpi, kRowGun}) {
        if (DuiLib::CControlUI* item = combo->GetItemAt(row)) {
            item->SetVisible(mouseOnly);
            item->SetEnabled(mouseOnly);
        }
    }
}

void CKeySetControlUI::ShowKeySetLayout(bool visible) {
    SetNamedVisible(this, L"keyset_layout", visible);
    SetNamedVisible(this, L"keyset_button_layout", visible);
}

void CKeySetControlUI::FillMacroCombo(std::vector<DuiLib::CDuiString> names) {
    auto* combo = FindNamed<DuiLib::CComboUI>(this, kMacroCombo);
    if (combo == nullptr) {
        return;
    }
    combo->RemoveAll();
    for (const DuiLib::CDuiString& name : names) {
        combo->Add(NewListRow(name));
    }
    combo->SelectItem(-1, false, false);
}

void CKeySetControlUI::EnableSaveButtons(bool enabled) {
    for (const wchar_t* name : {L"key_butt_keysave", L"key_butt_keydefalut", L"key_butt_keycancel",
                                L"key_butt_prosave"}) {
        SetNamedEnabled(this, name, enabled);
    }
}

void CKeySetControlUI::SelectRow(const wchar_t* combo, int row) {
    if (auto* control = FindNamed<DuiLib::CComboUI>(this, combo)) {
        if (!control->SelectItem(row, false, false)) {
            control->SelectItem(-1, false, false);
        }
    }
}

int CKeySetControlUI::ComboRow(const wchar_t* combo) const {
    auto* control = FindNamed<DuiLib::CComboUI>(this, combo);
    return control != nullptr ? control->GetCurSel() : -1;
}

int CKeySetControlUI::EditNumber(const wchar_t* name, int maxValue) const {
    auto* edit = FindNamed<DuiLib::CEditUI>(this, name);
    if (edit == nullptr) {
        return 0;
    }
    const long value = std::wcstol(edit->GetText().GetData(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, 0, maxValue));
}

void CKeySetControlUI::SetEditNumber(const wchar_t* name, int value) {
    if (auto* edit = FindNamed<DuiLib::CEditUI>(this, name)) {
        edit->SetText(std::to_wstring(value).c_str());
    }
}

uint8_t CKeySetControlUI::CheckedModifiers() const {
    uint8_t bits = 0;
    for (int i = 0; i < kModifierChecks; ++i) {
        auto* check = FindNamed<DuiLib::COptionUI>(this, IndexedName(kModifierPrefix, i).view());
        if (check != nullptr && check->IsSelected()) {
            bits |= static_cast<uint8_t>(1u << i);
        }
    }
    return bits;
}

void CKeySetControlUI::SetModifierChecks(uint8_t modifiers) {
    for (int i = 0; i < kModifierChecks; ++i) {
        if (auto* check =
                FindNamed<DuiLib::COptionUI>(this, IndexedName(kModifierPrefix, i).view())) {
            // Left and right modifiers share a check.
            const uint8_t bits = static_cast<uint8_t>((1u << i) | (1u << (i + 4)));
            check->Selected((modifiers & bits) != 0, false);
        }
    }
}

void CKeySetControlUI::ShowKeyName() {
    auto* edit = FindNamed<DuiLib::CEditUI>(this, kKeyEdit);
    if (edit == nullptr) {
        return;
    }
    const int row =
        KeyCodes().FindExact(T::kKeyboardKey, m_keyUsage == 0 ? m_keyModifiers : 0, m_keyUsage);
    edit->SetText(row >= 0 ? TranslateKey(KeyCodes().Name(row)) : DuiLib::CDuiString());
}

int CKeySetControlUI::GetFunctionRow() const {
    return ComboRow(kFunctionCombo);
}

void CKeySetControlUI::OnFunctionSelect() {
    const int row = GetFunctionRow();
    for (int i = 0; i < kRowCount; ++i) {
        if (kRows[i].layout != nullptr) {
            SetNamedVisible(this, kRows[i].layout, i == row);
        }
    }
    SetNamedVisible(this, L"keyset_combokey_layout", row == kRowKey);
}

void CKeySetControlUI::ShowKeyFunction(const KeyFunctionRecord& f) {
    const int row = RowForFunction(f);
    SelectRow(kFunctionCombo, row);
    switch (row) {
        case kRowKey:
            m_keyType = f.type;
            m_keyUsage = f.p2;
            m_keyModifiers = f.p2 == 0 ? f.p1 : 0;
            SetModifierChecks(f.p2 == 0 ? 0 : f.p1);
            ShowKeyName();
            break;
        case kRowMouseButton:
            SelectRow(kMouseCombo, MouseButtonCodes().FindByP1(f.p1));
            break;
        case kRowSwing:
        case kRowWheel:
            SelectRow(row == kRowSwing ? kSwingCombo : kWheelCombo, (f.p2 & kDirectionBit) ? 1 : 0);
            SetEditNumber(row == kRowSwing ? kSwingCount : kWheelCount, f.p1);
            SetEditNumber(row == kRowSwing ? kSwingSpeed : kWheelSpeed, f.p2 & ~kDirectionBit);
            break;
        case kRowFire:
            SetEditNumber(kFireInterval, f.p1);
            SetEditNumber(kFireCount, f.p2);
            break;
        case kRowDpi:
            SelectRow(kDpiCombo, DpiCodes().FindByP1(f.p1));
            break;
        case kRowMedia:
            SelectRow(kMediaCombo, MediaCodes().FindByParams(f.p1, f.p2));
            break;
        case kRowSystem:
            SelectRow(kSystemCombo, SystemCodes().FindByParams(f.p1, f.p2));
            break;
        case kRowMacro:
            SelectRow(kMacroCombo, f.p1);
            SelectRow(kMacroModeCombo, f.type == T::kMacroRepeat ? 1 : 0);
            SetEditNumber(kMacroCycles, f.p2);
            break;
        case kRowGun:
            SelectRow(kGunCombo, f.p1 < GunNameCount ? f.p1 : -1);
            break;
        case kRowShortcut:
            SelectRow(kShortcutCombo, ShortcutCodes().FindByParams(f.p1, f.p2));
            break;
        default:
            break;
    }
    OnFunctionSelect();
}

KeyFunctionRecord CKeySetControlUI::BuildKeyFunction() const {
    auto tableRow = [&](const wchar_t* combo) {
        const KeyCodeTableView table = TableFor(combo);
        const int row = ComboRow(combo);
        return row >= 0 && row < table.Count() ? table.Row(row) : Code(T::kDisabled, 0, 0);
    };
    switch (GetFunctionRow()) {
        case kRowKey:
            if (m_keyUsage == 0 && m_keyModifiers == 0) {
                return Code(T::kDisabled, 0, 0);
            }
            return Code(m_keyType, (m_keyUsage == 0 ? m_keyModifiers : 0) | CheckedModifiers(),
                        m_keyUsage);
        case kRowMouseButton:
            return tableRow(kMouseCombo);
        case kRowSwing:
        case kRowWheel: {
            const bool swing = GetFunctionRow() == kRowSwing;
            const int direction =
                ComboRow(swing ? kSwingCombo : kWheelCombo) == 1 ? kDirectionBit : 0;
            return Code(swing ? T::kSwing : T::kWheel,
                        EditNumber(swing ? kSwingCount : kWheelCount, 255),
                        direction | EditNumber(swing ? kSwingSpeed : kWheelSpeed, 0x7F));
        }
        case kRowFire:
            return Code(T::kFireKey, EditNumber(kFireInterval, 255), EditNumber(kFireCount, 255));
        case kRowDpi:
            return tableRow(kDpiCombo);
        case kRowMedia:
            return tableRow(kMediaCombo);
        case kRowSystem:
            return tableRow(kSystemCombo);
        case kRowMacro: {
            const int macro = ComboRow(kMacroCombo);
            if (macro < 0 || macro > 255) {
                return Code(T::kDisabled, 0, 0);
            }
            const uint8_t type = ComboRow(kMacroModeCombo) == 1 ? T::kMacroRepeat : T::kMacro;
            return Code(type, macro, std::max(1, EditNumber(kMacroCycles, 255)));
        }
        case kRowGun: {
            const int gun = ComboRow(kGunCombo);
            return gun >= 0 ? Code(T::kGunKey, gun, 0) : Code(T::kDisabled, 0, 0);
        }
        case kRowShortcut:
            return tableRow(kShortcutCombo);
        default:
            return Code(T::kDisabled, 0, 0);
    }
}

void CKeySetControlUI::SetKeyFunctions(KeyAssignRecord record) {
    m_record = record;
    ShowKeyFunction(record.current);
}

KeyAssignRecord CKeySetControlUI::GetKeyFunctions() const {
    KeyAssignRecord record = m_record;
    const uint16_t id = record.current.id;
    record.current = BuildKeyFunction();
    record.current.id = id;
    return record;
}

void CKeySetControlUI::RestoreDefaultFunction() {
    ShowKeyFunction(m_record.defaults);
}

void CKeySetControlUI::CancelChanges() {
    ShowKeyFunction(m_record.current);
}

void CKeySetControlUI::SetCapturedKey(WPARAM /*wParam*/, LPARAM lParam) {
    const HookInput input = UnpackHookInput(lParam);
    if (input.mouse || !input.down) {
        return;
    }
    const uint8_t bit = ModifierBitOfUsage(input.code);
    m_keyType = T::kKeyboardKey;
    m_keyUsage = bit != 0 ? 0 : input.code;
    m_keyModifiers = bit;
    SelectRow(kFunctionCombo, kRowKey);
    ShowKeyName();
    OnFunctionSelect();
}
