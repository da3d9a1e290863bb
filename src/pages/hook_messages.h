#pragma once
// The twenty registered messages of the keyboard hook, in registration order. A hook
// message carries the event's own values: wParam the input message (WM_KEYDOWN, WM_KEYUP,
// WM_LBUTTONDOWN, ...) and lParam a packed HookInput, never a pointer.

#include <array>
#include <cstdint>

#include "platform/win_types.h"

inline constexpr int kHookMessageCount = 20;

enum HookMessageIndex : int {
    kHookKeySingleKey = 0,
    kHookKeyHitKey,
    kHookKeyKbMacro,
    kHookKeyMsMacro,
    kHookKeyKbMacroSingle,
    kHookKeyKbMacroPrevious,
    kHookKeyKbMacroLater,
    kHookMouSingleKey,
    kHookMouHitKey,
    kHookMouKbMacro,
    kHookMouMsMacro,
    kHookKeyMsMacroSingle,
    kHookKeyMsMacroPrevious,
    kHookKeyMsMacroLater,
    kHookMouseRButtonDown,
    kHookMouseLButtonUp,
    kHookMouseLButtonDown,
    kHookMouseRButtonUp,
    kHookMouseRButtonDownAgain,
    kHookMouseMove,
};

extern const wchar_t* const HookMessageNames[kHookMessageCount];

// Registers the names (the same name always yields the same id, so calling this again
// gives the same table).
std::array<UINT, kHookMessageCount> RegisterHookMessages();

// One input event as the hook reports it.
struct HookInput {
    bool mouse = false;     // a mouse button rather than a key
    bool down = false;      // pressed rather than released
    uint8_t code = 0;       // HID usage of the key, or the button's bit (1 left, 2 right,
                            // 4 middle, 8 back, 0x10 forward)
    uint8_t modifiers = 0;  // modifier bits held (bit 0 left Ctrl .. bit 7 right GUI)
    uint32_t time = 0;      // milliseconds, for the delays between recorded events

    friend bool operator==(const HookInput&, const HookInput&) = default;
};

LPARAM PackHookInput(const HookInput& input);
HookInput UnpackHookInput(LPARAM value);
