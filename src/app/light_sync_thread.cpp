#include "app/light_sync_thread.h"

#include "app/main_wnd.h"

void LightSyncThread(WorkerThreadParam* param) {
    if (param == nullptr || param->stopEvent == nullptr) {
        return;
    }
    // Each pass waits 1 ms on the stop event; the synchronised lighting itself is written
    // by the cross-device light synchronisation, which hooks in here.
    while (param->stopEvent->Wait(1) != platform::kWaitObject0) {
    }
}
