// The window messages the toolkit's window base leaves to the main window: activity and
// hover, the product message, the peer program's messages, the close request, power
// changes, devices coming and going, and, while the computer is awake, the other private
// messages, timers and hook messages.

#include "app/main_wnd/main_wnd.h"
#include "app/main_wnd/notice_sink.h"
#include "app/registered_messages.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/ui_control.h"
#include "pages/device_hook.h"
#include "pages/hook_messages.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"
#include "platform/window_messages.h"

using namespace DuiLib;

namespace {

// The recording messages and where each inserts its event.
struct HookInsert {
    int message;
    int insertKind;
};
constexpr HookInsert kHookInserts[] = {
    {kHookKeyKbMacro, HookMode::kRecordAppend},
    {kHookKeyKbMacroLater, HookMode::kRecordAfter},
    {kHookKeyKbMacroPrevious, HookMode::kRecordBefore},
    {kHookKeyKbMacroSingle, HookMode::kRecordReplace},
    {kHookKeyMsMacro, HookMode::kRecordAppend},
    {kHookKeyMsMacroLater, HookMode::kRecordAfter},
    {kHookKeyMsMacroPrevious, HookMode::kRecordBefore},
    {kHookKeyMsMacroSingle, HookMode::kRecordReplace},
};

// What other programs and the desktop's tray ask of the window.
bool IsOutsideRequest(UINT uMsg) {
    const RegisteredMessages& messages = AppMessages();
    return uMsg == messages.product || uMsg == messages.updateResult ||
           uMsg == messages.lightControlRequest || uMsg == messages.configQuery ||
           uMsg == WM_TRAY_NOTIFY;
}

constexpr UINT kDpiChangedNotice = 0x4C8;
constexpr UINT kIgnoredMessage = 0xC0D;
constexpr UINT_PTR kTrayMenuTimer = 1032;
constexpr UINT kTrayMenuDelayMs = 10;

}  // namespace

LRESULT CMainWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    HandleWindowActivity(uMsg, wParam);
    // Once asked to close, the window is hidden, its threads are stopping and it goes
    // next: a request that came just after must not show it again or take the lights.
    if (IsOutsideRequest(uMsg) && platform::IsWindowClosing(GetHWND())) {
        return 0;
    }
    if (uMsg == AppMessages().product) {
        DebugTrace(CDuiString::FormatText(L"软件标示 %d，%xd%xd", uMsg,
                                          static_cast<unsigned>(wParam),
                                          static_cast<unsigned>(lParam))
                       .view());
        BringToFront();
    }
    HandlePeerMessage(uMsg, wParam, lParam);
    if (uMsg == WM_USER_NOTICE) {
        ShowPendingNotices();
        bHandled = TRUE;
        return 0;
    }
    if (uMsg == WM_CLOSE) {
        DebugTrace(L"退出测试");
        StopWorkerThreads();
        PostQuitMessage(0);
        bHandled = TRUE;
        return 0;
    }
    if (HandleDeviceChange(uMsg, wParam)) {
        return 0;
    }
    if (!HandlePowerMessage(uMsg, wParam)) {
        // Asleep: everything else waits for the resume, but a menu's record is still
        // freed.
        if (uMsg == ::WM_MENUCLICK) {
            CPaintManagerUI::DeletePtr(reinterpret_cast<MenuCmd*>(wParam));
        }
        return 0;
    }
    return HandleAwakeMessage(uMsg, wParam, lParam, bHandled);
}

void CMainWnd::HandleWindowActivity(UINT uMsg, WPARAM wParam) {
    if (uMsg == WM_ACTIVATE) {
        windowActive_ = LOWORD(wParam) != WA_INACTIVE ? 1 : 0;
        activeOrHovered_ = windowActive_;
        BroadcastWindowActive(activeOrHovered_);
    } else if (uMsg == WM_MOUSELEAVE) {
        DebugTrace(L"鼠标移出");
        if (windowActive_ == 0) {
            activeOrHovered_ = 0;
            BroadcastWindowActive(0);
        }
    } else if (uMsg == WM_MOUSEHOVER) {
        DebugTrace(L"鼠标移入");
        if (windowActive_ == 0) {
            activeOrHovered_ = 1;
            BroadcastWindowActive(1);
        }
    }
}

