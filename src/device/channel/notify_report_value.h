#pragma once
// The value an input report of a device's notification collection carries: the first
// value usage of the report's own id that the descriptor describes.

#include <cstdint>
#include <vector>

#include "device/channel/hid_device_file.h"

namespace device {

// False for an empty report or one the descriptor of `file` cannot unpack.
bool FirstNotifyValue(CHidDeviceFile& file, const std::vector<uint8_t>& report, uint32_t* value);

// The value a device asks to be read again with.
inline constexpr uint32_t kResyncRequest = 0x0401;
// FirstNotifyValue with the traces every sync thread leaves: one for each report and one
// more for a resync request.
bool TracedNotifyValue(CHidDeviceFile& file, const std::vector<uint8_t>& report, uint32_t* value);

}  // namespace device
