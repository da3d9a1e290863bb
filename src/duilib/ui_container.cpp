#include "duilib/ui_container.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_scrollbar.h"

namespace DuiLib {

CContainerUI::~CContainerUI() {
    // The manager may be gone already (a tree built for it and never attached); only a
    // live one is told about the children that go.
    const bool managerLive = m_pManager != nullptr && CPaintManagerUI::IsLive(m_pManager);
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (managerLive) {
            m_pManager->ReapObjects(*it);
        }
        if (m_bAutoDestroy) {
            delete *it;
        } else {
            (*it)->SetManager(nullptr, nullptr, false);
        }
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar != nullptr && managerLive) {
            m_pManager->ReapObjects(bar);
        }
        delete bar;
    }
}

LPCTSTR CContainerUI::GetClass() const {
    return L"ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCTSTR pstrName) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (EqualsNoCase(name, L"IContainer")) {
        return static_cast<IContainerUI*>(this);
    }
    if (EqualsNoCase(name, L"Container")) {
        return static_cast<CContainerUI*>(this);
    }
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
    if (iIndex < 0 || iIndex >= static_cast<int>(m_items.size())) {
        return nullptr;
    }
    return m_items[static_cast<size_t>(iIndex)];
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const {
    auto it = std::find(m_items.begin(), m_items.end(), pControl);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iNewIndex) {
    const int old = GetItemIndex(pControl);
    if (old < 0 || iNewIndex < 0 || iNewIndex >= GetCount()) {
        return false;
    }
    m_items.erase(m_items.begin() + old);
    m_items.insert(m_items.begin() + iNewIndex, pControl);
    NeedUpdate();
    return true;
}

int CContainerUI::GetCount() const {
    return static_cast<int>(m_items.size());
}

bool CContainerUI::Add(CControlUI* pControl) {
    return AddAt(pControl, GetCount());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
    // A control has one owner: one held elsewhere must be removed from there first.
    if (pControl == nullptr || iIndex < 0 || iIndex > GetCount() || pControl == this ||
        pControl->GetParent() != nullptr || GetItemIndex(pControl) >= 0) {
        return false;
    }
    m_items.insert(m_items.begin() + iIndex, pControl);
    pControl->SetManager(m_pManager, this, m_pManager != nullptr);
    if (m_pManager == nullptr) {
        pControl->SetInternVisible(IsVisible());
    }
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index, bDoNotDestroy);
}

bool CContainerUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
    CControlUI* control = GetItemAt(iIndex);
    if (control == nullptr) {
        return false;
    }
    m_items.erase(m_items.begin() + iIndex);
    if (m_pManager != nullptr) {
        m_pManager->ReapObjects(control);
    }
    if (bDoNotDestroy || !m_bAutoDestroy) {
        control->SetManager(nullptr, nullptr, false);
    } else {
        delete control;
    }
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    while (!m_items.empty()) {
        RemoveAt(GetCount() - 1);
    }
}

RECT CContainerUI::GetInset() const {
    return Scaled(m_rcInset);
}

void CContainerUI::SetInset(RECT rcInset) {
    m_rcInset = rcInset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const {
    return Scaled(m_iChildPadding);
}

void CContainerUI::SetChildPadding(int iPadding) {
    m_iChildPadding = std::clamp(iPadding, 0, kMaxCoordinate);
    NeedUpdate();
}

void CContainerUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) {
        return;
    }
    CControlUI::SetVisible(bVisible);
    ShowChildren();
}

void CContainerUI::SetInternVisible(bool bVisible) {
    CControlUI::SetInternVisible(bVisible);
    ShowChildren();
}

// The scroll bars too: a list built hidden (on a tab not shown yet) must show its bar and
// scroll once it is shown.
void CContainerUI::ShowChildren() {
    for (CControlUI* item : m_items) {
        item->SetInternVisible(IsVisible());
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar != nullptr) {
            bar->SetInternVisible(IsVisible());
        }
    }
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    for (CControlUI* item : m_items) {
        item->SetManager(pManager, this, bInit);
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (bar != nullptr) {
            bar->SetManager(pManager, this, bInit);
        }
    }
    CControlUI::SetManager(pManager, pParent, bInit);
}

RECT CContainerUI::ContentRect(const RECT& rc) const {
    const RECT inset = GetInset();
    RECT inner{rc.left + inset.left, rc.top + inset.top, rc.right - inset.right,
               rc.bottom - inset.bottom};
    inner.right = std::max(inner.right, inner.left);
    inner.bottom = std::max(inner.bottom, inner.top);
    return inner;
}

int CContainerUI::ClampExtent(int value, int minValue, int maxValue) {
    if (value <= 0) {
        return 0;
    }
    return std::max(std::min(value, maxValue), minValue);
}

int CContainerUI::FitExtent(int wanted, int available, int minValue, int maxValue) {
    const int extent = std::max(std::min(wanted > 0 ? wanted : available, maxValue), minValue);
    return std::clamp(extent, 0, std::max(0, available));
}

RECT CContainerUI::FitInto(CControlUI* item, const RECT& place) {
    const int width = FitExtent(item->GetFixedWidth(), place.right - place.left,
                                item->GetMinWidth(), item->GetMaxWidth());
    const int height = FitExtent(item->GetFixedHeight(), place.bottom - place.top,
                                 item->GetMinHeight(), item->GetMaxHeight());
    return RECT{place.left, place.top, place.left + width, place.top + height};
}

