#include "device/lighting/custom_light_modes.h"

#include "device/discovery/device_kind.h"

namespace device {

namespace {

// The pad's and headset's mode that plays their custom light.
constexpr int kOnboardCustomMode = 5;

}  // namespace

bool ListsCustomLightModes(int deviceKind) {
    return deviceKind == kMouseDevice || deviceKind == kMouseInterfaceDevice ||
           deviceKind == kMousePadDevice || deviceKind == kHeadsetDevice;
}

int CustomLightOfMode(int deviceKind, int mode) {
    if (!ListsCustomLightModes(deviceKind)) {
        return mode;
    }
    if (mode >= kFirstCustomLightMode) {
        return mode - kFirstCustomLightMode;
    }
    const bool onboard = deviceKind == kMousePadDevice || deviceKind == kHeadsetDevice;
    return onboard && mode == kOnboardCustomMode ? 0 : -1;
}

}  // namespace device
