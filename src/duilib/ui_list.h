#pragma once
// Lists: an owner that keeps one selected row, and the rows. Selecting a row raises
// "itemselect" (wParam new index, lParam old) on the owner; a click on a row raises
// "itemclick" and a double click "itemactivate" from the row. Disabled rows cannot be
// selected.

#include "duilib/ui_button.h"
#include "duilib/ui_layouts.h"

namespace DuiLib {

class IListItemUI;

class IListOwnerUI {
  public:
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) = 0;

  protected:
    ~IListOwnerUI() = default;
};

class IListItemUI {
  public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;

  protected:
    ~IListItemUI() = default;
};

// Keeps the rows' owner, index and selection for the row classes below.
class CListItemState {
  public:
    int GetIndexState() const { return m_iIndex; }
    IListOwnerUI* GetOwnerState() const { return m_pOwner; }
    void SetOwnerState(CControlUI* pOwner);

  protected:
    // What a row does with a mouse event; true when it consumed it.
    bool HandleRowEvent(CControlUI* self, TEventUI& event);

    int m_iIndex = -1;
    bool m_bSelected = false;
    IListOwnerUI* m_pOwner = nullptr;
};

class CListContainerElementUI : public CHorizontalLayoutUI,
                                public IListItemUI,
                                protected CListItemState {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override { SetOwnerState(pOwner); }
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    // "itemactivate" from the row.
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
};

class CListLabelElementUI : public CLabelUI, public IListItemUI, protected CListItemState {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override { SetOwnerState(pOwner); }
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    bool Activate() override;
    void DoEvent(TEventUI& event) override;
};

// Keeps the selection over a set of rows; shared by the list and the combo.
class CListSelection {
  public:
    int Current() const { return m_iCurSel; }
    // Moves the selection to iIndex of `rows` (-1 clears); false for a row that is out of
    // range or disabled.
    bool Move(const std::vector<CControlUI*>& rows, int iIndex, bool* changed, int* old);
    // Keeps the selection on the same row after row iIndex was removed.
    void RowRemoved(int iIndex);
    void Clear() { m_iCurSel = -1; }

  private:
    int m_iCurSel = -1;
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override { return AddAt(pControl, GetCount()); }
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    int GetCurSel() const override { return m_selection.Current(); }
    bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) override;
    void DoEvent(TEventUI& event) override;

  private:
    void Renumber();
    CListSelection m_selection;
};

}  // namespace DuiLib
