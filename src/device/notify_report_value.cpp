#include "device/notify_report_value.h"

namespace device {

bool FirstNotifyValue(CHidDeviceFile& file, const std::vector<uint8_t>& report, uint32_t* value) {
    std::vector<HidUsageRecord>& records = file.Records(HidP_Input);
    if (report.empty() || records.empty() ||
        !CHidDeviceFile::ParseReport(HidP_Input, records.data(),
                                     static_cast<uint32_t>(records.size()), file.PreparsedData(),
                                     report.data(), static_cast<uint32_t>(report.size()))) {
        return false;
    }
    for (const HidUsageRecord& record : records) {
        if (record.isButton == 0 && record.reportId == report[0] &&
            record.status == HIDP_STATUS_SUCCESS) {
            *value = record.rawValue;
            return true;
        }
    }
    return false;
}

}  // namespace device
