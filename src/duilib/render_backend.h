#pragma once
// What the toolkit asks of a renderer. Layout is finished before Paint is called: a
// backend only draws the tree it is given (positions, texts, colours, images), and only
// where it was invalidated. The headless default draws nothing.

#include <span>

#include "duilib/dui_string.h"
#include "platform/win_types.h"

namespace DuiLib {

class CPaintManagerUI;

class IRenderBackend {
  public:
    virtual ~IRenderBackend() = default;
    // The parts `dirty` of the window of `manager` need drawing (client pixels, never
    // empty, each within the client area); its layout is current. Everything outside them
    // still shows the tree as it is.
    virtual void Paint(CPaintManagerUI& manager, std::span<const RECT> dirty) = 0;
    // The window or its manager is going away (told once per painted manager); drop what
    // was kept for it.
    virtual void WindowDestroyed(CPaintManagerUI& /*manager*/) {}
    // The size `text` takes on one line in font `font` (-1: the default) of `manager`, as
    // drawn; {0, 0} when the backend draws no text (its callers estimate then).
    virtual SIZE MeasureText(CPaintManagerUI& /*manager*/, const CDuiString& /*text*/,
                             int /*font*/) {
        return SIZE{};
    }
};

}  // namespace DuiLib
