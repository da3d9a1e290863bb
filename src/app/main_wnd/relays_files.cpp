// Importing and exporting profiles, macros and shoot data through a file the user
// chooses.

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "device/vornalix_usb_device.h"
#include "duilib/resource_manager.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/shoot_control_ui.h"

using namespace DuiLib;

namespace {

constexpr wchar_t kProfileFilter[] = L"Profile Files(*.json)";
constexpr wchar_t kMacroFilter[] = L"Macro Files(*.mac)";
constexpr wchar_t kShootFilter[] = L"Shoot Files(*.shoot)";

}  // namespace

void CMainWnd::OnProfileImport() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    CDeviceProfileUI* profiles = ProfilePanelOf(device);
    if (profiles == nullptr || !fileChooser_) {
        return;
    }
    // The list checks that the file names a profile before it takes it.
    const auto path = fileChooser_(false, kProfileFilter);
    if (!path) {
        return;
    }
    const int imported = profiles->ImportProfile(CDuiString(*path));
    if (imported == ProfileStore::kOtherKind) {
        ShowMsgBox(GetHWND(), L"", L"message_profile_other_kind", dpi_, true, 0);
        return;
    }
    if (imported != 1) {
        SayImportRefused(*path);
        return;
    }
    device->SetDeviceString1(profiles->GetSelectedProfileUUID());
    device->LoadProfile();
    device->RefreshPageControls();
}

void CMainWnd::OnProfileExport() {
    CDeviceProfileUI* profiles = ProfilePanelOf(GetCurrentDevice());
    if (profiles == nullptr || !fileChooser_) {
        return;
    }
    if (auto path = fileChooser_(true, kProfileFilter)) {
        profiles->ExportProfile(CDuiString(*path));
    }
}

void CMainWnd::OnMacroImport() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    CMacroControlUI* macro = MacroPanelOf(device);
    if (macro == nullptr || !fileChooser_) {
        return;
    }
    const auto path = fileChooser_(false, kMacroFilter);
    if (!path) {
        return;
    }
    if (macro->ImportMacro(CDuiString(*path)) != 1) {
        SayImportRefused(*path);
        return;
    }
    if (CKeySetControlUI* keys = KeySetPanelOf(device)) {
        keys->FillMacroCombo(macro->GetMacroNames());
    }
    UploadMacrosOfCurrentDevice();
}

void CMainWnd::OnMacroExport() {
    CMacroControlUI* macro = CurrentMacroPanel();
    // Without a macro there is nothing to write: no file is asked for that stays unwritten.
    if (macro == nullptr || macro->GetSelectedMacro() < 0 || !fileChooser_) {
        return;
    }
    if (auto path = fileChooser_(true, kMacroFilter)) {
        macro->ExportMacro(CDuiString(*path));
    }
}

void CMainWnd::OnShootImport() {
    CShootControlUI* shoot = ShootPanelOf(GetCurrentDevice());
    if (shoot == nullptr || !fileChooser_) {
        return;
    }
    if (auto path = fileChooser_(false, kShootFilter);
        path && shoot->ImportShootData(CDuiString(*path)) != 1) {
        SayImportRefused(*path);
    }
}

// A chosen file that holds nothing the panel can take is said at once, every time: the
// user acted and waits for an answer (a save that failed has already said so itself).
void CMainWnd::SayImportRefused(const std::wstring& path) {
    const CDuiString headline = CResourceManager::GetInstance()->GetText(L"message_import_refused");
    ShowMsgBox(GetHWND(), L"", headline + L"\n" + CDuiString(path), dpi_, false, 0);
}

void CMainWnd::OnShootExport() {
    CShootControlUI* shoot = ShootPanelOf(GetCurrentDevice());
    if (shoot == nullptr || !fileChooser_) {
        return;
    }
    if (auto path = fileChooser_(true, kShootFilter)) {
        shoot->ExportShootData(CDuiString(*path));
    }
}
