#pragma once
// One HID interface of a supported device. The same record is a row of the table of
// supported interfaces, an entry of the main window's live list and a device object's
// identity.

#include <cstdint>

#include "duilib/dui_string.h"

struct HidIdRecord {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t deviceKind = 0;
    uint16_t subKind = 0;
    uint16_t connected = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    // Set by nothing here; the mouse arrival path reads it.
    uint16_t partnerFlag = 0;
    uint16_t partnerIndex = 0;
    DuiLib::CDuiString devicePath;

    // Everything that names the interface; the connected flag and the path are state.
    bool IsSameInterface(const HidIdRecord& other) const;
    // A record is claimed while a present device holds it.
    bool IsClaimed() const { return connected != 0 || !devicePath.IsEmpty(); }
};

// Sub-kinds that tell the interfaces of one device apart.
inline constexpr uint16_t kCommandInterface = 0;
inline constexpr uint16_t kInputInterface = 255;
