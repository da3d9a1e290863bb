#include "duilib/ui_control.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"

namespace DuiLib {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_pManager != nullptr && CPaintManagerUI::IsLive(m_pManager)) {
        m_pManager->ReapObjects(this);
    }
}

CDuiString CControlUI::GetName() const {
    return m_sName;
}
void CControlUI::SetName(LPCTSTR pstrName) {
    m_sName = pstrName;
}
LPCTSTR CControlUI::GetClass() const {
    return L"ControlUI";
}

LPVOID CControlUI::GetInterface(LPCTSTR pstrName) {
    return EqualsNoCase(pstrName ? pstrName : L"", L"Control") ? this : nullptr;
}

UINT CControlUI::GetControlFlags() const {
    return 0;
}

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

CPaintManagerUI* CControlUI::GetManager() const {
    return m_pManager;
}

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    if (m_pManager != nullptr && m_pManager != pManager && CPaintManagerUI::IsLive(m_pManager)) {
        m_pManager->ReapObjects(this);
    }
    m_pManager = pManager;
    m_pParent = pParent;
    if (bInit && m_pParent != nullptr) {
        SetInternVisible(m_pParent->IsVisible());
    }
    if (bInit && pManager != nullptr) {
        pManager->InitControls(this, pParent);
        if (!m_bInited) {
            m_bInited = true;
            DoInit();
        }
    }
}

CControlUI* CControlUI::GetParent() const {
    return m_pParent;
}

CDuiString CControlUI::GetVirtualWnd() const {
    for (const CControlUI* c = this; c != nullptr; c = c->m_pParent) {
        if (!c->m_sVirtualWnd.IsEmpty()) {
            return c->m_sVirtualWnd;
        }
    }
    return CDuiString();
}

void CControlUI::SetVirtualWnd(LPCTSTR pstrValue) {
    m_sVirtualWnd = pstrValue;
}

CDuiString CControlUI::GetText() const {
    if (!m_bResourceText) {
        return m_sText;
    }
    return CResourceManager::GetInstance()->GetText(m_sText, nullptr);
}

void CControlUI::SetText(LPCTSTR pstrText) {
    if (m_sText == pstrText) {
        return;
    }
    m_sText = pstrText;
    Invalidate();
}

void CControlUI::SetResourceText(bool bResource) {
    if (m_bResourceText == bResource) {
        return;
    }
    m_bResourceText = bResource;
    Invalidate();
}

CDuiString CControlUI::GetToolTip() const {
    if (!m_bResourceText) {
        return m_sToolTip;
    }
    return CResourceManager::GetInstance()->GetText(m_sToolTip, nullptr);
}

void CControlUI::SetToolTip(LPCTSTR pstrText) {
    m_sToolTip = pstrText;
}
void CControlUI::SetUserData(LPCTSTR pstrText) {
    m_sUserData = pstrText;
}

bool CControlUI::IsVisible() const {
    return m_bVisible && m_bInternVisible;
}

void CControlUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) {
        return;
    }
    const bool wasVisible = IsVisible();
    m_bVisible = bVisible;
    if (m_bFocused && !bVisible && m_pManager != nullptr) {
        m_pManager->SetFocus(nullptr);
    }
    if (IsVisible() != wasVisible) {
        NeedParentUpdate();
    }
}

void CControlUI::SetInternVisible(bool bVisible) {
    m_bInternVisible = bVisible;
    if (!bVisible && m_bFocused && m_pManager != nullptr) {
        m_pManager->SetFocus(nullptr);
    }
}

void CControlUI::SetEnabled(bool bEnable) {
    if (m_bEnabled == bEnable) {
        return;
    }
    m_bEnabled = bEnable;
    Invalidate();
}

void CControlUI::SetFocus() {
    if (m_pManager != nullptr) {
        m_pManager->SetFocus(this);
    }
}

