#include "duilib/paint_manager.h"

#include <algorithm>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager_shared.h"
#include "duilib/tool_tip.h"
#include "duilib/ui_control.h"

namespace DuiLib {

using namespace paint_detail;

namespace {

CControlUI* MatchName(CControlUI* control, LPVOID data) {
    return EqualsNoCase(control->GetName().view(), *static_cast<const std::wstring_view*>(data))
               ? control
               : nullptr;
}

CControlUI* MatchAny(CControlUI* control, LPVOID /*data*/) {
    return control;
}

}  // namespace

// ---- tree

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
    if (pControl == nullptr) {
        return false;
    }
    SetFocus(nullptr);
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot != nullptr && m_pRoot != pControl) {
        delete m_pRoot;
    }
    m_pRoot = pControl;
    m_pRoot->SetManager(this, nullptr, true);
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    if (m_hWndPaint != nullptr) {
        platform::PostMessage(m_hWndPaint, InternalMessage(), kWindowInit, 0);
    }
    return true;
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* /*pParent*/) {
    if (pControl == nullptr) {
        return false;
    }
    std::lock_guard lock(m_timerMutex);
    m_attached.insert(pControl);
    return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
    if (pControl == nullptr) {
        return;
    }
    if (m_pFocus == pControl) {
        m_pFocus = nullptr;
    }
    if (m_pEventHover == pControl) {
        m_pEventHover = nullptr;
    }
    if (m_pEventClick == pControl) {
        m_pEventClick = nullptr;
    }
    if (m_pToolTip != nullptr) {
        m_pToolTip->Forget(pControl);
    }
    if (m_pRoot == pControl) {
        m_pRoot = nullptr;
    }
    KillTimer(pControl);
    {
        std::lock_guard lock(m_timerMutex);
        m_attached.erase(pControl);
    }
    for (auto& [group, members] : m_mOptionGroup) {
        members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
    }
    m_aAsyncNotify.erase(
        std::remove_if(m_aAsyncNotify.begin(), m_aAsyncNotify.end(),
                       [pControl](const TNotifyUI& n) { return n.pSender == pControl; }),
        m_aAsyncNotify.end());
}

bool CPaintManagerUI::IsControlAttached(CControlUI* pControl) const {
    std::lock_guard lock(m_timerMutex);
    return m_attached.count(pControl) != 0;
}

CControlUI* CPaintManagerUI::FindControl(LPCTSTR pstrName) const {
    return FindSubControlByName(m_pRoot, pstrName);
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
    if (m_pRoot == nullptr) {
        return nullptr;
    }
    return m_pRoot->FindControl(MatchAny, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, LPCTSTR pstrName) const {
    if (pParent == nullptr || pstrName == nullptr || *pstrName == 0) {
        return nullptr;
    }
    std::wstring_view name(pstrName);
    return pParent->FindControl(MatchName, &name, UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, LPCTSTR pstrClass,
                                                   int iIndex) {
    const auto all = FindSubControlsByClass(pParent, pstrClass);
    if (iIndex < 0 || iIndex >= static_cast<int>(all.size())) {
        return nullptr;
    }
    return all[static_cast<size_t>(iIndex)];
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent,
                                                                 LPCTSTR pstrClass) {
    struct Search {
        std::wstring_view cls;
        std::vector<CControlUI*> found;
    } search{pstrClass ? pstrClass : L"", {}};
    if (pParent != nullptr) {
        pParent->FindControl(
            [](CControlUI* control, LPVOID data) -> CControlUI* {
                auto* s = static_cast<Search*>(data);
                if (EqualsNoCase(control->GetClass(), s->cls)) {
                    s->found.push_back(control);
                }
                return nullptr;
            },
            &search, UIFIND_ALL);
    }
    return search.found;
}

// ---- focus and option groups

void CPaintManagerUI::SetFocus(CControlUI* pControl) {
    if (pControl == m_pFocus) {
        return;
    }
    if (pControl != nullptr && !IsControlAttached(pControl)) {
        return;
    }
    CControlUI* old = std::exchange(m_pFocus, nullptr);
    if (old != nullptr) {
        SendEvent(old, UIEVENT_KILLFOCUS);
        SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
    }
    if (pControl != nullptr && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        SendEvent(pControl, UIEVENT_SETFOCUS);
        SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CPaintManagerUI::AddOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl) {
    if (pControl == nullptr || pStrGroupName == nullptr || *pStrGroupName == 0) {
        return false;
    }
    auto& members = m_mOptionGroup[CDuiString(pStrGroupName)];
    if (std::find(members.begin(), members.end(), pControl) == members.end()) {
        members.push_back(pControl);
    }
    return true;
}

std::vector<CControlUI*> CPaintManagerUI::GetOptionGroup(LPCTSTR pStrGroupName) const {
    auto it = m_mOptionGroup.find(CDuiString(pStrGroupName ? pStrGroupName : L""));
    return it == m_mOptionGroup.end() ? std::vector<CControlUI*>{} : it->second;
}

void CPaintManagerUI::RemoveOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl) {
    auto it = m_mOptionGroup.find(CDuiString(pStrGroupName ? pStrGroupName : L""));
    if (it == m_mOptionGroup.end()) {
        return;
    }
    auto& members = it->second;
    members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
    if (members.empty()) {
        m_mOptionGroup.erase(it);
    }
}

}  // namespace DuiLib
