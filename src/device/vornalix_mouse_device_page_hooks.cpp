// The page hooks of the mouse: the device calls them when its state changes; the mouse
// page gives them their controls. Without a page they do nothing.

#include "device/vornalix_mouse_device.h"

void CVornalixMouseDevice::BuildDevicePage() {
    CVornalixUSBDevice::InitPage();
}

void CVornalixMouseDevice::ShowKeyAssignment(int) {}
void CVornalixMouseDevice::RefreshKeySetInfoList() {}
void CVornalixMouseDevice::ShowLightSettings() {}
void CVornalixMouseDevice::EnableDpiStage(int, int) {}
void CVornalixMouseDevice::SetDpiStageValue(int, int) {}
void CVornalixMouseDevice::SetPointerSpeed(int) {}
void CVornalixMouseDevice::SetPointerPrecision(int) {}
void CVornalixMouseDevice::SetDoubleClickSpeed(int) {}
void CVornalixMouseDevice::SetScrollSettings(int, int) {}
void CVornalixMouseDevice::SelectPollingRateOption(int) {}
void CVornalixMouseDevice::SelectSettingTab(int) {}
