#pragma once
// Desktop keys as the virtual-key codes the toolkit's controls expect.

#include <SDL.h>

#include "platform/win_types.h"

namespace DuiLib::sdl {

// 0 for keys the toolkit has no code for.
WPARAM VirtualKeyFor(SDL_Keycode key);
// The character a key also types as WM_CHAR (Backspace, Tab, Enter, Escape); 0 otherwise.
wchar_t ControlCharFor(SDL_Keycode key);

}  // namespace DuiLib::sdl
