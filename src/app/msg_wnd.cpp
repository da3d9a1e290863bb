#include "app/msg_wnd.h"

#include <algorithm>
#include <array>

#include "app/window_styles.h"
#include "duilib/ui_control.h"
#include "platform/debug_trace.h"

using namespace DuiLib;

bool IsSupportedDpi(int dpi) {
    constexpr std::array<int, 7> kAccepted = {48, 72, 96, 120, 144, 168, 192};
    return std::find(kAccepted.begin(), kAccepted.end(), dpi) != kAccepted.end();
}

void CMsgWnd::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    delete this;
}

void CMsgWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        const CDuiString name = msg.pSender->GetName();
        if (name.CompareNoCase(L"confirm_btn") == 0) {
            Close(1);
            return;
        }
        if (name.CompareNoCase(L"cancel_btn") == 0 || name.CompareNoCase(L"closebtn") == 0) {
            Close(0);
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

void CMsgWnd::SetTitle(const CDuiString& title) {
    if (title.IsEmpty()) {
        return;
    }
    if (CControlUI* label = m_pm.FindControl(L"MessageTitle")) {
        label->SetResourceText(false);
        label->SetText(title);
    }
}

void CMsgWnd::SetMessage(const CDuiString& text, bool textIsKey) {
    if (text.IsEmpty()) {
        return;
    }
    if (CControlUI* label = m_pm.FindControl(L"MessageText")) {
        label->SetResourceText(textIsKey);
        label->SetText(text);
    }
}

void CMsgWnd::SetDPI(int dpi) {
    if (dpi == dpi_) {
        return;
    }
    if (!IsSupportedDpi(dpi)) {
        DebugTrace(L"MSG_WND DPI SET ERROR");
        dpi = 96;
    }
    dpi_ = dpi;
    m_pm.SetDPI(dpi);
}

void CMsgWnd::SetButtons(int mode) {
    CControlUI* confirm = m_pm.FindControl(L"confirm_btn");
    CControlUI* cancel = m_pm.FindControl(L"cancel_btn");
    if (mode != 0 && mode != 1) {
        return;
    }
    if (confirm != nullptr) {
        confirm->SetVisible(true);
    }
    if (cancel != nullptr) {
        cancel->SetVisible(mode == 1);
    }
}

int ShowMsgBox(HWND parent, const CDuiString& title, const CDuiString& text, int dpi,
               bool textIsKey, int buttons) {
    auto* wnd = new CMsgWnd();
    if (wnd->Create(parent, L"msgwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW) == nullptr) {
        delete wnd;
        return 0;
    }
    wnd->SetTitle(title);
    wnd->SetMessage(text, textIsKey);
    wnd->SetDPI(dpi);
    wnd->SetButtons(buttons);
    wnd->CenterWindow();
    return static_cast<int>(wnd->ShowModal());  // the window deletes itself when destroyed
}
