// The column of a menu and its elements; the windows that show them are in menu_wnd.cpp.

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/menu_wnd.h"
#include "duilib/paint_manager.h"

namespace DuiLib {
namespace {

// The toolkit's own look, for menus whose layout gives none.
constexpr DWORD kMenuColor = 0xFF1E2834;
constexpr DWORD kMenuBorderColor = 0xFF3A4A60;
constexpr DWORD kItemTextColor = 0xFFE0E6F0;
constexpr DWORD kItemHotColor = 0xFF2D3E55;
constexpr DWORD kItemDisabledTextColor = 0xFF6A7688;
// Room for a check mark before the text and a submenu arrow after it.
constexpr RECT kItemTextPadding{24, 0, 24, 0};

CMenuElementUI* AsElement(CControlUI* control) {
    return control != nullptr ? static_cast<CMenuElementUI*>(control->GetInterface(L"MenuElement"))
                              : nullptr;
}

}  // namespace

// ---- CMenuUI

CMenuUI::CMenuUI() {
    SetBkColor(kMenuColor);
    SetBorderColor(kMenuBorderColor);
    SetBorderSize(1);
    SetInset(RECT{1, 1, 1, 1});
    m_look.textColor = kItemTextColor;
    m_look.hotBkColor = kItemHotColor;
    m_look.disabledTextColor = kItemDisabledTextColor;
    m_look.textPadding = kItemTextPadding;
}

LPVOID CMenuUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Menu")) {
        return static_cast<CMenuUI*>(this);
    }
    return CVerticalLayoutUI::GetInterface(pstrName);
}

void CMenuUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"itemtextcolor") {
        m_look.textColor = ParseColor(value);
    } else if (name == L"itemhottextcolor") {
        m_look.hotTextColor = ParseColor(value);
    } else if (name == L"itemhotbkcolor") {
        m_look.hotBkColor = ParseColor(value);
    } else if (name == L"itemdisabledtextcolor") {
        m_look.disabledTextColor = ParseColor(value);
    } else if (name == L"itemfont") {
        m_look.font = ParseInt(value, -1);
    } else if (name == L"itemtextpadding") {
        m_look.textPadding = ParseRect(value);
    } else {
        CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
    }
}

bool CMenuUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
    if (GetItemAt(iIndex) != nullptr && GetItemAt(iIndex) == m_pHotItem) {
        m_pHotItem = nullptr;
    }
    return CVerticalLayoutUI::RemoveAt(iIndex, bDoNotDestroy);
}

void CMenuUI::RemoveAll() {
    m_pHotItem = nullptr;
    CVerticalLayoutUI::RemoveAll();
}

void CMenuUI::CopyLook(const CMenuUI& other) {
    m_look = other.m_look;
    SetBkColor(other.GetBkColor());
    SetBkImage(other.GetBkImage());
    SetBorderColor(other.GetBorderColor());
    SetBorderSize(other.GetBorderSize());
    SetInset(other.m_rcInset);
}

void CMenuUI::SetHotItem(CMenuElementUI* pItem) {
    if (pItem == m_pHotItem) {
        return;
    }
    if (m_pHotItem != nullptr) {
        m_pHotItem->Invalidate();
    }
    m_pHotItem = pItem;
    if (m_pHotItem != nullptr) {
        m_pHotItem->Invalidate();
    }
}

CMenuElementUI* CMenuUI::NextItem(int step) const {
    const int count = GetCount();
    int index = GetItemIndex(m_pHotItem);
    if (index < 0) {
        index = step > 0 ? -1 : count;
    }
    for (int tried = 0; tried < count; ++tried) {
        index = (index + step + count) % count;
        CMenuElementUI* item = AsElement(GetItemAt(index));
        if (item != nullptr && item->IsVisible() && item->IsEnabled()) {
            return item;
        }
    }
    return nullptr;
}

// ---- CMenuElementUI

CMenuElementUI::~CMenuElementUI() {
    for (CMenuElementUI* item : m_subItems) {
        // An element whose menu goes while its submenu is still open takes its own back.
        if (auto* holder =
                item->GetParent() != nullptr
                    ? static_cast<CContainerUI*>(item->GetParent()->GetInterface(L"Container"))
                    : nullptr) {
            holder->Remove(item, true);
        }
        delete item;
    }
}

LPVOID CMenuElementUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"MenuElement")) {
        return static_cast<CMenuElementUI*>(this);
    }
    return CListContainerElementUI::GetInterface(pstrName);
}

bool CMenuElementUI::Add(CControlUI* pControl) {
    return AddAt(pControl, GetCount());
}

bool CMenuElementUI::AddAt(CControlUI* pControl, int iIndex) {
    CMenuElementUI* item = AsElement(pControl);
    if (item == nullptr) {
        return CListContainerElementUI::AddAt(pControl, iIndex);
    }
    if (item == this || item->GetParent() != nullptr ||
        std::find(m_subItems.begin(), m_subItems.end(), item) != m_subItems.end()) {
        return false;
    }
    // Kept apart from the menu's tree until its submenu shows it.
    item->SetManager(nullptr, nullptr, false);
    m_subItems.push_back(item);
    Invalidate();
    return true;
}

CMenuWnd* CMenuElementUI::Menu() const {
    return CMenuWnd::FromManager(GetManager());
}

bool CMenuElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    CMenuWnd* menu = Menu();
    if (HasSubMenu()) {
        if (menu != nullptr) {
            menu->OpenSubMenu(this, false);
        }
        return true;
    }
    if (m_bCheckItem) {
        m_bChecked = !m_bChecked;
    }
    if (menu != nullptr) {
        menu->ReportClick(this);
    }
    return true;
}

void CMenuElementUI::DoEvent(TEventUI& event) {
    CMenuWnd* menu = Menu();
    switch (event.Type) {
        case UIEVENT_MOUSEENTER:
            if (menu != nullptr) {
                menu->PointerEntered(this);
            }
            break;
        case UIEVENT_MOUSELEAVE:
            if (menu != nullptr) {
                menu->PointerLeft(this);
            }
            break;
        case UIEVENT_TIMER:
            if (event.wParam == CMenuWnd::kRestTimer) {
                if (menu != nullptr) {
                    menu->PointerRested(this);
                }
                return;
            }
            break;
        case UIEVENT_BUTTONUP:
            if (IsEnabled()) {
                Activate();
            }
            return;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            return;
        default:
            break;
    }
    CListContainerElementUI::DoEvent(event);
}

void CMenuElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"checkitem") {
        m_bCheckItem = ParseBool(pstrValue ? pstrValue : L"");
    } else if (name == L"checked") {
        m_bChecked = ParseBool(pstrValue ? pstrValue : L"");
    } else {
        CListContainerElementUI::SetAttribute(pstrName, pstrValue);
    }
}

}  // namespace DuiLib