void CMainWnd::HandlePeerMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const RegisteredMessages& messages = AppMessages();
    if (uMsg == messages.updateResult && settingsWnd_ != nullptr) {
        PostMessageW(settingsWnd_, uMsg, wParam, lParam);
    }
    if (uMsg == messages.lightControlRequest && wParam == 1) {
        if (lParam == 0 || lParam == 1) {
            lightControl_ = static_cast<int>(lParam);
            SetLightControlStatusText();
        }
        BroadcastLightControl(lightControl_);
    }
    if (uMsg == messages.configQuery) {
        SendConfigToZuzoZara();
    }
}

void CMainWnd::SetLightControlStatusText() {
    if (CControlUI* status = m_pm.FindControl(L"control_light_status")) {
        status->SetText(lightControl_ != 0 ? L"控制灯光" : L"不控制灯光");
    }
}

bool CMainWnd::HandlePowerMessage(UINT uMsg, WPARAM wParam) {
    if (uMsg == WM_POWERBROADCAST) {
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            awake_ = true;
            BroadcastLightControl(lightControl_);
            TellHeadsetsAwake(true);
        } else if (wParam == PBT_APMSUSPEND) {
            awake_ = false;
            BroadcastLightControl(0);
            TellHeadsetsAwake(false);
        }
    }
    return awake_;
}

bool CMainWnd::HandleDeviceChange(UINT uMsg, WPARAM wParam) {
    // Applied asleep too: the capture thread has already claimed or released the record
    // and reports each change once, so a change left unhandled would be lost for good.
    // The lights stay released until the resume (BroadcastLightControl).
    if (uMsg == WM_DEVICE_ARRIVED) {
        OnDeviceArrived(static_cast<size_t>(wParam));
    } else if (uMsg == WM_DEVICE_REMOVED) {
        OnDeviceRemoved(static_cast<size_t>(wParam));
    } else {
        return false;
    }
    return true;
}

bool CMainWnd::IsAwake() const {
    return awake_;
}

LRESULT CMainWnd::HandleAwakeMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if (uMsg == ::WM_MENUCLICK) {
        OnMenuClickMessage(wParam, bHandled);
        return 0;
    }
    bHandled = FALSE;
    if (HandleHookMessage(uMsg, wParam, lParam)) {
        return 0;
    }
    switch (uMsg) {
        case WM_DPICHANGED:
            OnDpiChanged(wParam, lParam);
            break;
        case kDpiChangedNotice:
            DebugTrace(L"界面 DPI 1发生变化");
            break;
        case WM_DISPLAYCHANGE:
            DebugTrace(L"显示器分辨率发生变化");
            displayChanged_ = true;
            ApplyMonitorDpi();
            OnDisplaySizeChange();
            break;
        case WM_TIMER:
            OnTimer(uMsg, wParam, lParam, bHandled);
            bHandled = FALSE;
            break;
        case WM_TRAY_NOTIFY:
            OnTrayNotify(lParam);
            break;
        case WM_SHOW_SETTING_PROGRESS:
            if (CControlUI* progress = m_pm.FindControl(L"setting_progress")) {
                progress->SetVisible(true);
            }
            break;
        case WM_LANGUAGE_CHANGED:
            ApplyLanguage(static_cast<int>(wParam));
            RefreshKeySetInfoLists();
            break;
        case WM_OPEN_UPDATE_SETTINGS:
            OpenSettingsWindow(true);
            break;
        case WM_UPDATE_STATUS:
            if (CControlUI* setButton = m_pm.FindControl(L"setbtn")) {
                setButton->SetAttribute(L"foreimage", L"");
            }
            break;
        case WM_KEY_CAPTURE:
            if (wParam == 0) {
                deviceHook_.Uninstall();
            } else if (wParam == 1) {
                deviceHook_.Install(0, HookMode::kSingleKey, GetHWND(), 1, 1);
            }
            break;
        case kIgnoredMessage:
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        default:
            break;
    }
    return 0;
}

