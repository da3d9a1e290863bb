#pragma once
// Time as the application sees it: a tick counter with the coarse 15.625 ms steps of the
// Windows tick (the effect speeds depend on it), sleeping, and the local time. Tests
// install a FakeClock.

#include <cstdint>

namespace platform {

struct LocalTime {
    int year = 0, month = 0, dayOfWeek = 0, day = 0;
    int hour = 0, minute = 0, second = 0, milliseconds = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;
    // Milliseconds to wait from now until TickCount has moved on (at least 1).
    virtual uint32_t MsUntilNextTick() = 0;
    // The ticks as a running count: TickSerial moves on by one each time TickCount moves
    // on, and TickAtSerial gives what TickCount read at an earlier serial. A loop that slept
    // through ticks counts them afterwards from these, as if it had seen each one.
    virtual uint64_t TickSerial() = 0;
    virtual uint32_t TickAtSerial(uint64_t serial) = 0;
    // A monotonic millisecond reading, for work paced finer than the tick; TickAtMs gives
    // what TickCount read at an earlier such reading.
    virtual uint64_t MonotonicMs() = 0;
    virtual uint32_t TickAtMs(uint64_t ms) = 0;
    virtual void Sleep(uint32_t ms) = 0;
    virtual LocalTime Now() = 0;
};

class SystemClock final : public Clock {
  public:
    uint32_t TickCount() override;
    uint32_t MsUntilNextTick() override;
    uint64_t TickSerial() override;
    uint32_t TickAtSerial(uint64_t serial) override;
    uint64_t MonotonicMs() override;
    uint32_t TickAtMs(uint64_t ms) override;
    void Sleep(uint32_t ms) override;
    LocalTime Now() override;
};

// Returns the process clock: the system clock unless a test installed another.
Clock& CurrentClock();
// Installs `clock` (nullptr restores the system clock); returns the previous one.
Clock* InstallClock(Clock* clock);

uint32_t TickCount();
uint32_t MsUntilNextTick();
uint64_t TickSerial();
uint32_t TickAtSerial(uint64_t serial);
uint64_t MonotonicMs();
uint32_t TickAtMs(uint64_t ms);
void Sleep(uint32_t ms);
LocalTime GetLocalTime();

// Milliseconds since an arbitrary start, rounded down to the 15.625 ms tick.
uint32_t CoarseTickFromMicroseconds(uint64_t microseconds);
// TickCount at the `serial`th coarse tick since that start.
uint32_t CoarseTickAtSerial(uint64_t serial);
// Whole milliseconds from `microseconds` to the next 15.625 ms tick, rounded up.
uint32_t MsUntilNextCoarseTick(uint64_t microseconds);

}  // namespace platform
