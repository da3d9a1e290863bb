#include "duilib/menu_wnd.h"

#include <algorithm>
#include <cwchar>

#include "duilib/attribute_values.h"

namespace DuiLib {
namespace {

constexpr int kDefaultItemHeight = 30;
constexpr int kDefaultMenuWidth = 150;

std::vector<CMenuWnd*>& OpenMenus() {
    static std::vector<CMenuWnd*> menus;
    return menus;
}

template <size_t N>
void CopyText(wchar_t (&target)[N], const CDuiString& text) {
    std::wcsncpy(target, text.GetData(), N - 1);
    target[N - 1] = 0;
}

}  // namespace

LPVOID CMenuUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"Menu")) {
        return static_cast<CMenuUI*>(this);
    }
    return CVerticalLayoutUI::GetInterface(pstrName);
}

LPVOID CMenuElementUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName ? pstrName : L"", L"MenuElement")) {
        return static_cast<CMenuElementUI*>(this);
    }
    return CListContainerElementUI::GetInterface(pstrName);
}

bool CMenuElementUI::Activate() {
    if (!CControlUI::Activate()) {
        return false;
    }
    if (m_bCheckItem) {
        m_bChecked = !m_bChecked;
    }
    if (m_pMenuWnd != nullptr) {
        m_pMenuWnd->ReportClick(this);
    }
    return true;
}

void CMenuElementUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_BUTTONUP && IsEnabled()) {
        Activate();
        return;
    }
    if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_DBLCLICK) {
        return;
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

CMenuWnd::CMenuWnd() = default;

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

SIZE CMenuWnd::MeasureMenu() const {
    SIZE size = m_pm.GetInitSize();
    CControlUI* root = m_pm.GetRoot();
    if (size.cx <= 0) {
        size.cx = root != nullptr && root->GetFixedWidth() > 0 ? root->GetFixedWidth()
                                                               : m_pm.Scale(kDefaultMenuWidth);
    }
    if (size.cy <= 0) {
        size.cy = 0;
        auto* menu = root != nullptr ? static_cast<CContainerUI*>(root->GetInterface(L"Container"))
                                     : nullptr;
        for (int i = 0; menu != nullptr && i < menu->GetCount(); ++i) {
            CControlUI* item = menu->GetItemAt(i);
            if (item->IsVisible()) {
                size.cy += item->GetFixedHeight() > 0 ? item->GetFixedHeight()
                                                      : m_pm.Scale(kDefaultItemHeight);
            }
        }
    }
    return size;
}

void CMenuWnd::Place(POINT point, DWORD alignment) {
    const SIZE size = MeasureMenu();
    const SIZE screen = GetScreenSize();
    LONG x = (alignment & eMenuAlignment_Right) != 0 ? point.x - size.cx : point.x;
    LONG y = (alignment & eMenuAlignment_Bottom) != 0 ? point.y - size.cy : point.y;
    x = std::max<LONG>(0, std::min<LONG>(x, screen.cx - size.cx));
    y = std::max<LONG>(0, std::min<LONG>(y, screen.cy - size.cy));
    platform::SetWindowPos(m_hWnd, HWND_TOPMOST, x, y, size.cx, size.cy, SWP_NOACTIVATE);
}

CControlUI* CMenuWnd::CreateControl(LPCTSTR pstrClass) {
    const std::wstring_view cls = pstrClass ? pstrClass : L"";
    if (EqualsNoCase(cls, L"Menu")) {
        return new CMenuUI();
    }
    if (EqualsNoCase(cls, L"MenuElement")) {
        return new CMenuElementUI(this);
    }
    return nullptr;
}

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

LRESULT CMenuWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM /*lParam*/, BOOL& bHandled) {
    bHandled = FALSE;
    if ((uMsg == WM_ACTIVATE && wParam == WA_INACTIVE) || uMsg == WM_KILLFOCUS) {
        Close(0);
    }
    return 0;
}

void CMenuWnd::OnFinalMessage(HWND hWnd) {
    WindowImplBase::OnFinalMessage(hWnd);
    auto& menus = OpenMenus();
    menus.erase(std::remove(menus.begin(), menus.end(), this), menus.end());
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
