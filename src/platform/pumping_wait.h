#pragma once
// Waits of the UI thread that keep answering messages other threads send to its windows:
// a worker blocked in SendMessage to the UI thread can then finish while the UI thread
// waits for it to stop.

#include <cstdint>
#include <functional>

#include "platform/event.h"
#include "platform/worker_thread.h"

namespace platform {

// Waits for `event` while handling sends to this thread's windows. Event wait results.
uint32_t WaitPumpingSends(Event& event, uint32_t ms);
// WorkerThread::Stop that handles sends to this thread's windows while it waits.
bool StopWorkerPumpingSends(WorkerThread& worker, uint32_t timeoutMs = 1000,
                            const std::function<void()>& cancel = {});

}  // namespace platform
