// The headset's page: its LED buttons, profile list and lighting panel, and the voice
// effect and audio panels it hands the audio operations.

#include "device/onboard/vornalix_tamsel_device.h"
#include "device/page/control_lookup.h"
#include "pages/magic_control_ui.h"
#include "pages/voice_tamsel_control_ui.h"

void CVornalixTamselDevice::BuildDevicePage() {
    if (!BuildLightPage(L"tamsel_device_key_light")) {
        return;
    }
    auto* magic =
        dynamic_cast<CMagicControlUI*>(device::FindControlByName(this, L"MagicControlItem"));
    if (magic) {
        magic->SetDeviceType(GetDeviceType());
    }
    auto* voice = dynamic_cast<CVoiceTamselControlUI*>(
        device::FindControlByName(this, L"VoiceTamselControlItem"));
    if (voice) {
        voice->SetDeviceType(GetDeviceType());
    }
    SetAudioPanels(voice, magic);
}
