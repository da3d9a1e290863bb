#pragma once
// What the settings window and the main window tell each other, and the result an update
// program outside this one announces (registered by name, the same id in every program).

#include "platform/win_types.h"

inline constexpr wchar_t kUpdateResultMessageName[] = L"{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
// wParam: the language index chosen (to the main window), or 0 (from it: texts changed).
inline constexpr UINT kLanguageChangedMessage = 0xC11;
// The settings window has shown the update state: the main window's mark for it goes.
inline constexpr UINT kUpdateStatusMessage = 0xC16;
