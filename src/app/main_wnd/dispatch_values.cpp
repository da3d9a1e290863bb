// Selections, slider values, focus changes and list choices of the pages, dispatched by the
// sender's name; the keyboard's system settings are stored here directly.

#include <algorithm>
#include <cwchar>
#include <string>

#include "app/main_wnd/main_wnd.h"
#include "app/registered_messages.h"
#include "duilib/string_utils.h"
#include "duilib/ui_button.h"
#include "duilib/ui_control.h"
#include "duilib/ui_progress.h"
#include "platform/window_messages.h"

using namespace DuiLib;

namespace {

constexpr UINT_PTR kProfileSelectTimer = 1055;
constexpr UINT kProfileSelectDelayMs = 400;

CDuiString SenderName(const TNotifyUI& msg) {
    return msg.pSender != nullptr ? msg.pSender->GetName() : CDuiString();
}

bool Is(const CDuiString& name, const wchar_t* expected) {
    return name.CompareNoCase(expected) == 0;
}

CDuiString IndexedName(const wchar_t* prefix, int n) {
    return CDuiString(prefix) + std::wstring_view(std::to_wstring(n));
}

// A relay that takes the number of an indexed name.
struct IndexedRelay {
    const wchar_t* prefix;
    void (CMainWnd::*relay)(int);
};

constexpr IndexedRelay kSelectIndexed[] = {
    {L"mouse_device_seting_option_", &CMainWnd::OnMouseSettingTab},
    {L"shoot_gun_op_", &CMainWnd::OnGunSelect},
    {L"bullet_op_", &CMainWnd::OnBulletSelect},
    {L"magic_option_", &CMainWnd::OnMagicVoiceSelect},
    {L"Tamsel_eq_option_", &CMainWnd::OnEqPresetSelect},
    {L"key_ComBox_check_", &CMainWnd::OnModifierCheck},
    {L"polling_rate_option_", &CMainWnd::OnPollingRateOption},
    {L"repeat_delay_check_", &CMainWnd::OnRepeatDelayOption},
    {L"DPI_enable_check_", &CMainWnd::OnDpiStageEnable},
};

constexpr IndexedRelay kValueIndexed[] = {
    {L"Tamsel_eq_hz_slider_", &CMainWnd::OnEqBandChange},
    {L"DPI_slider_", &CMainWnd::OnDpiSliderChange},
};

constexpr IndexedRelay kMoveIndexed[] = {
    {L"DPI_slider_", &CMainWnd::OnDpiSliderMove},
};

constexpr IndexedRelay kKillFocusIndexed[] = {
    {L"DPI_edit_", &CMainWnd::OnDpiEditDone},
};

// A relay without arguments.
struct NamedRelay {
    const wchar_t* name;
    void (CMainWnd::*relay)();
};

// The system settings of the keyboard and mouse pages (one match at most).
constexpr NamedRelay kSelectSettings[] = {
    {L"pointer_precision_check", &CMainWnd::OnPointerPrecision},
    {L"winlockflag_option", &CMainWnd::OnWinLockOption},
    {L"wflag_option", &CMainWnd::OnWFlagOption},
    {L"6flag_option", &CMainWnd::OnKey6FlagOption},
};

constexpr NamedRelay kSelectNamed[] = {
    {L"device_select", &CMainWnd::OnDeviceSelected},
    {L"deng_7color_check", &CMainWnd::OnLightMultiColor},
    {L"bullet_x_check", &CMainWnd::OnBulletXCheck},
    {L"bullet_y_check", &CMainWnd::OnBulletYCheck},
    {L"magic_enable_option", &CMainWnd::OnMagicEnable},
    {L"Tamsel_MicIn_option", &CMainWnd::OnMicInOption},
    {L"Tamsel_MicMoniter_option", &CMainWnd::OnMicMonitorOption},
};

constexpr const wchar_t* kFunctionTabs[] = {
    L"deng_Op_tab",   L"key_Op_tab",          L"macro_Op_tab", L"system_Op_tab",
    L"cursor_Op_tab", L"Tamsel_voice_Op_tab", L"magic_Op_tab", L"Virtual7.1_Op_tab"};

constexpr NamedRelay kValueNamed[] = {
    {L"deng_light_slider", &CMainWnd::OnLightBrightnessChange},
    {L"deng_speed_slider", &CMainWnd::OnLightSpeedChange},
    {L"repeat_rate_slider", &CMainWnd::OnRepeatRate},
    {L"pointer_speed_slider", &CMainWnd::OnPointerSpeed},
    {L"double_click_slider", &CMainWnd::OnDoubleClickSpeed},
    {L"Tamsel_MicIn_slider", &CMainWnd::OnMicInVolumeChange},
    {L"Tamsel_MicMoniter_slider", &CMainWnd::OnMicMonitorVolumeChange},
};

constexpr NamedRelay kItemSelectNamed[] = {
    {L"light_combo_modeSelect", &CMainWnd::OnLightModeSelect},
    {L"light_combo_custommodeSelect", &CMainWnd::OnCustomLightModeSelect},
    {L"keyset_function_combo", &CMainWnd::OnKeyFunctionSelect},
    {L"keyset_macro_over_combo", &CMainWnd::OnMacroRunModeSelect},
    {L"macro_name_list", &CMainWnd::OnMacroListSelect},
    {L"light_combo_QRVMmodeSelect", &CMainWnd::OnQRVMModeSelect},
    {L"custom_eq_name_combo", &CMainWnd::OnCustomEqSelect},
};

// Choices that change the chosen key's function at once.
constexpr const wchar_t* kKeyFunctionCombos[] = {
    L"keyset_function_combo",   L"keyset_mousekey_combo", L"keyset_mouseswing_combo",
    L"keyset_mousewheel_combo", L"keyset_mousedpi_combo", L"keyset_media_combo",
    L"keyset_system_combo",     L"keyset_macro_combo",    L"keyset_macro_over_combo",
    L"keyset_gunkey_combo",     L"keyset_combokey_combo"};

constexpr NamedRelay kKillFocusNamed[] = {
    {L"deng_edit_R", &CMainWnd::OnRedEdit},          {L"deng_edit_G", &CMainWnd::OnGreenEdit},
    {L"deng_edit_B", &CMainWnd::OnBlueEdit},         {L"macro_delay", &CMainWnd::OnMacroSave},
    {L"bullet_x_eidt", &CMainWnd::OnBulletEdit},     {L"bullet_y_eidt", &CMainWnd::OnBulletEdit},
    {L"bullet_delay_eidt", &CMainWnd::OnBulletEdit},
};

constexpr const wchar_t* kKeyAssignEdits[] = {
    L"keyset_mouseswing_num_edit",     L"keyset_mouseswing_delay_edit",
    L"keyset_mouseswing_speed_edit",   L"keyset_mousewheel_num_edit",
    L"keyset_mousewheel_delay_edit",   L"keyset_mousewheel_speed_edit",
    L"keyset_mousefire_interval_edit", L"keyset_mousefire_num_edit",
    L"keyset_macro_cycle_edit"};

template <size_t N>
bool RunNamed(CMainWnd& window, const CDuiString& name, const NamedRelay (&table)[N]) {
    for (const NamedRelay& relay : table) {
        if (Is(name, relay.name)) {
            (window.*relay.relay)();
            return true;
        }
    }
    return false;
}

template <typename Table>
void RunIndexed(CMainWnd& window, const CDuiString& prefix, int n, const Table& table) {
    for (const auto& relay : table) {
        if (Is(prefix, relay.prefix)) {
            (window.*relay.relay)(n);
        }
    }
}

template <size_t N>
bool IsOneOf(const CDuiString& name, const wchar_t* const (&names)[N]) {
    for (const wchar_t* candidate : names) {
        if (Is(name, candidate)) {
            return true;
        }
    }
    return false;
}

}  // namespace

