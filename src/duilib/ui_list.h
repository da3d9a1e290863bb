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

// A row of a list or a combo on top of the control `Base`: keeps its owner, index and
// selection, selects itself through its owner on a click and activates on a double click.
template <class Base>
class CListRowUI : public Base, public IListItemUI {
  public:
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    // "itemactivate" from the row.
    bool Activate() override;
    void DoEvent(TEventUI& event) override;

  private:
    // What a row does with a mouse event; true when it consumed it.
    bool HandleRowEvent(TEventUI& event);

    int m_iIndex = -1;
    bool m_bSelected = false;
    IListOwnerUI* m_pOwner = nullptr;
    CControlUI* m_pOwnerControl = nullptr;  // the same owner: keys on a row go to it
};

class CListContainerElementUI : public CListRowUI<CHorizontalLayoutUI> {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
};

class CListLabelElementUI : public CListRowUI<CLabelUI> {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
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
    // The first enabled row from `from` on in `step` direction (`from` itself included);
    // -1 when there is none.
    static int Selectable(const std::vector<CControlUI*>& rows, int from, int step);

  private:
    int m_iCurSel = -1;
};

// The owner side of a list or a combo on top of the container `Base`: its rows are its
// items, numbered and told their owner, and the selection follows a row as rows come and go.
template <class Base>
class CListOwnerBaseUI : public Base, public IListOwnerUI {
  public:
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Add(CControlUI* pControl) override { return AddAt(pControl, this->GetCount()); }
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
    void RemoveAll() override;

    int GetCurSel() const override { return m_selection.Current(); }

  protected:
    CListSelection m_selection;

  private:
    void Renumber();
};

// What a list's "item*" attributes give its rows. A row keeps what it sets itself; one
// without a height, a text colour, a font or a text padding takes the list's, so rows stay
// one line high and readable however many there are (the list scrolls when they do not
// fit). The selected, hot and disabled colours are read by the renderer.
struct TListItemLook {
    int height = 24;  // at 96 DPI
    int font = -1;
    DWORD textColor = 0;
    DWORD disabledTextColor = 0;
    DWORD selectedBkColor = 0;
    DWORD hotBkColor = 0;
    RECT textPadding{4, 0, 4, 0};  // at 96 DPI
};

// Up and Down select the next enabled row, Page Up and Page Down one a view further,
// Home and End the first and the last; the selected row is scrolled into view.
class CListUI : public CListOwnerBaseUI<CVerticalLayoutUI> {
  public:
    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;
    const TListItemLook& GetItemLook() const { return m_itemLook; }
    bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) override;
    // Scrolls row iIndex into view (once laid out, when the rows changed since).
    void EnsureVisible(int iIndex);
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;

  private:
    // The row a navigation key selects; -1 for another key or when there is none.
    int RowForKey(WPARAM key) const;
    int RowsPerView() const;
    void ApplyItemLook(CControlUI* row) const;

    TListItemLook m_itemLook;
    int m_iShowAfterLayout = -1;
};

}  // namespace DuiLib
