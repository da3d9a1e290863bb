#pragma once
// Tells one listener (the window renderer) that a window's desktop state changed: created,
// shown or hidden, enabled or disabled, moved, sized or retitled. The listener may be
// called on any thread that changes a window, and never with a window lock held.

#include <functional>

#include "platform/win_types.h"

namespace platform {

using WindowStateObserver = std::function<void(HWND)>;

// Replaces the listener; an empty function removes it.
void SetWindowStateObserver(WindowStateObserver observer);
void NotifyWindowStateChanged(HWND hwnd);

}  // namespace platform