void CControlUI::SetFloat(bool bFloat) {
    if (m_bFloat == bFloat) {
        return;
    }
    m_bFloat = bFloat;
    NeedParentUpdate();
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
    if (rc.right < rc.left) {
        rc.right = rc.left;
    }
    if (rc.bottom < rc.top) {
        rc.bottom = rc.top;
    }
    const RECT old = m_rcItem;
    m_rcItem = rc;
    m_bUpdateNeeded = false;
    if (bNeedInvalidate) {
        // Where it was shows what lies beneath it now.
        if ((old.left != rc.left || old.top != rc.top || old.right != rc.right ||
             old.bottom != rc.bottom) &&
            m_pManager != nullptr && IsVisible()) {
            m_pManager->Invalidate(old);
        }
        Invalidate();
    }
}

int CControlUI::Scaled(int value) const {
    return m_pManager != nullptr ? m_pManager->Scale(value) : value;
}

RECT CControlUI::Scaled(RECT rc) const {
    return m_pManager != nullptr ? m_pManager->Scale(rc) : rc;
}

RECT CControlUI::GetPadding() const {
    return Scaled(m_rcPadding);
}

void CControlUI::SetPadding(RECT rcPadding) {
    m_rcPadding = rcPadding;
    NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const {
    return SIZE{Scaled(m_cXY.cx), Scaled(m_cXY.cy)};
}

void CControlUI::SetFixedXY(SIZE szXY) {
    m_cXY = szXY;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const {
    return Scaled(m_cxyFixed.cx);
}

void CControlUI::SetFixedWidth(int cx) {
    m_cxyFixed.cx = std::clamp(cx, 0, kMaxCoordinate);
    NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const {
    return Scaled(m_cxyFixed.cy);
}

void CControlUI::SetFixedHeight(int cy) {
    m_cxyFixed.cy = std::clamp(cy, 0, kMaxCoordinate);
    NeedParentUpdate();
}

int CControlUI::GetMinWidth() const {
    return Scaled(m_cxyMin.cx);
}
void CControlUI::SetMinWidth(int cx) {
    m_cxyMin.cx = std::clamp(cx, 0, kMaxCoordinate);
    NeedParentUpdate();
}
int CControlUI::GetMaxWidth() const {
    return Scaled(m_cxyMax.cx);
}
void CControlUI::SetMaxWidth(int cx) {
    m_cxyMax.cx = std::clamp(cx, 0, kMaxCoordinate);
    NeedParentUpdate();
}
int CControlUI::GetMinHeight() const {
    return Scaled(m_cxyMin.cy);
}
void CControlUI::SetMinHeight(int cy) {
    m_cxyMin.cy = std::clamp(cy, 0, kMaxCoordinate);
    NeedParentUpdate();
}
int CControlUI::GetMaxHeight() const {
    return Scaled(m_cxyMax.cy);
}
void CControlUI::SetMaxHeight(int cy) {
    m_cxyMax.cy = std::clamp(cy, 0, kMaxCoordinate);
    NeedParentUpdate();
}

SIZE CControlUI::EstimateSize(SIZE /*szAvailable*/) {
    return SIZE{GetFixedWidth(), GetFixedHeight()};
}

void CControlUI::SetBkColor(DWORD dwColor) {
    m_dwBackColor = dwColor;
    Invalidate();
}

void CControlUI::SetBkImage(LPCTSTR pStrImage) {
    m_sBkImage = pStrImage;
    Invalidate();
}

void CControlUI::SetForeImage(LPCTSTR pStrImage) {
    m_sForeImage = pStrImage;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD dwColor) {
    m_dwBorderColor = dwColor;
    Invalidate();
}

void CControlUI::SetBorderSize(int nSize) {
    m_nBorderSize = std::clamp(nSize, 0, 1000);
    Invalidate();
}

void CControlUI::Invalidate() {
    if (m_pManager != nullptr && IsVisible()) {
        m_pManager->Invalidate(m_rcItem);
    }
}

void CControlUI::NeedUpdate() {
    m_bUpdateNeeded = true;
    if (m_pManager != nullptr) {
        m_pManager->NeedUpdate();
    }
}

void CControlUI::NeedParentUpdate() {
    if (m_pParent != nullptr) {
        m_pParent->NeedUpdate();
    } else {
        NeedUpdate();
    }
}

void CControlUI::Event(TEventUI& event) {
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
            m_bFocused = true;
            Invalidate();
            return;
        case UIEVENT_KILLFOCUS:
            m_bFocused = false;
            Invalidate();
            return;
        case UIEVENT_TIMER:
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
            }
            return;
        case UIEVENT_MOUSEENTER:
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_MOUSEENTER);
            }
            return;
        case UIEVENT_MOUSELEAVE:
            if (m_pManager != nullptr) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_MOUSELEAVE);
            }
            return;
        default:
            if (m_pParent != nullptr && event.Type == UIEVENT_SCROLLWHEEL) {
                m_pParent->DoEvent(event);
            }
    }
}

void CControlUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    const CDuiString valueText(value);
    if (name == L"pos") {
        const RECT rc = ParseRect(value);
        m_cXY = SIZE{rc.left, rc.top};
        m_cxyFixed = SIZE{std::clamp<LONG>(rc.right - rc.left, 0, kMaxCoordinate),
                          std::clamp<LONG>(rc.bottom - rc.top, 0, kMaxCoordinate)};
        NeedParentUpdate();
    } else if (name == L"padding") {
        SetPadding(ParseRect(value));
    } else if (name == L"width") {
        SetFixedWidth(ParseCoordinate(value));
    } else if (name == L"height") {
        SetFixedHeight(ParseCoordinate(value));
    } else if (name == L"minwidth") {
        SetMinWidth(ParseCoordinate(value));
    } else if (name == L"maxwidth") {
        SetMaxWidth(ParseCoordinate(value));
    } else if (name == L"minheight") {
        SetMinHeight(ParseCoordinate(value));
    } else if (name == L"maxheight") {
        SetMaxHeight(ParseCoordinate(value));
    } else if (name == L"name") {
        SetName(valueText);
    } else if (name == L"text") {
        SetText(valueText);
    } else if (name == L"resourcetext") {
        SetResourceText(ParseBool(value));
    } else if (name == L"tooltip") {
        SetToolTip(valueText);
    } else if (name == L"userdata") {
        SetUserData(valueText);
    } else if (name == L"tag") {
        SetTag(static_cast<UINT_PTR>(static_cast<unsigned>(ParseInt(value))));
    } else if (name == L"visible") {
        SetVisible(ParseBool(value));
    } else if (name == L"enabled") {
        SetEnabled(ParseBool(value));
    } else if (name == L"mouse") {
        SetMouseEnabled(ParseBool(value));
    } else if (name == L"float") {
        SetFloat(ParseBool(value));
    } else if (name == L"bkcolor" || name == L"bkcolor1") {
        SetBkColor(ParseColor(value));
    } else if (name == L"bkimage") {
        SetBkImage(valueText);
    } else if (name == L"foreimage") {
        SetForeImage(valueText);
    } else if (name == L"bordercolor") {
        SetBorderColor(ParseColor(value));
    } else if (name == L"bordersize") {
        SetBorderSize(ParseInt(value));
    } else if (name == L"virtualwnd") {
        SetVirtualWnd(valueText);
    }
}

CControlUI* CControlUI::ApplyAttributeList(LPCTSTR pstrList) {
    ForEachAttribute(
        pstrList ? pstrList : L"",
        [this](const CDuiString& name, const CDuiString& value) { SetAttribute(name, value); });
    return this;
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & UIFIND_HITTEST) != 0) {
        const POINT* pt = static_cast<const POINT*>(pData);
        if (!m_bMouseEnabled || pt->x < m_rcItem.left || pt->x >= m_rcItem.right ||
            pt->y < m_rcItem.top || pt->y >= m_rcItem.bottom) {
            return nullptr;
        }
    }
    return Proc(this, pData);
}

void CControlUI::Init() {
    if (!m_bInited) {
        m_bInited = true;
        DoInit();
    }
}

void CControlUI::DoInit() {}

}  // namespace DuiLib
