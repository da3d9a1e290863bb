// The light thread and the sync thread of the mouse pad and the headset.

#include <utility>

#include "device/notify_report_value.h"
#include "device/onboard_light_device.h"
#include "platform/debug_trace.h"

namespace {

constexpr wchar_t kResyncTrace[] = L"接收到自动添加设备的同步信息要求";
constexpr wchar_t kReportTrace[] = L"接收到自动添加设备的同步信息要求  TEST";
constexpr uint32_t kPassWaitMs = 1;
constexpr uint32_t kClosedChannelWaitMs = 100;
constexpr uint32_t kResyncRequest = 0x0401;

bool StopRequested(platform::Event& stop, uint32_t ms) {
    return stop.Wait(ms) == platform::kWaitObject0;
}

}  // namespace

void COnboardLightDevice::StartLightThread() {
    StopLightThread();
    lightThread_.Start(
        [this](platform::Event& stop) {
            int passCount = 0;
            while (!StopRequested(stop, kPassWaitMs)) {
                if (!commandChannel_.IsOpen()) {
                    if (StopRequested(stop, kClosedChannelWaitMs)) {
                        break;
                    }
                    continue;
                }
                if (commandChannel_.GetLightSync()) {
                    continue;
                }
                // The pass's pause also answers a stop at once.
                if (StopRequested(stop, kPassWaitMs)) {
                    break;
                }
                LightPass(passCount);
            }
        },
        device::kLightThreadExitText);
}

void COnboardLightDevice::StopLightThread() {
    lightThread_.Stop();
}

void COnboardLightDevice::StartSyncThread() {
    if (IsInputWorkerStarted()) {
        return;  // a sync thread that still runs is left running
    }
    StartInputWorker([this](const std::vector<uint8_t>& report) { HandleNotifyReport(report); });
}

void COnboardLightDevice::StopSyncThread() {
    StopInputWorker();
}

void COnboardLightDevice::HandleNotifyReport(const std::vector<uint8_t>& report) {
    platform::DebugTrace(kReportTrace);
    uint32_t value = 0;
    if (!device::FirstNotifyValue(inputChannel_.File(), report, &value) ||
        value != kResyncRequest) {
        return;
    }
    platform::DebugTrace(kResyncTrace);
    OnResyncRequest();
}

void COnboardLightDevice::OnResyncRequest() {
    ArmListTimer(kResyncTimer, kResyncDelayMs);
}
