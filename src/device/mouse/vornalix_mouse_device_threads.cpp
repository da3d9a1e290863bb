// The mouse's light thread and its sync thread on the input interface.

#include "device/channel/notify_report_value.h"
#include "device/device_threads.h"
#include "device/lighting/light_tables.h"
#include "device/mouse/vornalix_mouse_device.h"

namespace {

constexpr UINT kResyncTimer = 1002;
constexpr int kNoStep = -1;

}  // namespace

void CVornalixMouseDevice::StartLightThread() {
    // The thread it replaces has its ticks stepped up to now, as it would have passed them.
    CatchUpLight();
    device::LightLoopHooks hooks;
    hooks.stepTicks = [this] {
        const device::MouseSettingsState state = GetSettingsState();
        if (IsCustomMode(state[device::kStateMode])) {
            return kNoStep;
        }
        return static_cast<int>(device::SpeedTicksForIndex(state[device::kStateSpeed]));
    };
    hooks.runStep = [this](uint32_t now) {
        RunModeStep(GetSettingsState()[device::kStateMode], now);
    };
    hooks.everyPass = [this](uint32_t) {
        if (IsCustomMode(GetSettingsState()[device::kStateMode])) {
            PlayCustomStep();
        }
    };
    // No step runs while a command exchange is under way.
    hooks.stepsHeld = [this] { return commandChannel_.IsBusy(); };
    // The custom player counts passes.
    hooks.passTimed = [this] { return IsCustomMode(GetSettingsState()[device::kStateMode]); };
    // The mouse's own modes step by the tick: their colours are only looked at when a
    // frame is pushed (or the page is tinted), which works out the ticks since first.
    hooks.onDemand = [this] { return !IsCustomMode(GetSettingsState()[device::kStateMode]); };
    StartLightWorker(std::move(hooks), device::kLightThreadExitText);
}

void CVornalixMouseDevice::StopLightThread() {
    CatchUpLight();
    StopLightWorker();
}

void CVornalixMouseDevice::StartSyncThread() {
    StartInputWorker([this](const std::vector<uint8_t>& report) { HandleNotifyReport(report); });
}

void CVornalixMouseDevice::StopSyncThread() {
    StopInputWorker();
}

void CVornalixMouseDevice::ReopenNotifyChannel(const wchar_t* path) {
    CloseNotifyChannel();
    OpenNotifyChannel(path);
}

void CVornalixMouseDevice::HandleNotifyReport(const std::vector<uint8_t>& report) {
    uint32_t value = 0;
    if (!device::TracedNotifyValue(inputChannel_.File(), report, &value) ||
        value != device::kResyncRequest) {
        return;
    }
    ArmListTimer(kResyncTimer, kResyncDelayMs);
}
