#pragma once
// Tints an LED's key button on the device page with the LED's colour.

#include <cstdint>

#include "duilib/ui_control.h"

namespace device {

// colour: red | blue << 8 | green << 16. Controls that are no LED tint target are left
// alone.
void SetLedButtonTint(DuiLib::CControlUI* button, uint32_t colour, uint8_t alpha, bool on);

}  // namespace device
