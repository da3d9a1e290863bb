// Received reports against known descriptors: the first byte picks a collection and a
// report type, the rest is the report as it came off the wire.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/channel/hid_device_file.h"
#include "platform/hid/hid_report_descriptor.h"
#include "sim/keyboard_descriptors.h"

namespace {

using platform::hid::HidPreparsedData;

// A mouse with signed relative values inside a physical collection.
const std::vector<uint8_t> kMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x05, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

const std::vector<HidPreparsedData>& Collections() {
    static const std::vector<HidPreparsedData> all = [] {
        std::vector<HidPreparsedData> result;
        for (const auto* descriptor :
             {&sim::KeyboardVendorDescriptor(), &sim::KeyboardBootDescriptor(), &kMouse}) {
            std::vector<HidPreparsedData> parsed;
            platform::hid::HidReportDescriptor::Parse(*descriptor, &parsed);
            result.insert(result.end(), parsed.begin(), parsed.end());
        }
        return result;
    }();
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const auto& collections = Collections();
    const HidPreparsedData& collection = collections[data[0] % collections.size()];
    const auto type = static_cast<HIDP_REPORT_TYPE>((data[0] / collections.size()) % 3);
    std::vector<HidUsageRecord> records;
    if (!CHidDeviceFile::BuildUsageRecords(collection, type, &records)) {
        return 0;
    }
    const std::vector<uint8_t> report(data + 1, data + size);  // exact length, for ASan
    CHidDeviceFile::ParseReport(type, records.data(), static_cast<uint32_t>(records.size()),
                                &collection, report.data(), static_cast<uint32_t>(report.size()));
    USAGE usages[4];
    uint32_t count = 4;
    collection.GetUsages(type, 0, 0, usages, &count, report);
    return 0;
}
