#include "duilib/render/combo_drop_wnd.h"

#include <algorithm>

#include "duilib/screen_fit.h"
#include "duilib/ui_list.h"
#include "duilib/window_impl_base.h"
#include "platform/window_handles.h"

namespace DuiLib {
namespace {

constexpr int kRowHeight = 24;  // at 96 DPI
constexpr DWORD kListColor = 0xFF1E2834;
constexpr DWORD kListBorder = 0xFF3A4A60;
constexpr DWORD kRowText = 0xFFE0E6F0;
constexpr DWORD kRowDisabledText = 0xFF6A7688;

// The combo whose list the current press closed (compared, never dereferenced).
CComboUI*& DismissedCombo() {
    static CComboUI* combo = nullptr;
    return combo;
}

// What a row shows: its own text, or the first text inside it.
CDuiString RowText(CControlUI* row) {
    CDuiString text = row->GetText();
    if (!text.IsEmpty()) {
        return text;
    }
    auto* container = static_cast<CContainerUI*>(row->GetInterface(L"Container"));
    for (int i = 0; container != nullptr && i < container->GetCount(); ++i) {
        text = RowText(container->GetItemAt(i));
        if (!text.IsEmpty()) {
            return text;
        }
    }
    return text;
}

}  // namespace

void CComboDropWnd::ForgetDismissed() {
    DismissedCombo() = nullptr;
}

bool CComboDropWnd::TakeDismissed(CComboUI* combo) {
    const bool dismissed = combo != nullptr && DismissedCombo() == combo;
    DismissedCombo() = nullptr;
    return dismissed;
}

CComboDropWnd* CComboDropWnd::Open(CComboUI* combo) {
    if (combo == nullptr || combo->GetManager() == nullptr || combo->GetCount() == 0 ||
        combo->GetManager()->GetPaintWindow() == nullptr) {
        return nullptr;
    }
    auto* wnd = new CComboDropWnd(combo, combo->GetManager());
    if (wnd->Create(wnd->m_hOwner, L"", 0, 0, 0, 0, 0, 0) == nullptr) {
        delete wnd;  // a refused creation never reaches OnFinalMessage
        return nullptr;
    }
    wnd->Place();
    wnd->ShowWindow(true, true);
    wnd->m_pm.Invalidate();
    return wnd;
}

CComboDropWnd::CComboDropWnd(CComboUI* combo, CPaintManagerUI* ownerManager)
    : m_pCombo(combo), m_pOwnerManager(ownerManager), m_hOwner(ownerManager->GetPaintWindow()) {}

CComboUI* CComboDropWnd::LiveCombo() const {
    if (!platform::IsWindow(m_hOwner)) {
        return nullptr;
    }
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (manager == m_pOwnerManager) {
            return manager->IsControlAttached(m_pCombo) ? m_pCombo : nullptr;
        }
    }
    return nullptr;
}

void CComboDropWnd::BuildRows() {
    const CComboUI::TextLook& look = m_pCombo->GetTextLook();
    const DWORD textColor = look.itemTextColor != 0
                                ? look.itemTextColor
                                : (look.textColor != 0 ? look.textColor : kRowText);
    const DWORD rowColor = look.itemBkColor != 0 ? look.itemBkColor : kListColor;
    auto* list = new CListUI;
    list->SetBkColor(rowColor);
    list->SetBorderColor(kListBorder);
    list->SetBorderSize(1);
    list->SetInset(RECT{1, 1, 1, 1});
    list->EnableScrollBar(true, false);
    for (int i = 0; i < m_pCombo->GetCount(); ++i) {
        CControlUI* source = m_pCombo->GetItemAt(i);
        auto* row = new CListLabelElementUI;
        row->SetText(RowText(source).str().c_str());
        row->SetFixedHeight(kRowHeight);
        row->SetTextPadding(RECT{6, 0, 6, 0});
        row->SetTextColor(textColor);
        row->SetDisabledTextColor(kRowDisabledText);
        row->SetFont(look.font);
        if (auto* label = static_cast<CLabelUI*>(source->GetInterface(L"Label"));
            label != nullptr && look.font < 0) {
            row->SetFont(label->GetFont());
        }
        row->SetEnabled(source->IsEnabled());
        list->Add(row);
    }
    m_pm.AttachDialog(list);
    m_pm.AddNotifier(this);
    list->SelectItem(m_pCombo->GetCurSel(), false, false);
    MarkSelected(m_pCombo->GetCurSel(), -1);
}