void CMainWnd::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    m_pm.SetDPI(LOWORD(wParam));
    m_pm.ResetDPIAssets();
    // The suggested rectangle is only ever sent from this process's own desktop layer.
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        platform::SetWindowPos(GetHWND(), nullptr, suggested->left, suggested->top,
                               suggested->right - suggested->left,
                               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CenterWindow();
    if (CControlUI* root = m_pm.GetRoot()) {
        root->NeedUpdate();
    }
    DebugTrace(L"界面 DPI 发生变化");
}

bool CMainWnd::HandleHookMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    const std::array<UINT, kHookMessageCount>& ids = AppMessages().hook;
    int index = -1;
    for (int i = 0; i < kHookMessageCount; ++i) {
        if (ids[static_cast<size_t>(i)] != 0 && ids[static_cast<size_t>(i)] == uMsg) {
            index = i;
            break;
        }
    }
    if (index == kHookKeySingleKey) {
        OnHookSingleKey(wParam, lParam);
    } else if (index == kHookKeyMsMacro) {
        DebugTrace(L"WM_HOOK_KEY_MSMACRO");
    }
    // Key and mouse recordings insert the same way: the message says where.
    for (const HookInsert& insert : kHookInserts) {
        if (insert.message == index) {
            OnHookMacro(insert.insertKind, wParam, lParam);
        }
    }
    return index >= 0;
}

void CMainWnd::OnMenuClickMessage(WPARAM wParam, BOOL& bHandled) {
    bHandled = TRUE;
    auto* record = reinterpret_cast<MenuCmd*>(wParam);
    if (record == nullptr) {
        return;
    }
    // Bounded: a record without its terminator must not be read past its end.
    const CDuiString name(
        std::wstring(record->szName, wcsnlen(record->szName, std::size(record->szName))));
    CPaintManagerUI::DeletePtr(record);
    if (name == L"exit") {
        CloseChildWindows();
        Close(0);
        return;
    }
    OnMenuClick(name);
}

void CMainWnd::OnTrayNotify(LPARAM lParam) {
    if (static_cast<UINT>(lParam) == WM_RBUTTONUP) {
        platform::SetTimer(GetHWND(), kTrayMenuTimer, kTrayMenuDelayMs);
        return;
    }
    if (static_cast<UINT>(lParam) != WM_LBUTTONUP) {
        return;
    }
    int first = 0;
    int count = 0;
    ShowNoDeviceNotice(!CountShownEntries(&first, &count));
    const HWND hwnd = GetHWND();
    const bool visible = platform::IsWindowVisible(hwnd) && !platform::IsIconic(hwnd);
    CloseChildWindows();
    platform::ShowWindow(hwnd, visible ? SW_HIDE : SW_SHOW);
    if (visible) {
        return;
    }
    ApplyMonitorDpi();
    platform::SendMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    platform::SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    platform::Sleep(10);
    platform::SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    platform::InvalidateRect(hwnd, nullptr, TRUE);
    if (CControlUI* root = m_pm.GetRoot()) {
        root->NeedUpdate();
    }
    m_pm.NeedUpdate();
}

// The lists change only on this thread, so its own walks need no lock. While the
// computer sleeps the devices keep their lights to themselves, whoever asks.
void CMainWnd::BroadcastLightControl(int flag) {
    const int effective = awake_ ? flag : 0;
    for (auto* list : {&mice_, &mousePads_, &keyboards_}) {
        for (CVornalixUSBDevice* device : *list) {
            if (device != nullptr) {
                device->SetLightControl(effective);
            }
        }
    }
}

void CMainWnd::BroadcastWindowActive(int flag) {
    for (auto* list : {&mice_, &mousePads_, &keyboards_}) {
        for (CVornalixUSBDevice* device : *list) {
            if (device != nullptr) {
                device->SetWindowActive(flag);
            }
        }
    }
}
