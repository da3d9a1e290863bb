#include "pages/hook_messages.h"

#include "platform/window_messages.h"

const wchar_t* const HookMessageNames[kHookMessageCount] = {
    L"WM_HOOK_KEY_SINGLEKEY_MSG",       L"WM_HOOK_KEY_HITKEY_MSG",
    L"WM_HOOK_KEY_KBMACRO_MSG",         L"WM_HOOK_KEY_MSMACRO_MSG",
    L"WM_HOOK_KEY_KBMACROSINGLE_MSG",   L"WM_HOOK_KEY_KBMACROPREVIOUS_MSG",
    L"WM_HOOK_KEY_KBMACROLATER_MSG",    L"WM_HOOK_MOU_SINGLEKEY_MSG",
    L"WM_HOOK_MOU_HITKEY_MSG",          L"WM_HOOK_MOU_KBMACRO_MSG",
    L"WM_HOOK_MOU_MSMACRO_MSG",         L"WM_HOOK_KEY_MSMACROSINGLE_MSG",
    L"WM_HOOK_KEY_MSMACROPREVIOUS_MSG", L"WM_HOOK_KEY_MSMACROLATER_MSG",
    L"UWM_MOUSERBUTTONDOWN_USER_MSG",   L"UWM_MOUSELBUTTONUP_USER_MSG",
    L"UWM_MOUSELBUTTONDOWN_USER_MSG",   L"UWM_MOUSERBUTTONUP_USER_MSG",
    L"UWM_MOUSERBUTTONDOWN_USER_MSG",   L"UWM_MOUSEMOVE_USER_MSG",
};

std::array<UINT, kHookMessageCount> RegisterHookMessages() {
    std::array<UINT, kHookMessageCount> ids{};
    for (int i = 0; i < kHookMessageCount; ++i) {
        ids[static_cast<size_t>(i)] = platform::RegisterWindowMessage(HookMessageNames[i]);
    }
    return ids;
}

// The event time travels in the upper half of lParam.
static_assert(sizeof(LPARAM) >= 8);

namespace {
constexpr uint64_t kMouseBit = 1u << 16;
constexpr uint64_t kDownBit = 1u << 17;
}  // namespace

LPARAM PackHookInput(const HookInput& input) {
    uint64_t value = input.code | static_cast<uint64_t>(input.modifiers) << 8;
    value |= input.mouse ? kMouseBit : 0;
    value |= input.down ? kDownBit : 0;
    value |= static_cast<uint64_t>(input.time) << 32;
    return static_cast<LPARAM>(value);
}

HookInput UnpackHookInput(LPARAM packed) {
    const auto value = static_cast<uint64_t>(packed);
    HookInput input;
    input.code = static_cast<uint8_t>(value);
    input.modifiers = static_cast<uint8_t>(value >> 8);
    input.mouse = (value & kMouseBit) != 0;
    input.down = (value & kDownBit) != 0;
    input.time = static_cast<uint32_t>(value >> 32);
    return input;
}
