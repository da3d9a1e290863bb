#pragma once
// The skin picker: a small pop-up under the skin button offering background images and
// colours, a file of the user's own and the default image.

#include <functional>
#include <optional>
#include <string>

#include "duilib/window_impl_base.h"

class CSkinFrame : public DuiLib::WindowImplBase {
  public:
    // Asks the user for an image file; nothing when they cancel.
    using ImageChooser = std::function<std::optional<std::wstring>()>;

    // Creates the pop-up at once below `anchor` (a control of `parent`'s window).
    CSkinFrame(HWND parent, DuiLib::CControlUI* anchor);

    LPCTSTR GetWindowClassName() const override { return L"UISkinFrame"; }
    DuiLib::CDuiString GetSkinFile() override { return L"skin.xml"; }
    void InitWindow() override;
    void OnFinalMessage(HWND hWnd) override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    void OnClick(DuiLib::CControlUI* sender);
    // The custom-image dialog; without one, choosing an own image changes nothing.
    static void SetImageChooser(ImageChooser chooser);

  private:
    HWND parent_;
    DuiLib::CControlUI* anchor_;
    bool closePending_ = false;
    bool choosing_ = false;
    bool focusLostWhileChoosing_ = false;
};

// "main.ini" in the per-user folder, where the last image choice is written.
std::string SkinSettingsFile();
