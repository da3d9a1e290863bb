#pragma once
// The list a combo drops down: a borderless window under the combo with one row per
// combo row, scrolled (wheel, scroll bar, keys) when they do not all fit. A click on an
// enabled row, or Enter on the row the keys moved to, selects it in the combo
// ("itemselect" from the combo) and closes the list; Escape, a click elsewhere or another
// window becoming active closes it without a choice.

#include "duilib/paint_manager.h"
#include "duilib/ui_combo.h"
#include "duilib/window_wnd.h"

namespace DuiLib {

class CComboDropWnd : public CWindowWnd, public INotifyUI {
  public:
    // Opens the list of `combo` (attached to a window); the window deletes itself once
    // closed. Null when the combo has no rows or no window.
    static CComboDropWnd* Open(CComboUI* combo);

    CPaintManagerUI* GetPaintManager() { return &m_pm; }

    // The press that takes activation from an open list also reaches the combo below it:
    // that combo must not open its list again at the release. A renderer forgets the
    // mark when a new press starts and asks for it when a combo wants to drop down.
    static void ForgetDismissed();
    static bool TakeDismissed(CComboUI* combo);
    void Notify(TNotifyUI& msg) override;

  protected:
    LPCTSTR GetWindowClassName() const override { return L"ComboDropWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

  private:
    CComboDropWnd(CComboUI* combo, CPaintManagerUI* ownerManager);
    void BuildRows();
    void Place();
    CListUI* List() const;
    // Gives the combo row `index` (when enabled) and closes the list.
    void Choose(int index);
    // The selected row of the list shows the combo's selected-row colour.
    void MarkSelected(int index, int old);
    // The combo, while it and its window are still there.
    CComboUI* LiveCombo() const;

    CPaintManagerUI m_pm;
    CComboUI* m_pCombo;
    CPaintManagerUI* m_pOwnerManager;
    HWND m_hOwner;
};

}  // namespace DuiLib
