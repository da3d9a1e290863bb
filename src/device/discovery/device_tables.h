#pragma once
// The process-wide tables of supported interfaces, device pages, page layouts and
// products, built before the program starts and never changed.

#include <cstdint>
#include <span>

#include "device/discovery/hid_id_record.h"
#include "duilib/dui_string.h"

// The interfaces the program drives; live index i of the main window's list is row i.
extern const HidIdRecord HidIdTable[];
extern const int32_t HidIdTableCount;

// One device page.
struct DeviceOptionRecord {
    DuiLib::CDuiString optionXml;  // the device-list entry's layout file
    DuiLib::CDuiString groupName;
    DuiLib::CDuiString powerSwitchName;
    DuiLib::CDuiString kindName;  // the device's file name and the entry's name text
    int32_t extra[3] = {};        // not read by the device layer
    int32_t profileIndex = 0;     // index of the device's element of a profile's "Device"
    int32_t vendorId = 0;
    int32_t productId = 0;
    int32_t deviceKind = 0;
    int32_t subKind = 0;
};
extern const DeviceOptionRecord DeviceOptionTable[];
extern const int32_t DeviceOptionTableCount;

// Layout facts of a device page, indexed like the option table.
struct DeviceXmlRecord {
    int32_t ledCount = 0;
    int32_t keyCount = 0;
    int32_t showPower = 0;
    int32_t logoLedIndex = -1;  // -1: no logo LED
    DuiLib::CDuiString deviceXml;
    DuiLib::CDuiString lightConfigName;
};
extern const DeviceXmlRecord DeviceXmlTable[];
extern const int32_t DeviceXmlTableCount;

// The product behind a device-list entry; the last row is the application itself.
struct DeviceIdentityRecord {
    int32_t kind = 0;  // 0 the application, nonzero a device
    int32_t flag = 1;
    int32_t version = 0;  // 0 here; the update list fills its copies
    DuiLib::CDuiString vendor;
    DuiLib::CDuiString modelCode;
    DuiLib::CDuiString productName;
    DuiLib::CDuiString updateName;
    DuiLib::CDuiString versionText;
};
extern const DeviceIdentityRecord DeviceIdentityTable[];
extern const int32_t DeviceIdentityTableCount;

// Index of the first interface row with these four values, or -1.
int FindHidIdIndex(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t subKind);
// Index of the first device page row with these four values, or -1.
int FindDeviceOptionIndex(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t subKind);

namespace platform::hid {
class HidBus;
}

// The four tables as one set. A window reads one set for its whole life: the tables
// above on real hardware; over the simulated bus, those with the simulated mouse, mouse
// pad and headset added, whose ids no shipped row knows.
struct DeviceTableSet {
    std::span<const HidIdRecord> interfaces;
    std::span<const DeviceOptionRecord> options;
    std::span<const DeviceXmlRecord> layouts;  // indexed like `options`
    std::span<const DeviceIdentityRecord> identities;

    // As the two functions above, over this set.
    int FindHidIdIndex(uint16_t vendorId, uint16_t productId, uint16_t kind,
                       uint16_t subKind) const;
    int FindDeviceOptionIndex(uint16_t vendorId, uint16_t productId, uint16_t kind,
                              uint16_t subKind) const;
};

// The shipped tables.
const DeviceTableSet& HardwareDeviceTables();
// The shipped tables, with every option row backed by a simulated device.
const DeviceTableSet& SimulatedDeviceTables();
// The set for the devices `bus` reaches.
const DeviceTableSet& DeviceTablesForBus(const platform::hid::HidBus& bus);
