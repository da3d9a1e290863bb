#include "app/about_wnd.h"

#include "app/registered_messages.h"
#include "duilib/ui_control.h"
#include "update/language_repaint.h"

using namespace DuiLib;

namespace {

constexpr std::array<LPCTSTR, 5> kCaptionButtonNames = {L"closebtn", L"maxbtn", L"restorebtn",
                                                        L"minbtn", L"menubtn"};
enum { kClose, kMax, kRestore, kMin, kMenu };

}  // namespace

void CAboutWnd::InitWindow() {
    for (size_t i = 0; i < kCaptionButtonNames.size(); ++i) {
        captionButtons_[i] = m_pm.FindControl(kCaptionButtonNames[i]);
    }
}

void CAboutWnd::SetVersionText(const CDuiString& version) {
    CControlUI* label = m_pm.FindControl(L"software_ver_label");
    CControlUI* translator = m_pm.FindControl(L"text_test");
    if (label == nullptr) {
        return;
    }
    CDuiString text;
    if (translator != nullptr) {
        translator->SetResourceText(true);
        translator->SetText(L"software_rev_text");
        text = translator->GetText();
    }
    text += version;
    label->SetResourceText(false);
    label->SetText(text);
}

void CAboutWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
        if (msg.pSender == captionButtons_[kClose]) {
            Close(0);
            return;
        }
        if (msg.pSender == captionButtons_[kMin]) {
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else if (msg.pSender == captionButtons_[kMax]) {
            SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        } else if (msg.pSender == captionButtons_[kRestore]) {
            SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        }
        return;
    }
    WindowImplBase::Notify(msg);
}

LRESULT CAboutWnd::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    const WPARAM command = wParam & 0xFFF0;
    if (command == SC_CLOSE) {
        // The system close command ends the program, through the main window's own
        // shutdown so that its threads stop and its settings are saved.
        bHandled = TRUE;
        Close(0);
        if (closeOwner_ != nullptr) {
            platform::PostMessage(closeOwner_, WM_CLOSE, 0, 0);
        }
        return 0;
    }
    LRESULT result = WindowImplBase::OnSysCommand(uMsg, wParam, lParam, bHandled);
    const bool zoomed = command == SC_MAXIMIZE || (zoomed_ && command != SC_RESTORE);
    if (zoomed != zoomed_) {
        zoomed_ = zoomed;
        if (captionButtons_[kMax] != nullptr) {
            captionButtons_[kMax]->SetVisible(!zoomed);
        }
        if (captionButtons_[kRestore] != nullptr) {
            captionButtons_[kRestore]->SetVisible(zoomed);
        }
    }
    return result;
}

LRESULT CAboutWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) {
    if (uMsg == WM_TIMER && wParam == 1) {
        platform::KillTimer(GetHWND(), 1);
    } else if (uMsg == WM_LANGUAGE_CHANGED) {
        RepaintInNewLanguage(GetHWND(), m_pm);
    }
    bHandled = FALSE;
    return 0;
}