CListUI* CComboDropWnd::List() const {
    return static_cast<CListUI*>(m_pm.GetRoot());
}

void CComboDropWnd::Place() {
    const RECT combo = m_pCombo->GetPos();
    RECT owner{};
    platform::GetWindowRect(m_hOwner, &owner);
    const int rows = std::max(1, m_pCombo->GetCount());
    const int rowHeight = std::max(1, m_pm.Scale(kRowHeight));
    const SIZE dropBox = m_pCombo->GetDropBoxSize();
    int visibleRows = rows;
    if (dropBox.cy > 0) {
        visibleRows = std::clamp((m_pm.Scale(dropBox.cy) - 2) / rowHeight, 1, rows);
    }
    const int width =
        std::max<LONG>(combo.right - combo.left, dropBox.cx > 0 ? m_pm.Scale(dropBox.cx) : 0);
    // Below the combo; above it when the screen has more room there; never past an edge.
    const RECT area = WorkAreaFor(m_hWnd, m_hOwner);
    const LONG below = area.bottom - (owner.top + combo.bottom);
    const LONG above = owner.top + combo.top - area.top;
    const bool up = below < rowHeight * visibleRows + 2 && above > below;
    visibleRows =
        std::clamp(static_cast<int>(((up ? above : below) - 2) / rowHeight), 1, visibleRows);
    const int height = rowHeight * visibleRows + 2;
    const LONG top = up ? owner.top + combo.top - height : owner.top + combo.bottom;
    const RECT rc = KeptInside(
        RECT{owner.left + combo.left, top, owner.left + combo.left + width, top + height}, area);
    platform::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, SWP_NOACTIVATE);
}

void CComboDropWnd::Choose(int index) {
    CComboUI* combo = LiveCombo();
    const CControlUI* row = List() != nullptr ? List()->GetItemAt(index) : nullptr;
    if (combo != nullptr && row != nullptr && row->IsEnabled()) {
        combo->SelectItem(index, false, true);
    }
    Close(IDOK);
}

void CComboDropWnd::MarkSelected(int index, int old) {
    const DWORD color = m_pCombo->GetTextLook().itemSelectedBkColor;
    CListUI* list = List();
    if (color == 0 || list == nullptr) {
        return;  // the renderer's own highlight follows the selection
    }
    if (CControlUI* previous = list->GetItemAt(old)) {
        previous->SetBkColor(0);
    }
    if (CControlUI* current = list->GetItemAt(index)) {
        current->SetBkColor(color);
    }
}

void CComboDropWnd::Notify(TNotifyUI& msg) {
    if (msg.pSender == nullptr) {
        return;
    }
    if (msg.sType == DUI_MSGTYPE_ITEMSELECT) {
        MarkSelected(static_cast<int>(msg.wParam), static_cast<int>(msg.lParam));
        return;
    }
    if (msg.sType != DUI_MSGTYPE_ITEMCLICK) {
        return;
    }
    auto* row = static_cast<IListItemUI*>(msg.pSender->GetInterface(L"ListItem"));
    if (row != nullptr) {
        Choose(row->GetIndex());
    } else {
        Close(IDOK);
    }
}

LRESULT CComboDropWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_CREATE:
            m_pm.Init(m_hWnd, L"ComboDrop");
            m_pm.SetDPI(m_pOwnerManager->GetDPI());
            BuildRows();
            return 0;
        case WM_ACTIVATE:
            if (wParam == WA_INACTIVE) {
                DismissedCombo() = m_pCombo;
                Close(IDCANCEL);
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                Close(IDCANCEL);
                return 0;
            }
            if (wParam == VK_RETURN && List() != nullptr) {
                Choose(List()->GetCurSel());
                return 0;
            }
            // Nothing in the list holds the focus: the keys move its selection.
            if (CListUI* list = List()) {
                TEventUI event;
                event.Type = UIEVENT_KEYDOWN;
                event.pSender = list;
                event.chKey = static_cast<wchar_t>(wParam);
                event.wParam = wParam;
                list->DoEvent(event);
            }
            return 0;
        default:
            break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) {
        return lRes;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CComboDropWnd::OnFinalMessage(HWND /*hWnd*/) {
    delete this;
}

}  // namespace DuiLib
