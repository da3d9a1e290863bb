#include "pages/device_hook.h"

#include "pages/key_usage_map.h"
#include "platform/clock.h"
#include "platform/window_messages.h"

namespace {

constexpr WPARAM kKeyDown = 0x0100;
constexpr WPARAM kKeyUp = 0x0101;

struct ModeMessages {
    int mode;
    int keyDown;
    int keyUp;
    int mouseDown;
    int mouseUp;
};

// Single-key capture tells presses and releases apart; a recording takes both alike.
constexpr ModeMessages kModeMessages[] = {
    {HookMode::kSingleKey, kHookKeySingleKey, kHookKeyHitKey, kHookMouSingleKey, kHookMouHitKey},
    {HookMode::kRecordAppend, kHookKeyKbMacro, kHookKeyKbMacro, kHookKeyMsMacro, kHookKeyMsMacro},
    {HookMode::kRecordBefore, kHookKeyKbMacroPrevious, kHookKeyKbMacroPrevious,
     kHookKeyMsMacroPrevious, kHookKeyMsMacroPrevious},
    {HookMode::kRecordAfter, kHookKeyKbMacroLater, kHookKeyKbMacroLater, kHookKeyMsMacroLater,
     kHookKeyMsMacroLater},
    {HookMode::kRecordReplace, kHookKeyKbMacroSingle, kHookKeyKbMacroSingle, kHookKeyMsMacroSingle,
     kHookKeyMsMacroSingle},
};

const ModeMessages* FindMode(int mode) {
    for (const ModeMessages& m : kModeMessages) {
        if (m.mode == mode) {
            return &m;
        }
    }
    return nullptr;
}

}  // namespace

CDeviceHook::CDeviceHook() : CDeviceHook(std::make_unique<EvdevKeySource>()) {}

CDeviceHook::CDeviceHook(std::unique_ptr<HookInputSource> globalSource)
    : ids_(RegisterHookMessages()), global_(std::move(globalSource)) {}

CDeviceHook::~CDeviceHook() {
    Uninstall();
}

int CDeviceHook::Install(int /*reserved*/, int mode, HWND target, int captureKeys,
                         int captureMouse) {
    if (target == nullptr || FindMode(mode) == nullptr) {
        return 0;
    }
    bool startGlobal = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        installed_ = true;
        target_ = target;
        mode_ = mode;
        keys_ = captureKeys != 0;
        mouse_ = captureMouse != 0;
        startGlobal = keys_ && global_ && !globalActive_;
    }
    if (startGlobal) {
        const bool started =
            global_->Start([this](uint8_t usage, bool down) { OnKey(usage, down, true); });
        std::lock_guard<std::mutex> lock(mutex_);
        globalActive_ = started;
    }
    return 1;
}

void CDeviceHook::Uninstall() {
    bool stopGlobal = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        installed_ = false;
        target_ = nullptr;
        modifiers_ = 0;
        held_.reset();
        stopGlobal = globalActive_;
        globalActive_ = false;
    }
    // Outside the lock: the source's thread may be waiting for it in OnKey.
    if (stopGlobal) {
        global_->Stop();
    }
}

bool CDeviceHook::IsInstalled() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return installed_;
}

bool CDeviceHook::IsGlobalCaptureActive() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return globalActive_;
}

void CDeviceHook::FeedKey(uint8_t usage, bool down) {
    OnKey(usage, down, false);
}

void CDeviceHook::FeedVirtualKey(uint32_t virtualKey, bool down, uint32_t keyData) {
    const uint8_t usage = HidUsageFromKeyMessage(virtualKey, keyData);
    if (usage != 0) {
        OnKey(usage, down, false);
    }
}

void CDeviceHook::OnKey(uint8_t usage, bool down, bool fromGlobal) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!installed_ || !keys_ || (fromGlobal && !globalActive_)) {
        return;
    }
    // Both sources hear a key typed into our own window: the first report of a press or
    // release counts, the other is a repeat or a release never pressed.
    if (down == held_.test(usage)) {
        return;
    }
    held_.set(usage, down);
    const uint8_t bit = ModifierBitOfUsage(usage);
    modifiers_ = down ? (modifiers_ | bit) : (modifiers_ & ~bit);
    const ModeMessages* messages = FindMode(mode_);
    HookInput input{false, down, usage, modifiers_, platform::TickCount()};
    Send(down ? messages->keyDown : messages->keyUp, down ? kKeyDown : kKeyUp, input);
}

void CDeviceHook::FeedMouseButton(uint8_t button, bool down) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!installed_ || !mouse_) {
        return;
    }
    const ModeMessages* messages = FindMode(mode_);
    HookInput input{true, down, button, modifiers_, platform::TickCount()};
    Send(down ? messages->mouseDown : messages->mouseUp, MouseMessage(button, down), input);
}

bool CDeviceHook::FeedWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr UINT kSysKeyDown = 0x0104, kSysKeyUp = 0x0105;
    constexpr UINT kChar = 0x0102, kSysChar = 0x0106;
    constexpr UINT kExtraDown = 0x020B, kExtraUp = 0x020C;
    switch (message) {
        case kKeyDown:
        case kSysKeyDown:
            FeedVirtualKey(static_cast<uint32_t>(wParam), true, static_cast<uint32_t>(lParam));
            return TakesKeys();
        case kKeyUp:
        case kSysKeyUp:
            FeedVirtualKey(static_cast<uint32_t>(wParam), false, static_cast<uint32_t>(lParam));
            return TakesKeys();
        case kChar:
        case kSysChar:
            return TakesKeys();
        case 0x0201:
            FeedMouseButton(1, true);
            return false;
        case 0x0202:
            FeedMouseButton(1, false);
            return false;
        case 0x0204:
            FeedMouseButton(2, true);
            return false;
        case 0x0205:
            FeedMouseButton(2, false);
            return false;
        case 0x0207:
            FeedMouseButton(4, true);
            return false;
        case 0x0208:
            FeedMouseButton(4, false);
            return false;
        case kExtraDown:
        case kExtraUp:
            // The high word names the extra button: 1 back, 2 forward.
            FeedMouseButton((wParam >> 16) == 2 ? 0x10 : 0x08, message == kExtraDown);
            return false;
        default:
            return false;
    }
}

bool CDeviceHook::TakesKeys() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return installed_ && keys_;
}

WPARAM CDeviceHook::MouseMessage(uint8_t button, bool down) {
    constexpr WPARAM kLeftDown = 0x0201, kRightDown = 0x0204, kMiddleDown = 0x0207;
    constexpr WPARAM kExtraDown = 0x020B;
    WPARAM message = kExtraDown;
    if (button == 1) {
        message = kLeftDown;
    } else if (button == 2) {
        message = kRightDown;
    } else if (button == 4) {
        message = kMiddleDown;
    }
    return down ? message : message + 1;
}

void CDeviceHook::Send(int messageIndex, WPARAM wParam, const HookInput& input) {
    // Posted, not sent: the global source's thread must never wait on the UI thread, which
    // may itself be waiting for that thread to stop.
    platform::PostMessage(target_, ids_[static_cast<size_t>(messageIndex)], wParam,
                          PackHookInput(input));
}
