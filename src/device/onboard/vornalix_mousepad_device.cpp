#include "device/onboard/vornalix_mousepad_device.h"

DuiLib::CControlUI* CreateMousePadDevice() {
    return new CVornalixMousePadDevice();
}

CVornalixMousePadDevice::CVornalixMousePadDevice()
    : COnboardLightDevice(kMousePadKind, device::kMousePadWave) {
    profile_.SetDefaultProfilePath(GetDefaultProfilePath());
}

CVornalixMousePadDevice::~CVornalixMousePadDevice() {
    StopLightThread();
    StopSyncThread();
}

LPCTSTR CVornalixMousePadDevice::GetClass() const {
    return L"VornalixMousePadDevice";
}

void CVornalixMousePadDevice::InitPage() {
    BuildDevicePage();
}

void CVornalixMousePadDevice::StartDevice() {
    ReadCapabilities(0);
    LoadProfile();
    RefreshPageControls();
    StartLightThread();
}

void CVornalixMousePadDevice::ReadCapabilities(int) {
    if (!commandChannel_.IsOpen()) {
        return;
    }
    commandChannel_.BeginSession();
    RefreshCapabilities();
    commandChannel_.EndSession();
}

int CVornalixMousePadDevice::LoadProfile() {
    BuildProfilePath();
    profile_.Load(GetProfilePath());
    ApplyProfileLight();
    return 1;
}
