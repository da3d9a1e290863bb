#include "device/device_threads.h"

#include "platform/clock.h"
#include "platform/debug_trace.h"

namespace device {
namespace {

constexpr uint32_t kPassWaitMs = 1;
// While the channel is closed the light thread idles, still waking on its stop event.
constexpr uint32_t kClosedChannelWaitMs = 100;

bool StopRequested(platform::Event& stop, uint32_t ms) {
    return stop.Wait(ms) == platform::kWaitObject0;
}

}  // namespace

void DeviceThread::Start(Body body, std::wstring exitText) {
    Stop();
    worker_ = std::make_unique<platform::WorkerThread>();
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
    uint32_t lastTick = platform::TickCount();
    int tickCount = 0;
    while (!StopRequested(stop, kPassWaitMs)) {
        if (!hooks.channelOpen()) {
            if (StopRequested(stop, kClosedChannelWaitMs)) {
                break;
            }
            continue;
        }
        if (hooks.lightSyncActive()) {
            continue;
        }
        const uint32_t now = platform::TickCount();
        if (now - lastTick > 1) {
            lastTick = now;
            ++tickCount;
        }
        const int threshold = hooks.stepTicks();
        if (threshold >= 0 && tickCount >= threshold) {
            hooks.runStep();
            tickCount = 0;
        }
        if (hooks.everyPass) {
            hooks.everyPass();
        }
    }
}

void RunInputLoop(platform::Event& stop, const InputLoopHooks& hooks) {
    std::vector<uint8_t> report;
    while (!StopRequested(stop, kPassWaitMs)) {
        if (!hooks.channelOpen()) {
            continue;
        }
        report.clear();
        if (!hooks.readReport(report) || stop.IsSet()) {
            continue;
        }
        hooks.onReport(report);
    }
}

}  // namespace device
