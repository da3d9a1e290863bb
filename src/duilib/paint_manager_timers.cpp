#include "duilib/paint_manager.h"

#include <algorithm>

#include "duilib/paint_manager_shared.h"

namespace DuiLib {

using namespace paint_detail;

// ---- timers

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
    std::lock_guard lock(m_timerMutex);
    if (pControl == nullptr || m_hWndPaint == nullptr || m_attached.count(pControl) == 0) {
        return false;
    }
    auto it = std::find_if(m_aTimers.begin(), m_aTimers.end(), [&](const TimerInfo& t) {
        return t.pSender == pControl && t.nLocalID == nTimerID;
    });
    UINT_PTR winTimer = 0;
    if (it != m_aTimers.end()) {
        winTimer = it->uWinTimer;
    } else {
        winTimer = kFirstWinTimer + m_uNextWinTimer++;
        m_aTimers.push_back(TimerInfo{pControl, nTimerID, winTimer});
    }
    return platform::SetTimer(m_hWndPaint, winTimer, uElapse) != 0;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
    std::lock_guard lock(m_timerMutex);
    auto it = std::find_if(m_aTimers.begin(), m_aTimers.end(), [&](const TimerInfo& t) {
        return t.pSender == pControl && t.nLocalID == nTimerID;
    });
    if (it == m_aTimers.end()) {
        return false;
    }
    platform::KillTimer(m_hWndPaint, it->uWinTimer);
    m_aTimers.erase(it);
    return true;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
    std::lock_guard lock(m_timerMutex);
    for (auto it = m_aTimers.begin(); it != m_aTimers.end();) {
        if (it->pSender == pControl) {
            platform::KillTimer(m_hWndPaint, it->uWinTimer);
            it = m_aTimers.erase(it);
        } else {
            ++it;
        }
    }
}

void CPaintManagerUI::RemoveAllTimers() {
    std::lock_guard lock(m_timerMutex);
    for (const TimerInfo& timer : m_aTimers) {
        platform::KillTimer(m_hWndPaint, timer.uWinTimer);
    }
    m_aTimers.clear();
}

void CPaintManagerUI::DeliverTimer(UINT_PTR winTimer) {
    CControlUI* sender = nullptr;
    UINT localId = 0;
    {
        std::lock_guard lock(m_timerMutex);
        auto it = std::find_if(m_aTimers.begin(), m_aTimers.end(),
                               [&](const TimerInfo& t) { return t.uWinTimer == winTimer; });
        if (it == m_aTimers.end() || m_attached.count(it->pSender) == 0) {
            platform::KillTimer(m_hWndPaint, winTimer);
            return;
        }
        sender = it->pSender;
        localId = it->nLocalID;
    }
    SendEvent(sender, UIEVENT_TIMER, localId, static_cast<LPARAM>(winTimer));
}

}  // namespace DuiLib
