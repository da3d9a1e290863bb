#pragma once
// The coarse ticks a light loop counts and the steps they make due, kept apart from the
// thread that counts them. A loop awake at every tick counts each one as it comes (Pass).
// A loop whose work is only ever looked at (a page's preview the device does not receive)
// may sleep instead: whoever is about to look, or to change what the steps read, first
// counts every tick since the last count (CatchUp), each as a pass at that tick would
// have, so the same steps run at the same ticks with the same inputs. A loop whose passes
// keep a fixed pace of milliseconds (LightLoopHooks::passMs) counts those passes instead,
// each at its moment since the count started.

#include <cstdint>

#include "platform/critical_section.h"

namespace device {

struct LightLoopHooks;

class LightTicks {
  public:
    // Counts from the present tick for a loop driven by `hooks` (which outlive the count).
    void Start(const LightLoopHooks& hooks);
    // The loop has stopped: nothing is counted until the next Start.
    void Stop();

    // One pass of an awake loop: a tick is counted when TickCount moved more than 1 ms
    // since the last one counted; the mode's step runs once the count reaches its
    // threshold; then the pass's own work (neither while the steps are held). Nothing
    // while the light synchronisation draws (false then).
    bool Pass();
    // Every tick since the last pass or catch-up, each as such a pass at that tick; only
    // while the hooks say the loop's work waits for its readers, and not while the steps
    // are held (the ticks wait for the next catch-up).
    void CatchUp();
    // Whether the loop's work waits for its readers now.
    bool OnDemand();

  private:
    void Count(uint32_t now);
    void StepIfDue(uint32_t now);
    bool StepsHeld() const;
    // The running count of the loop's moments (coarse ticks, or paced passes since the
    // start), and the tick TickCount read at one of them.
    uint64_t Serial() const;
    uint32_t TickOfSerial(uint64_t serial) const;
    // The light synchronisation drew while the moments up to `serial` went uncounted.
    void PassByForSync(uint64_t serial);

    platform::CriticalSection lock_;
    const LightLoopHooks* hooks_ = nullptr;
    uint32_t lastTick_ = 0;
    int tickCount_ = 0;
    uint64_t seenSerial_ = 0;
    uint32_t passMs_ = 0;
    uint64_t startMs_ = 0;
};

}  // namespace device
