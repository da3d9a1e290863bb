// Report descriptors straight from a device: parse, build the usage records of every
// collection and read an all-zero and an all-ones report through every capability.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/channel/hid_device_file.h"
#include "platform/hid/hid_report_descriptor.h"

namespace {

using platform::hid::HidPreparsedData;

void ReadEveryCapability(const HidPreparsedData& data, HIDP_REPORT_TYPE type,
                         const std::vector<uint8_t>& report) {
    std::vector<USAGE> usages(64);
    for (const HIDP_BUTTON_CAPS& caps : data.ButtonCaps(type)) {
        uint32_t count = static_cast<uint32_t>(usages.size());
        data.GetUsages(type, caps.UsagePage, caps.LinkCollection, usages.data(), &count, report);
    }
    for (const HIDP_VALUE_CAPS& caps : data.ValueCaps(type)) {
        uint32_t raw = 0;
        int32_t scaled = 0;
        data.GetUsageValue(type, caps.UsagePage, 0, caps.UsageMax, &raw, report);
        data.GetScaledUsageValue(type, caps.UsagePage, 0, caps.UsageMin, &scaled, report);
    }
    std::vector<HidUsageRecord> records;
    if (CHidDeviceFile::BuildUsageRecords(data, type, &records)) {
        CHidDeviceFile::ParseReport(type, records.data(), static_cast<uint32_t>(records.size()),
                                    &data, report.data(), static_cast<uint32_t>(report.size()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<HidPreparsedData> collections;
    if (platform::hid::HidReportDescriptor::Parse({data, size}, &collections) !=
        HIDP_STATUS_SUCCESS) {
        return 0;
    }
    for (const HidPreparsedData& collection : collections) {
        for (int t = 0; t < kHidReportTypeCount; ++t) {
            const auto type = static_cast<HIDP_REPORT_TYPE>(t);
            collection.MaxUsageListLength(type, 0);
            for (uint8_t id : collection.ReportIds()) {
                const uint32_t length = collection.ReportByteLength(type, id);
                if (length == 0) {
                    continue;
                }
                std::vector<uint8_t> report(length, 0);
                report[0] = id;
                ReadEveryCapability(collection, type, report);
                std::fill(report.begin() + 1, report.end(), 0xFF);
                ReadEveryCapability(collection, type, report);
            }
        }
    }
    return 0;
}
