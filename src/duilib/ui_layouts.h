#pragma once
// Row, column and tab layouts. Rules: a child with a fixed extent gets it (clamped to its
// minimum and maximum); children without one share what is left equally; padding is kept
// around each child, the inset inside the container and the child padding between
// children; floating children are placed at their own offsets and take no space. With a
// scroll bar, children that need more room than there is are laid out at their full
// size and scrolled.

#include "duilib/ui_container.h"

namespace DuiLib {

// Children one after another along an axis: the row and the column below.
class CLineLayoutUI : public CContainerUI {
  public:
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;

  protected:
    explicit CLineLayoutUI(bool bHorizontal) : m_bHorizontal(bHorizontal) {}

  private:
    bool m_bHorizontal;
};

class CHorizontalLayoutUI : public CLineLayoutUI {
  public:
    CHorizontalLayoutUI() : CLineLayoutUI(true) {}
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
};

class CVerticalLayoutUI : public CLineLayoutUI {
  public:
    CVerticalLayoutUI() : CLineLayoutUI(false) {}
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
};

// Shows one child at a time.
class CTabLayoutUI : public CContainerUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    void RemoveAll() override;
    int GetCurSel() const { return m_iCurSel; }
    // Shows child iIndex; "tabselect" (wParam new, lParam old) when bNotify. False for an
    // index outside the children.
    virtual bool SelectItem(int iIndex, bool bNotify = true);
    virtual bool SelectItem(CControlUI* pControl, bool bNotify = true);

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;

  private:
    void ShowOnly(int iIndex);

    int m_iCurSel = -1;
    int m_iPendingSel = -1;
};

}  // namespace DuiLib
