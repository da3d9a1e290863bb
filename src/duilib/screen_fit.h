#pragma once
// Where a window may open: fully inside one monitor's work area (its bounds less the
// desktop's panels), the one that holds what it opens from.

#include "platform/win_types.h"

namespace DuiLib {

// The work area of the monitor holding `point`, or of the nearest one.
RECT WorkAreaAt(POINT point);
// The work area a window owned by `owner` opens in: the monitor holding most of the owner
// while the owner is shown; else the one holding most of `hwnd` itself.
RECT WorkAreaFor(HWND hwnd, HWND owner);
// `rc` moved as little as it takes to lie inside `area`; a window larger than the area
// keeps its top-left corner in it and is cut to its size.
RECT KeptInside(const RECT& rc, const RECT& area);

}  // namespace DuiLib