void CMainWnd::OnNotifySelectChanged(TNotifyUI& msg) {
    const CDuiString name = SenderName(msg);
    CDuiString prefix;
    int n = 0;
    if (SplitIndexedName(name, &prefix, &n)) {
        RunIndexed(*this, prefix, n, kSelectIndexed);
    }
    if (!RunNamed(*this, name, kSelectSettings) && Is(name, L"scrolls_page_check")) {
        OnScrollSettings(true);
    }
    if (RunNamed(*this, name, kSelectNamed)) {
        return;
    }
    for (size_t i = 0; i < std::size(kFunctionTabs); ++i) {
        if (Is(name, kFunctionTabs[i])) {
            OnFunctionTab(static_cast<int>(i) + 1);
            return;
        }
    }
    if (Is(name, L"deng_FXL_check")) {
        OnLightDirection(true);
    } else if (Is(name, L"deng_FXR_check")) {
        OnLightDirection(false);
    }
}

void CMainWnd::OnNotifyValueChanged(TNotifyUI& msg) {
    const CDuiString name = SenderName(msg);
    CDuiString prefix;
    int n = 0;
    if (SplitIndexedName(name, &prefix, &n)) {
        RunIndexed(*this, prefix, n, kValueIndexed);
    }
    if (Is(name, L"scroll_speed_slider")) {
        OnScrollSettings(false);
        return;
    }
    RunNamed(*this, name, kValueNamed);
}

