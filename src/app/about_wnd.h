#pragma once
// The about window: the software version, shown modally over the main window.

#include <array>

#include "duilib/window_impl_base.h"

class CAboutWnd : public DuiLib::WindowImplBase {
  public:
    // `closeOwner` is the window whose own close the system close command asks for.
    explicit CAboutWnd(HWND closeOwner = nullptr) : closeOwner_(closeOwner) {}

    LPCTSTR GetWindowClassName() const override { return L"AboutWnd"; }
    DuiLib::CDuiString GetSkinFile() override { return L"AboutWnd.xml"; }
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    void SetVersionText(const DuiLib::CDuiString& version);

  private:
    std::array<DuiLib::CControlUI*, 5> captionButtons_{};  // close, max, restore, min, menu
    HWND closeOwner_;
    bool zoomed_ = false;
};
