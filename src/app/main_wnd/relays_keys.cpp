// The key-assignment panel's actions and the key capture of the key edit, on the current
// keyboard or mouse.

#include <array>
#include <cstring>

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/page/function_tabs.h"
#include "device/vornalix_usb_device.h"
#include "duilib/ui_control.h"
#include "pages/key_set_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/panel_lookup.h"

using namespace DuiLib;

namespace {

std::array<uint32_t, 3> WordsOf(const KeyAssignRecord& record) {
    std::array<uint8_t, sizeof(KeyAssignRecord)> bytes{};
    std::memcpy(bytes.data(), &record, sizeof(record));
    std::array<uint32_t, 3> words{};
    for (size_t i = 0; i < bytes.size(); ++i) {
        words[i / 4] |= static_cast<uint32_t>(bytes[i]) << (8 * (i % 4));
    }
    return words;
}

}  // namespace

void CMainWnd::OnKeyButtonClick(int n) {
    CVornalixUSBDevice* device = GetCurrentDevice();
    if (device == nullptr || n < 0 || n >= device->GetKeyCount()) {
        return;
    }
    // The mouse's key tab holds its keys for assigning alone: a key clicked there brings up
    // the assignment panel, as its tip says.
    if (CurrentMouse() != nullptr && device->GetPageFunction() != device::kKeyAssignmentFunction) {
        OnFunctionTab(device::kKeyAssignmentFunction);
    }
    device->SelectKey(n);
}

void CMainWnd::OnKeyFunctionSelect() {
    if (CKeySetControlUI* panel = CurrentKeySetPanel()) {
        panel->OnFunctionSelect();
    }
}

void CMainWnd::OnMacroRunModeSelect() {
    // The repeat mode is read back with the rest of the function by the save that the
    // combo's selection runs next.
}

void CMainWnd::OnKeyAssignSave() {
    CKeySetControlUI* panel = CurrentKeySetPanel();
    if (panel == nullptr) {
        return;
    }
    const std::array<uint32_t, 3> words = WordsOf(panel->GetKeyFunctions());
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        keyboard->SetSelectedKeyAssignment(words[0], words[1], words[2]);
        keyboard->RefreshKeySetInfoList();
    } else if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        mouse->SetSelectedKeyAssignment(words[0], words[1], words[2]);
        mouse->RefreshKeySetInfoList();
    }
}

void CMainWnd::OnKeyAssignDefault() {
    if (CKeySetControlUI* panel = CurrentKeySetPanel()) {
        panel->RestoreDefaultFunction();
        OnKeyAssignSave();
    }
}

void CMainWnd::OnKeyAssignCancel() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    CKeySetControlUI* panel = CurrentKeySetPanel();
    if (device == nullptr || panel == nullptr) {
        return;
    }
    // Every choice on the panel took effect at once: cancelling gives the key back the
    // function it had when it was chosen, and ends its assignment (its mark goes).
    panel->CancelChanges();
    OnKeyAssignSave();
    device->SelectKey(-1);
}

void CMainWnd::OnKeyAssignSaveProfile() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    if (CVornalixKeyboardDevice* keyboard = CurrentKeyboard()) {
        keyboard->SetKeyAssignments(keyboard->GetKeyAssignments());
        keyboard->RefreshKeySetInfoList();
    } else if (CVornalixMouseDevice* mouse = CurrentMouse()) {
        mouse->SetKeyAssignments(mouse->GetKeyAssignments());
        mouse->RefreshKeySetInfoList();
    } else {
        return;
    }
    device->SaveProfile();
    if (device->CommandChannel().IsOpen() == 0) {
        ShowMsgBox(GetHWND(), L"", L"message_text_7", dpi_, true, 0);
        return;
    }
    if (device->ApplyKeyAssignments(0) != 1) {
        ShowMsgBox(GetHWND(), L"", L"message_text_16", dpi_, true, 0);
    }
}

void CMainWnd::RefreshKeySetInfoLists() {
    for (CVornalixUSBDevice* device : mice_) {
        if (auto* mouse = dynamic_cast<CVornalixMouseDevice*>(device)) {
            mouse->RefreshKeySetInfoList();
        }
    }
    for (CVornalixUSBDevice* device : keyboards_) {
        if (auto* keyboard = dynamic_cast<CVornalixKeyboardDevice*>(device)) {
            keyboard->RefreshKeySetInfoList();
        }
    }
}

void CMainWnd::OnModifierCheck(int) {
    // The panel's modifier checks are read with the rest of the function.
    OnKeyAssignSave();
}

void CMainWnd::OnHookSingleKey(WPARAM wParam, LPARAM lParam) {
    if (CKeySetControlUI* panel = CurrentKeySetPanel()) {
        panel->SetCapturedKey(wParam, lParam);
    }
}

void CMainWnd::EnableDeviceInput(bool applyToControls, bool enabled) {
    if (applyToControls) {
        if (CControlUI* list = m_pm.FindControl(L"device_select_layout")) {
            list->SetEnabled(enabled);
        }
        if (enabled) {
            recordingLock_.Unlock();
        } else {
            // The page takes no input while the hook records, but for the Stop button of
            // the recording: the one way to end it.
            CMacroControlUI* macro = CurrentMacroPanel();
            recordingLock_.Lock(
                GetCurrentDevice(),
                macro != nullptr ? FindNamedControl(macro, L"macro_btn_stopredio") : nullptr);
        }
    }
    // While the keyboard hook records, the key-assignment buttons are off with the rest.
    if (CKeySetControlUI* panel = CurrentKeySetPanel()) {
        panel->EnableSaveButtons(enabled);
    }
    deviceInputEnabled_ = enabled;
}
