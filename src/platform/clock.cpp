#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/no_destructor.h"

namespace platform {
namespace {

SystemClock& TheSystemClock() {
    static NoDestructor<SystemClock> clock;
    return *clock;
}

constexpr uint64_t kCoarseTickMicroseconds = 15625;

uint64_t SteadyMicroseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

// The tick read at whole milliseconds, as the millisecond reading sees time: a tick then
// moves on at the millisecond its 15.625 ms boundary falls in, so that TickAtMs of a
// MonotonicMs reading is exactly what TickCount read at that moment (a reading just past a
// boundary would otherwise be given the tick before it).
uint64_t TickMicroseconds() {
    return SteadyMicroseconds() / 1000u * 1000u;
}

std::atomic<Clock*>& InstalledClock() {
    static std::atomic<Clock*> installed{nullptr};
    return installed;
}

}  // namespace

uint32_t CoarseTickFromMicroseconds(uint64_t microseconds) {
    // The Windows tick advances 15.625 ms (1/64 s) at a time: 15 or 16 ms steps.
    return CoarseTickAtSerial(microseconds / kCoarseTickMicroseconds);
}

uint32_t CoarseTickAtSerial(uint64_t serial) {
    return static_cast<uint32_t>(serial * 125u / 8u);
}

uint32_t MsUntilNextCoarseTick(uint64_t microseconds) {
    const uint64_t left = kCoarseTickMicroseconds - microseconds % kCoarseTickMicroseconds;
    return static_cast<uint32_t>((left + 999u) / 1000u);
}

uint32_t SystemClock::TickCount() {
    return CoarseTickFromMicroseconds(TickMicroseconds());
}

uint32_t SystemClock::MsUntilNextTick() {
    return MsUntilNextCoarseTick(TickMicroseconds());
}

uint64_t SystemClock::TickSerial() {
    return TickMicroseconds() / kCoarseTickMicroseconds;
}

uint32_t SystemClock::TickAtSerial(uint64_t serial) {
    return CoarseTickAtSerial(serial);
}

uint64_t SystemClock::MonotonicMs() {
    return SteadyMicroseconds() / 1000u;
}

uint32_t SystemClock::TickAtMs(uint64_t ms) {
    return CoarseTickFromMicroseconds(ms * 1000u);
}

void SystemClock::Sleep(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

LocalTime SystemClock::Now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    std::tm parts{};
    localtime_r(&seconds, &parts);
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.dayOfWeek = parts.tm_wday;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    t.milliseconds = static_cast<int>(ms.count());
    return t;
}

Clock& CurrentClock() {
    Clock* installed = InstalledClock().load();
    return installed != nullptr ? *installed : TheSystemClock();
}

Clock* InstallClock(Clock* clock) {
    return InstalledClock().exchange(clock);
}

uint32_t TickCount() {
    return CurrentClock().TickCount();
}
uint32_t MsUntilNextTick() {
    return CurrentClock().MsUntilNextTick();
}
uint64_t TickSerial() {
    return CurrentClock().TickSerial();
}
uint32_t TickAtSerial(uint64_t serial) {
    return CurrentClock().TickAtSerial(serial);
}
uint64_t MonotonicMs() {
    return CurrentClock().MonotonicMs();
}
uint32_t TickAtMs(uint64_t ms) {
    return CurrentClock().TickAtMs(ms);
}
void Sleep(uint32_t ms) {
    CurrentClock().Sleep(ms);
}
LocalTime GetLocalTime() {
    return CurrentClock().Now();
}

}  // namespace platform
