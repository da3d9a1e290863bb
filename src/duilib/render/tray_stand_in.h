#pragma once
// A desktop without a notification area still needs the program's tray icon: a small
// window in the primary screen's bottom-right corner shows it, with the icon's tip as its
// title.
// Clicks on it reach the icon's window as the icon's callback message, as a click on a
// tray icon does.

#include "duilib/paint_manager.h"
#include "duilib/tray_icon.h"
#include "duilib/window_wnd.h"

namespace DuiLib {

inline constexpr const wchar_t* kTrayStandInClass = L"TrayStandInWnd";

class CTrayStandInWnd : public CWindowWnd {
  public:
    explicit CTrayStandInWnd(CTrayIcon* icon) : m_pIcon(icon) {}

    CTrayIcon* GetIcon() const { return m_pIcon; }
    CPaintManagerUI* GetPaintManager() { return &m_pm; }
    // Creates and shows the window.
    bool Open();

  protected:
    LPCTSTR GetWindowClassName() const override { return kTrayStandInClass; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

  private:
    // The icon, while it is still in the tray.
    CTrayIcon* LiveIcon() const;

    CTrayIcon* m_pIcon;
    CPaintManagerUI m_pm;
};

}  // namespace DuiLib
