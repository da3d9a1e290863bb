// The light thread and the sync thread of the mouse pad and the headset.

#include <optional>
#include <utility>

#include "device/channel/notify_report_value.h"
#include "device/onboard/light_device.h"

namespace {

// A pass is about 1 ms of waiting and a 1 ms sleep: the passes keep that pace exactly.
constexpr uint32_t kPassMs = 2;

}  // namespace

void COnboardLightDevice::StartLightThread() {
    // The thread it replaces has its passes run up to now; the new one counts afresh.
    StopLightThread();
    passCount_ = 0;
    drawn_.reset();
    device::LightLoopHooks hooks;
    hooks.stepTicks = [] { return -1; };  // every pass counts the mode's steps itself
    hooks.everyPass = [this](uint32_t now) { PaceTimedPass(now); };
    hooks.syncDrew = [this] { drawn_.reset(); };
    hooks.passMs = kPassMs;
    // The passes are only ever looked at in the frames, tints and colours, which first
    // run the passes due since the last: the thread sleeps.
    hooks.onDemand = [] { return true; };
    StartLightWorker(std::move(hooks), device::kLightThreadExitText);
}

void COnboardLightDevice::StopLightThread() {
    CatchUpLight();
    StopLightWorker();
}

void COnboardLightDevice::PaceTimedPass(uint32_t now) {
    const uint32_t taken = lightsTaken_.load();
    const device::OnboardLightBlock block = GetLightBlock();
    const bool steady = LightIsSteady(block);
    if (steady && drawn_ == std::pair(block, taken)) {
        StepDue(passCount_, block);
        return;
    }
    LightPass(passCount_, now);
    drawn_ = steady && passCount_ == 0 ? std::optional(std::pair(block, taken)) : std::nullopt;
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
