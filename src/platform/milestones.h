#pragma once
// Moments the start and plug latency benchmarks time (the first frame on screen, a device
// plugged, its entry shown). Written only when VELKARO_MILESTONES names a file: one line
// "<name> <wall-clock microseconds>" per moment, appended. Costs one getenv otherwise.

#include <string_view>

namespace platform {

// Whether milestones are written (callers may skip building a name otherwise).
bool MilestonesWanted();
void Milestone(std::string_view name);

}  // namespace platform
