#pragma once
// The message the renderer posts to its own pump window, and what it asks for.

#include "platform/window_messages.h"

namespace DuiLib::sdl {

enum PumpRequest : WPARAM { kPumpDrain = 1, kPumpScreenshot = 2, kPumpDisplayLost = 3 };

inline UINT PumpMessage() {
    static const UINT id = platform::RegisterWindowMessage(L"Velkaro.RenderPump");
    return id;
}

}  // namespace DuiLib::sdl
