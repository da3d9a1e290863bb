#include "device/light_ticks.h"

#include <algorithm>

#include "device/device_threads.h"
#include "platform/clock.h"

namespace device {
namespace {

// Readers look at least every frame and the sleeping loop itself every second: a longer
// gap (a starved thread) is not worth replaying whole, only its last minute.
constexpr uint64_t kMaxReplayedTicks = 64 * 60;

}  // namespace

void LightTicks::Start(const LightLoopHooks& hooks) {
    platform::CriticalSectionLock lock(lock_);
    hooks_ = &hooks;
    seenSerial_ = platform::TickSerial();
    lastTick_ = platform::TickAtSerial(seenSerial_);
    tickCount_ = 0;
}

void LightTicks::Stop() {
    platform::CriticalSectionLock lock(lock_);
    hooks_ = nullptr;
}

void LightTicks::Count(uint32_t now) {
    if (now - lastTick_ > 1) {
        lastTick_ = now;
        ++tickCount_;
    }
}

void LightTicks::StepIfDue(uint32_t now) {
    // A threshold of 0 (the fast speeds) steps once per counted tick, not per pass.
    const int threshold = hooks_->stepTicks();
    if (threshold >= 0 && tickCount_ >= std::max(threshold, 1)) {
        hooks_->runStep(now);
        tickCount_ = 0;
    }
    if (hooks_->everyPass) {
        hooks_->everyPass(now);
    }
}

bool LightTicks::Pass() {
    platform::CriticalSectionLock lock(lock_);
    if (hooks_ == nullptr) {
        return false;
    }
    const bool drawnBySync = hooks_->lightSyncActive();
    seenSerial_ = platform::TickSerial();
    if (drawnBySync) {
        return false;
    }
    const uint32_t now = platform::TickAtSerial(seenSerial_);
    Count(now);
    if (!StepsHeld()) {
        StepIfDue(now);
    }
    return true;
}

bool LightTicks::StepsHeld() const {
    return hooks_->stepsHeld && hooks_->stepsHeld();
}

bool LightTicks::OnDemand() {
    platform::CriticalSectionLock lock(lock_);
    return hooks_ != nullptr && hooks_->onDemand && hooks_->onDemand();
}

void LightTicks::CatchUp() {
    platform::CriticalSectionLock lock(lock_);
    if (!OnDemand()) {
        return;
    }
    const uint64_t serial = platform::TickSerial();
    // Ticks while the channel was closed or the synchronisation drew are not counted.
    if (!hooks_->channelOpen() || hooks_->lightSyncActive()) {
        seenSerial_ = serial;
        return;
    }
    if (StepsHeld()) {
        return;
    }
    uint64_t next = std::max(seenSerial_, serial - std::min(serial, kMaxReplayedTicks));
    while (next < serial) {
        const uint32_t now = platform::TickAtSerial(++next);
        Count(now);
        StepIfDue(now);
    }
    seenSerial_ = serial;
}

}  // namespace device
