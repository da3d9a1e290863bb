#pragma once
// A page's key and LED buttons, each bound to the slot its name numbers ("light_3" is LED
// 3), whatever order the layout lists them in.

#include <cstddef>
#include <vector>

#include "duilib/ui_control.h"

namespace device {

// Beyond any device's keys or LEDs: a name cannot make a slot list grow without bound.
inline constexpr int kMaxButtonSlots = 256;

// Puts `button` at slot n of `slots`; false, nothing changed, for an n outside them.
bool PutButtonAt(std::vector<DuiLib::CControlUI*>& slots, int n, DuiLib::CControlUI* button);
// As PutButtonAt, first growing `slots` with empty slots to hold slot n when n is below
// kMaxButtonSlots.
bool PutButtonGrowing(std::vector<DuiLib::CControlUI*>& slots, int n, DuiLib::CControlUI* button);

}  // namespace device
