// Every notification of every page reaches the main window here: dispatched by its type,
// then by the sender's name (compared without regard to case).

#include "app/main_wnd/main_wnd.h"
#include "app/registered_messages.h"
#include "app/skin_frame.h"
#include "duilib/menu_wnd.h"
#include "duilib/string_utils.h"
#include "duilib/ui_control.h"
#include "platform/debug_trace.h"
#include "platform/desktop.h"
#include "platform/peer_windows.h"
#include "platform/window_messages.h"

using namespace DuiLib;

namespace {

CDuiString SenderName(const TNotifyUI& msg) {
    return msg.pSender != nullptr ? msg.pSender->GetName() : CDuiString();
}

// A click that leads to a relay without arguments.
struct ClickRelay {
    const wchar_t* name;
    void (CMainWnd::*relay)();
};

constexpr ClickRelay kClickRelays[] = {
    {L"default_btn", &CMainWnd::OnRestoreDefaults},
    {L"reset_repeat_btn", &CMainWnd::OnRepeatTestReset},
    {L"device_profile_edit_save_btn", &CMainWnd::OnProfileRename},
    {L"key_butt_keysave", &CMainWnd::OnKeyAssignSave},
    {L"key_butt_keydefalut", &CMainWnd::OnKeyAssignDefault},
    {L"key_butt_keycancel", &CMainWnd::OnKeyAssignCancel},
    {L"key_butt_prosave", &CMainWnd::OnKeyAssignSaveProfile},
    {L"macro_btn_starredio", &CMainWnd::OnStartRecordClick},
    {L"macro_btn_stopredio", &CMainWnd::OnStopRecordClick},
    {L"macro_btn_name_add", &CMainWnd::OnMacroAdd},
    {L"macro_btn_name_sub", &CMainWnd::OnMacroDelete},
    {L"macro_btn_name_edit", &CMainWnd::OnMacroRename},
    {L"macro_btn_save", &CMainWnd::OnMacroSave},
    {L"macro_btn_cancel", &CMainWnd::OnMacroCancel},
    {L"macro_btn_export", &CMainWnd::OnMacroExport},
    {L"macro_btn_import", &CMainWnd::OnMacroImport},
    {L"macro_btn_up", &CMainWnd::OnMacroActionUp},
    {L"macro_btn_down", &CMainWnd::OnMacroActionDown},
    {L"macro_btn_uptop", &CMainWnd::OnMacroActionToTop},
    {L"macro_btn_downbottom", &CMainWnd::OnMacroActionToBottom},
    {L"macro_btn_delete", &CMainWnd::OnMacroActionDelete},
    {L"macro_btn_deleteall", &CMainWnd::OnMacroActionDeleteAll},
    {L"shootdate_save_btn", &CMainWnd::OnShootSave},
    {L"shootdate_reset_btn", &CMainWnd::OnShootReset},
    {L"shootdate_import_btn", &CMainWnd::OnShootImport},
    {L"shootdate_export_btn", &CMainWnd::OnShootExport},
    {L"deng_same_mode", &CMainWnd::OnLightSyncAll},
    {L"hs_EQ_btn_save", &CMainWnd::OnEqSaveClick},
    {L"hs_EQ_btn_delete", &CMainWnd::OnEqDeleteClick},
    {L"profile_fun_spread_btn", &CMainWnd::OnProfileMenuToggle},
    {L"device_select_prev", &CMainWnd::SelectPreviousDevice},
    {L"device_select_next", &CMainWnd::SelectNextDevice},
};

// A double-clicked row raises "itemactivate" from itself; the list holding it names it.
CDuiString ActivatedListName(const TNotifyUI& msg) {
    CControlUI* sender = msg.pSender;
    if (sender != nullptr && sender->GetInterface(L"ListItem") != nullptr &&
        sender->GetParent() != nullptr) {
        return sender->GetParent()->GetName();
    }
    return SenderName(msg);
}

}  // namespace

