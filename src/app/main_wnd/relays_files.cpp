// Importing and exporting profiles, macros and shoot data through a file the user
// chooses.

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "device/vornalix_usb_device.h"
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
    if (auto path = fileChooser_(false, kProfileFilter);
        path && profiles->ImportProfile(CDuiString(*path)) == 1) {
        device->SetDeviceString1(profiles->GetSelectedProfileUUID());
        device->LoadProfile();
        device->RefreshPageControls();
    }
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
    if (auto path = fileChooser_(false, kMacroFilter);
        path && macro->ImportMacro(CDuiString(*path)) == 1) {
        if (CKeySetControlUI* keys = KeySetPanelOf(device)) {
            keys->FillMacroCombo(macro->GetMacroNames());
        }
    }
}

void CMainWnd::OnMacroExport() {
    CMacroControlUI* macro = CurrentMacroPanel();
    if (macro == nullptr || !fileChooser_) {
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
    if (auto path = fileChooser_(false, kShootFilter)) {
        shoot->ImportShootData(CDuiString(*path));
    }
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
