#include "app/light_sync_thread.h"

#include "app/light_sync.h"
#include "app/main_wnd/main_wnd.h"
#include "device/device_threads.h"
#include "platform/debug_trace.h"

namespace {

constexpr uint32_t kIdleWaitMs = 1000;
constexpr int kNoStep = -1;

}  // namespace

void LightSyncThread(WorkerThreadParam* param) {
    if (param == nullptr || param->owner == nullptr || param->stopEvent == nullptr) {
        return;
    }
    // The stop event is not reset here: a stop asked for before this thread ran must
    // still end it.
    CMainWnd& window = *param->owner;
    device::LightLoopHooks hooks;
    // Idle while no open device follows the shared lighting.
    hooks.channelOpen = [&window] { return window.HasSyncedOpenDevice(); };
    hooks.lightSyncActive = [] { return false; };
    hooks.stepTicks = [] {
        const light_sync::Settings& settings = light_sync::SharedSettings();
        const uint8_t mode = settings.mode.load();
        if (mode >= light_sync::kModeCount) {
            return kNoStep;
        }
        return static_cast<int>(light_sync::SpeedTicks(mode, settings.speed.load()));
    };
    hooks.runStep = [&window](uint32_t) {
        window.RunSyncStep(light_sync::SharedSettings().mode.load());
    };
    hooks.idleWaitMs = kIdleWaitMs;
    device::RunLightLoop(*param->stopEvent, hooks);
    DebugTrace(L"同步灯光线程设定退出");
}
