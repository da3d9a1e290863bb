// The menu windows: the first one, placed where its caller says, and the submenus opened
// beside it. A submenu is owned by the window of the menu it opens from, so that the
// window layer destroys it first, and it borrows that menu element's submenu elements
// while it shows them.

#include "duilib/menu_wnd.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "duilib/attribute_values.h"
#include "duilib/screen_fit.h"

namespace DuiLib {
namespace {

constexpr int kDefaultItemHeight = 30;
constexpr int kDefaultMenuWidth = 150;

std::vector<CMenuWnd*>& OpenMenus() {
    static std::vector<CMenuWnd*> menus;
    return menus;
}

bool IsMenuWindow(HWND hwnd) {
    return hwnd != nullptr &&
           std::any_of(OpenMenus().begin(), OpenMenus().end(),
                       [hwnd](const CMenuWnd* menu) { return menu->GetHWND() == hwnd; });
}

template <size_t N>
void CopyText(wchar_t (&target)[N], const CDuiString& text) {
    std::wcsncpy(target, text.GetData(), N - 1);
    target[N - 1] = 0;
}

}  // namespace

CMenuWnd::CMenuWnd() = default;

CMenuWnd::CMenuWnd(CMenuWnd* parent, CMenuElementUI* pElement)
    : m_hOwner(parent->m_hOwner),
      m_pCheckInfo(parent->m_pCheckInfo),
      m_pParentMenu(parent),
      m_pOwnerElement(pElement) {}

CMenuWnd::~CMenuWnd() {
    auto& menus = OpenMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
    if (m_hWnd != nullptr && platform::IsWindowOnCurrentThread(m_hWnd)) {
        const HWND hwnd = m_hWnd;
        platform::DestroyWindow(hwnd);
    }
}

bool CMenuWnd::Init(CMenuElementUI* /*pOwner*/, const CDuiString& xml, POINT point,
                    CPaintManagerUI* pMainPaintManager, std::map<CDuiString, bool>* pMenuCheckInfo,
                    DWORD dwAlignment) {
    if (m_hWnd != nullptr) {
        return false;
    }
    m_sXml = xml;
    m_pCheckInfo = pMenuCheckInfo;
    m_hOwner = pMainPaintManager != nullptr ? pMainPaintManager->GetPaintWindow() : nullptr;
    if (pMainPaintManager != nullptr) {
        m_pm.SetDPI(pMainPaintManager->GetDPI());
    }
    if (Create(m_hOwner, L"MenuWnd", 0, 0) == nullptr) {
        return false;
    }
    OpenMenus().push_back(this);
    Place(point, dwAlignment);
    ShowWindow(true, true);
    return true;
}

CMenuWnd* CMenuWnd::FromManager(const CPaintManagerUI* manager) {
    for (CMenuWnd* menu : OpenMenus()) {
        if (&menu->m_pm == manager) {
            return menu;
        }
    }
    return nullptr;
}

CMenuUI* CMenuWnd::GetMenuUI() const {
    CControlUI* root = m_pm.GetRoot();
    return root != nullptr ? static_cast<CMenuUI*>(root->GetInterface(L"Menu")) : nullptr;
}

LRESULT CMenuWnd::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if (m_pOwnerElement == nullptr) {
        return WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);
    }
    bHandled = TRUE;
    m_pm.Init(m_hWnd);
    m_pm.AddPreMessageFilter(this);
    m_pm.SetDPI(m_pParentMenu->m_pm.GetDPI());
    BuildSubMenu();
    m_pm.AddNotifier(this);
    return 0;
}

void CMenuWnd::BuildSubMenu() {
    auto* menu = new CMenuUI;
    if (const CMenuUI* parentMenu = m_pParentMenu->GetMenuUI()) {
        menu->CopyLook(*parentMenu);
    }
    m_pm.AttachDialog(menu);
    for (CMenuElementUI* item : m_pOwnerElement->GetSubMenuItems()) {
        menu->Add(item);
    }
}

