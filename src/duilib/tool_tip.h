#pragma once
// Tool tips: a control's "tooltip" shown in a small window near the pointer once the
// pointer has rested on the control for a moment, kept inside the screen, in the language
// of the moment. It goes when the pointer leaves the control or the window, and on a click
// or a key; after a click or a key it comes back only once the pointer reaches another
// control. A control without a tip of its own shows its nearest parent's.

#include <memory>

#include "duilib/paint_manager.h"
#include "duilib/window_wnd.h"

namespace DuiLib {

class CLabelUI;

inline constexpr const wchar_t* kToolTipClass = L"ToolTipWnd";

// The window a tip is shown in: one line of text on a framed background; it never takes
// the activation or input.
class CToolTipWnd : public CWindowWnd {
  public:
    CToolTipWnd() = default;
    // Shows `text` with its top-left corner near `at` (screen coordinates), inside the
    // screen, at the DPI of `owner`'s paint manager.
    void ShowAt(HWND owner, const CPaintManagerUI& ownerManager, const CDuiString& text, POINT at);
    void Hide();
    bool IsShown() const;
    CDuiString GetTipText() const;

  protected:
    LPCTSTR GetWindowClassName() const override { return kToolTipClass; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    CPaintManagerUI m_pm;
    CLabelUI* m_pLabel = nullptr;
};

class CToolTipTracker {
  public:
    // How long the pointer rests on a control before its tip shows.
    static constexpr UINT kRestMs = 400;
    // The window timer it uses on the manager's window (below the control timers' range).
    static constexpr UINT_PTR kTimerId = 0x0F01;

    explicit CToolTipTracker(CPaintManagerUI& manager) : m_manager(manager) {}
    ~CToolTipTracker();
    CToolTipTracker(const CToolTipTracker&) = delete;
    CToolTipTracker& operator=(const CToolTipTracker&) = delete;

    // The pointer is over `control` (null: over nothing) at `pt`, client coordinates.
    void PointerAt(CControlUI* control, POINT pt);
    // A click or a key: the tip goes and stays away from this control.
    void Dismiss();
    // The pointer left the window, or the window went.
    void PointerLeft();
    // True when `id` is its timer (then handled).
    bool OnTimer(UINT_PTR id);
    // `control` is going away.
    void Forget(CControlUI* control);

  private:
    void Arm();
    void Disarm();
    void Show();

    CPaintManagerUI& m_manager;
    CControlUI* m_pControl = nullptr;  // the control whose tip the pointer waits for
    POINT m_pt{};
    bool m_bDismissed = false;
    std::unique_ptr<CToolTipWnd> m_pWnd;
};

}  // namespace DuiLib
