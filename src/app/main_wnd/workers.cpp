// The main window's worker slots: twenty stop events, two of them with a thread.

#include "app/light_sync_thread.h"
#include "app/main_wnd/main_wnd.h"
#include "app/registered_messages.h"
#include "platform/debug_trace.h"
#include "platform/pumping_wait.h"
#include "platform/window_messages.h"

using namespace DuiLib;

void CMainWnd::StartWorkerThreads() {
    for (int slot = 0; slot < kWorkerSlotCount; ++slot) {
        stopEvents_[slot] = std::make_unique<platform::Event>(true, false);
        workerParams_[slot] =
            std::make_unique<WorkerThreadParam>(WorkerThreadParam{this, stopEvents_[slot].get()});
    }
    captureThread_ =
        std::make_unique<DeviceCaptureThread>(*liveRecords_, GetHWND(), AppMessages().product);
    if (!captureThread_->Start()) {
        captureThread_.reset();
    }
    auto lightSync = std::make_unique<platform::WorkerThread>("lightsync");
    WorkerThreadParam* param = workerParams_[kLightSyncThreadSlot].get();
    if (lightSync->Start([param](platform::Event&) { LightSyncThread(param); })) {
        workers_[kLightSyncThreadSlot] = std::move(lightSync);
    }
}

bool CMainWnd::IsWorkerRunning(int slot) const {
    if (slot == kCaptureThreadSlot) {
        return captureThread_ && captureThread_->IsRunning();
    }
    return slot >= 0 && slot < kWorkerSlotCount && workers_[slot] && workers_[slot]->IsRunning();
}

void CMainWnd::StopWorkerThreads() {
    const HWND hwnd = GetHWND();
    if (hwnd != nullptr) {
        platform::ShowWindow(hwnd, SW_HIDE);
        // A worker blocked sending to this window is answered at once from now on.
        platform::MarkWindowClosing(hwnd);
    }
    bool started = false;
    for (auto& event : stopEvents_) {
        if (event) {
            event->Set();
            started = true;
        }
    }
    if (!started) {
        return;  // never started, or already stopped
    }
    for (int slot = 0; slot < kWorkerSlotCount; ++slot) {
        bool ended = false;
        if (slot == kCaptureThreadSlot && captureThread_) {
            ended = captureThread_->Stop(1000);
        } else if (workers_[slot]) {
            // Keeps answering sends to this thread's windows while it waits.
            ended = platform::StopWorkerPumpingSends(*workers_[slot], 1000);
        } else {
            DebugTrace(L"错误\n");
            DebugTrace(CDuiString::FormatText(L"%d", slot).view());
            continue;
        }
        DebugTrace(ended ? L"所有对象处于激发状态\n" : L"所有对象处于非激发状态，超时\n");
    }
    captureThread_.reset();
    for (int slot = 0; slot < kWorkerSlotCount; ++slot) {
        workers_[slot].reset();
        stopEvents_[slot].reset();
        workerParams_[slot].reset();
    }
}
