#pragma once
// The key-assignment panel of the keyboard and mouse pages: the function chosen for the
// selected key (a key with modifiers, a mouse button, swing, wheel, fire key, DPI, media,
// system, macro, gun key, shortcut, or nothing) and the controls that refine it. The panel
// shows a key's KeyAssignRecord and builds the current function back from its controls.

#include <vector>

#include "duilib/ui_layouts.h"
#include "platform/win_types.h"
#include "profile/key_function_record.h"

class CKeySetControlUI : public DuiLib::CHorizontalLayoutUI {
  public:
    static constexpr const wchar_t* kClassName = L"KeySetControl";

    // Rows of "keyset_function_combo".
    enum FunctionRow {
        kRowKey,
        kRowMouseButton,
        kRowSwing,
        kRowWheel,
        kRowFire,
        kRowDpi,
        kRowMedia,
        kRowSystem,
        kRowMacro,
        kRowGun,
        kRowShortcut,
        kRowDisabled,
        kRowCount
    };

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    // Fills the combos from the key-function code tables.
    void InitControls();
    // The keyboard (1) offers no DPI and no gun functions.
    void SetDeviceKind(int kind);
    void ShowKeySetLayout(bool visible);
    void SetNotifyWindow(HWND window) { m_notifyWindow = window; }
    HWND GetNotifyWindow() const { return m_notifyWindow; }
    void FillMacroCombo(std::vector<DuiLib::CDuiString> names);
    void EnableSaveButtons(bool enabled);

    void SetKeyFunctions(KeyAssignRecord record);
    // The stored record with its current function built from the controls.
    KeyAssignRecord GetKeyFunctions() const;
    KeyFunctionRecord BuildKeyFunction() const;
    // Shows a function in the controls (the stored record is unchanged).
    void ShowKeyFunction(const KeyFunctionRecord& function);
    void RestoreDefaultFunction();
    void CancelChanges();

    // Shows the refining controls of the chosen function row.
    void OnFunctionSelect();
    int GetFunctionRow() const;
    // The key captured by the hook while the key edit has the focus.
    void SetCapturedKey(WPARAM wParam, LPARAM lParam);

  private:
    void FillTableCombo(const wchar_t* name);
    void FillNamedRows(const wchar_t* name, std::vector<DuiLib::CDuiString> keys);
    void SelectRow(const wchar_t* combo, int row);
    int ComboRow(const wchar_t* combo) const;
    int EditNumber(const wchar_t* name, int maxValue) const;
    void SetEditNumber(const wchar_t* name, int value);
    void ShowKeyName();
    uint8_t CheckedModifiers() const;
    void SetModifierChecks(uint8_t modifiers);

    int m_kind = 0;
    HWND m_notifyWindow = nullptr;
    KeyAssignRecord m_record{};
    uint8_t m_keyType = KeyFunctionType::kKeyboardKey;
    uint8_t m_keyModifiers = 0;
    uint8_t m_keyUsage = 0;
};
