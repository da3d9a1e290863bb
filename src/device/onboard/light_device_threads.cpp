// The light thread and the sync thread of the mouse pad and the headset.

#include <optional>
#include <utility>

#include "device/channel/notify_report_value.h"
#include "device/onboard/light_device.h"

namespace {

constexpr uint32_t kPassWaitMs = 1;
constexpr uint32_t kClosedChannelWaitMs = 100;

bool StopRequested(platform::Event& stop, uint32_t ms) {
    return stop.Wait(ms) == platform::kWaitObject0;
}

}  // namespace

void COnboardLightDevice::StartLightThread() {
    StopLightThread();
    lightThread_.Start(
        [this](platform::Event& stop) {
            int passCount = 0;
            // A steady block whose step has drawn the LEDs with the lights taken then:
            // passes only count until either changes.
            std::optional<std::pair<device::OnboardLightBlock, uint32_t>> drawn;
            while (!StopRequested(stop, kPassWaitMs)) {
                if (!commandChannel_.IsOpen()) {
                    if (StopRequested(stop, kClosedChannelWaitMs)) {
                        break;
                    }
                    continue;
                }
                if (commandChannel_.GetLightSync()) {
                    drawn.reset();  // the synchronisation draws over the LEDs
                    continue;
                }
                // The pass's pause also answers a stop at once.
                if (StopRequested(stop, kPassWaitMs)) {
                    break;
                }
                const uint32_t taken = lightsTaken_.load();
                const device::OnboardLightBlock block = GetLightBlock();
                const bool steady = LightIsSteady(block);
                if (steady && drawn == std::pair(block, taken)) {
                    StepDue(passCount, block);
                    continue;
                }
                LightPass(passCount);
                drawn = steady && passCount == 0 ? std::optional(std::pair(block, taken))
                                                 : std::nullopt;
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
    uint32_t value = 0;
    if (!device::TracedNotifyValue(inputChannel_.File(), report, &value) ||
        value != device::kResyncRequest) {
        return;
    }
    OnResyncRequest();
}

void COnboardLightDevice::OnResyncRequest() {
    ArmListTimer(kResyncTimer, kResyncDelayMs);
}
