#pragma once
// A clock for tests: time moves only when the test advances it; Sleep advances it. Every
// value it takes is a tick of its own (TickSerial), kept so that a loop that slept through
// some counts them as if it had seen each one.

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/clock.h"

namespace platform {

class FakeClock final : public Clock {
  public:
    FakeClock() : previous_(InstallClock(this)) {}
    ~FakeClock() override { InstallClock(previous_); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    uint32_t TickCount() override {
        std::lock_guard lock(mutex_);
        return ticks_.back();
    }
    // Fake time moves only when the test advances it: a waiting loop looks again soon.
    uint32_t MsUntilNextTick() override { return 1; }
    uint64_t TickSerial() override {
        std::lock_guard lock(mutex_);
        return ticks_.size() - 1;
    }
    uint32_t TickAtSerial(uint64_t serial) override {
        std::lock_guard lock(mutex_);
        return ticks_[std::min<uint64_t>(serial, ticks_.size() - 1)];
    }
    // Its ticks are themselves milliseconds.
    uint64_t MonotonicMs() override { return TickCount(); }
    uint32_t TickAtMs(uint64_t ms) override { return static_cast<uint32_t>(ms); }
    void Sleep(uint32_t ms) override { Advance(ms); }
    LocalTime Now() override { return now_; }

    void Advance(uint32_t ms) {
        std::lock_guard lock(mutex_);
        if (ms != 0) {
            ticks_.push_back(ticks_.back() + ms);
        }
    }
    void SetTick(uint32_t tick) {
        std::lock_guard lock(mutex_);
        if (tick != ticks_.back()) {
            ticks_.push_back(tick);
        }
    }
    void SetNow(const LocalTime& now) { now_ = now; }

  private:
    Clock* previous_;
    std::mutex mutex_;
    std::vector<uint32_t> ticks_{0};
    LocalTime now_{};
};

}  // namespace platform