void CMainWnd::OnNotifyMoveValueChanged(TNotifyUI& msg) {
    CDuiString prefix;
    int n = 0;
    if (!SplitIndexedName(SenderName(msg), &prefix, &n)) {
        return;
    }
    RunIndexed(*this, prefix, n, kMoveIndexed);
    if (!Is(prefix, L"zentu_DPI_slider_")) {
        return;
    }
    auto* slider = dynamic_cast<CProgressUI*>(msg.pSender);
    CControlUI* edit = m_pm.FindControl(IndexedName(L"zentu_DPI_edit_", n));
    if (slider != nullptr && edit != nullptr) {
        edit->SetText(CDuiString::FormatText(L"%d", slider->GetValue()));
    }
}

void CMainWnd::OnNotifyKillFocus(TNotifyUI& msg) {
    const CDuiString name = SenderName(msg);
    CDuiString prefix;
    int n = 0;
    const bool indexed = SplitIndexedName(name, &prefix, &n);
    if (indexed) {
        RunIndexed(*this, prefix, n, kKillFocusIndexed);
    }
    if (indexed && Is(prefix, L"zentu_DPI_edit_") && msg.pSender != nullptr) {
        // Typed text: anything that is not a number reads as 0, and the edit shows what
        // was taken.
        const int value =
            static_cast<int>(std::wcstol(msg.pSender->GetText().GetData(), nullptr, 10));
        msg.pSender->SetText(CDuiString::FormatText(L"%d", value));
        if (auto* slider = dynamic_cast<CProgressUI*>(
                m_pm.FindControl(IndexedName(L"zentu_DPI_slider_", n)))) {
            slider->SetValue(value);
        }
    }
    if (RunNamed(*this, name, kKillFocusNamed)) {
        return;
    }
    if (Is(name, L"keyset_keyboard_text_edit")) {
        SendMessageW(GetHWND(), WM_KEY_CAPTURE, 0, 0);
        return;
    }
    if (IsOneOf(name, kKeyAssignEdits)) {
        OnKeyAssignSave();
    }
}

void CMainWnd::OnNotifyItemSelect(TNotifyUI& msg) {
    const CDuiString name = SenderName(msg);
    if (Is(name, L"device_profile_combo")) {
        platform::SetTimer(GetHWND(), kProfileSelectTimer, kProfileSelectDelayMs);
    } else {
        RunNamed(*this, name, kItemSelectNamed);
    }
    if (IsOneOf(name, kKeyFunctionCombos)) {
        OnKeyAssignSave();
    }
}
