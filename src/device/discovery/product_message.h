#pragma once
// The product's registered message WM_APP_PRODUCT: discovery posts it once after its first
// complete scan, and a second instance broadcasts it; either brings the window up.

#include "platform/win_types.h"
#include "platform/window_messages.h"

inline constexpr const wchar_t* kProductMessageName = L"Velkaro";

// The same name always yields the same id, so every caller gets WM_APP_PRODUCT.
inline UINT RegisterProductMessage() {
    return RegisterWindowMessageW(kProductMessageName);
}
