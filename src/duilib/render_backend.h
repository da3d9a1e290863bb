#pragma once
// What the toolkit asks of a renderer. Layout is finished before Paint is called: a
// backend only draws the tree it is given (positions, texts, colours, images). The
// headless default draws nothing.

#include "platform/win_types.h"

namespace DuiLib {

class CPaintManagerUI;

class IRenderBackend {
  public:
    virtual ~IRenderBackend() = default;
    // The window of `manager` needs drawing; its layout is current.
    virtual void Paint(CPaintManagerUI& manager) = 0;
    // The window or its manager is going away (told once per painted manager); drop what
    // was kept for it.
    virtual void WindowDestroyed(CPaintManagerUI& /*manager*/) {}
};

}  // namespace DuiLib
