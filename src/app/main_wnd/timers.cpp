// The main window's timers, the DPI rule, the tray menu and its items, and the answer to
// the peer program's configuration query.

#include "app/config_answer.h"
#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/registered_messages.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/ui_control.h"
#include "pages/device_hook.h"
#include "pages/macro_control_ui.h"
#include "platform/debug_trace.h"
#include "platform/desktop.h"
#include "platform/peer_windows.h"
#include "platform/window_messages.h"

using namespace DuiLib;

namespace {

constexpr UINT_PTR kDpiTimer = 1011;
constexpr UINT_PTR kTrayMenuTimer = 1032;
constexpr UINT_PTR kProfileSelectTimer = 1055;
constexpr int kWideMonitorDpi = 144;
constexpr int kNormalDpi = 96;

// A mouse button of the macro insert items: the item's prefix and the recorded button.
struct MenuButton {
    const wchar_t* prefix;
    int button;
};

constexpr MenuButton kMenuButtons[] = {
    {L"left", 1}, {L"middle", 4}, {L"right", 2}, {L"forward", 0x10}, {L"back", 8}};

}  // namespace

LRESULT CMainWnd::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    const UINT_PTR id = wParam;
    platform::KillTimer(GetHWND(), id);
    if (id == kDpiTimer) {
        ApplyMonitorDpi();
        platform::InvalidateRect(GetHWND(), nullptr, TRUE);
    } else if (id == kTrayMenuTimer) {
        ShowTrayMenu();
    } else if (id == kProfileSelectTimer) {
        OnProfileSelect();
    }
    bHandled = FALSE;
    return 0;
}

void CMainWnd::ApplyMonitorDpi() {
    const HWND hwnd = GetHWND();
    const bool visible = platform::IsWindowVisible(hwnd) && !platform::IsIconic(hwnd);
    // A minimised window is restored to be measured; a hidden one is sized as it is, since
    // restoring would show it at its old size before it has its working size.
    if (!visible && platform::IsIconic(hwnd)) {
        platform::SendMessage(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
    MONITORINFO info;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info);
    const LONG width = info.rcMonitor.right - info.rcMonitor.left;
    const LONG height = info.rcMonitor.bottom - info.rcMonitor.top;
    int dpi = width > 1500 && height > 960 ? kWideMonitorDpi : kNormalDpi;
    if (!IsSupportedDpi(dpi)) {
        DebugTrace(L"MAIN_WND DPI SET ERROR");
        dpi = kNormalDpi;
    }
    dpi_ = dpi;
    CPaintManagerUI::SetAllDPI(kNormalDpi);
    // The monitor's own corner, not the desktop's: a window moved to another display is
    // laid out and centred there.
    platform::SetWindowPos(hwnd, nullptr, info.rcMonitor.left, info.rcMonitor.top, 1000, 640,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    CPaintManagerUI::SetAllDPI(dpi_);
    CenterWindow();
    platform::ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

void CMainWnd::ShowTrayMenu() {
    trayMenu_.reset();
    trayMenu_ = std::make_unique<CMenuWnd>();
    POINT point{};
    GetCursorPos(&point);
    DWORD alignment = eMenuAlignment_Left | eMenuAlignment_Top;
    // The taskbar's edge decides which corner of the menu lies at the pointer.
    if (const HWND taskbar = platform::FindOwnWindow(L"Shell_TrayWnd", nullptr)) {
        RECT bar{};
        platform::GetWindowRect(taskbar, &bar);
        const LONG barWidth = bar.right - bar.left;
        const LONG barHeight = bar.bottom - bar.top;
        if (bar.left == 0 && bar.top == 0 && barWidth > barHeight) {
            point.y = barHeight + 1;
            alignment = eMenuAlignment_Right | eMenuAlignment_Top;
        }
        if (bar.left == 0 && bar.top == 0 && barHeight > barWidth) {
            point.x = barWidth + 1;
            alignment = eMenuAlignment_Left | eMenuAlignment_Bottom;
        }
        if (bar.left == 0 && bar.top > 0) {
            point.y = bar.top - 20;
            alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
        }
        if (bar.left > 0 && bar.top == 0) {
            point.x = bar.left - 1;
            alignment = eMenuAlignment_Right | eMenuAlignment_Bottom;
        }
    }
    trayMenu_->Init(nullptr, L"menu.xml", point, &m_pm, nullptr, alignment);
}

void CMainWnd::OnMenuClick(const CDuiString& name) {
    if (OnProfileMenuItem(name)) {
        return;
    }
    const auto is = [&name](const wchar_t* item) { return name.CompareNoCase(item) == 0; };
    const auto recordTimeDelay = [this] {
        CMacroControlUI* macro = CurrentMacroPanel();
        return macro != nullptr && macro->IsRecordTimeChecked() ? 2 : 1;
    };
    if (is(L"redio_previous_record_time")) {
        if (GetCurrentDevice() != nullptr) {
            StartMacroRecording(recordTimeDelay(), HookMode::kRecordBefore);
        }
    } else if (is(L"redio_previous_constant_time")) {
        StartMacroRecording(2, HookMode::kRecordBefore);
    } else if (is(L"redio_previous_ignore_time")) {
        StartMacroRecording(3, HookMode::kRecordBefore);
    } else if (is(L"redio_later_record_time")) {
        if (GetCurrentDevice() != nullptr) {
            StartMacroRecording(recordTimeDelay(), HookMode::kRecordAfter);
        }
    } else if (is(L"redio_later_constant_time")) {
        StartMacroRecording(2, HookMode::kRecordAfter);
    } else if (is(L"redio_later_ignore_time")) {
        StartMacroRecording(3, HookMode::kRecordAfter);
    } else if (is(L"about_menu")) {
        OpenAboutWindow();
    } else if (is(L"setwnd_menu")) {
        OpenSettingsWindow(true);
    } else if (is(L"macro_action_edit")) {
        StartMacroRecording(3, HookMode::kRecordReplace);
    } else {
        for (const MenuButton& button : kMenuButtons) {
            const CDuiString prefix(button.prefix);
            const bool down = is(prefix + L"_down");
            const bool up = is(prefix + L"_up");
            const bool click = is(prefix + L"_click");
            if (down || click) {
                InsertMacroMouseEvent(button.button, true);
            }
            if (up || click) {
                InsertMacroMouseEvent(button.button, false);
            }
            if (down || up || click) {
                OnMacroSave();
                return;
            }
        }
    }
}

LRESULT CMainWnd::SendConfigToZuzoZara() {
    // The block is built here, from the window's state; finding the peer's window and
    // waiting for its answer happen on the courier, so a peer that does not answer never
    // holds the window up.
    const std::array<uint8_t, kConfigAnswerSize> block = BuildConfigAnswer();
    const auto self = reinterpret_cast<WPARAM>(GetHWND());
    return peerCourier_.Post([block, self](platform::Event&) {
        const HWND peer = FindWindowW(nullptr, L"ZuzoZara");
        if (peer == nullptr) {
            return;
        }
        std::array<uint8_t, kConfigAnswerSize> sent = block;
        COPYDATASTRUCT data;
        data.dwData = kConfigAnswerKind;
        data.cbData = static_cast<DWORD>(sent.size());
        data.lpData = sent.data();
        SendMessageW(peer, WM_COPYDATA, self, reinterpret_cast<LPARAM>(&data));
    });
}

void CMainWnd::AnnounceLightControl(int flag) {
    peerCourier_.Post([flag](platform::Event&) {
        platform::BroadcastToPeers(kLightControlAnnounceMessageName, 1, flag);
    });
}
