#pragma once
// Desktop keys as the virtual-key codes the toolkit's controls expect.

#include <SDL.h>

#include "platform/win_types.h"

namespace DuiLib::sdl {

// 0 for keys the toolkit has no code for.
WPARAM VirtualKeyFor(SDL_Keycode key);
// The scan code and extended-key flag (lParam bits 16..23 and 24) a desktop key message
// carries for the keys that share their virtual-key code with another: the left and right
// Shift, Ctrl and Alt, and Enter beside the keypad's Enter. 0 for every other key.
LPARAM KeyDataFor(SDL_Keycode key);
// The character a key also types as WM_CHAR (Backspace, Tab, Enter, Escape); 0 otherwise.
wchar_t ControlCharFor(SDL_Keycode key);

}  // namespace DuiLib::sdl
