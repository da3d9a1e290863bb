// The mouse pad's page: its fifteen LED buttons, profile list and lighting panel.

#include "device/onboard/vornalix_mousepad_device.h"

void CVornalixMousePadDevice::BuildDevicePage() {
    BuildLightPage(L"mousepad_device_key_light");
}
