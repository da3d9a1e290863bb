#pragma once
// The notification-area icon: keeps its icon and tip and, when the desktop reports a
// mouse action on it, posts the callback message (wParam the icon id, lParam the mouse
// message) to its window.

#include <vector>

#include "duilib/ui_defs.h"
#include "platform/window_messages.h"

namespace DuiLib {

// The callback message used when CreateTrayIcon is given 0.
inline constexpr UINT UIMSG_TRAYICON = WM_USER + 1;

class CTrayIcon {
  public:
    CTrayIcon();
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    void CreateTrayIcon(HWND hWnd, UINT uIDResource, LPCTSTR lpszToolTipText = nullptr,
                        UINT uMessage = 0);
    void DeleteTrayIcon();
    bool SetTooltipText(LPCTSTR lpszToolTipText);
    CDuiString GetTooltipText() const { return m_sToolTip; }
    bool SetIcon(UINT uIDResource);
    UINT GetIcon() const { return m_uIcon; }
    void SetHideIcon() { m_bVisible = false; }
    void SetShowIcon() { m_bVisible = true; }
    bool IsVisible() const { return m_bEnabled && m_bVisible; }
    bool IsEnabled() const { return m_bEnabled; }
    UINT GetCallbackMessage() const { return m_uMessage; }
    HWND GetWindow() const { return m_hWnd; }

    // The desktop side: the user did `mouseMessage` (WM_LBUTTONUP, ...) on the icon.
    bool NotifyMouse(UINT mouseMessage) const;
    static std::vector<CTrayIcon*> GetTrayIcons();

  private:
    HWND m_hWnd = nullptr;
    UINT m_uIcon = 0;
    UINT m_uMessage = UIMSG_TRAYICON;
    CDuiString m_sToolTip;
    bool m_bEnabled = false;
    bool m_bVisible = false;
};

}  // namespace DuiLib
