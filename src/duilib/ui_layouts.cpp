#include "duilib/ui_layouts.h"

#include <algorithm>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"

namespace DuiLib {
namespace {

// One child's share of the main axis before placement.
struct Slot {
    CControlUI* control = nullptr;
    int extent = 0;  // 0: stretch
    int minExtent = 0;
    int maxExtent = 0;
};

// Lays `items` out along one axis of `inner`. `horizontal` picks the axis.
void LayoutLine(const std::vector<CControlUI*>& items, const RECT& inner, int childPadding,
                bool horizontal) {
    const int along = horizontal ? inner.right - inner.left : inner.bottom - inner.top;
    std::vector<Slot> slots;
    long long fixedTotal = 0;
    int stretchCount = 0;
    for (CControlUI* item : items) {
        if (!item->IsVisible() || item->IsFloat()) {
            continue;
        }
        const RECT pad = item->GetPadding();
        Slot slot{item, 0, horizontal ? item->GetMinWidth() : item->GetMinHeight(),
                  horizontal ? item->GetMaxWidth() : item->GetMaxHeight()};
        const SIZE estimate =
            item->EstimateSize(SIZE{inner.right - inner.left, inner.bottom - inner.top});
        const int wanted = horizontal ? estimate.cx : estimate.cy;
        if (wanted > 0) {
            slot.extent = std::max(std::min(wanted, slot.maxExtent), slot.minExtent);
            fixedTotal += slot.extent;
        } else {
            ++stretchCount;
        }
        fixedTotal += horizontal ? pad.left + pad.right : pad.top + pad.bottom;
        slots.push_back(slot);
    }
    if (slots.size() > 1) {
        fixedTotal +=
            static_cast<long long>(childPadding) * static_cast<long long>(slots.size() - 1);
    }
    const long long remaining = std::max<long long>(0, along - fixedTotal);
    int stretchIndex = 0;
    long long position = horizontal ? inner.left : inner.top;
    for (Slot& slot : slots) {
        if (slot.extent == 0 && stretchCount > 0) {
            // The last stretching child takes the rounding remainder.
            long long share = remaining / stretchCount;
            if (++stretchIndex == stretchCount) {
                share = remaining - share * (stretchCount - 1);
            }
            slot.extent = static_cast<int>(
                std::max<long long>(std::min<long long>(share, slot.maxExtent), slot.minExtent));
        }
        CControlUI* item = slot.control;
        const RECT pad = item->GetPadding();
        const SIZE estimate =
            item->EstimateSize(SIZE{inner.right - inner.left, inner.bottom - inner.top});
        RECT place{};
        if (horizontal) {
            const int cross = CContainerUI::FitExtent(
                estimate.cy, inner.bottom - inner.top - pad.top - pad.bottom, item->GetMinHeight(),
                item->GetMaxHeight());
            position += pad.left;
            place = RECT{static_cast<LONG>(position), inner.top + pad.top,
                         static_cast<LONG>(position + slot.extent), inner.top + pad.top + cross};
            position += slot.extent + pad.right + childPadding;
        } else {
            const int cross = CContainerUI::FitExtent(
                estimate.cx, inner.right - inner.left - pad.left - pad.right, item->GetMinWidth(),
                item->GetMaxWidth());
            position += pad.top;
            place = RECT{inner.left + pad.left, static_cast<LONG>(position),
                         inner.left + pad.left + cross, static_cast<LONG>(position + slot.extent)};
            position += slot.extent + pad.bottom + childPadding;
        }
        item->SetPos(place, false);
    }
}

// What the children of a line need: their sizes along it one after another, and the
// largest across it.
SIZE MeasureLine(const std::vector<SIZE>& wanted, int childPadding, bool horizontal) {
    long long along = static_cast<long long>(childPadding) *
                      std::max<long long>(0, static_cast<long long>(wanted.size()) - 1);
    long long across = 0;
    for (const SIZE size : wanted) {
        along += horizontal ? size.cx : size.cy;
        across = std::max<long long>(across, horizontal ? size.cy : size.cx);
    }
    const auto clamp = [](long long v) {
        return static_cast<LONG>(std::min<long long>(v, kMaxCoordinate));
    };
    return horizontal ? SIZE{clamp(along), clamp(across)} : SIZE{clamp(across), clamp(along)};
}

}  // namespace

void CLineLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = ContentRect(m_rcItem);
    const SIZE needed =
        HasScrollBar() ? MeasureLine(WantedSizes(inner), GetChildPadding(), m_bHorizontal) : SIZE{};
    LayoutLine(m_items, ScrollContent(inner, needed), GetChildPadding(), m_bHorizontal);
    for (CControlUI* item : m_items) {
        if (item->IsVisible() && item->IsFloat()) {
            SetFloatPos(item);
        }
    }
}

