#pragma once
// The keyboard hook of the main window: while installed, every key (and, when asked,
// mouse-button) event is sent to the target window as one of the registered hook
// messages, chosen by the hook mode. Events come from the program's own windows (their
// key and mouse-button messages are fed in) and, where /dev/input keyboards are readable,
// from a global key source.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <mutex>

#include "pages/evdev_key_source.h"
#include "pages/hook_messages.h"

// The hook modes: single-key capture, and the places a recording inserts its events.
namespace HookMode {
inline constexpr int kSingleKey = 1;
inline constexpr int kRecordAppend = 4;
inline constexpr int kRecordBefore = 8;
inline constexpr int kRecordAfter = 16;
inline constexpr int kRecordReplace = 32;
}  // namespace HookMode

class CDeviceHook {
  public:
    // The global key source of the desktop; tests pass their own or none.
    CDeviceHook();
    explicit CDeviceHook(std::unique_ptr<HookInputSource> globalSource);
    ~CDeviceHook();
    CDeviceHook(const CDeviceHook&) = delete;
    CDeviceHook& operator=(const CDeviceHook&) = delete;

    // Installs (or re-targets) the hook. captureKeys and captureMouse say which events
    // are reported. 1 installed; 0 for no target window or an unknown mode.
    int Install(int reserved, int mode, HWND target, int captureKeys, int captureMouse);
    void Uninstall();
    bool IsInstalled() const;
    // True while the global source delivers the keys.
    bool IsGlobalCaptureActive() const;

    // Events of the program's own windows. A key the global source reported already counts
    // once.
    void FeedKey(uint8_t usage, bool down);
    // keyData: the key message's lParam, which tells keys of one virtual-key code apart.
    void FeedVirtualKey(uint32_t virtualKey, bool down, uint32_t keyData = 0);
    // button: 1 left, 2 right, 4 middle, 8 back, 0x10 forward.
    void FeedMouseButton(uint8_t button, bool down);
    // A window message of the program's own windows: key and mouse-button messages are fed
    // in, everything else is ignored. True when the message belongs to the hook alone: a
    // key (or the character it types) while the hook takes keys, which the window must not
    // act on too (a typed Tab and Space would otherwise press a button of the page).
    bool FeedWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    bool TakesKeys() const;
    void OnKey(uint8_t usage, bool down, bool fromGlobal);
    void Send(int messageIndex, WPARAM wParam, const HookInput& input);
    static WPARAM MouseMessage(uint8_t button, bool down);

    mutable std::mutex mutex_;
    std::array<UINT, kHookMessageCount> ids_;
    std::unique_ptr<HookInputSource> global_;
    bool globalActive_ = false;
    bool installed_ = false;
    HWND target_ = nullptr;
    int mode_ = 0;
    bool keys_ = false;
    bool mouse_ = false;
    uint8_t modifiers_ = 0;
    // Keys held down: the repeats of a held key are not new presses.
    std::bitset<256> held_;
};