void CMainWnd::Notify(TNotifyUI& msg) {
    const CDuiString name = SenderName(msg);
    if (msg.sType != DUI_MSGTYPE_TIMER) {
        DebugTrace(msg.sType.view());
        DebugTrace(name.view());
    }
    const CDuiString& type = msg.sType;
    if (type == DUI_MSGTYPE_WINDOWINIT) {
        OnWindowInit();
    } else if (type == DUI_MSGTYPE_WINDOWSIZE) {
        OnNotifyWindowSize(msg);
    } else if (type == L"colorchanged") {
        if (name.CompareNoCase(L"deng_Color_Pallet") == 0) {
            OnPaletteColorChange();
        }
    } else if (type == DUI_MSGTYPE_CLICK) {
        OnNotifyClick(msg);
    } else if (type == DUI_MSGTYPE_SELECTCHANGED) {
        OnNotifySelectChanged(msg);
    } else if (type == DUI_MSGTYPE_VALUECHANGED) {
        OnNotifyValueChanged(msg);
    } else if (type == DUI_MSGTYPE_MOVEVALUECHANGED) {
        OnNotifyMoveValueChanged(msg);
    } else if (type == DUI_MSGTYPE_ITEMSELECT) {
        OnNotifyItemSelect(msg);
    } else if (type == DUI_MSGTYPE_KILLFOCUS) {
        OnNotifyKillFocus(msg);
    } else if (type == L"click_select_end") {
        if (name.CompareNoCase(L"device_key_light") == 0 ||
            name.CompareNoCase(L"keyboard_device_key_light") == 0) {
            OnKeyLightSelectEnd(msg.pSender);
        } else if (name.CompareNoCase(L"mouse_device_key_light") == 0) {
            OnMouseKeyLightSelectEnd(msg.pSender);
        }
    } else if (type == DUI_MSGTYPE_ITEMACTIVATE) {
        if (ActivatedListName(msg).CompareNoCase(L"macro_action") == 0) {
            ShowMacroActionMenu();
        }
    } else if (type == DUI_MSGTYPE_SETFOCUS) {
        if (name.CompareNoCase(L"keyset_keyboard_text_edit") == 0) {
            SendMessageW(GetHWND(), WM_KEY_CAPTURE, 1, 0);
        }
    }
    WindowImplBase::Notify(msg);
}

void CMainWnd::OnNotifyWindowSize(TNotifyUI& msg) {
    if (SenderName(msg).CompareNoCase(L"root") == 0 && displayChanged_) {
        displayChanged_ = false;
        ApplyMonitorDpi();
    }
}

void CMainWnd::ShowMacroActionMenu() {
    macroActionMenu_.reset();
    macroActionMenu_ = std::make_unique<CMenuWnd>();
    POINT point{};
    GetCursorPos(&point);
    macroActionMenu_->Init(nullptr, L"XML\\Menus\\macro_action_menu.xml", point, &m_pm, nullptr,
                           eMenuAlignment_Left | eMenuAlignment_Top);
}

void CMainWnd::OnNotifyClick(TNotifyUI& msg) {
    const CDuiString name = SenderName(msg);
    const HWND hwnd = GetHWND();
    if (name.CompareNoCase(L"closebtn") == 0) {
        CloseChildWindows();
        platform::ShowWindow(hwnd, SW_HIDE);  // the program stays in the tray
        return;
    }
    if (name.CompareNoCase(L"nodevice_ok_btn") == 0) {
        platform::ShowWindow(hwnd, SW_HIDE);
    }
    if (name.CompareNoCase(L"control_light_status") == 0) {
        lightControl_ = lightControl_ == 0 ? 1 : 0;
        AnnounceLightControl(lightControl_);
        SetLightControlStatusText();
        BroadcastLightControl(lightControl_);
    }
    // The caption buttons, as the window found them at its start.
    const auto isCaption = [&](size_t index) {
        return msg.pSender != nullptr && msg.pSender == captionButtons_[index];
    };
    constexpr size_t kMax = 1, kRestore = 2, kMin = 3, kSkin = 4, kSet = 8;
    if (isCaption(kMin)) {
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    if (isCaption(kMax)) {
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return;
    }
    if (isCaption(kRestore)) {
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    if (isCaption(kSkin)) {
        new CSkinFrame(hwnd, msg.pSender);  // deletes itself when its window goes
    }
    if (isCaption(kSet)) {
        OpenSettingsWindow(false);
    }

    CDuiString prefix;
    int number = 0;
    if (SplitIndexedName(name, &prefix, &number)) {
        if (prefix.CompareNoCase(L"key_") == 0) {
            OnKeyButtonClick(number);
        } else if (prefix.CompareNoCase(L"color_option_") == 0) {
            OnPresetColorClick(number);
        } else if (prefix.CompareNoCase(L"windowdeviceset_") == 0) {
            OpenDesktopSettings(number);
        }
    }
    for (const ClickRelay& relay : kClickRelays) {
        if (name.CompareNoCase(relay.name) == 0) {
            (this->*relay.relay)();
            return;
        }
    }
    if (name.CompareNoCase(L"bullet_selected_prev") == 0) {
        OnBulletStep(false);
    } else if (name.CompareNoCase(L"bullet_selected_next") == 0) {
        OnBulletStep(true);
    } else if (name.CompareNoCase(L"custom_bright_color_btn") == 0) {
        OnCustomColorButton(true);
    } else if (name.CompareNoCase(L"custom_off_color_btn") == 0) {
        OnCustomColorButton(false);
    } else if (name.CompareNoCase(L"macro_inset_moveleftkey_btn") == 0) {
        OnMacroInsertHorizontalMove(true);
        OnMacroSave();
    } else if (name.CompareNoCase(L"macro_inset_moverightkey_btn") == 0) {
        OnMacroInsertHorizontalMove(false);
        OnMacroSave();
    } else if (name.CompareNoCase(L"macro_inset_moveupkey_btn") == 0) {
        OnMacroInsertVerticalMove(true);
        OnMacroSave();
    } else if (name.CompareNoCase(L"macro_inset_movedownkey_btn") == 0) {
        OnMacroInsertVerticalMove(false);
        OnMacroSave();
    }
}
