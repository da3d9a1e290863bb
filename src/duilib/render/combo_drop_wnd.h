#pragma once
// The list a combo drops down: a borderless window under the combo with one row per
// combo row. A click on an enabled row selects it in the combo ("itemselect" from the
// combo, as a keyboard choice gives) and closes the list; Escape, a click elsewhere or
// another window becoming active closes it without a choice.

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
    void Notify(TNotifyUI& msg) override;

  protected:
    LPCTSTR GetWindowClassName() const override { return L"ComboDropWnd"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hWnd) override;

  private:
    CComboDropWnd(CComboUI* combo, CPaintManagerUI* ownerManager);
    void BuildRows();
    void Place();
    // The combo, while it and its window are still there.
    CComboUI* LiveCombo() const;

    CPaintManagerUI m_pm;
    CComboUI* m_pCombo;
    CPaintManagerUI* m_pOwnerManager;
    HWND m_hOwner;
};

}  // namespace DuiLib
