#include "platform/pumping_wait.h"

#include <array>
#include <chrono>

#include "platform/window_messages.h"
#include "platform/window_registry.h"

namespace platform {

uint32_t WaitPumpingSends(Event& event, uint32_t ms) {
    using Clock = std::chrono::steady_clock;
    auto queue = detail::CurrentThreadQueue();
    const auto start = Clock::now();
    std::array<Event*, 2> waits{&event, &queue->sendArrived};
    for (;;) {
        PumpPendingSends();
        uint32_t remaining = kInfinite;
        if (ms != kInfinite) {
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            remaining = elapsed >= ms ? 0 : ms - static_cast<uint32_t>(elapsed);
        }
        const uint32_t result = Event::WaitAny(waits, remaining);
        if (result != kWaitObject0 + 1) {
            return result;
        }
    }
}

bool StopWorkerPumpingSends(WorkerThread& worker, uint32_t timeoutMs,
                            const std::function<void()>& cancel) {
    // Stop re-runs its cancel hook every few milliseconds while it waits: answering the
    // pending sends there lets a worker blocked in SendMessage reach its stop check.
    return worker.Stop(timeoutMs, [&cancel] {
        if (cancel) {
            cancel();
        }
        PumpPendingSends();
    });
}

}  // namespace platform