void CContainerUI::SetFloatPos(CControlUI* pControl) {
    const SIZE xy = pControl->GetFixedXY();
    const int width =
        ClampExtent(pControl->GetFixedWidth(), pControl->GetMinWidth(), pControl->GetMaxWidth());
    const int height =
        ClampExtent(pControl->GetFixedHeight(), pControl->GetMinHeight(), pControl->GetMaxHeight());
    const LONG left = m_rcItem.left + xy.cx;
    const LONG top = m_rcItem.top + xy.cy;
    // A floating control without a width or height reaches the container's far edge, so
    // an overlay keeps covering its area when the window is resized.
    const LONG right = width > 0 ? left + width : std::max(left, m_rcItem.right);
    const LONG bottom = height > 0 ? top + height : std::max(top, m_rcItem.bottom);
    pControl->SetPos(RECT{left, top, right, bottom}, false);
}

std::vector<SIZE> CContainerUI::WantedSizes(const RECT& inner) const {
    std::vector<SIZE> sizes;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        const RECT pad = item->GetPadding();
        const SIZE wanted =
            item->EstimateSize(SIZE{inner.right - inner.left, inner.bottom - inner.top});
        sizes.push_back(SIZE{std::max(wanted.cx, item->GetMinWidth()) + pad.left + pad.right,
                             std::max(wanted.cy, item->GetMinHeight()) + pad.top + pad.bottom});
    }
    return sizes;
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT content = ContentRect(m_rcItem);
    SIZE needed{};
    for (const SIZE wanted : HasScrollBar() ? WantedSizes(content) : std::vector<SIZE>{}) {
        needed = SIZE{std::max(needed.cx, wanted.cx), std::max(needed.cy, wanted.cy)};
    }
    const RECT inner = ScrollContent(content, needed);
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) {
            continue;
        }
        if (item->IsFloat()) {
            SetFloatPos(item);
            continue;
        }
        const RECT pad = item->GetPadding();
        item->SetPos(FitInto(item, RECT{inner.left + pad.left, inner.top + pad.top,
                                        inner.right - pad.right, inner.bottom - pad.bottom}),
                     false);
    }
}

void CContainerUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    const std::wstring_view value = pstrValue ? pstrValue : L"";
    if (name == L"inset") {
        SetInset(ParseRect(value));
    } else if (name == L"childpadding") {
        SetChildPadding(ParseCoordinate(value));
    } else if (name == L"autodestroy") {
        SetAutoDestroy(ParseBool(value));
    } else if (name == L"vscrollbar") {
        EnableScrollBar(ParseBool(value), m_pHorizontalScrollBar != nullptr);
    } else if (name == L"hscrollbar") {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBool(value));
    } else if (name == L"vscrollbarstyle") {
        m_sVerticalScrollBarStyle = CDuiString(value);
        if (m_pVerticalScrollBar != nullptr) {
            m_pVerticalScrollBar->ApplyAttributeList(m_sVerticalScrollBarStyle);
        }
    } else if (name == L"hscrollbarstyle") {
        m_sHorizontalScrollBarStyle = CDuiString(value);
        if (m_pHorizontalScrollBar != nullptr) {
            m_pHorizontalScrollBar->ApplyAttributeList(m_sHorizontalScrollBarStyle);
        }
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) {
        return nullptr;
    }
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) {
        return nullptr;
    }
    if ((uFlags & UIFIND_HITTEST) != 0) {
        const POINT* pt = static_cast<const POINT*>(pData);
        if (pt->x < m_rcItem.left || pt->x >= m_rcItem.right || pt->y < m_rcItem.top ||
            pt->y >= m_rcItem.bottom) {
            return nullptr;
        }
    }
    if ((uFlags & UIFIND_ME_FIRST) != 0) {
        if (CControlUI* me = CControlUI::FindControl(Proc, pData, uFlags)) {
            return me;
        }
    }
    // Later children lie above earlier ones, and the scroll bars above them all: hit tests
    // look at them first. Children scrolled out of the view are not there to be hit.
    if ((uFlags & UIFIND_HITTEST) != 0) {
        for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
            if (CControlUI* found =
                    bar != nullptr ? bar->FindControl(Proc, pData, uFlags) : nullptr) {
                return found;
            }
        }
        const POINT* pt = static_cast<const POINT*>(pData);
        const bool inView = !HasScrollBar() || PtInRect(m_rcView, *pt);
        for (auto it = m_items.rbegin(); inView && it != m_items.rend(); ++it) {
            if (CControlUI* found = (*it)->FindControl(Proc, pData, uFlags)) {
                return found;
            }
        }
    } else {
        for (CControlUI* item : m_items) {
            if (CControlUI* found = item->FindControl(Proc, pData, uFlags)) {
                return found;
            }
        }
    }
    if ((uFlags & UIFIND_ME_FIRST) == 0) {
        return CControlUI::FindControl(Proc, pData, uFlags);
    }
    return nullptr;
}

void CContainerUI::DoEvent(TEventUI& event) {
    // The wheel scrolls the nearest container that has room to scroll on either axis.
    if (event.Type == UIEVENT_SCROLLWHEEL) {
        const bool down = LOWORD(event.wParam) != 0;
        for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
            if (bar != nullptr && bar->IsVisible() && bar->GetScrollRange() > 0) {
                const int step = down ? bar->GetLineSize() : -bar->GetLineSize();
                const SIZE pos = GetScrollPos();
                SetScrollPos(bar->IsHorizontal() ? SIZE{pos.cx + step, pos.cy}
                                                 : SIZE{pos.cx, pos.cy + step});
                return;
            }
        }
    }
    CControlUI::DoEvent(event);
}

}  // namespace DuiLib
