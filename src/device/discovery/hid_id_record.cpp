#include "device/discovery/hid_id_record.h"

bool HidIdRecord::IsSameInterface(const HidIdRecord& other) const {
    return vendorId == other.vendorId && productId == other.productId &&
           interfaceNumber == other.interfaceNumber && collectionNumber == other.collectionNumber &&
           deviceKind == other.deviceKind && subKind == other.subKind &&
           usagePage == other.usagePage && usage == other.usage;
}
