#pragma once
// The base of every control: identity (name, class), texts, state, the 96-DPI geometry
// its container lays out, look (colours and images a renderer reads) and events.

#include "duilib/ui_defs.h"

namespace DuiLib {

class CControlUI {
  public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual CDuiString GetName() const;
    virtual void SetName(LPCTSTR pstrName);
    virtual LPCTSTR GetClass() const;
    // The control's own interface for a name ("Control", "Container", ...), else null.
    virtual LPVOID GetInterface(LPCTSTR pstrName);
    virtual UINT GetControlFlags() const;
    // What a click or a key does: a disabled or hidden control does nothing (false).
    virtual bool Activate();

    virtual CPaintManagerUI* GetManager() const;
    // Attaches this control and its children; `bInit` registers them with the manager
    // (option groups) and runs DoInit once.
    virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
    virtual CControlUI* GetParent() const;
    CDuiString GetVirtualWnd() const;
    void SetVirtualWnd(LPCTSTR pstrValue);

    // The shown text: the language text of the key when the text is a resource key.
    virtual CDuiString GetText() const;
    virtual void SetText(LPCTSTR pstrText);
    CDuiString GetTextKey() const { return m_sText; }
    bool IsResourceText() const { return m_bResourceText; }
    void SetResourceText(bool bResource);

    virtual CDuiString GetToolTip() const;
    virtual void SetToolTip(LPCTSTR pstrText);
    virtual CDuiString GetUserData() const { return m_sUserData; }
    virtual void SetUserData(LPCTSTR pstrText);
    virtual UINT_PTR GetTag() const { return m_pTag; }
    virtual void SetTag(UINT_PTR pTag) { m_pTag = pTag; }

    virtual bool IsVisible() const;
    virtual void SetVisible(bool bVisible = true);
    // Visibility given by an ancestor (a hidden container hides its children).
    virtual void SetInternVisible(bool bVisible = true);
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool bEnable = true);
    virtual bool IsMouseEnabled() const { return m_bMouseEnabled; }
    virtual void SetMouseEnabled(bool bEnable = true) { m_bMouseEnabled = bEnable; }
    virtual bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();
    virtual bool IsFloat() const { return m_bFloat; }
    virtual void SetFloat(bool bFloat = true);

    // Geometry. Fixed sizes, padding and float offsets are kept at 96 DPI; the getters
    // return them scaled to the manager's DPI, which is what layout uses.
    virtual const RECT& GetPos() const { return m_rcItem; }
    virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
    virtual int GetWidth() const { return m_rcItem.right - m_rcItem.left; }
    virtual int GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
    virtual int GetX() const { return m_rcItem.left; }
    virtual int GetY() const { return m_rcItem.top; }
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    // The size the control asks of its container; 0 in a dimension means "stretch".
    virtual SIZE EstimateSize(SIZE szAvailable);

    // Look, for the renderer.
    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD dwColor);
    // Read by the renderer on every paint of the control: not copied.
    const CDuiString& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(LPCTSTR pStrImage);
    CDuiString GetForeImage() const { return m_sForeImage; }
    virtual void SetForeImage(LPCTSTR pStrImage);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD dwColor);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int nSize);

    // Marks the control for repainting / its container for a new layout.
    virtual void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    virtual void NeedUpdate();
    virtual void NeedParentUpdate();

    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    virtual void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue);
    CControlUI* ApplyAttributeList(LPCTSTR pstrList);

    virtual CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags);

    virtual void Init();
    virtual void DoInit();

  protected:
    // Scales a 96-DPI value to the manager's DPI.
    int Scaled(int value) const;
    RECT Scaled(RECT rc) const;

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sVirtualWnd;
    CDuiString m_sName;
    bool m_bUpdateNeeded = true;
    RECT m_rcItem{};
    RECT m_rcPadding{};
    SIZE m_cXY{};
    SIZE m_cxyFixed{};
    SIZE m_cxyMin{};
    SIZE m_cxyMax{9999, 9999};
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bFocused = false;
    bool m_bFloat = false;
    bool m_bSetPos = false;
    bool m_bInited = false;
    bool m_bResourceText = false;

    CDuiString m_sText;
    CDuiString m_sToolTip;
    CDuiString m_sUserData;
    UINT_PTR m_pTag = 0;

    DWORD m_dwBackColor = 0;
    DWORD m_dwBorderColor = 0;
    int m_nBorderSize = 0;
    CDuiString m_sBkImage;
    CDuiString m_sForeImage;
};

}  // namespace DuiLib
