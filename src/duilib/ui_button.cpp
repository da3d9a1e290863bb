#include "duilib/ui_button.h"

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_layouts.h"

namespace DuiLib {
// ---- CLabelUI

LPCTSTR CLabelUI::GetClass() const {
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Label")) {
        return static_cast<CLabelUI*>(this);
    }
    return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor) {
    m_dwTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetTextStyle(UINT uStyle) {
    m_uTextStyle = uStyle;
    Invalidate();
}

RECT CLabelUI::GetTextPadding() const {
    return Scaled(m_rcTextPadding);
}

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool bShowHtml) {
    m_bShowHtml = bShowHtml;
    Invalidate();
}

void CLabelUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"font") {
        SetFont(ParseInt(value, -1));
    } else if (name == L"textcolor") {
        SetTextColor(ParseColor(value));
    } else if (name == L"disabledtextcolor") {
        SetDisabledTextColor(ParseColor(value));
    } else if (name == L"align" || name == L"valign") {
        SetTextStyle(ParseAlign(value, m_uTextStyle));
    } else if (name == L"endellipsis") {
        SetTextStyle(ParseBool(value) ? (m_uTextStyle | DT_END_ELLIPSIS)
                                      : (m_uTextStyle & ~DT_END_ELLIPSIS));
    } else if (name == L"multiline") {
        // Without DT_SINGLELINE the text wraps at the label's width.
        SetTextStyle(ParseBool(value) ? (m_uTextStyle & ~DT_SINGLELINE)
                                      : (m_uTextStyle | DT_SINGLELINE));
    } else if (name == L"textpadding") {
        SetTextPadding(ParseRect(value));
    } else if (name == L"showhtml") {
        SetShowHtml(ParseBool(value));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

// ---- CButtonUI

LPCTSTR CButtonUI::GetClass() const {
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Button")) {
        return static_cast<CButtonUI*>(this);
    }
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const {
    return IsEnabled() ? 1u : 0u;
}

bool CButtonUI::RaiseClick() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    }
    return true;
}

bool CButtonUI::Activate() {
    if (!RaiseClick()) {
        return false;
    }
    BindTriggerTabSel();
    return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
    }
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__FIRST && event.Type < UIEVENT__LAST &&
        event.Type != UIEVENT_TIMER) {
        if (m_pParent != nullptr) {
            m_pParent->DoEvent(event);
        }
        return;
    }
    switch (event.Type) {
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (IsEnabled() && PtInRect(m_rcItem, event.ptMouse)) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case UIEVENT_BUTTONUP:
            if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
                const bool inside = PtInRect(m_rcItem, event.ptMouse);
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
                if (inside) {
                    Activate();
                }
            }
            return;
        case UIEVENT_KEYDOWN:
            if (IsEnabled() && (event.chKey == L' ' || event.chKey == L'\r')) {
                Activate();
                return;
            }
            break;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                Invalidate();
            }
            break;
        case UIEVENT_MOUSELEAVE:
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
            break;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(LPCTSTR pStrImage) {
    m_sNormalImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetHotImage(LPCTSTR pStrImage) {
    m_sHotImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetPushedImage(LPCTSTR pStrImage) {
    m_sPushedImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetFocusedImage(LPCTSTR pStrImage) {
    m_sFocusedImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetDisabledImage(LPCTSTR pStrImage) {
    m_sDisabledImage = pStrImage;
    Invalidate();
}

const CDuiString& CButtonUI::GetStateImage() const {
    if (!IsEnabled() && !m_sDisabledImage.IsEmpty()) {
        return m_sDisabledImage;
    }
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && !m_sPushedImage.IsEmpty()) {
        return m_sPushedImage;
    }
    if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sHotImage.IsEmpty()) {
        return m_sHotImage;
    }
    if (IsFocused() && !m_sFocusedImage.IsEmpty()) {
        return m_sFocusedImage;
    }
    return m_sNormalImage;
}

void CButtonUI::BindTabIndex(int iIndex) {
    m_iBindTabIndex = iIndex >= 0 ? iIndex : -1;
}

void CButtonUI::BindTabLayoutName(LPCTSTR pTabLayoutName) {
    m_sBindTabLayoutName = pTabLayoutName;
}

void CButtonUI::BindTriggerTabSel(int iSetSelectIndex) {
    if (m_pManager == nullptr || m_sBindTabLayoutName.IsEmpty()) {
        return;
    }
    const int index = iSetSelectIndex >= 0 ? iSetSelectIndex : m_iBindTabIndex;
    CControlUI* control = m_pManager->FindControl(m_sBindTabLayoutName);
    auto* tab = control ? static_cast<CTabLayoutUI*>(control->GetInterface(L"TabLayout")) : nullptr;
    if (tab != nullptr && index >= 0) {
        tab->SelectItem(index);
    }
}

void CButtonUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"normalimage") {
        SetNormalImage(pstrValue);
    } else if (name == L"hotimage") {
        SetHotImage(pstrValue);
    } else if (name == L"pushedimage") {
        SetPushedImage(pstrValue);
    } else if (name == L"focusedimage") {
        SetFocusedImage(pstrValue);
    } else if (name == L"disabledimage") {
        SetDisabledImage(pstrValue);
    } else if (name == L"hottextcolor") {
        SetHotTextColor(ParseColor(value));
    } else if (name == L"pushedtextcolor") {
        SetPushedTextColor(ParseColor(value));
    } else if (name == L"bindtabindex") {
        BindTabIndex(ParseInt(value, -1));
    } else if (name == L"bindtablayoutname") {
        BindTabLayoutName(pstrValue);
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

// ---- COptionUI

namespace {

// The page an option's group choice belongs to.
const CControlUI* GroupPage(const CControlUI* control) {
    const CControlUI* page = control;
    for (CControlUI* parent = control->GetParent(); parent != nullptr;
         parent = parent->GetParent()) {
        if (parent->GetInterface(L"TabLayout") != nullptr) {
            return page;
        }
        page = parent;
    }
    return page;
}

}  // namespace

COptionUI::~COptionUI() {
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty() && CPaintManagerUI::IsLive(m_pManager)) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
}

LPCTSTR COptionUI::GetClass() const {
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Option")) {
        return static_cast<COptionUI*>(this);
    }
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (bInit && pManager != nullptr && !m_sGroupName.IsEmpty()) {
        pManager->AddOptionGroup(m_sGroupName, this);
        if (m_bSelected) {
            Selected(true, false);
        }
    }
}

