// The main window's child windows (settings and about) and the desktop's own settings.

#include "app/about_wnd.h"
#include "app/device_option_ui.h"
#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "app/window_styles.h"
#include "device/vornalix_usb_device.h"
#include "duilib/ui_control.h"
#include "platform/debug_trace.h"
#include "platform/desktop_settings.h"
#include "update/installed_version.h"
#include "update/set_wnd.h"

using namespace DuiLib;

namespace {

// Clears a window-handle member when the modal window it names has ended.
class ScopedChildHandle {
  public:
    ScopedChildHandle(HWND& member, HWND value) : member_(member) { member_ = value; }
    ~ScopedChildHandle() { member_ = nullptr; }
    ScopedChildHandle(const ScopedChildHandle&) = delete;
    ScopedChildHandle& operator=(const ScopedChildHandle&) = delete;

  private:
    HWND& member_;
};

}  // namespace

void CMainWnd::OpenSettingsWindow(bool forUpdate) {
    if (settingsWnd_ != nullptr) {
        return;
    }
    BuildUpdateDeviceList();
    CSetWnd wnd(GetHWND(), currentLanguage_);
    if (wnd.Create(GetHWND(), L"SetWnd", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 630, 500) ==
        nullptr) {
        return;
    }
    std::vector<UpdateCandidate> candidates;
    for (size_t i = 0; i < updateCandidates_.size() && i < 4; ++i) {
        const DeviceIdentityRecord& record = updateCandidates_[i];
        if (record.version == 0) {
            continue;
        }
        // The last row is the program, whose version is the installed one; the others are
        // devices, whose release numbers read as versions.
        const bool program = i + 1 == updateCandidates_.size();
        candidates.push_back(
            UpdateCandidate{record.productName, record.version,
                            program ? InstalledVersionText() : DeviceVersionText(record.version)});
    }
    wnd.SetUpdateDevices(candidates);
    ScopedChildHandle handle(settingsWnd_, wnd.GetHWND());
    if (forUpdate) {
        wnd.CenterWindow();
    } else {
        RECT rect{};
        platform::GetWindowRect(GetHWND(), &rect);
        platform::SetWindowPos(wnd.GetHWND(), nullptr, rect.right - m_pm.Scale(30),
                               rect.top + m_pm.Scale(60), 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    wnd.ShowModal();
}

void CMainWnd::OpenAboutWindow() {
    if (aboutWnd_ != nullptr) {
        return;
    }
    CAboutWnd wnd(GetHWND());
    if (wnd.Create(GetHWND(), L"AboutWnd", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 800,
                   572) == nullptr) {
        return;
    }
    // The software whose version it shows is the program, as installed.
    wnd.SetVersionText(InstalledVersionText());
    ScopedChildHandle handle(aboutWnd_, wnd.GetHWND());
    wnd.CenterWindow();
    wnd.ShowModal();
}

void CMainWnd::OpenDesktopSettings(int page) {
    if (page != 0 && page != 1) {
        return;
    }
    const auto which =
        page == 0 ? platform::SettingsPage::kKeyboard : platform::SettingsPage::kMouse;
    if (!platform::OpenDesktopSettings(which)) {
        DebugTrace(L"no settings program of this desktop found on PATH\n");
        ShowMsgBox(GetHWND(), L"", L"message_text_settings_missing", dpi_, true, 0);
    }
}
