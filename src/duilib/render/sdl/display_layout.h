#pragma once
// The desktop's monitors as SDL's video subsystem sees them, handed to the window layer
// (the DPI rule and the centring of windows read them from there).

namespace DuiLib::sdl {

// Reads every display's bounds and usable bounds; true when the monitors changed.
bool ReadDisplayLayout();

}  // namespace DuiLib::sdl
