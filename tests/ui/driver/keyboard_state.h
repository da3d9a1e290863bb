#pragma once
// What the simulated keyboard holds and what its profile file says, for the keyboard
// page's UI tests, and the colour a person sees at a point of a window.

#include <json/json.h>

#include <array>
#include <cstdint>
#include <vector>

#include "ui/driver/ui_driver.h"

namespace sim {
class SimKeyboard;
}

namespace ui {

sim::SimKeyboard* SimKeyboardOf(const UiDriver& ui);
// Waits until the program has started the keyboard (read its light block); false when
// it did not.
bool WaitForKeyboardStart(UiDriver& ui);
// The keyboard's light block of slot 0 as it now holds it (26 bytes).
std::array<uint8_t, 26> KeyboardLightBlock(const UiDriver& ui);
// The keyboard's per-key colour table of `slot`: {red, green, blue} per LED number.
std::vector<std::array<uint8_t, 3>> KeyboardKeyColours(const UiDriver& ui, int slot);
// How many LEDs of that table hold exactly `rgb`.
int CountKeyColours(const UiDriver& ui, int slot, std::array<uint8_t, 3> rgb);
// The keyboard's section ("Device"[0]) of the selected profile's file; null when unread.
Json::Value KeyboardProfile(const UiDriver& ui);

// {red, green, blue} of the pixel at `at` as last drawn.
std::array<int, 3> RgbAt(UiDriver& ui, HWND hwnd, POINT at);
// A point of a control's face: inside, clear of its corners and of its centred text.
POINT FaceOf(DuiLib::CControlUI* control);

}  // namespace ui
