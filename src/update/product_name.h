#pragma once

// The product name: window title, registered product message, single-instance name,
// registry keys and per-user folder.
inline constexpr wchar_t kProductName[] = L"Velkaro";
