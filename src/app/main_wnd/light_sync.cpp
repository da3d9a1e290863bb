// The main window's side of the light synchronisation: which devices follow it and the
// steps that write the shared colour into their LED colours.

#include "app/light_sync.h"
#include "app/main_wnd/main_wnd.h"
#include "device/vornalix_usb_device.h"
#include "platform/clock.h"

bool CMainWnd::HasSyncedOpenDevice() {
    platform::CriticalSectionLock lock(deviceListLock_);
    for (auto* list : {&mice_, &keyboards_, &mousePads_, &headsets_}) {
        for (CVornalixUSBDevice* device : *list) {
            if (device != nullptr && device->CommandChannel().IsOpen() != 0 &&
                device->CommandChannel().GetLightSync()) {
                return true;
            }
        }
    }
    return false;
}

void CMainWnd::SendSyncFrame(uint8_t red, uint8_t green, uint8_t blue, uint8_t level) {
    const uint32_t colour = light_sync::ColourWord({{red, green, blue}, level});
    platform::CriticalSectionLock lock(deviceListLock_);
    for (auto* list : {&mice_, &mousePads_, &headsets_, &keyboards_}) {
        for (CVornalixUSBDevice* device : *list) {
            if (device == nullptr || !device->CommandChannel().GetLightSync()) {
                continue;
            }
            for (int led = 0; led < device->GetLedCount(); ++led) {
                device->SetLedColor(led, colour);
            }
        }
    }
}

void CMainWnd::RunSyncStep(uint8_t mode) {
    switch (mode) {
        case light_sync::kBreathing:
            SyncStepBreathing();
            break;
        case light_sync::kStatic:
            SyncStepStatic();
            break;
        case light_sync::kFlash:
            SyncStepFlash();
            break;
        case light_sync::kSpectrum:
            SyncStepSpectrum();
            break;
        case light_sync::kOff:
            SyncStepOff();
            break;
        default:
            break;
    }
}

namespace {

void Send(CMainWnd& window, const light_sync::Frame& frame) {
    window.SendSyncFrame(frame.colour.r, frame.colour.g, frame.colour.b, frame.level);
}

light_sync::Snapshot Current() {
    return light_sync::Read(light_sync::SharedSettings());
}

}  // namespace

void CMainWnd::SyncStepBreathing() {
    Send(*this, light_sync::StepBreathing(Current(), light_sync::SharedStepState()));
}

void CMainWnd::SyncStepStatic() {
    Send(*this, light_sync::StepStatic(Current()));
}

void CMainWnd::SyncStepFlash() {
    Send(*this,
         light_sync::StepFlash(Current(), light_sync::SharedStepState(), platform::TickCount()));
}

void CMainWnd::SyncStepSpectrum() {
    Send(*this, light_sync::StepSpectrum(Current(), light_sync::SharedStepState()));
}

void CMainWnd::SyncStepOff() {
    Send(*this, light_sync::StepOff());
}
