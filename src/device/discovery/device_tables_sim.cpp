// The tables over the simulated bus: the shipped rows, and rows for the simulated mouse,
// mouse pad and headset, so that every page can be seen and tried without hardware. The
// ids are those the simulated firmware (sim/) reports; a test holds the two together.

#include "device/discovery/device_kind.h"
#include "device/discovery/device_tables.h"
#include "platform/hid/sim_hid_bus.h"

namespace {

constexpr uint16_t kVendorId = 0x320F;
constexpr uint16_t kMouseProductId = 0x5064;
constexpr uint16_t kMousePadProductId = 0x1004;
constexpr uint16_t kHeadsetProductId = 0x1006;
// Every simulated accessory has its vendor interface 1: notifications on collection 1,
// commands on collection 2.
constexpr uint16_t kVendorInterface = 1;
constexpr uint16_t kNotifyCollection = 1;
constexpr uint16_t kCommandCollection = 2;
// The simulated mouse's key-code table has a position per LED: its ten keys, then the
// logo and the rear strip, which have no key.
constexpr int32_t kMouseLedCount = 12;
constexpr int32_t kMouseKeyCount = 10;
constexpr int32_t kMouseLogoLed = 10;

HidIdRecord Interface(uint16_t productId, uint16_t kind, bool command) {
    HidIdRecord row;
    row.vendorId = kVendorId;
    row.productId = productId;
    row.interfaceNumber = kVendorInterface;
    row.collectionNumber = command ? kCommandCollection : kNotifyCollection;
    row.deviceKind = kind;
    row.subKind = command ? kCommandInterface : kInputInterface;
    row.usagePage = command ? 0xFF1C : 0x000C;
    row.usage = command ? 0x0092 : 0x0001;
    return row;
}

// The shipped option row with the simulated device's ids.
DeviceOptionRecord WithIds(const DeviceOptionRecord& shipped, uint16_t productId) {
    DeviceOptionRecord row = shipped;
    row.vendorId = kVendorId;
    row.productId = productId;
    return row;
}

DeviceXmlRecord SimMouseLayout() {
    DeviceXmlRecord row = DeviceXmlTable[0];
    row.ledCount = kMouseLedCount;
    row.keyCount = kMouseKeyCount;
    row.logoLedIndex = kMouseLogoLed;
    return row;
}

}  // namespace

const DeviceTableSet& SimulatedDeviceTables() {
    // Built on first use: the shipped rows they copy are built before the program starts,
    // in an order no other file may rely on.
    static const HidIdRecord interfaces[] = {
        HidIdTable[0],
        HidIdTable[1],
        Interface(kMouseProductId, device::kMouseDevice, true),
        Interface(kMouseProductId, device::kMouseDevice, false),
        Interface(kMousePadProductId, device::kMousePadDevice, true),
        Interface(kMousePadProductId, device::kMousePadDevice, false),
        Interface(kHeadsetProductId, device::kHeadsetDevice, true),
        Interface(kHeadsetProductId, device::kHeadsetDevice, false),
    };
    static const DeviceOptionRecord options[] = {
        WithIds(DeviceOptionTable[0], kMouseProductId),
        DeviceOptionTable[1],
        WithIds(DeviceOptionTable[2], kMousePadProductId),
        WithIds(DeviceOptionTable[3], kHeadsetProductId),
    };
    static const DeviceXmlRecord layouts[] = {
        SimMouseLayout(),
        DeviceXmlTable[1],
        DeviceXmlTable[2],
        DeviceXmlTable[3],
    };
    static const DeviceTableSet set{
        interfaces,
        options,
        layouts,
        {DeviceIdentityTable, static_cast<size_t>(DeviceIdentityTableCount)},
    };
    return set;
}

const DeviceTableSet& DeviceTablesForBus(const platform::hid::HidBus& bus) {
    return dynamic_cast<const platform::hid::SimHidBus*>(&bus) != nullptr ? SimulatedDeviceTables()
                                                                          : HardwareDeviceTables();
}
