// The mouse page's settings: DPI stages, polling rate, pointer, scroll and double-click
// settings, stored in the mouse's settings and profile and written to the mouse.

#include <algorithm>

#include "app/main_wnd/main_wnd.h"
#include "device/mouse/vornalix_mouse_device.h"

namespace {

// Stage numbers come from control names; a name cannot make the stage list grow without
// bound.
constexpr int kMaxDpiStages = 16;

bool IsStageNumber(int n) {
    return n >= 0 && n < kMaxDpiStages;
}

uint16_t Stage(int value) {
    return static_cast<uint16_t>(std::clamp(value, 0, 0xFFFF));
}

void SetStageValue(DpiStageRecord& stage, int value) {
    const uint16_t v = Stage(value);
    stage.dpiX[0] = static_cast<uint8_t>(v);
    stage.dpiX[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

CVornalixMouseDevice* CMainWnd::CurrentMouse() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    return device != nullptr && device->GetDeviceType() == device::kMouseDevice
               ? dynamic_cast<CVornalixMouseDevice*>(device)
               : nullptr;
}

void CMainWnd::WriteMouseSettings(CVornalixMouseDevice& mouse, bool toDevice) {
    mouse.SaveProfile();
    if (toDevice) {
        mouse.WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
    }
}

void CMainWnd::OnDisplaySizeChange() {
    if (!TakeScreenSize()) {
        return;
    }
    // What the mouse holds must follow the screen, not only the next change of a setting.
    for (CVornalixUSBDevice* device : mice_) {
        if (device != nullptr && device->CommandChannel().IsOpen() != 0) {
            device->WriteDeviceSettings(0, 0, 1, MainScreenWidth(), MainScreenHeight());
        }
    }
}

void CMainWnd::OnDpiStageEnable(int n) {
    CVornalixMouseDevice* mouse = CurrentMouse();
    if (mouse == nullptr || !IsStageNumber(n)) {
        return;
    }
    const bool on = mouse->IsDpiStageEnabled(n);
    mouse->EnableDpiStage(n, on ? 1 : 0);
    std::vector<DpiStageRecord> stages = mouse->GetDpiStages();
    if (static_cast<size_t>(n) >= stages.size()) {
        return;  // no such stage is stored
    }
    stages[static_cast<size_t>(n)].enabled = on ? 1 : 0;
    mouse->SetDpiStages(stages);
    WriteMouseSettings(*mouse, true);
}

void CMainWnd::StoreDpiStageValue(int n, int value) {
    CVornalixMouseDevice* mouse = CurrentMouse();
    if (mouse == nullptr || !IsStageNumber(n)) {
        return;
    }
    std::vector<DpiStageRecord> stages = mouse->GetDpiStages();
    if (static_cast<size_t>(n) >= stages.size()) {
        return;  // the profile has no such stage: it is not added behind the user's back
    }
    mouse->SetDpiStageValue(n, value);
    SetStageValue(stages[static_cast<size_t>(n)], value);
    mouse->SetDpiStages(stages);
    WriteMouseSettings(*mouse, true);
}

void CMainWnd::OnDpiSliderChange(int n) {
    if (CVornalixMouseDevice* mouse = CurrentMouse(); mouse != nullptr && IsStageNumber(n)) {
        StoreDpiStageValue(n, mouse->GetDpiStageValue(n));
    }
}

void CMainWnd::OnDpiSliderMove(int n) {
    if (CVornalixMouseDevice* mouse = CurrentMouse(); mouse != nullptr && IsStageNumber(n)) {
        mouse->SetDpiStageValue(n, mouse->GetDpiStageValue(n));
    }
}

void CMainWnd::OnDpiEditDone(int n) {
    CVornalixMouseDevice* mouse = CurrentMouse();
    if (mouse == nullptr || !IsStageNumber(n)) {
        return;
    }
    const int multiplier = mouse->Capabilities().DpiStepMultiplier();
    if (multiplier == 0) {
        return;  // a mouse that reports no step cannot take a typed DPI
    }
    StoreDpiStageValue(n, mouse->GetDpiEditValue(n) / multiplier);
}

void CMainWnd::ChangeMouseStages(bool toDevice,
                                 const std::function<void(MouseSystemStages&)>& change) {
    CVornalixMouseDevice* mouse = CurrentMouse();
    if (mouse == nullptr) {
        return;
    }
    MouseSystemStages stages = mouse->GetSystemStages();
    change(stages);
    mouse->SetSystemStages(stages);
    WriteMouseSettings(*mouse, toDevice);
}

void CMainWnd::OnMousePollingRate(int n) {
    if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        mouse->SelectPollingRateOption(n);
        ChangeMouseStages(true, [n](MouseSystemStages& s) { s.reportRate = Stage(n); });
    }
}

void CMainWnd::OnPointerPrecision() {
    if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        const uint16_t on = mouse->IsPointerPrecisionChecked() ? 1 : 0;
        ChangeMouseStages(false, [on](MouseSystemStages& s) { s.pointerPrecision = on; });
    }
}

void CMainWnd::OnScrollSettings(bool pageFromCheck) {
    CVornalixMouseDevice* mouse = CurrentMouse();
    if (mouse == nullptr) {
        return;
    }
    const int lines = mouse->GetScrollSpeed();
    const int page = pageFromCheck && mouse->IsScrollPageChecked() ? 1 : 0;
    mouse->SetScrollSettings(page, lines);
    ChangeMouseStages(false, [page, lines](MouseSystemStages& s) {
        s.scrollPage = Stage(page);
        s.wheelScrollLines = Stage(lines);
    });
}

void CMainWnd::OnPointerSpeed() {
    if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        const uint16_t speed = Stage(mouse->GetPointerSpeed());
        ChangeMouseStages(false, [speed](MouseSystemStages& s) { s.mouseSpeed = speed; });
    }
}

void CMainWnd::OnDoubleClickSpeed() {
    if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        const uint16_t time = Stage(mouse->GetDoubleClickSpeed());
        ChangeMouseStages(false, [time](MouseSystemStages& s) { s.doubleClickTime = time; });
    }
}

void CMainWnd::OnMouseSettingTab(int n) {
    if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        mouse->SelectSettingTab(n);
    }
}
