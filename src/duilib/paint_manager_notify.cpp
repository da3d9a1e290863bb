#include "duilib/paint_manager.h"

#include "duilib/paint_manager_shared.h"
#include "duilib/ui_control.h"
#include "platform/clock.h"

namespace DuiLib {

using namespace paint_detail;

// ---- notifications

bool CPaintManagerUI::AddNotifier(INotifyUI* pControl) {
    return AddUnique(m_aNotifiers, pControl);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pControl) {
    return RemoveOne(m_aNotifiers, pControl);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
    Msg.dwTimestamp = platform::TickCount();
    if (Msg.sVirtualWnd.IsEmpty() && Msg.pSender != nullptr) {
        Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();
    }
    if (bAsync && m_hWndPaint != nullptr) {
        m_aAsyncNotify.push_back(Msg);
        platform::PostMessage(m_hWndPaint, InternalMessage(), kAsyncNotify, 0);
        return;
    }
    // A listener may remove itself (or others) while it is told.
    const std::vector<INotifyUI*> listeners = m_aNotifiers;
    for (INotifyUI* listener : listeners) {
        if (std::find(m_aNotifiers.begin(), m_aNotifiers.end(), listener) != m_aNotifiers.end()) {
            listener->Notify(Msg);
        }
    }
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam,
                                 LPARAM lParam, bool bAsync) {
    TNotifyUI msg;
    msg.pSender = pControl;
    msg.sType = pstrMessage;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, bAsync);
}

void CPaintManagerUI::DeliverAsyncNotifications() {
    std::vector<TNotifyUI> pending;
    pending.swap(m_aAsyncNotify);
    for (TNotifyUI& msg : pending) {
        SendNotify(msg, false);
    }
}

void CPaintManagerUI::RaiseWindowInit() {
    if (m_pRoot == nullptr || !m_bFirstLayout) {
        return;
    }
    UpdateLayout();
    m_bFirstLayout = false;
    SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
}

}  // namespace DuiLib
