#include "device/page/light_mode_rows.h"

#include <algorithm>

#include "device/lighting/custom_light_modes.h"

namespace device {

LightModeRows LightModeRowsOf(const PageNameLists& lists, int deviceKind) {
    LightModeRows rows{lists.defaultLightNames, lists.defaultLightVisible, {}};
    if (!ListsCustomLightModes(deviceKind) || lists.customLightNames.empty()) {
        return rows;
    }
    const size_t builtIn = kFirstCustomLightMode;
    // A flag the list lacks leaves its row usable; a blank row has nothing to offer.
    rows.enabled.resize(std::min(rows.names.size(), builtIn), 1);
    rows.enabled.resize(builtIn, 0);
    rows.names.resize(builtIn);
    rows.customNames = lists.customLightNames;
    return rows;
}

}  // namespace device
