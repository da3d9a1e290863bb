#pragma once
// Pop-up menus built from a menu layout:
//   <Window size="150,0"> <Menu> <MenuElement name="about_menu" text="about_text"
//        resourcetext="true" userdata=".."/> ... </Menu> </Window>
// (or a <Menu> root). A click on an element posts WM_MENUCLICK to the window of the main
// paint manager with a new MenuCmd in wParam (freed by the receiver with DeletePtr) and
// closes the menu; the menu also closes when it loses the activation. The object belongs
// to whoever created it; closing only destroys the window.

#include <map>
#include <vector>

#include "duilib/ui_list.h"
#include "duilib/window_impl_base.h"

namespace DuiLib {

inline constexpr UINT WM_MENUCLICK = WM_USER + 121;

enum MenuAlignment : DWORD {
    eMenuAlignment_Left = 1 << 1,
    eMenuAlignment_Top = 1 << 2,
    eMenuAlignment_Right = 1 << 3,
    eMenuAlignment_Bottom = 1 << 4,
};

struct MenuCmd {
    wchar_t szName[256] = {};
    wchar_t szUserData[1024] = {};
    wchar_t szText[1024] = {};
    BOOL bChecked = FALSE;
};

class CMenuWnd;

class CMenuUI : public CVerticalLayoutUI {
  public:
    LPCTSTR GetClass() const override { return L"MenuUI"; }
    LPVOID GetInterface(LPCTSTR pstrName) override;
};

class CMenuElementUI : public CListContainerElementUI {
  public:
    explicit CMenuElementUI(CMenuWnd* menu = nullptr) : m_pMenuWnd(menu) {}
    LPCTSTR GetClass() const override { return L"MenuElementUI"; }
    LPVOID GetInterface(LPCTSTR pstrName) override;
    // Reports the click to the menu's owner window and closes the menu.
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    bool GetChecked() const { return m_bChecked; }
    void SetChecked(bool bCheck) { m_bChecked = bCheck; }
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  private:
    CMenuWnd* m_pMenuWnd;
    bool m_bChecked = false;
    bool m_bCheckItem = false;
};

class CMenuWnd : public WindowImplBase {
  public:
    CMenuWnd();
    ~CMenuWnd() override;

    // Builds the menu from `xml`, places it at `point` (alignment flags say which corner
    // lies there), shows and activates it. False when the layout cannot be built.
    bool Init(CMenuElementUI* pOwner, const CDuiString& xml, POINT point,
              CPaintManagerUI* pMainPaintManager,
              std::map<CDuiString, bool>* pMenuCheckInfo = nullptr,
              DWORD dwAlignment = eMenuAlignment_Left | eMenuAlignment_Top);
    // Closes every open menu.
    static void DestroyMenu();
    static std::vector<CMenuWnd*> GetOpenMenus();

    HWND GetOwnerWindow() const { return m_hOwner; }
    std::map<CDuiString, bool>* GetCheckInfo() const { return m_pCheckInfo; }
    // Called by an element: tells the owner and closes.
    void ReportClick(CMenuElementUI* pElement);

  protected:
    CDuiString GetSkinFile() override { return m_sXml; }
    LPCTSTR GetWindowClassName() const override { return L"MenuWnd"; }
    CControlUI* CreateControl(LPCTSTR pstrClass) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnFinalMessage(HWND hWnd) override;

  private:
    void Place(POINT point, DWORD alignment);
    SIZE MeasureMenu() const;

    CDuiString m_sXml;
    HWND m_hOwner = nullptr;
    std::map<CDuiString, bool>* m_pCheckInfo = nullptr;
};

}  // namespace DuiLib
