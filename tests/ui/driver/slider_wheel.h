#pragma once
// A slider turned as a person turns it: with the wheel over it.

#include "ui/driver/ui_driver.h"

namespace ui {

// Turns the slider with the wheel over it, a notch at a time, until its thumb shows
// `value`. False when it does not get there.
bool WheelSliderTo(UiDriver& ui, DuiLib::CControlUI* slider, int value);

// The value a slider's thumb shows; -1 for a control that is no slider.
int SliderValue(DuiLib::CControlUI* slider);

}  // namespace ui
