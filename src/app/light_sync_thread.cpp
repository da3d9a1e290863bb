#include "app/light_sync_thread.h"

#include "app/light_sync.h"
#include "app/main_wnd/main_wnd.h"
#include "platform/clock.h"
#include "platform/debug_trace.h"

namespace {

constexpr uint32_t kPassWaitMs = 1;
constexpr uint32_t kIdleWaitMs = 1000;

}  // namespace

void LightSyncThread(WorkerThreadParam* param) {
    if (param == nullptr || param->owner == nullptr || param->stopEvent == nullptr) {
        return;
    }
    // The stop event is not reset here: a stop asked for before this thread ran must
    // still end it.
    CMainWnd& window = *param->owner;
    platform::Event& stop = *param->stopEvent;
    uint32_t lastTick = platform::TickCount();
    uint32_t counter = 0;
    while (stop.Wait(kPassWaitMs) != platform::kWaitObject0) {
        if (!window.HasSyncedOpenDevice()) {
            // Idles, but wakes at once for a stop.
            if (stop.Wait(kIdleWaitMs) == platform::kWaitObject0) {
                break;
            }
            continue;
        }
        const uint32_t now = platform::TickCount();
        if (now - lastTick > 1) {
            lastTick = now;
            ++counter;
        }
        const uint8_t mode = light_sync::SharedSettings().mode.load();
        if (mode >= light_sync::kModeCount) {
            continue;
        }
        const uint8_t speed = light_sync::SharedSettings().speed.load();
        if (light_sync::SpeedTicks(mode, speed) > counter) {
            continue;
        }
        window.RunSyncStep(mode);
        counter = 0;
    }
    DebugTrace(L"同步灯光线程设定退出");
}
