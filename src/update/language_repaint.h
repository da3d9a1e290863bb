#pragma once
// A window whose texts follow the language: after a language change it draws every text
// again.

#include "duilib/paint_manager.h"
#include "platform/win_types.h"

// Invalidates the window with erase and marks its root control and its paint manager for
// update.
void RepaintInNewLanguage(HWND window, DuiLib::CPaintManagerUI& manager);
