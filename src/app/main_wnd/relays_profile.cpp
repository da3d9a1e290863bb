// The profile list's actions and the function tabs of the current device's page. A
// change of the selected profile loads it into the device and writes it to the device.

#include <utility>

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "device/vornalix_usb_device.h"
#include "duilib/menu_wnd.h"
#include "duilib/string_utils.h"
#include "pages/device_profile_ui.h"
#include "pages/panel_lookup.h"
#include "platform/window_handles.h"

using namespace DuiLib;

namespace {

constexpr int kConfirmButtons = 1;
constexpr int kOkButton = 0;
constexpr wchar_t kProfileMenuXml[] = L"XML\\Menus\\profile_menu.xml";
constexpr wchar_t kProfileMenuButton[] = L"profile_fun_spread_btn";

// The profile menu's items, named as the controls that once stood in the page for them.
struct ProfileMenuItem {
    const wchar_t* name;
    void (CMainWnd::*relay)();
};
constexpr ProfileMenuItem kProfileMenuItems[] = {
    {L"device_add_btn", &CMainWnd::OnProfileAdd},
    {L"device_sub_btn", &CMainWnd::OnProfileDelete},
    {L"device_copy_btn", &CMainWnd::OnProfileCopy},
    {L"device_import_btn", &CMainWnd::OnProfileImport},
    {L"device_export_btn", &CMainWnd::OnProfileExport},
    {L"device_reset_btn", &CMainWnd::OnProfileReset},
};

}  // namespace

// Loads the profile the list selects into the device and, when it is connected, writes
// it there. 0 when the device is not connected, -1 when a write failed, 1 otherwise.
static int LoadSelectedProfile(CVornalixUSBDevice& device, CDeviceProfileUI& panel) {
    device.SetDeviceString1(panel.GetSelectedProfileUUID());
    device.LoadProfile();
    device.RefreshPageControls();
    if (device.CommandChannel().IsOpen() == 0) {
        return 0;
    }
    const int keys = device.ApplyKeyAssignments(0);
    const int settings = device.WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
    return keys == 1 && settings == 1 ? 1 : -1;
}

void CMainWnd::OnFunctionTab(int n) {
    CVornalixUSBDevice* device = GetCurrentDevice();
    if (device == nullptr) {
        return;
    }
    device->SetPageFunction(n);
    if (CDeviceProfileUI* profiles = ProfilePanelOf(device)) {
        profiles->SelectFunctionTab(n);
    }
}

void CMainWnd::OnRestoreDefaults() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    if (device == nullptr ||
        ShowMsgBox(GetHWND(), L"", L"message_text_22", dpi_, true, kConfirmButtons) != 1) {
        return;
    }
    device->LoadDefaultProfile();
    device->ApplyKeyAssignments(0);
    device->WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
}

namespace {

// Runs a profile-list operation on the current device and loads the profile selected
// afterwards when the operation succeeded.
template <typename Operation>
void ChangeProfiles(CVornalixUSBDevice* device, Operation operation) {
    CDeviceProfileUI* profiles = ProfilePanelOf(device);
    if (device != nullptr && profiles != nullptr && operation(*profiles) == 1) {
        LoadSelectedProfile(*device, *profiles);
    }
}

}  // namespace

void CMainWnd::OnProfileAdd() {
    ChangeProfiles(GetCurrentDevice(), [](CDeviceProfileUI& p) { return p.AddProfile(); });
}

void CMainWnd::OnProfileDelete() {
    ChangeProfiles(GetCurrentDevice(), [](CDeviceProfileUI& p) { return p.DeleteProfile(); });
}

void CMainWnd::OnProfileCopy() {
    ChangeProfiles(GetCurrentDevice(), [](CDeviceProfileUI& p) { return p.CopyProfile(); });
}

void CMainWnd::OnProfileReset() {
    if (GetCurrentDevice() == nullptr ||
        ShowMsgBox(GetHWND(), L"", L"message_text_22", dpi_, true, kConfirmButtons) != 1) {
        return;
    }
    ChangeProfiles(GetCurrentDevice(), [](CDeviceProfileUI& p) { return p.ResetProfile(); });
}

void CMainWnd::OnProfileRename() {
    CDeviceProfileUI* profiles = ProfilePanelOf(GetCurrentDevice());
    if (profiles == nullptr) {
        return;
    }
    const CDuiString name = profiles->GetEditedName();
    if (IsBlankText(name)) {
        ShowMsgBox(GetHWND(), L"", L"message_text_5", dpi_, true, kOkButton);
        return;
    }
    for (int i = 0; i < profiles->GetProfileCount(); ++i) {
        if (i != profiles->GetSelectedProfileIndex() && profiles->GetProfileName(i) == name) {
            ShowMsgBox(GetHWND(), L"", L"message_text_25", dpi_, true, kOkButton);
            return;
        }
    }
    profiles->RenameProfile(name);
}

void CMainWnd::OnProfileSelect() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    CDeviceProfileUI* profiles = ProfilePanelOf(device);
    if (device == nullptr || profiles == nullptr || profiles->SelectComboProfile() != 1) {
        return;
    }
    const int result = LoadSelectedProfile(*device, *profiles);
    if (result == 0) {
        ShowMsgBox(GetHWND(), L"", L"message_text_7", dpi_, true, kOkButton);
    } else if (result < 0) {
        ShowMsgBox(GetHWND(), L"", L"message_text_16", dpi_, true, kOkButton);
    }
}

LRESULT CMainWnd::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    profileMenuOpenAtPress_ = profileMenu_ != nullptr && profileMenu_->GetHWND() != nullptr;
    return WindowImplBase::OnLButtonDown(uMsg, wParam, lParam, bHandled);
}

// The menu opens as a window of its own under its button: the page's profile row is too
// low to hold it. A press on the button while it is open has already closed it.
void CMainWnd::OnProfileMenuToggle() {
    if (std::exchange(profileMenuOpenAtPress_, false)) {
        profileMenu_.reset();
        return;
    }
    CDeviceProfileUI* profiles = ProfilePanelOf(GetCurrentDevice());
    CControlUI* button =
        profiles != nullptr ? FindNamedControl(profiles, kProfileMenuButton) : nullptr;
    if (button == nullptr) {
        return;
    }
    RECT window{};
    platform::GetWindowRect(GetHWND(), &window);
    const RECT pos = button->GetPos();
    profileMenu_ = std::make_unique<CMenuWnd>();
    profileMenu_->Init(nullptr, kProfileMenuXml,
                       POINT{window.left + pos.left, window.top + pos.bottom}, &m_pm, nullptr,
                       eMenuAlignment_Left | eMenuAlignment_Top);
}

bool CMainWnd::OnProfileMenuItem(const CDuiString& name) {
    for (const ProfileMenuItem& item : kProfileMenuItems) {
        if (name.CompareNoCase(item.name) == 0) {
            (this->*item.relay)();
            return true;
        }
    }
    return false;
}
