#include "device/page/function_tabs.h"

#include "device/discovery/device_kind.h"

namespace device {

PageFunctionTabs TabsForPageFunction(int function, int deviceKind) {
    switch (function) {
        case 1:
            return {0, 0};
        case 2:
        case 6:
            return {0, 1};
        case 3:
        case 8:
            return {1, kTabUnchanged};
        case 4:
            if (deviceKind == kKeyboardDevice || deviceKind == kMouseDevice) {
                return {3, kTabUnchanged};
            }
            return {0, 2};
        case 5:
            return {2, kTabUnchanged};
        case 7:
            return {0, 2};
        default:
            return {0, 0};
    }
}

}  // namespace device