void CMenuWnd::ReturnItems() {
    StopWaiting();
    CMenuUI* menu = GetMenuUI();
    if (m_pOwnerElement == nullptr || menu == nullptr) {
        return;
    }
    while (menu->GetCount() > 0) {
        menu->RemoveAt(menu->GetCount() - 1, true);
    }
}

SIZE CMenuWnd::MeasureMenu() const {
    auto* menu = m_pm.GetRoot() != nullptr
                     ? static_cast<CContainerUI*>(m_pm.GetRoot()->GetInterface(L"Container"))
                     : nullptr;
    const RECT inset = menu != nullptr ? menu->GetInset() : RECT{};
    // The menu is as wide as its widest element and as tall as its elements together.
    LONG width = 0;
    LONG height = 0;
    for (int i = 0; menu != nullptr && i < menu->GetCount(); ++i) {
        const CControlUI* item = menu->GetItemAt(i);
        if (item->IsVisible()) {
            width = std::max<LONG>(width, item->GetFixedWidth());
            height += item->GetFixedHeight() > 0 ? item->GetFixedHeight()
                                                 : m_pm.Scale(kDefaultItemHeight);
        }
    }
    const SIZE init = m_pm.GetInitSize();
    SIZE size{width + inset.left + inset.right, height + inset.top + inset.bottom};
    if (width == 0) {
        size.cx = init.cx > 0 ? init.cx : m_pm.Scale(kDefaultMenuWidth);
    }
    if (height == 0) {
        size.cy = init.cy;
    }
    return size;
}

// On the monitor holding the point, inside its work area: a menu that would run past an
// edge opens on the other side of the point.
void CMenuWnd::Place(POINT point, DWORD alignment) {
    const SIZE size = MeasureMenu();
    const RECT area = WorkAreaAt(point);
    LONG x = (alignment & eMenuAlignment_Right) != 0 ? point.x - size.cx : point.x;
    LONG y = (alignment & eMenuAlignment_Bottom) != 0 ? point.y - size.cy : point.y;
    if (x + size.cx > area.right && point.x - size.cx >= area.left) {
        x = point.x - size.cx;
    }
    if (y + size.cy > area.bottom && point.y - size.cy >= area.top) {
        y = point.y - size.cy;
    }
    const RECT rc = KeptInside(RECT{x, y, x + size.cx, y + size.cy}, area);
    platform::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, SWP_NOACTIVATE);
}

// Beside the parent menu, its first element level with the element it opens from; on the
// other side when there is no room on the right.
void CMenuWnd::PlaceBesideParent() {
    const SIZE size = MeasureMenu();
    const RECT area = WorkAreaFor(m_hWnd, m_pParentMenu->GetHWND());
    RECT parent{};
    platform::GetWindowRect(m_pParentMenu->GetHWND(), &parent);
    const CMenuUI* menu = GetMenuUI();
    const LONG insetTop = menu != nullptr ? menu->GetInset().top : 0;
    LONG x = parent.right;
    if (x + size.cx > area.right) {
        x = parent.left - size.cx;
    }
    const LONG y = parent.top + m_pOwnerElement->GetPos().top - insetTop;
    const RECT rc = KeptInside(RECT{x, y, x + size.cx, y + size.cy}, area);
    platform::SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left,
                           rc.bottom - rc.top, SWP_NOACTIVATE);
}

CControlUI* CMenuWnd::CreateControl(LPCTSTR pstrClass) {
    const std::wstring_view cls = pstrClass ? pstrClass : L"";
    if (EqualsNoCase(cls, L"Menu")) {
        return new CMenuUI();
    }
    if (EqualsNoCase(cls, L"MenuElement")) {
        return new CMenuElementUI();
    }
    return nullptr;
}

// ---- submenus