void COptionUI::SetGroup(LPCTSTR pStrGroupName) {
    const CDuiString group(pStrGroupName ? pStrGroupName : L"");
    if (group == m_sGroupName) {
        return;
    }
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty()) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
    m_sGroupName = group;
    if (m_pManager != nullptr && !m_sGroupName.IsEmpty() && m_pManager->IsControlAttached(this)) {
        m_pManager->AddOptionGroup(m_sGroupName, this);
    }
    Selected(m_bSelected, false);
}

void COptionUI::Selected(bool bSelected, bool bNotify) {
    const bool changed = m_bSelected != bSelected;
    m_bSelected = bSelected;
    if (m_bSelected && m_pManager != nullptr && !m_sGroupName.IsEmpty()) {
        const CControlUI* page = GroupPage(this);
        for (CControlUI* member : m_pManager->GetOptionGroup(m_sGroupName)) {
            auto* option = static_cast<COptionUI*>(member->GetInterface(L"Option"));
            if (option != nullptr && option != this && option->IsSelected() &&
                GroupPage(option) == page) {
                option->Selected(false, bNotify);
            }
        }
    }
    if (!changed) {
        return;
    }
    if (bNotify && m_pManager != nullptr) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    }
    if (m_bSelected) {
        BindTriggerTabSel();
    }
    Invalidate();
}

bool COptionUI::Activate() {
    if (!RaiseClick()) {
        return false;
    }
    Selected(m_sGroupName.IsEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetSelectedImage(LPCTSTR pStrImage) {
    m_sSelectedImage = pStrImage;
    Invalidate();
}

void COptionUI::SetSelectedHotImage(LPCTSTR pStrImage) {
    m_sSelectedHotImage = pStrImage;
    Invalidate();
}

const CDuiString& COptionUI::GetStateImage() const {
    if (m_bSelected && IsEnabled()) {
        if ((m_uButtonState & UISTATE_HOT) != 0 && !m_sSelectedHotImage.IsEmpty()) {
            return m_sSelectedHotImage;
        }
        if (!m_sSelectedImage.IsEmpty()) {
            return m_sSelectedImage;
        }
    }
    return CButtonUI::GetStateImage();
}

void COptionUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"group") {
        SetGroup(pstrValue);
    } else if (name == L"selected") {
        Selected(ParseBool(value), false);
    } else if (name == L"selectedimage") {
        SetSelectedImage(pstrValue);
    } else if (name == L"selectedhotimage") {
        SetSelectedHotImage(pstrValue);
    } else if (name == L"selectedtextcolor") {
        SetSelectedTextColor(ParseColor(value));
    } else if (name == L"selectedbkcolor") {
        SetSelectedBkColor(ParseColor(value));
    } else {
        CButtonUI::SetAttribute(pstrName, pstrValue);
    }
}

// ---- CCheckBoxUI

LPCTSTR CCheckBoxUI::GetClass() const {
    return L"CheckBoxUI";
}

LPVOID CCheckBoxUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"CheckBox")) {
        return static_cast<CCheckBoxUI*>(this);
    }
    return COptionUI::GetInterface(pstrName);
}

}  // namespace DuiLib
