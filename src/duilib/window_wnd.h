#pragma once
// A window of the toolkit: owns a window handle, handles its messages in HandleMessage
// and can run as a modal window with its own nested message loop.

#include "duilib/ui_defs.h"
#include "platform/window_messages.h"

namespace DuiLib {

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
inline constexpr DWORD UI_WNDSTYLE_FRAME = 0x00CF0000;
inline constexpr DWORD UI_WNDSTYLE_DIALOG = 0x80C80000;
inline constexpr DWORD UI_WNDSTYLE_CHILD = 0x40000000;
inline constexpr DWORD UI_WNDSTYLE_EX_FRAME = 0x00000100;
inline constexpr DWORD UI_WNDSTYLE_EX_DIALOG = 0x00000081;
inline constexpr DWORD UI_CLASSSTYLE_FRAME = 0x0003;
inline constexpr DWORD UI_CLASSSTYLE_DIALOG = 0x000B;
// The style bits the toolkit itself acts on.
inline constexpr DWORD kStyleVisible = 0x10000000;       // shown once created
inline constexpr DWORD kExStyleNoActivate = 0x08000000;  // shown without taking activation
inline constexpr UINT IDOK = 1;
inline constexpr UINT IDCANCEL = 2;

class CWindowWnd {
  public:
    CWindowWnd() = default;
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT: windows are used as handles

    // Creates the window on the calling thread (that thread then handles its messages).
    // Null when the window refused creation (its WM_CREATE answered -1). An owned window
    // created with kStyleVisible is shown at once, and activated unless kExStyleNoActivate;
    // a top-level one shows itself when it is ready.
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCTSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);

    // A window with an owner (a child window, a menu, a list) is shown fully inside the
    // work area of the monitor holding its owner.
    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Shows the window, disables its owner and runs a nested loop until the window is
    // destroyed; returns the code given to Close. A quit message that arrives meanwhile
    // ends the loop and is posted again for the outer loop.
    UINT ShowModal();
    // Asks the window to close with `nRet` as its close code (posted WM_CLOSE).
    void Close(UINT nRet = IDOK);
    // Centres the window over its owner, or over the screen when it has none.
    void CenterWindow();
    void SetIcon(UINT nRes);
    UINT GetIcon() const { return m_uIcon; }
    void ResizeClient(int cx = -1, int cy = -1);

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

    // The desktop size the window is placed on (tests and the renderer may change it).
    static SIZE GetScreenSize();
    static void SetScreenSize(SIZE size);

  protected:
    virtual LPCTSTR GetWindowClassName() const = 0;
    virtual LPCTSTR GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return 0; }
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // Called once the window handle is gone; a heap window may delete itself here.
    virtual void OnFinalMessage(HWND hWnd);

    HWND m_hWnd = nullptr;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    UINT m_uIcon = 0;

  private:
    // The running ShowModal's result: the close code, taken when the window handles its
    // WM_CLOSE, whichever loop delivers it (a nested one may take it from the queue).
    UINT* m_pModalResult = nullptr;

  private:
    void KeepOnOwnersScreen();
    LRESULT Dispatch(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
};

}  // namespace DuiLib
