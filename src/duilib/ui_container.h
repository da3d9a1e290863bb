#pragma once
// A control that holds children. The plain container gives every child its whole inner
// rectangle; the layouts arrange them in rows, columns or tabs.

#include <vector>

#include "duilib/ui_control.h"

namespace DuiLib {

class CScrollBarUI;

class IContainerUI {
  public:
    virtual CControlUI* GetItemAt(int iIndex) const = 0;
    virtual int GetItemIndex(CControlUI* pControl) const = 0;
    virtual bool SetItemIndex(CControlUI* pControl, int iNewIndex) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* pControl) = 0;
    virtual bool AddAt(CControlUI* pControl, int iIndex) = 0;
    virtual bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) = 0;
    virtual bool RemoveAt(int iIndex, bool bDoNotDestroy = false) = 0;
    virtual void RemoveAll() = 0;

  protected:
    ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
  public:
    CContainerUI() = default;
    ~CContainerUI() override;

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    CControlUI* GetItemAt(int iIndex) const override;
    int GetItemIndex(CControlUI* pControl) const override;
    bool SetItemIndex(CControlUI* pControl, int iNewIndex) override;
    int GetCount() const override;
    // The container owns what it holds; Remove deletes the child unless asked not to.
    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    void RemoveAll() override;
    // Insert is the toolkit's older name of AddAt.
    bool Insert(CControlUI* pControl, int iIndex) { return AddAt(pControl, iIndex); }

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int iPadding);
    // The extent a child takes on one axis: its own (`wanted`; 0 for none) or all that is
    // `available`, within its minimum and maximum, and never more than `available`.
    static int FitExtent(int wanted, int available, int minValue, int maxValue);
    bool IsAutoDestroy() const { return m_bAutoDestroy; }
    void SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }

    // Scroll bars ("vscrollbar", "hscrollbar", styled by "vscrollbarstyle" and
    // "hscrollbarstyle"): each is shown while the children need more room on its axis than
    // the container has, and the children then move with the scroll position.
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
    CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }
    // How far the content is scrolled, and how far it can be (0 on an axis without a bar).
    SIZE GetScrollPos() const;
    SIZE GetScrollRange() const;
    // Moves the content (kept within the range) and lays the children out again.
    void SetScrollPos(SIZE szPos);
    // Scrolls as little as it takes to show all of `pControl` (a child of this container).
    void EnsureVisible(CControlUI* pControl);
    // Where the children are seen: inside the inset and beside the shown bars.
    RECT GetViewRect() const { return m_rcView; }

    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void DoEvent(TEventUI& event) override;

  protected:
    // The rectangle inside the inset.
    RECT ContentRect(const RECT& rc) const;
    // Children and scroll bars follow this container's visibility.
    void ShowChildren();
    bool HasScrollBar() const {
        return m_pVerticalScrollBar != nullptr || m_pHorizontalScrollBar != nullptr;
    }
    // Shows, hides and places the scroll bars for children that need `needed` (the
    // children's fixed extents and paddings) inside `inner`. Returns where the children
    // are laid out: the view, moved by the scroll position and grown to the content.
    RECT ScrollContent(const RECT& inner, SIZE needed);
    // What each laid-out child asks for inside `inner`: its own size (or, where it has
    // none, its minimum) and its padding.
    std::vector<SIZE> WantedSizes(const RECT& inner) const;
    // Places a floating child at its offsets from this container's top-left corner.
    void SetFloatPos(CControlUI* pControl);
    // The child's fixed size clamped to its limits; 0 stays 0 (stretch).
    static int ClampExtent(int value, int minValue, int maxValue);
    // A child placed at the top-left of `place` (its padding already taken off).
    static RECT FitInto(CControlUI* item, const RECT& place);

    std::vector<CControlUI*> m_items;
    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    CScrollBarUI* m_pHorizontalScrollBar = nullptr;
    CDuiString m_sVerticalScrollBarStyle;
    CDuiString m_sHorizontalScrollBarStyle;
    RECT m_rcView{};
    RECT m_rcInset{};
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
};

}  // namespace DuiLib
