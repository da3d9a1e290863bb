#pragma once
// Text controls: the label, the button with its state images, and the option and check
// box that hold a selection (grouped options are selected one at a time).

#include "duilib/ui_control.h"

namespace DuiLib {

class CLabelUI : public CControlUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    int GetFont() const { return m_iFont; }
    void SetFont(int index);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetDisabledTextColor(DWORD dwTextColor);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT uStyle);
    RECT GetTextPadding() const;
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool bShowHtml = true);

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  protected:
    int m_iFont = -1;
    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_rcTextPadding{};
    bool m_bShowHtml = false;
};

class CButtonUI : public CLabelUI {
  public:
    // A button's text is centred unless its layout says otherwise.
    CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    // "click", then the bound tab (if any) shows its page.
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;

    CDuiString GetNormalImage() const { return m_sNormalImage; }
    void SetNormalImage(LPCTSTR pStrImage);
    CDuiString GetHotImage() const { return m_sHotImage; }
    void SetHotImage(LPCTSTR pStrImage);
    CDuiString GetPushedImage() const { return m_sPushedImage; }
    void SetPushedImage(LPCTSTR pStrImage);
    CDuiString GetFocusedImage() const { return m_sFocusedImage; }
    void SetFocusedImage(LPCTSTR pStrImage);
    CDuiString GetDisabledImage() const { return m_sDisabledImage; }
    void SetDisabledImage(LPCTSTR pStrImage);
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    void SetHotTextColor(DWORD dwColor) { m_dwHotTextColor = dwColor; }
    DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetPushedTextColor(DWORD dwColor) { m_dwPushedTextColor = dwColor; }
    UINT GetButtonState() const { return m_uButtonState; }
    // The image a renderer shows for the current state: one of the control's own, read on
    // every paint of it (each key of an animated keyboard, 20 times a second), not copied.
    // Valid until that image is set again.
    virtual const CDuiString& GetStateImage() const;

    // A click (or, for an option, a selection) shows page iIndex of the named tab layout.
    void BindTabIndex(int iIndex);
    void BindTabLayoutName(LPCTSTR pTabLayoutName);
    int GetBindTabLayoutIndex() const { return m_iBindTabIndex; }
    CDuiString GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
    void BindTriggerTabSel(int iSetSelectIndex = -1);

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  protected:
    // Raises "click"; false when the control cannot be activated.
    bool RaiseClick();

    UINT m_uButtonState = 0;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    int m_iBindTabIndex = -1;
    CDuiString m_sBindTabLayoutName;
};

class COptionUI : public CButtonUI {
  public:
    ~COptionUI() override;
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    // "click", then selects (a grouped option) or toggles (a lone one).
    bool Activate() override;

    CDuiString GetGroup() const { return m_sGroupName; }
    void SetGroup(LPCTSTR pStrGroupName = nullptr);
    bool IsSelected() const { return m_bSelected; }
    // Selecting clears the other options of the group on the same page (the nearest item
    // of a tab layout above the option, else the top of its tree): a layout built for
    // several pages keeps one choice per page. "selectchanged" goes to every option whose
    // state changed when bNotify. A selected option shows its bound tab.
    virtual void Selected(bool bSelected, bool bNotify = true);

    CDuiString GetSelectedImage() const { return m_sSelectedImage; }
    void SetSelectedImage(LPCTSTR pStrImage);
    CDuiString GetSelectedHotImage() const { return m_sSelectedHotImage; }
    void SetSelectedHotImage(LPCTSTR pStrImage);
    DWORD GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    void SetSelectedTextColor(DWORD dwTextColor) { m_dwSelectedTextColor = dwTextColor; }
    DWORD GetSelectedBkColor() const { return m_dwSelectedBkColor; }
    void SetSelectedBkColor(DWORD dwBkColor) { m_dwSelectedBkColor = dwBkColor; }
    const CDuiString& GetStateImage() const override;

    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

  protected:
    bool m_bSelected = false;
    CDuiString m_sGroupName;
    CDuiString m_sSelectedImage;
    CDuiString m_sSelectedHotImage;
    DWORD m_dwSelectedTextColor = 0;
    DWORD m_dwSelectedBkColor = 0;
};

class CCheckBoxUI : public COptionUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    void SetCheck(bool bCheck, bool bTriggerEvent = true) { Selected(bCheck, bTriggerEvent); }
    bool GetCheck() const { return IsSelected(); }
};

}  // namespace DuiLib
