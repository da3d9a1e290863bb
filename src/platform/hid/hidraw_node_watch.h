#pragma once
// Whether the hidraw nodes of a device folder may have changed: a node came or went, or its
// owner or rights changed (udev applies its rule to a node just after it appears). An
// inotify watch on the folder, read without blocking, so that asking costs one read.

#include <cstddef>
#include <span>
#include <string>

#include "platform/unique_fd.h"

namespace platform::hid {

class HidrawNodeWatch {
  public:
    // Watches `devRoot`; Broken() at once when that cannot be set up.
    explicit HidrawNodeWatch(const std::string& devRoot);

    // The watch can no longer tell: it could not be set up, events were unreadable, or
    // the folder went away.
    bool Broken() const { return !fd_.valid(); }
    // Takes in what happened since the last call. True when a hidraw node changed, events
    // were lost, or the watch broke.
    bool Changed();

  private:
    UniqueFd fd_;
};

struct HidrawNodeEvents {
    bool changed = false;
    bool broken = false;
};
// What one read of inotify events says; `bytes` as read() gave them. A record cut short
// is taken as a change.
HidrawNodeEvents ReadHidrawNodeEvents(std::span<const std::byte> bytes);

}  // namespace platform::hid
