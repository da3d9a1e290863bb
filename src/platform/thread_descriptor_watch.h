#pragma once
// A thread's message wait that also watches one descriptor (the display connection), so
// that the thread sleeps in GetMessage until a message, a timer or input on the descriptor
// arrives, with no helper thread polling for it.

#include <functional>

#include "platform/window_registry.h"

namespace platform {

// From now on the calling thread's GetMessage also wakes for input on `fd` while the watch
// is armed: `onReadable` then runs on this thread, inside GetMessage, and the watch
// disarms until it is armed again. Input the thread reads itself between two armings (the
// reply it waits for) wakes nobody, and unread input never makes the loop spin. A
// descriptor that fails or hangs up is told once and no longer watched. fd -1 ends the
// watch. False when the descriptor cannot be watched (no wake-up descriptor could be
// made); the wait is then the plain one.
bool WatchThreadDescriptor(int fd, std::function<void()> onReadable);
// Arms (or disarms) the calling thread's watch; nothing without one.
void ArmThreadDescriptorWatch(bool armed);

namespace detail {

// GetMessage's wait while the watch is armed: until `next` (a timer), a change to the
// queue, or input on the descriptor, whose handler it runs.
void WaitWatching(ThreadQueue& queue, SteadyTime next);

}  // namespace detail
}  // namespace platform
