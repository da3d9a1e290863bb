// The keyboard's light thread and its sync thread on the input interface.

#include "device/channel/notify_report_value.h"
#include "device/device_threads.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/lighting/area_effects.h"

namespace {

constexpr UINT kResyncTimer = 1002;
constexpr uint8_t kCountedReportWrap = 4;

}  // namespace

void CVornalixKeyboardDevice::StartLightThread() {
    device::LightLoopHooks hooks;
    hooks.stepTicks = [this] {
        const LightState state = GetLightState();
        return ModeStepTicks(state.light.mode, state.light.speed);
    };
    hooks.runStep = [this](uint32_t now) { RunModeStep(GetLightState().light.mode, now); };
    hooks.everyPass = [this](uint32_t now) {
        if (IsCustomPlayerMode(GetLightState().light.mode)) {
            CustomLightStep();
        }
        ApplyOverlayLayers(now);
    };
    hooks.passTimed = [this] { return LightPassesCount(); };
    // The keyboard draws its own modes: what the steps draw is only the page's preview,
    // worked out when the preview or a change asks for it. Custom lights and layers that
    // count passes keep the thread's pace.
    hooks.onDemand = [this] { return !LightPassesCount(); };
    StartLightWorker(std::move(hooks), device::kKeyboardLightThreadExitText);
}

bool CVornalixKeyboardDevice::LightPassesCount() {
    if (IsCustomPlayerMode(GetLightState().light.mode)) {
        return true;
    }
    platform::CriticalSectionLock lock(overlayLock_);
    std::array<LightRecord, device::kAreaLedCount> layers;
    const size_t count = CopyOverlayLayers(layers);
    return device::AreaEffectsArePassTimed(std::span(layers.data(), count));
}

void CVornalixKeyboardDevice::StopLightThread() {
    StopLightWorker();
}

void CVornalixKeyboardDevice::StartSyncThread() {
    // The counter is cleared only once a thread that still counts has stopped.
    StopSyncThread();
    StartInputWorker([this](const std::vector<uint8_t>& report) { HandleNotifyReport(report); });
}

void CVornalixKeyboardDevice::StopSyncThread() {
    StopInputWorker();
    reportCounter_ = 0;
}

void CVornalixKeyboardDevice::HandleNotifyReport(const std::vector<uint8_t>& report) {
    uint32_t value = 0;
    if (!device::TracedNotifyValue(inputChannel_.File(), report, &value)) {
        return;
    }
    if (value == device::kResyncRequest) {
        ArmListTimer(kResyncTimer, kResyncDelayMs);
    } else if (value == 0x0402) {
        ArmListTimer(kResyncTimer, kResyncDelayMs);
    } else if (value == 0x0404) {
        reportCounter_ = static_cast<uint8_t>((reportCounter_ + 1) % kCountedReportWrap);
    } else if (value >= 0x0500 && value <= 0x05FF) {
        OnKeyEvent(static_cast<int>(value & 0xFF), 1);
    } else if (value >= 0x0600 && value <= 0x06FF) {
        OnKeyEvent(static_cast<int>(value & 0xFF), 2);
    }
}
