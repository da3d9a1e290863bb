// A report descriptor as sysfs hands it to the hidraw backend: enumerating the node must
// list one path per top-level collection, and every listed path must open again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/sysfs_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    testing_support::SysfsFixture& tree = testing_support::SingleNodeTree(true);
    testing_support::WriteBinaryFile(tree.HidDir("hidraw0") / "report_descriptor",
                                     std::string(reinterpret_cast<const char*>(data), size));
    platform::hid::HidrawBus bus = tree.Bus();
    std::vector<std::wstring> paths;
    if (!bus.Enumerate(&paths)) {
        std::abort();  // the folder is there: listing it cannot fail
    }
    for (const std::wstring& path : paths) {
        if (bus.Open(path, {}) == nullptr) {
            std::abort();
        }
    }
    return 0;
}