LPCTSTR CHorizontalLayoutUI::GetClass() const {
    return L"HorizontalLayoutUI";
}

LPVOID CHorizontalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"HorizontalLayout")) {
        return static_cast<CHorizontalLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

LPCTSTR CVerticalLayoutUI::GetClass() const {
    return L"VerticalLayoutUI";
}

LPVOID CVerticalLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"VerticalLayout")) {
        return static_cast<CVerticalLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

LPCTSTR CTabLayoutUI::GetClass() const {
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"TabLayout")) {
        return static_cast<CTabLayoutUI*>(this);
    }
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl) {
    return AddAt(pControl, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CContainerUI::AddAt(pControl, iIndex)) {
        return false;
    }
    if (m_iCurSel == -1 && pControl->IsVisible()) {
        m_iCurSel = iIndex;
    } else {
        if (m_iCurSel >= iIndex) {
            ++m_iCurSel;
        }
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index, bDoNotDestroy);
}

bool CTabLayoutUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
    if (!CContainerUI::RemoveAt(iIndex, bDoNotDestroy)) {
        return false;
    }
    if (GetCount() == 0) {
        m_iCurSel = -1;
    } else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    } else if (iIndex == m_iCurSel) {
        m_iCurSel = std::min(m_iCurSel, GetCount() - 1);
        ShowOnly(m_iCurSel);
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    CContainerUI::RemoveAll();
    m_iCurSel = -1;
}

void CTabLayoutUI::ShowOnly(int iIndex) {
    for (int i = 0; i < GetCount(); ++i) {
        m_items[static_cast<size_t>(i)]->SetVisible(i == iIndex);
    }
    NeedParentUpdate();
    NeedUpdate();
}

bool CTabLayoutUI::SelectItem(int iIndex, bool bNotify) {
    if (iIndex < 0 || iIndex >= GetCount()) {
        return false;
    }
    if (iIndex == m_iCurSel) {
        return true;
    }
    const int old = m_iCurSel;
    m_iCurSel = iIndex;
    ShowOnly(iIndex);
    if (bNotify && m_pManager != nullptr) {
        m_pManager->SetFocus(nullptr);
        m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, static_cast<WPARAM>(iIndex),
                               static_cast<LPARAM>(old));
    }
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl, bool bNotify) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && SelectItem(index, bNotify);
}

void CTabLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = ContentRect(m_rcItem);
    CControlUI* current = GetItemAt(m_iCurSel);
    if (current == nullptr) {
        return;
    }
    if (current->IsFloat()) {
        SetFloatPos(current);
        return;
    }
    const RECT pad = current->GetPadding();
    current->SetPos(FitInto(current, RECT{inner.left + pad.left, inner.top + pad.top,
                                          inner.right - pad.right, inner.bottom - pad.bottom}),
                    false);
}

void CTabLayoutUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (std::wstring_view(pstrName ? pstrName : L"") == L"selectedid") {
        const int index = ParseInt(pstrValue ? pstrValue : L"", 0);
        if (!SelectItem(index, false)) {
            m_iPendingSel = index;
        }
        return;
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CTabLayoutUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    CContainerUI::SetManager(pManager, pParent, bInit);
    // A selection written before the children were parsed takes effect once they exist.
    if (bInit && m_iPendingSel >= 0) {
        SelectItem(std::exchange(m_iPendingSel, -1), false);
    }
}

}  // namespace DuiLib
