#pragma once
// The program's window messages: the registered ones (ids handed out at start from their
// names, the same in every program that registers the same name) and the private ones.

#include <array>

#include "platform/win_types.h"
#include "update/product_name.h"
#include "update/update_messages.h"

inline constexpr wchar_t kLightControlAnnounceMessageName[] =
    L"{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr wchar_t kLightControlRequestMessageName[] =
    L"{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
inline constexpr wchar_t kConfigQueryMessageName[] = L"{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";

struct RegisteredMessages {
    UINT product = 0;                // WM_APP_PRODUCT
    UINT updateResult = 0;           // WM_UPDATE_RESULT
    UINT lightControlAnnounce = 0;   // WM_LIGHT_CONTROL_ANNOUNCE
    UINT lightControlRequest = 0;    // WM_LIGHT_CONTROL_REQUEST
    UINT configQuery = 0;            // WM_CONFIG_QUERY
    std::array<UINT, 20> hook = {};  // in HookMessageNames order
};

// Registers every message on first use; the ids never change afterwards.
const RegisteredMessages& AppMessages();

// Private messages.
inline constexpr UINT WM_TRAY_NOTIFY = 0x401;
inline constexpr UINT WM_KEY_CAPTURE = 0x41E;
inline constexpr UINT WM_MENUCLICK = 0x479;
inline constexpr UINT WM_SHOW_SETTING_PROGRESS = 0xC00;
inline constexpr UINT WM_LANGUAGE_CHANGED = kLanguageChangedMessage;
inline constexpr UINT WM_OPEN_UPDATE_SETTINGS = 0xC15;
inline constexpr UINT WM_UPDATE_STATUS = kUpdateStatusMessage;
