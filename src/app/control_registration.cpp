#include "app/control_registration.h"

#include "app/device_option_ui.h"
#include "app/mp_device_power_ui.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "device/vornalix_usb_device.h"
#include "duilib/control_factory.h"
#include "pages/page_controls.h"

using namespace DuiLib;

void RegisterControlClasses() {
    CControlFactory* factory = CControlFactory::GetInstance();
    factory->RegisterControl(L"CVornalixUSBDevice", &CreateUSBDevice);
    factory->RegisterControl(L"CVornalixKeyboardDevice", &CreateKeyboardDevice);
    factory->RegisterControl(L"CVornalixMousePadDevice", &CreateMousePadDevice);
    factory->RegisterControl(L"CVornalixTamselDevice", &CreateTamselDevice);
    factory->RegisterControl(L"CDeviceOptionUI", &CreateDeviceOptionUI);
    factory->RegisterControl(L"CMpDevicePowerUI", &CreateMpDevicePowerUI);
    RegisterPageControls();
}