CMenuWnd* CMenuWnd::Root() {
    CMenuWnd* menu = this;
    while (menu->m_pParentMenu != nullptr) {
        menu = menu->m_pParentMenu;
    }
    return menu;
}

CMenuWnd* CMenuWnd::Deepest() {
    CMenuWnd* menu = this;
    while (menu->m_pSubMenu != nullptr) {
        menu = menu->m_pSubMenu;
    }
    return menu;
}

void CMenuWnd::ChooseItem(CMenuElementUI* pElement) {
    if (CMenuUI* menu = GetMenuUI()) {
        menu->SetHotItem(pElement);
    }
}

void CMenuWnd::StopWaiting() {
    if (m_pWaiting != nullptr) {
        m_pm.KillTimer(std::exchange(m_pWaiting, nullptr), kRestTimer);
    }
}

void CMenuWnd::PointerEntered(CMenuElementUI* pElement) {
    // Reaching a submenu keeps it open: the menus it opens from stop waiting to close it.
    for (CMenuWnd* sub = this; sub->m_pParentMenu != nullptr; sub = sub->m_pParentMenu) {
        sub->m_pParentMenu->StopWaiting();
        sub->m_pParentMenu->ChooseItem(sub->m_pOwnerElement);
    }
    ChooseItem(pElement->IsEnabled() ? pElement : nullptr);
    StopWaiting();
    if (m_pSubMenu != nullptr && m_pSubMenu->m_pOwnerElement == pElement) {
        return;
    }
    // Passing over an element on the way to a submenu changes nothing: only resting does.
    if (m_pSubMenu != nullptr || (pElement->IsEnabled() && pElement->HasSubMenu())) {
        m_pWaiting = pElement;
        m_pm.SetTimer(pElement, kRestTimer, kRestDelayMs);
    }
}

void CMenuWnd::PointerLeft(CMenuElementUI* pElement) {
    if (m_pWaiting == pElement) {
        StopWaiting();
    }
    CMenuUI* menu = GetMenuUI();
    const bool ownsSubMenu = m_pSubMenu != nullptr && m_pSubMenu->m_pOwnerElement == pElement;
    if (menu != nullptr && menu->GetHotItem() == pElement && !ownsSubMenu) {
        menu->SetHotItem(nullptr);
    }
}

void CMenuWnd::PointerRested(CMenuElementUI* pElement) {
    m_pm.KillTimer(pElement, kRestTimer);
    if (pElement != m_pWaiting) {
        return;
    }
    m_pWaiting = nullptr;
    CloseSubMenu();
    OpenSubMenu(pElement, false);
}

void CMenuWnd::OpenSubMenu(CMenuElementUI* pElement, bool bChooseFirst) {
    StopWaiting();
    if (pElement == nullptr || !pElement->HasSubMenu() || !pElement->IsEnabled()) {
        return;
    }
    if (m_pSubMenu == nullptr || m_pSubMenu->m_pOwnerElement != pElement) {
        CloseSubMenu();
        auto* sub = new CMenuWnd(this, pElement);
        if (sub->Create(m_hWnd, L"MenuWnd", 0, 0) == nullptr) {
            delete sub;  // a refused creation never reaches OnFinalMessage
            return;
        }
        m_pSubMenu = sub;
        OpenMenus().push_back(sub);
        sub->PlaceBesideParent();
        sub->ShowWindow(true, false);
    }
    ChooseItem(pElement);
    if (bChooseFirst) {
        m_pSubMenu->ChooseItem(m_pSubMenu->GetMenuUI()->NextItem(1));
    }
}

// The submenu gives its elements back and disappears at once; its window goes when its
// close message comes, never while one of its own handlers may still run.
void CMenuWnd::CloseSubMenu() {
    CMenuWnd* sub = std::exchange(m_pSubMenu, nullptr);
    if (sub == nullptr) {
        return;
    }
    sub->CloseSubMenu();
    if (platform::GetActiveWindow() == sub->GetHWND()) {
        platform::SetActiveWindow(m_hWnd);
    }
    sub->ReturnItems();
    sub->m_pParentMenu = nullptr;
    platform::ShowWindow(sub->GetHWND(), SW_HIDE);
    sub->Close(0);
}

