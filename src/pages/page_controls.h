#pragma once
// The program's own control classes by the names layout files give them.

#include "duilib/ui_defs.h"

// A new control of one of the program's own classes (names compared without regard to
// case), or null for any other name.
DuiLib::CControlUI* CreatePageControl(LPCTSTR className);

// Registers every class with the toolkit's control factory; the program calls it once at
// start, before any page layout is built.
void RegisterPageControls();
