#include "device/light_ticks.h"

#include <algorithm>

#include "device/device_threads.h"
#include "platform/clock.h"

namespace device {
namespace {

// Readers look at least every frame and the sleeping loop itself every second: a longer
// gap (a starved thread) is not worth replaying whole, only its last minute.
constexpr uint64_t kMaxReplayedMs = 60 * 1000;
constexpr uint64_t kCoarseTicksPerSecond = 64;

}  // namespace

void LightTicks::Start(const LightLoopHooks& hooks) {
    platform::CriticalSectionLock lock(lock_);
    hooks_ = &hooks;
    passMs_ = hooks.passMs;
    startMs_ = platform::MonotonicMs();
    seenSerial_ = Serial();
    lastTick_ = TickOfSerial(seenSerial_);
    tickCount_ = 0;
}

void LightTicks::Stop() {
    platform::CriticalSectionLock lock(lock_);
    hooks_ = nullptr;
}

uint64_t LightTicks::Serial() const {
    if (passMs_ == 0) {
        return platform::TickSerial();
    }
    const uint64_t nowMs = platform::MonotonicMs();
    return nowMs > startMs_ ? (nowMs - startMs_) / passMs_ : 0;
}

uint32_t LightTicks::TickOfSerial(uint64_t serial) const {
    return passMs_ == 0 ? platform::TickAtSerial(serial)
                        : platform::TickAtMs(startMs_ + serial * passMs_);
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

void LightTicks::PassByForSync(uint64_t serial) {
    if (serial > seenSerial_ && hooks_->syncDrew) {
        hooks_->syncDrew();
    }
    seenSerial_ = serial;
}

bool LightTicks::Pass() {
    platform::CriticalSectionLock lock(lock_);
    if (hooks_ == nullptr) {
        return false;
    }
    const bool drawnBySync = hooks_->lightSyncActive();
    const uint64_t serial = Serial();
    if (drawnBySync) {
        PassByForSync(serial);
        return false;
    }
    seenSerial_ = serial;
    const uint32_t now = TickOfSerial(seenSerial_);
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
    const uint64_t serial = Serial();
    // Moments while the channel was closed or the synchronisation drew are not counted.
    if (!hooks_->channelOpen()) {
        seenSerial_ = serial;
        return;
    }
    if (hooks_->lightSyncActive()) {
        PassByForSync(serial);
        return;
    }
    if (StepsHeld()) {
        return;
    }
    const uint64_t maxReplayed =
        passMs_ == 0 ? kMaxReplayedMs / 1000 * kCoarseTicksPerSecond : kMaxReplayedMs / passMs_;
    uint64_t next = std::max(seenSerial_, serial - std::min(serial, maxReplayed));
    while (next < serial) {
        const uint32_t now = TickOfSerial(++next);
        Count(now);
        StepIfDue(now);
    }
    seenSerial_ = serial;
}

}  // namespace device
