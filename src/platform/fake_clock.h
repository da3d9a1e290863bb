#pragma once
// A clock for tests: time moves only when the test advances it; Sleep advances it.

#include <atomic>

#include "platform/clock.h"

namespace platform {

class FakeClock final : public Clock {
  public:
    FakeClock() : previous_(InstallClock(this)) {}
    ~FakeClock() override { InstallClock(previous_); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    uint32_t TickCount() override { return tick_.load(); }
    // Fake time moves only when the test advances it: a waiting loop looks again soon.
    uint32_t MsUntilNextTick() override { return 1; }
    void Sleep(uint32_t ms) override { Advance(ms); }
    LocalTime Now() override { return now_; }

    void Advance(uint32_t ms) { tick_.fetch_add(ms); }
    void SetTick(uint32_t tick) { tick_.store(tick); }
    void SetNow(const LocalTime& now) { now_ = now; }

  private:
    Clock* previous_;
    std::atomic<uint32_t> tick_{0};
    LocalTime now_{};
};

}  // namespace platform
