// A HID device's uevent text as sysfs hands it to the hidraw backend: the ids parsed from
// the text alone must be the ones the backend reads for a node that is not on USB, and
// the node must be refused exactly when the text names no usable ids.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/hid/hidraw_sysfs.h"
#include "support/sysfs_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    unsigned long number = 0;
    platform::hid::ParseSysfsHex(text, 0xFFFF, &number);
    uint16_t vendor = 0;
    uint16_t product = 0;
    const bool parsed = platform::hid::ParseHidUeventIds(text, &vendor, &product);

    testing_support::SysfsFixture& tree = testing_support::SingleNodeTree(false);
    testing_support::WriteBinaryFile(tree.HidDir("hidraw0") / "uevent", text);
    platform::hid::HidrawNodeInfo info;
    const bool read = platform::hid::ReadHidrawNode(tree.Root().string(), "hidraw0", &info);
    // Texts past the backend's size limit are refused before they are parsed.
    if (read != (parsed && size <= 4096) ||
        (read && (info.vendorId != vendor || info.productId != product))) {
        std::abort();
    }
    return 0;
}
