#include "device/discovery/device_tables.h"

namespace {

HidIdRecord MakeInterfaceRow(uint16_t collection, uint16_t subKind, uint16_t usagePage,
                             uint16_t usage) {
    HidIdRecord row;
    row.vendorId = 0x320F;
    row.productId = 0x505B;
    row.interfaceNumber = 1;
    row.collectionNumber = collection;
    row.deviceKind = 1;
    row.subKind = subKind;
    row.usagePage = usagePage;
    row.usage = usage;
    return row;
}

DeviceOptionRecord MakeOptionRow(const wchar_t* kindName, int32_t a, int32_t b, int32_t c,
                                 int32_t profileIndex, int32_t vendorId, int32_t productId,
                                 int32_t kind) {
    DeviceOptionRecord row;
    row.optionXml = L"XML\\CustomControlXML\\DeviceOption.xml";
    row.groupName = L"tab_header_device";
    row.powerSwitchName = L"device_power_switch";
    row.kindName = kindName;
    row.extra[0] = a;
    row.extra[1] = b;
    row.extra[2] = c;
    row.profileIndex = profileIndex;
    row.vendorId = vendorId;
    row.productId = productId;
    row.deviceKind = kind;
    row.subKind = 0;
    return row;
}

}  // namespace

const HidIdRecord HidIdTable[] = {
    MakeInterfaceRow(4, kCommandInterface, 0xFF1C, 0x0092),
    MakeInterfaceRow(3, kInputInterface, 0x000C, 0x0001),
};
const int32_t HidIdTableCount = 2;

const DeviceOptionRecord DeviceOptionTable[] = {
    MakeOptionRow(L"mouse", 0, 0, 0, 1, 0, 0, 2),
    MakeOptionRow(L"keyboard", 1, 1, -1, 0, 0x320F, 0x505B, 1),
    MakeOptionRow(L"MousePad", 2, 2, 1, 2, 0x320F, 0x1004, 3),
    MakeOptionRow(L"HD", 3, 3, -1, 3, 0, 0, 7),
};
const int32_t DeviceOptionTableCount = 4;

const DeviceXmlRecord DeviceXmlTable[] = {
    {6, 7, 0, -1, L"XML\\DeviceXml\\mousedevice.xml", L"zentu_light"},
    {126, 126, 0, -1, L"XML\\DeviceXml\\keyboarddevice.xml", L"zentu_light"},
    {15, 0, 0, -1, L"XML\\DeviceXml\\mousepaddevice.xml", L"zentu_light"},
    {13, 0, 0, -1, L"XML\\DeviceXml\\tamseldevice.xml", L"zentu_light"},
};
const int32_t DeviceXmlTableCount = 4;

const DeviceIdentityRecord DeviceIdentityTable[] = {
    {1, 1, 0, L"ZENTU", L"QM40R62C", L"Velkaro", L"Velkaro", L""},
    {1, 1, 0, L"ZENTU", L"QM40R61C", L"BX3", L"BX3", L""},
    {2, 1, 0, L"ZENTU", L"QM40R54C_1", L"T27", L"T27", L""},
    {0, 1, 0, L"ZENTU", L"ALL", L"T27_BX4_BX3", L"AP", L"Version 1.0"},
};
const int32_t DeviceIdentityTableCount = 4;

static_assert(sizeof(HidIdTable) / sizeof(HidIdTable[0]) == 2);
static_assert(sizeof(DeviceOptionTable) / sizeof(DeviceOptionTable[0]) == 4);
static_assert(sizeof(DeviceXmlTable) / sizeof(DeviceXmlTable[0]) == 4);
static_assert(sizeof(DeviceIdentityTable) / sizeof(DeviceIdentityTable[0]) == 4);

namespace {

// Index of the first of `count` rows with the four values, or -1.
template <typename Row>
int FindRowIndex(const Row* rows, int32_t count, uint16_t vendorId, uint16_t productId,
                 uint16_t kind, uint16_t subKind) {
    for (int32_t i = 0; i < count; ++i) {
        const Row& row = rows[i];
        if (row.deviceKind == kind && row.subKind == subKind && row.vendorId == vendorId &&
            row.productId == productId) {
            return i;
        }
    }
    return -1;
}

}  // namespace

int FindHidIdIndex(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t subKind) {
    return HardwareDeviceTables().FindHidIdIndex(vendorId, productId, kind, subKind);
}

int FindDeviceOptionIndex(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t subKind) {
    return HardwareDeviceTables().FindDeviceOptionIndex(vendorId, productId, kind, subKind);
}

int DeviceTableSet::FindHidIdIndex(uint16_t vendorId, uint16_t productId, uint16_t kind,
                                   uint16_t subKind) const {
    return FindRowIndex(interfaces.data(), static_cast<int32_t>(interfaces.size()), vendorId,
                        productId, kind, subKind);
}

int DeviceTableSet::FindDeviceOptionIndex(uint16_t vendorId, uint16_t productId, uint16_t kind,
                                          uint16_t subKind) const {
    return FindRowIndex(options.data(), static_cast<int32_t>(options.size()), vendorId, productId,
                        kind, subKind);
}

const DeviceTableSet& HardwareDeviceTables() {
    static const DeviceTableSet set{
        {HidIdTable, static_cast<size_t>(HidIdTableCount)},
        {DeviceOptionTable, static_cast<size_t>(DeviceOptionTableCount)},
        {DeviceXmlTable, static_cast<size_t>(DeviceXmlTableCount)},
        {DeviceIdentityTable, static_cast<size_t>(DeviceIdentityTableCount)},
    };
    return set;
}
