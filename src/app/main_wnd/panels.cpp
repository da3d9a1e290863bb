// The panels of the current device's page, found by their kind under the page.

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/vornalix_usb_device.h"
#include "duilib/ui_container.h"
#include "pages/device_profile_ui.h"
#include "pages/key_set_control_ui.h"
#include "pages/light_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/shoot_control_ui.h"

using namespace DuiLib;

namespace {

template <typename Panel>
Panel* FindPanel(CControlUI* root) {
    if (root == nullptr) {
        return nullptr;
    }
    if (auto* panel = dynamic_cast<Panel*>(root)) {
        return panel;
    }
    auto* container = dynamic_cast<CContainerUI*>(root);
    if (container == nullptr) {
        return nullptr;
    }
    for (int i = 0; i < container->GetCount(); ++i) {
        if (Panel* panel = FindPanel<Panel>(container->GetItemAt(i))) {
            return panel;
        }
    }
    return nullptr;
}

bool HasKeyPanels(const CVornalixUSBDevice* device) {
    return device != nullptr && (device->GetDeviceType() == device::kKeyboardDevice ||
                                 device->GetDeviceType() == device::kMouseDevice);
}

}  // namespace

CLightControlUI* LightPanelOf(CVornalixUSBDevice* device) {
    if (device == nullptr) {
        return nullptr;
    }
    return device->GetLightPage() != nullptr ? device->GetLightPage()
                                             : FindPanel<CLightControlUI>(device);
}

CKeySetControlUI* KeySetPanelOf(CVornalixUSBDevice* device) {
    return HasKeyPanels(device) ? FindPanel<CKeySetControlUI>(device) : nullptr;
}

CMacroControlUI* MacroPanelOf(CVornalixUSBDevice* device) {
    return HasKeyPanels(device) ? FindPanel<CMacroControlUI>(device) : nullptr;
}

CDeviceProfileUI* ProfilePanelOf(CVornalixUSBDevice* device) {
    if (device == nullptr) {
        return nullptr;
    }
    return device->GetProfilePage() != nullptr ? device->GetProfilePage()
                                               : FindPanel<CDeviceProfileUI>(device);
}

CShootControlUI* ShootPanelOf(CVornalixUSBDevice* device) {
    return device != nullptr && device->GetDeviceType() == device::kMouseDevice
               ? FindPanel<CShootControlUI>(device)
               : nullptr;
}

CLightControlUI* CMainWnd::CurrentLightPanel() {
    return LightPanelOf(GetCurrentDevice());
}

CKeySetControlUI* CMainWnd::CurrentKeySetPanel() {
    return KeySetPanelOf(GetCurrentDevice());
}

CMacroControlUI* CMainWnd::CurrentMacroPanel() {
    return MacroPanelOf(GetCurrentDevice());
}

CVornalixKeyboardDevice* CMainWnd::CurrentKeyboard() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    return device != nullptr && device->GetDeviceType() == device::kKeyboardDevice
               ? dynamic_cast<CVornalixKeyboardDevice*>(device)
               : nullptr;
}