bool CMenuWnd::HandleKey(WPARAM key) {
    CMenuUI* menu = GetMenuUI();
    if (menu == nullptr) {
        return false;
    }
    CMenuElementUI* hot = menu->GetHotItem();
    switch (key) {
        case VK_UP:
        case VK_DOWN:
            StopWaiting();
            ChooseItem(menu->NextItem(key == VK_UP ? -1 : 1));
            return true;
        case VK_RIGHT:
            if (hot != nullptr && hot->HasSubMenu()) {
                OpenSubMenu(hot, true);
            }
            return true;
        case VK_RETURN:
            if (hot != nullptr && hot->HasSubMenu()) {
                OpenSubMenu(hot, true);
            } else if (hot != nullptr) {
                hot->Activate();
            }
            return true;
        case VK_LEFT:
        case VK_ESCAPE:
            if (m_pParentMenu != nullptr) {
                m_pParentMenu->CloseSubMenu();
            } else if (key == VK_ESCAPE) {
                DestroyMenu();
            }
            return true;
        default:
            return false;
    }
}

// ---- clicks, activation and the end of a window

void CMenuWnd::ReportClick(CMenuElementUI* pElement) {
    if (pElement == nullptr) {
        return;
    }
    if (m_pCheckInfo != nullptr && !pElement->GetName().IsEmpty()) {
        (*m_pCheckInfo)[pElement->GetName()] = pElement->GetChecked();
    }
    if (m_hOwner != nullptr && platform::IsWindow(m_hOwner)) {
        auto* cmd = new MenuCmd();
        CopyText(cmd->szName, pElement->GetName());
        CopyText(cmd->szUserData, pElement->GetUserData());
        CopyText(cmd->szText, pElement->GetText());
        cmd->bChecked = pElement->GetChecked() ? TRUE : FALSE;
        if (!platform::PostMessage(m_hOwner, WM_MENUCLICK, reinterpret_cast<WPARAM>(cmd), 0)) {
            delete cmd;
        }
    }
    DestroyMenu();
}

LRESULT CMenuWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = FALSE;
    // Activation moving between the menus keeps them open; anywhere else closes them all.
    if (uMsg == WM_ACTIVATE && wParam == WA_INACTIVE) {
        if (!IsMenuWindow(reinterpret_cast<HWND>(lParam))) {
            DestroyMenu();
        }
    } else if (uMsg == WM_KILLFOCUS) {
        if (!IsMenuWindow(reinterpret_cast<HWND>(wParam))) {
            DestroyMenu();
        }
    } else if (uMsg == WM_KEYDOWN) {
        // Whichever menu window has the keys, they act on the innermost open menu.
        bHandled = Root()->Deepest()->HandleKey(wParam) ? TRUE : FALSE;
    }
    return 0;
}

void CMenuWnd::OnFinalMessage(HWND hWnd) {
    // Submenus are owned by this window: the window layer has destroyed them already.
    if (m_pSubMenu != nullptr) {
        std::exchange(m_pSubMenu, nullptr)->m_pParentMenu = nullptr;
    }
    ReturnItems();
    if (m_pParentMenu != nullptr && m_pParentMenu->m_pSubMenu == this) {
        m_pParentMenu->m_pSubMenu = nullptr;
    }
    WindowImplBase::OnFinalMessage(hWnd);
    auto& menus = OpenMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
    if (m_pOwnerElement != nullptr) {
        delete this;
    }
}

void CMenuWnd::DestroyMenu() {
    for (CMenuWnd* menu : GetOpenMenus()) {
        menu->Close(0);
    }
}

std::vector<CMenuWnd*> CMenuWnd::GetOpenMenus() {
    return OpenMenus();
}

}  // namespace DuiLib
