// The keyboard page's system settings: polling rate, repeat delay and rate, and the Win,
// W and six-key flags, stored in the keyboard's settings and profile; the polling rate
// and the flags are also written to the keyboard.

#include <algorithm>

#include "app/main_wnd/main_wnd.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/mouse/vornalix_mouse_device.h"

namespace {

// A number from a control's name or value is bounded before it is stored.
uint16_t StageValue(int n) {
    return static_cast<uint16_t>(std::clamp(n, 0, 0xFFFF));
}

}  // namespace

void CMainWnd::ChangeKeyboardStages(bool toDevice,
                                    const std::function<void(KeyboardSystemStages&)>& change) {
    CVornalixKeyboardDevice* keyboard = CurrentKeyboard();
    if (keyboard == nullptr) {
        return;
    }
    KeyboardSystemStages stages = keyboard->GetSystemStages();
    change(stages);
    keyboard->SetSystemStages(stages.repeat | static_cast<uint32_t>(stages.repeatDelay) << 16,
                              stages.key6Flag | static_cast<uint32_t>(stages.pollingRate) << 16,
                              stages.wFlag | static_cast<uint32_t>(stages.winFlag) << 16);
    keyboard->SaveProfile();
    if (toDevice) {
        keyboard->WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
    }
}

void CMainWnd::OnPollingRateOption(int n) {
    if (CurrentMouse() != nullptr) {
        OnMousePollingRate(n);
        return;
    }
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        keyboard->SelectPollingRateOption(n);
        ChangeKeyboardStages(true, [n](KeyboardSystemStages& s) { s.pollingRate = StageValue(n); });
    }
}

void CMainWnd::OnRepeatDelayOption(int n) {
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        keyboard->SelectRepeatDelayOption(n);
        ChangeKeyboardStages(false,
                             [n](KeyboardSystemStages& s) { s.repeatDelay = StageValue(n); });
    }
}

void CMainWnd::OnRepeatRate() {
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        const uint16_t rate = StageValue(keyboard->GetRepeatRate());
        ChangeKeyboardStages(false, [rate](KeyboardSystemStages& s) { s.repeat = rate; });
    }
}

void CMainWnd::OnWinLockOption() {
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        const uint16_t on = keyboard->IsWinFlagChecked() ? 1 : 0;
        ChangeKeyboardStages(true, [on](KeyboardSystemStages& s) { s.winFlag = on; });
    }
}

void CMainWnd::OnWFlagOption() {
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        const uint16_t on = keyboard->IsWFlagChecked() ? 1 : 0;
        ChangeKeyboardStages(true, [on](KeyboardSystemStages& s) { s.wFlag = on; });
    }
}

void CMainWnd::OnKey6FlagOption() {
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        const uint16_t on = keyboard->IsKey6FlagChecked() ? 1 : 0;
        ChangeKeyboardStages(true, [on](KeyboardSystemStages& s) { s.key6Flag = on; });
    }
}

void CMainWnd::OnRepeatTestReset() {
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        keyboard->ClearRepeatTestInput();
    }
}
