#include "device/device_threads.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/debug_trace.h"

namespace device {
namespace {

constexpr uint32_t kPassWaitMs = 1;
// How long a loop whose work waits for its readers sleeps before it counts the ticks
// itself, so that no reader ever has more than a second of them to count.
constexpr uint32_t kOnDemandWaitMs = 1000;
// While the input channel is closed the input thread idles, still waking on its stop
// event and noticing a channel opened meanwhile.
constexpr uint32_t kClosedChannelWaitMs = 100;

bool StopRequested(platform::Event& stop, uint32_t ms) {
    return stop.Wait(ms) == platform::kWaitObject0;
}

}  // namespace

void DeviceThread::Start(Body body, std::wstring exitText) {
    Stop();
    worker_ = std::make_unique<platform::WorkerThread>(role_);
    // The worker resets its stop event before the thread runs, so the body never resets
    // it and a Stop issued at once is not lost.
    worker_->Start([body = std::move(body), exitText = std::move(exitText)](platform::Event& stop) {
        body(stop);
        DebugTrace(exitText);
    });
}

void DeviceThread::Stop(const std::function<void()>& cancel) {
    if (!worker_) {
        return;
    }
    const bool inTime = worker_->Stop(kThreadStopTimeoutMs, cancel);
    DebugTrace(inTime ? kThreadEndedText : kThreadTimedOutText);
    worker_.reset();
}

void RunLightLoop(platform::Event& stop, const LightLoopHooks& hooks) {
    platform::Event wake(false, false);
    LightTicks ticks;
    ticks.Start(hooks);
    RunLightLoop(stop, wake, hooks, ticks);
}

void RunLightLoop(platform::Event& stop, platform::Event& wake, const LightLoopHooks& hooks,
                  LightTicks& ticks) {
    platform::Event* const events[] = {&stop, &wake};
    uint32_t waitMs = kPassWaitMs;
    while (platform::Event::WaitAny(events, waitMs) != platform::kWaitObject0) {
        if (!hooks.channelOpen()) {
            // A sleeping count forgets the ticks of a closed channel as they pass, as an
            // awake loop never counts them.
            ticks.CatchUp();
            waitMs = hooks.idleWaitMs;
            continue;
        }
        if (ticks.OnDemand()) {
            // Its readers count the ticks as they look; the loop only keeps the count short.
            ticks.CatchUp();
            waitMs = kOnDemandWaitMs;
            continue;
        }
        waitMs = platform::MsUntilNextTick();
        if (!ticks.Pass()) {
            continue;
        }
        if (hooks.passTimed && hooks.passTimed()) {
            waitMs = kPassWaitMs;
        }
    }
}

void RunInputLoop(platform::Event& stop, const InputLoopHooks& hooks) {
    std::vector<uint8_t> report;
    uint32_t waitMs = kPassWaitMs;
    while (!StopRequested(stop, waitMs)) {
        if (!hooks.channelOpen()) {
            waitMs = kClosedChannelWaitMs;
            continue;
        }
        waitMs = kPassWaitMs;
        report.clear();
        if (!hooks.readReport(report) || stop.IsSet()) {
            continue;
        }
        hooks.onReport(report);
    }
}

}  // namespace device
