// The light page shared by the mouse pad and the headset: the LED buttons of the device
// picture, the profile list and the lighting panel.

#include "device/onboard/light_device.h"
#include "device/page/button_slots.h"
#include "device/page/control_lookup.h"
#include "device/page/led_button_tint.h"
#include "duilib/string_utils.h"
#include "pages/device_profile_ui.h"
#include "pages/light_control_ui.h"

using DuiLib::CControlUI;
using DuiLib::CDuiString;

namespace {

constexpr uint32_t kWhiteTint = 0xFFFFFF;
constexpr uint8_t kOpaque = 255;
constexpr int kMaxBrightness = 4;
constexpr int kMaxSpeed = 4;

}  // namespace

bool COnboardLightDevice::BuildLightPage(const wchar_t* containerName) {
    if (GetDeviceName().IsEmpty()) {
        CVornalixUSBDevice::InitPage();  // no device behind this page: empty vectors
        return false;
    }
    CControlUI* panel = device::FindControlByName(this, containerName);
    DuiLib::IContainerUI* container = device::AsContainer(panel);
    if (!container) {
        return false;
    }
    BindLightButtons(*container);
    if (!GetPreviewControl()) {
        SetSelectPanel(panel);
    }
    SetupLightPanels();
    return true;
}

void COnboardLightDevice::BindLightButtons(DuiLib::IContainerUI& container) {
    for (int i = 0; i < container.GetCount(); ++i) {
        CControlUI* button = container.GetItemAt(i);
        if (!button || CDuiString(button->GetClass()) != L"DeviceKeyButton") {
            continue;
        }
        CDuiString prefix;
        int n = -1;
        if (!SplitIndexedName(button->GetName(), &prefix, &n)) {
            continue;
        }
        if (prefix.CompareNoCase(L"key_") == 0) {
            device::PutButtonAt(keyButtons_, n, button);
        } else if (prefix.CompareNoCase(L"light_") == 0 &&
                   device::PutButtonAt(ledButtons_, n, button)) {
            device::SetLedButtonTint(button, kWhiteTint, kOpaque, true);
        }
    }
}

void COnboardLightDevice::SetupLightPanels() {
    if (auto* profiles = dynamic_cast<CDeviceProfileUI*>(
            device::FindControlByName(this, L"DeviceProfileItem"))) {
        SetProfilePage(profiles);
        profiles->SetDeviceKind(GetDeviceType());
        profiles->SetPaths(GetUserDataPath(), GetDefaultProfilePath());
        profiles->LoadProfileList();
        profiles->SelectFunctionTab(1);
        SetDeviceString1(profiles->GetSelectedProfileUUID());
    }
    if (auto* light =
            dynamic_cast<CLightControlUI*>(device::FindControlByName(this, L"LightControlItem"))) {
        SetLightPage(light);
        light->SetDeviceKind(GetDeviceType());
        LoadMacroAndLightLists();
        FillLightModes();
    }
}

void COnboardLightDevice::FillLightModes() {
    ShowLightModes(GetLightPage(), kMaxBrightness, kMaxSpeed);
}
