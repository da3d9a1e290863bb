#include "duilib/paint_manager.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "duilib/paint_manager_shared.h"
#include "duilib/tool_tip.h"
#include "duilib/ui_control.h"
#include "platform/clock.h"
#include "platform/short_copy.h"

namespace DuiLib {

using namespace paint_detail;

namespace {

constexpr int kWheelDelta = 120;

// A disabled container disables what it holds for the user.
bool AcceptsInput(const CControlUI* control) {
    for (; control != nullptr; control = control->GetParent()) {
        if (!control->IsEnabled()) {
            return false;
        }
    }
    return true;
}

// The first filter that handles the message ends the round. A filter may remove itself
// (or others) while it runs, so the round walks a copy: on the stack for the few filters a
// window has, as every message of the thread passes here twice.
bool RunFilters(const std::vector<IMessageFilterUI*>& list, UINT uMsg, WPARAM wParam, LPARAM lParam,
                LRESULT& lRes) {
    platform::ShortCopy<IMessageFilterUI*, 8> filters;
    filters.Assign(list);
    for (IMessageFilterUI* filter : filters.Items()) {
        bool handled = false;
        const LRESULT result = filter->MessageHandler(uMsg, wParam, lParam, handled);
        if (handled) {
            lRes = result;
            return true;
        }
    }
    return false;
}

}  // namespace

// ---- message filters and handling

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) {
    return AddUnique(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter) {
    return RemoveOne(m_aPreMessageFilters, pFilter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
    return AddUnique(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
    return RemoveOne(m_aMessageFilters, pFilter);
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    return RunFilters(m_aPreMessageFilters, uMsg, wParam, lParam, lRes);
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    if (RunFilters(m_aMessageFilters, uMsg, wParam, lParam, lRes)) {
        return true;
    }
    lRes = 0;
    if (uMsg == InternalMessage() && uMsg != 0) {
        HandleInternal(wParam);
        return true;
    }
    switch (uMsg) {
        case WM_SIZE:
            // A minimised window has no client area to lay out; restored, it is laid out at
            // the size it had.
            if (m_pRoot != nullptr && wParam != SIZE_MINIMIZED) {
                m_bUpdateNeeded = true;
                UpdateLayout();
                SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWSIZE);
            }
            return false;
        case WM_TIMER:
            if (m_pToolTip != nullptr && m_pToolTip->OnTimer(wParam)) {
                return true;
            }
            if (wParam >= kFirstWinTimer) {
                DeliverTimer(wParam);
                return true;
            }
            return false;
        case WM_PAINT:
            Paint(true);
            return true;
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                ResumePaint();
            } else if (m_pToolTip != nullptr) {
                m_pToolTip->PointerLeft();
            }
            return false;
        case WM_MOUSELEAVE:
            if (m_pToolTip != nullptr) {
                m_pToolTip->PointerLeft();
            }
            return false;
        case WM_DESTROY:
            m_pToolTip.reset();
            RemoveAllTimers();
            ReleaseBackend();
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL:
            HandleMouse(uMsg, wParam, lParam);
            return false;
        case WM_KEYDOWN:
        case WM_CHAR:
            HandleKey(uMsg, wParam);
            return false;
        default:
            return false;
    }
}

void CPaintManagerUI::HandleInternal(WPARAM kind) {
    if (kind == kAsyncNotify) {
        DeliverAsyncNotifications();
    } else if (kind == kWindowInit) {
        RaiseWindowInit();
    } else if (kind == kPaint) {
        Paint(false);
    }
}

void CPaintManagerUI::SendEvent(CControlUI* pControl, int type, WPARAM wParam, LPARAM lParam,
                                POINT pt) {
    if (pControl == nullptr) {
        return;
    }
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.wParam = wParam;
    event.lParam = lParam;
    event.ptMouse = pt;
    event.chKey = static_cast<wchar_t>(wParam);
    event.dwTimestamp = platform::TickCount();
    pControl->Event(event);
}

void CPaintManagerUI::HandleMouse(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    UpdateLayout();
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    CControlUI* target = FindControl(pt);
    switch (uMsg) {
        case WM_MOUSEMOVE:
            if (m_pToolTip == nullptr && m_hWndPaint != nullptr) {
                m_pToolTip = std::make_unique<CToolTipTracker>(*this);
            }
            if (m_pToolTip != nullptr) {
                m_pToolTip->PointerAt(target, pt);
            }
            if (target != m_pEventHover) {
                SendEvent(m_pEventHover, UIEVENT_MOUSELEAVE, 0, 0, pt);
                m_pEventHover = target;
                // A control that takes no input does not light up under the pointer.
                if (AcceptsInput(target)) {
                    SendEvent(m_pEventHover, UIEVENT_MOUSEENTER, 0, 0, pt);
                }
            }
            SendEvent(m_pEventClick != nullptr ? m_pEventClick : target, UIEVENT_MOUSEMOVE, wParam,
                      lParam, pt);
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            DismissToolTip();
            if (m_pFocus != nullptr && m_pFocus != target) {
                SetFocus(nullptr);
            }
            if (target != nullptr && AcceptsInput(target)) {
                m_pEventClick = target;
                SendEvent(target, uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK,
                          wParam, lParam, pt);
            }
            return;
        case WM_LBUTTONUP: {
            CControlUI* clicked = std::exchange(m_pEventClick, nullptr);
            SendEvent(clicked, UIEVENT_BUTTONUP, wParam, lParam, pt);
            return;
        }
        case WM_RBUTTONDOWN:
            DismissToolTip();
            if (AcceptsInput(target)) {
                SendEvent(target, UIEVENT_RBUTTONDOWN, wParam, lParam, pt);
            }
            return;
        case WM_RBUTTONUP:
            SendEvent(target, UIEVENT_RBUTTONUP, wParam, lParam, pt);
            return;
        case WM_MOUSEWHEEL: {
            DismissToolTip();
            // A fast turn arrives as one message of several notches: each one scrolls.
            const short delta = static_cast<short>(HIWORD(wParam));
            const int notches = std::max(1, std::abs(static_cast<int>(delta)) / kWheelDelta);
            // The wheel reaches the nearest control that takes input (a page that scrolls
            // around a disabled part of it), never the disabled part.
            while (target != nullptr && !AcceptsInput(target)) {
                target = target->GetParent();
            }
            for (int i = 0; i < notches; ++i) {
                SendEvent(target, UIEVENT_SCROLLWHEEL, MAKEWPARAM(delta < 0 ? 1 : 0, 0), lParam,
                          pt);
            }
            return;
        }
        default:
            return;
    }
}

void CPaintManagerUI::DismissToolTip() {
    if (m_pToolTip != nullptr) {
        m_pToolTip->Dismiss();
    }
}

void CPaintManagerUI::HandleKey(UINT uMsg, WPARAM wParam) {
    if (uMsg == WM_KEYDOWN) {
        DismissToolTip();
    }
    // The focused control, or one of its parents, may have been disabled since it took
    // the focus: it takes no keys then.
    if (m_pFocus == nullptr || !AcceptsInput(m_pFocus)) {
        return;
    }
    SendEvent(m_pFocus, uMsg == WM_CHAR ? UIEVENT_CHAR : UIEVENT_KEYDOWN, wParam);
}

}  // namespace DuiLib
