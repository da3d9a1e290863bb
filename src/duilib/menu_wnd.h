#pragma once
// Pop-up menus built from a menu layout:
//   <Window size="150,0"> <Menu> <MenuElement name="about_menu" text="about_text"
//        resourcetext="true" userdata=".."/> ... </Menu> </Window>
// (or a <Menu> root). A click on an element posts WM_MENUCLICK to the window of the main
// paint manager with a new MenuCmd in wParam (freed by the receiver with DeletePtr) and
// closes the menu; the menu also closes when the activation leaves its windows. The object
// belongs to whoever created it; closing only destroys the window.
//
// Menu elements inside a menu element are its submenu: they are not shown in the menu that
// holds it, which shows an arrow instead. The submenu opens in a window beside it when the
// pointer rests on the element or it is clicked, and closes when the pointer rests on
// another element of that menu or the menu closes. Keys: Up and Down choose an element,
// Right or Enter opens a submenu (Enter activates any other element), Left and Escape close
// the submenu they are pressed in, Escape in the first menu closes it.

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
class CMenuElementUI;

// The column of elements; its item* attributes give the elements their look.
class CMenuUI : public CVerticalLayoutUI {
  public:
    struct ItemLook {
        DWORD textColor = 0;
        DWORD hotTextColor = 0;
        DWORD hotBkColor = 0;
        DWORD disabledTextColor = 0;
        int font = -1;
        RECT textPadding{};  // at 96 DPI
    };

    CMenuUI();
    LPCTSTR GetClass() const override { return L"MenuUI"; }
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    const ItemLook& GetItemLook() const { return m_look; }
    // The look, colours and inset of `other` (a submenu looks like its menu).
    void CopyLook(const CMenuUI& other);
    // The element drawn highlighted: under the pointer, chosen by the keys, or the one
    // whose submenu is open.
    CMenuElementUI* GetHotItem() const { return m_pHotItem; }
    void SetHotItem(CMenuElementUI* pItem);
    // The next shown and enabled element after the hot one in `step` direction, around the
    // end; null when there is none.
    CMenuElementUI* NextItem(int step) const;

  private:
    ItemLook m_look;
    CMenuElementUI* m_pHotItem = nullptr;
};

class CMenuElementUI : public CListContainerElementUI {
  public:
    CMenuElementUI() = default;
    ~CMenuElementUI() override;
    LPCTSTR GetClass() const override { return L"MenuElementUI"; }
    LPVOID GetInterface(LPCTSTR pstrName) override;

    // A menu element added to this one goes to its submenu; other controls are its parts.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool HasSubMenu() const { return !m_subItems.empty(); }
    const std::vector<CMenuElementUI*>& GetSubMenuItems() const { return m_subItems; }

    // Opens the submenu; for any other element, reports the click to the menu's owner
    // window and closes the menu.
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
    bool GetChecked() const { return m_bChecked; }
    void SetChecked(bool bCheck) { m_bChecked = bCheck; }
    bool IsCheckItem() const { return m_bCheckItem; }
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  private:
    // The menu window showing this element.
    CMenuWnd* Menu() const;

    // Owned here; lent to the submenu's window while it is open.
    std::vector<CMenuElementUI*> m_subItems;
    bool m_bChecked = false;
    bool m_bCheckItem = false;
};

class CMenuWnd : public WindowImplBase {
  public:
    // The timer of an element the pointer rests on, and how long it must rest.
    static constexpr UINT kRestTimer = 0x4D52;
    static constexpr UINT kRestDelayMs = 300;

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
    // The menu windows open now, submenus included.
    static std::vector<CMenuWnd*> GetOpenMenus();
    // The open menu window whose paint manager `manager` is.
    static CMenuWnd* FromManager(const CPaintManagerUI* manager);

    HWND GetOwnerWindow() const { return m_hOwner; }
    std::map<CDuiString, bool>* GetCheckInfo() const { return m_pCheckInfo; }
    // Called by an element: tells the owner and closes.
    void ReportClick(CMenuElementUI* pElement);
    // The submenu open beside this menu; null when none is.
    CMenuWnd* GetSubMenu() const { return m_pSubMenu; }
    CMenuUI* GetMenuUI() const;

    // What the elements of this menu tell it.
    void PointerEntered(CMenuElementUI* pElement);
    void PointerLeft(CMenuElementUI* pElement);
    void PointerRested(CMenuElementUI* pElement);
    // Opens the submenu of `pElement` (closing another one), its first element chosen when
    // `bChooseFirst`.
    void OpenSubMenu(CMenuElementUI* pElement, bool bChooseFirst);
    void CloseSubMenu();

  protected:
    CDuiString GetSkinFile() override { return m_sXml; }
    LPCTSTR GetWindowClassName() const override { return L"MenuWnd"; }
    CControlUI* CreateControl(LPCTSTR pstrClass) override;
    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // Enter and Escape are the menu's own keys, however they arrive.
    LRESULT ResponseDefaultKeyEvent(WPARAM /*wParam*/) override { return FALSE; }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    void OnFinalMessage(HWND hWnd) override;

  private:
    // A submenu of `pElement` in menu `parent`; deletes itself once its window is gone.
    CMenuWnd(CMenuWnd* parent, CMenuElementUI* pElement);

    void BuildSubMenu();
    // Gives the lent elements back to the element they belong to.
    void ReturnItems();
    void Place(POINT point, DWORD alignment);
    void PlaceBesideParent();
    SIZE MeasureMenu() const;
    CMenuWnd* Root();
    CMenuWnd* Deepest();
    // A key for this menu level; false when it does nothing here.
    bool HandleKey(WPARAM key);
    void ChooseItem(CMenuElementUI* pElement);
    void StopWaiting();

    CDuiString m_sXml;
    HWND m_hOwner = nullptr;
    std::map<CDuiString, bool>* m_pCheckInfo = nullptr;
    CMenuWnd* m_pParentMenu = nullptr;
    CMenuElementUI* m_pOwnerElement = nullptr;  // in the parent menu, for a submenu
    CMenuWnd* m_pSubMenu = nullptr;
    // The element the pointer rests on until its timer says it stayed.
    CMenuElementUI* m_pWaiting = nullptr;
};

}  // namespace DuiLib
