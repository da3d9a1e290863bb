#pragma once
// What the hidraw backend reads about one node from sysfs: the HID device's report
// descriptor and ids, and, when it hangs off USB, the interface number and bcdDevice.
// The sysfs root is a parameter so that tests can read fixture trees.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::hid {

// Descriptors longer than this are refused (the kernel's own limit).
inline constexpr size_t kMaxReportDescriptorSize = 4096;

struct HidrawNodeInfo {
    std::string name;  // "hidraw3"
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
    int interfaceNumber = -1;  // -1 when the device is not on USB
    std::vector<uint8_t> descriptor;
};

// Text as sysfs writes it: up to eight hex digits, blanks around them, nothing else, and
// not above `max`.
bool ParseSysfsHex(std::string_view text, unsigned long max, unsigned long* value);
// The vendor and product of the HID_ID=<bus>:<vendor>:<product> line of a HID device's
// uevent. False when there is none or an id does not fit 16 bits.
bool ParseHidUeventIds(std::string_view uevent, uint16_t* vendorId, uint16_t* productId);
// True for "hidraw" followed by digits only: a name safe to append to a folder.
bool IsHidrawNodeName(const std::string& name);
// Reads node `name` below `sysfsRoot` (normally "/sys"). False when the node is absent
// or its HID device cannot be read.
bool ReadHidrawNode(const std::string& sysfsRoot, const std::string& name, HidrawNodeInfo* info);
// The names under <sysfsRoot>/class/hidraw, sorted by number; empty when there is none.
std::vector<std::string> ListHidrawNodeNames(const std::string& sysfsRoot);

}  // namespace platform::hid
