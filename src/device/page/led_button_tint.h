#pragma once
// Tints the LED key buttons of a device page with their LEDs' colours.

#include <cstdint>

#include "duilib/ui_control.h"

namespace device {

// colour: red | blue << 8 | green << 16. Controls that are no LED tint target are left
// alone. The tint is stored; ShowLedTints draws it.
void SetLedButtonTint(DuiLib::CControlUI* button, uint32_t colour, uint8_t alpha, bool on);

// Repaints the LED buttons within `preview` (a page's LED picture) whose tint changed
// since they were last shown, and nothing else of it: an unchanged frame repaints nothing.
void ShowLedTints(DuiLib::CControlUI* preview);

}  // namespace device
