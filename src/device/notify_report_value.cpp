#include "device/notify_report_value.h"

namespace device {

bool FirstNotifyValue(CHidDeviceFile& file, const std::vector<uint8_t>& report, uint32_t* value) {
    // Unpacked into a copy under the file's own lock: the UI thread may close or reopen
    // the interface while a reader thread is here.
    std::vector<HidUsageRecord> records;
    if (report.empty() ||
        !file.ParseReceivedReport(HidP_Input, report.data(), static_cast<uint32_t>(report.size()),
                                  &records)) {
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
