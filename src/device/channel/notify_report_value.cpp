#include "device/channel/notify_report_value.h"

#include "platform/debug_trace.h"

namespace device {
namespace {

constexpr wchar_t kResyncTrace[] = L"接收到自动添加设备的同步信息要求";
constexpr wchar_t kReportTrace[] = L"接收到自动添加设备的同步信息要求  TEST";

}  // namespace

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

bool TracedNotifyValue(CHidDeviceFile& file, const std::vector<uint8_t>& report, uint32_t* value) {
    platform::DebugTrace(kReportTrace);
    if (!FirstNotifyValue(file, report, value)) {
        return false;
    }
    if (*value == kResyncRequest) {
        platform::DebugTrace(kResyncTrace);
    }
    return true;
}

}  // namespace device
