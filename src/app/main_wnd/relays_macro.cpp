// The macro editor's actions on the current keyboard or mouse, recording from the keyboard
// hook, and the hook's events on their way into the recording.

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "device/vornalix_usb_device.h"
#include "duilib/ui_control.h"
#include "pages/device_hook.h"
#include "pages/key_set_control_ui.h"
#include "pages/macro_control_ui.h"
#include "pages/panel_lookup.h"

using namespace DuiLib;

namespace {

constexpr int kRecordTimeDelay = 2;
constexpr int kMeasuredDelay = 1;

}  // namespace

void CMainWnd::StartMacroRecording(int delayMode, int insertKind) {
    CMacroControlUI* macro = CurrentMacroPanel();
    if (macro == nullptr) {
        return;
    }
    macro->StartRecording(delayMode, insertKind);
    SetRecordingHook(insertKind, true, 1, 1);
}

void CMainWnd::SetRecordingHook(int mode, bool install, int captureKeys, int captureMouse) {
    if (install) {
        deviceHook_.Install(0, mode, GetHWND(), captureKeys, captureMouse);
    } else {
        deviceHook_.Uninstall();
    }
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        SetNamedEnabled(macro, L"macro_btn_starredio", !install);
        SetNamedEnabled(macro, L"macro_btn_stopredio", install);
    }
    EnableDeviceInput(true, !install);
}

void CMainWnd::OnStartRecordClick() {
    CMacroControlUI* macro = CurrentMacroPanel();
    if (macro == nullptr) {
        return;
    }
    StartMacroRecording(macro->IsRecordTimeChecked() ? kRecordTimeDelay : kMeasuredDelay,
                        HookMode::kRecordAppend);
}

void CMainWnd::OnStopRecordClick() {
    StopMacroRecording();
}

void CMainWnd::StopMacroRecording() {
    if (GetCurrentDevice() == nullptr) {
        return;
    }
    CMacroControlUI* macro = CurrentMacroPanel();
    if (macro != nullptr) {
        macro->StopRecording();
    }
    SetRecordingHook(0, false, 0, 0);
    if (macro != nullptr) {
        macro->SaveMacro();
        UploadMacrosOfCurrentDevice();
    }
}

void CMainWnd::UploadMacrosOfCurrentDevice() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    if (device == nullptr || device->CommandChannel().IsOpen() == 0) {
        return;
    }
    // A positive result: the image is longer than the device's macro memory, nothing sent.
    if (device->UploadMacros() != 0) {
        ShowMsgBox(GetHWND(), L"", L"message_text_16", dpi_, true, 0);
    }
}

namespace {

// The macro names changed: the key panel's macro choice lists them again.
void RefillMacroCombo(CVornalixUSBDevice* device) {
    CMacroControlUI* macro = MacroPanelOf(device);
    CKeySetControlUI* keys = KeySetPanelOf(device);
    if (macro != nullptr && keys != nullptr) {
        keys->FillMacroCombo(macro->GetMacroNames());
    }
}

}  // namespace

void CMainWnd::OnMacroAdd() {
    if (CMacroControlUI* macro = CurrentMacroPanel(); macro != nullptr && macro->AddMacro()) {
        RefillMacroCombo(GetCurrentDevice());
    }
}

void CMainWnd::OnMacroDelete() {
    CMacroControlUI* macro = CurrentMacroPanel();
    if (macro == nullptr) {
        return;
    }
    const int deleted = macro->GetSelectedMacro();
    if (macro->DeleteMacro()) {
        RefillMacroCombo(GetCurrentDevice());
        GetCurrentDevice()->RefreshKeyPage(deleted);
        UploadMacrosOfCurrentDevice();
    }
}

void CMainWnd::OnMacroRename() {
    CMacroControlUI* macro = CurrentMacroPanel();
    if (macro == nullptr) {
        return;
    }
    CControlUI* edit = FindNamedControl(macro, L"macro_name_edit");
    if (edit != nullptr && macro->RenameMacro(edit->GetText())) {
        RefillMacroCombo(GetCurrentDevice());
    }
}

void CMainWnd::OnMacroSave() {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        macro->SaveMacro();
        UploadMacrosOfCurrentDevice();
    }
}

void CMainWnd::OnMacroCancel() {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        macro->CancelEdit();
    }
}

template <typename Edit>
void CMainWnd::EditAndSave(Edit edit) {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        edit(*macro);
        macro->SaveMacro();
        UploadMacrosOfCurrentDevice();
    }
}

void CMainWnd::OnMacroActionUp() {
    EditAndSave([](CMacroControlUI& m) { m.MoveEventUp(); });
}
void CMainWnd::OnMacroActionDown() {
    EditAndSave([](CMacroControlUI& m) { m.MoveEventDown(); });
}
void CMainWnd::OnMacroActionToTop() {
    EditAndSave([](CMacroControlUI& m) { m.MoveEventToTop(); });
}
void CMainWnd::OnMacroActionToBottom() {
    EditAndSave([](CMacroControlUI& m) { m.MoveEventToBottom(); });
}
void CMainWnd::OnMacroActionDelete() {
    EditAndSave([](CMacroControlUI& m) { m.DeleteEvent(); });
}
void CMainWnd::OnMacroActionDeleteAll() {
    EditAndSave([](CMacroControlUI& m) { m.DeleteAllEvents(); });
}

void CMainWnd::OnMacroListSelect() {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        macro->SelectMacroFromList();
    }
}

void CMainWnd::OnMacroInsertHorizontalMove(bool left) {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        macro->InsertHorizontalMoveKey(left);
    }
}

void CMainWnd::OnMacroInsertVerticalMove(bool up) {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        macro->InsertVerticalMoveKey(up);
    }
}

void CMainWnd::InsertMacroMouseEvent(int button, bool down) {
    if (CMacroControlUI* macro = CurrentMacroPanel()) {
        macro->InsertMouseEvent(button, down);
    }
}

namespace {

void AddHookEvent(CMacroControlUI* macro, int insertKind, WPARAM wParam, LPARAM lParam) {
    // Hook events reach only a recording editor: a stale message after the stop adds
    // nothing.
    if (macro != nullptr && macro->IsRecording()) {
        macro->AddHookEvent(insertKind, wParam, lParam);
    }
}

}  // namespace

void CMainWnd::OnHookMacro(int insertKind, WPARAM wParam, LPARAM lParam) {
    AddHookEvent(CurrentMacroPanel(), insertKind, wParam, lParam);
}
