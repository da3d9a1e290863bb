// The headset page's audio controls, passed to the current headset.

#include "app/main_wnd/main_wnd.h"
#include "app/msg_wnd.h"
#include "device/onboard/vornalix_tamsel_device.h"

CVornalixTamselDevice* CMainWnd::CurrentHeadset() {
    CVornalixUSBDevice* device = GetCurrentDevice();
    return device != nullptr && device->GetDeviceType() == device::kHeadsetDevice
               ? dynamic_cast<CVornalixTamselDevice*>(device)
               : nullptr;
}

void CMainWnd::TellHeadsetsAwake(bool awake) {
    for (CVornalixUSBDevice* headset : headsets_) {
        if (headset != nullptr) {
            headset->SetLightControl(awake ? 1 : 0);
        }
    }
}

void CMainWnd::OnMagicEnable() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->SetMagicVoiceEnabled();
    }
}

void CMainWnd::OnMagicVoiceSelect(int n) {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->SelectMagicVoice(n);
    }
}

void CMainWnd::OnMicInOption() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->ToggleMicInMute();
    }
}

void CMainWnd::OnMicInVolumeChange() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->ApplyMicInVolume();
    }
}

void CMainWnd::OnMicMonitorOption() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->ToggleMicMonitorMute();
    }
}

void CMainWnd::OnMicMonitorVolumeChange() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->ApplyMicMonitorVolume();
    }
}

void CMainWnd::OnEqBandChange(int band) {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->SetEqBand(band);
    }
}

void CMainWnd::OnEqPresetSelect(int n) {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->SelectEqPreset(n);
    }
}

void CMainWnd::OnCustomEqSelect() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->ApplyCustomEqSelection();
    }
}

void CMainWnd::OnEqSaveClick() {
    CVornalixTamselDevice* headset = CurrentHeadset();
    if (headset != nullptr && headset->SaveCustomEqPreset() == 0) {
        ShowMsgBox(nullptr, L"", L"message_text_5", dpi_, true, 0);
    }
}

void CMainWnd::OnEqDeleteClick() {
    if (CVornalixTamselDevice* headset = CurrentHeadset()) {
        headset->DeleteCustomEqPreset();
    }
}
