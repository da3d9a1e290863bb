// The mouse's light: the profile's light into the light parameters, the mode dispatch of
// the light thread and the frame pushed to the page and the mouse.

#include <span>

#include "device/lighting/custom_light_modes.h"
#include "device/lighting/led_frame.h"
#include "device/lighting/light_block_bytes.h"
#include "device/mouse/light_effects.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/page/led_button_tint.h"
#include "device/record_words.h"
#include "platform/clock.h"

namespace {

void TintButton(DuiLib::CControlUI* button, uint32_t colour) {
    device::SetLedButtonTint(button, device::LedTintColour(colour), device::LedBrightness(colour),
                             true);
}

}  // namespace

void CVornalixMouseDevice::ResetTrail() {
    // The ticks before the reset step the trail as it was.
    CatchUpLight();
    ClearKeyLevels();
    platform::CriticalSectionLock lock(animationLock_);
    animation_.ring[0] = 1;  // the trail's one moving head
}

int CVornalixMouseDevice::ApplyProfileLight() {
    const LightRecord light = profile_.GetLightInfo();
    PublishLightRecord(light, ActiveSlot());
    device::MouseSettingsState state = GetSettingsState();
    const uint8_t previousMode = state[device::kStateMode];
    device::PutHeldLightBytes(state, light);
    SetSettingsState(state);
    if (previousMode != light.mode) {
        ResetTrail();
    }
    ReloadLightLists(light.mode);
    return 1;
}

void CVornalixMouseDevice::ReloadLightLists(uint8_t mode) {
    // The area lights draw over the colours of the ticks up to now.
    CatchUpLight();
    {
        platform::CriticalSectionLock lock(overlayLock_);
        areaRecords_ = profile_.GetLightList();
        const uint32_t now = platform::TickCount();
        device::AreaBreathingStep(areaRecords_, true, areaState_, LedColours());
        device::AreaFlashStep(areaRecords_, true, now, areaState_, LedColours());
        device::AreaSpectrumStep(areaRecords_, true, areaState_, LedColours());
    }
    device::ReloadCustomEffects(profile_, GetDeviceType(), GetDeviceIndex(), mode, customEffects_);
}

void CVornalixMouseDevice::SetLightParams(uint32_t first, uint32_t second, uint32_t third,
                                          uint8_t slot) {
    CVornalixUSBDevice::SetLightParams(first, second, third, slot);
    profile_.SetLightInfo(device::LightRecordOfWords(first, second, third, slot));
}

void CVornalixMouseDevice::TakeStateIntoLight(const device::MouseSettingsState& state) {
    // The direction and the bytes past the colour stay as they were.
    LightRecord light =
        device::LightRecordOfWords(lightParamWords_[0].load(), lightParamWords_[1].load(),
                                   lightParamWords_[2].load(), ActiveSlot());
    device::TakeHeldLightBytes(state, light);
    const std::array<uint32_t, 3> words = device::LightRecordWords(light);
    SetLightParams(words[0], words[1], words[2], ActiveSlot());
}

int CVornalixMouseDevice::PushLightFrame() {
    // The frame carries the colours of this tick, whoever worked them out.
    CatchUpLight();
    TintPage();
    if (IsWindowActive() && PageWindowShown()) {
        device::ShowLedTints(GetPreviewControl());
    }
    return CVornalixUSBDevice::PushLightFrame();
}

void CVornalixMouseDevice::TintPage() {
    // Nothing of a window hidden to the tray is seen: its showing tints the page
    // (ShowLedPreview).
    if (!PageWindowShown()) {
        return;
    }
    for (size_t key = 0; key < mouseKeyButtons_.size(); ++key) {
        DuiLib::CControlUI* button = mouseKeyButtons_[key];
        if (button != nullptr && button->IsVisible()) {
            TintButton(button, LedColours().Get(key));
        }
    }
    if (logoButton_ != nullptr && logoButton_->IsVisible() && logoLedIndex_ != -1) {
        TintButton(logoButton_, GetLedColor(logoLedIndex_));
    }
}

void CVornalixMouseDevice::ShowLedPreview() {
    CVornalixUSBDevice::ShowLedPreview();
    if (HasLightControl()) {
        TintPage();
    }
}

uint32_t CVornalixMouseDevice::GetLedColor(int index) {
    CatchUpLight();
    return CVornalixUSBDevice::GetLedColor(index);
}

void CVornalixMouseDevice::EffectWave() {
    const device::LightParams params = CurrentLightParams();
    platform::CriticalSectionLock lock(animationLock_);
    device::EffectWave(params, huePosition_, LedColours());
}

void CVornalixMouseDevice::EffectTrail() {
    const device::LightParams params = CurrentLightParams();
    platform::CriticalSectionLock lock(animationLock_);
    device::EffectTrail(params, huePosition_, animation_, LedColours());
}

bool CVornalixMouseDevice::IsCustomMode(uint8_t mode) {
    return mode >= device::kFirstCustomLightMode;
}

void CVornalixMouseDevice::EffectFlash() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepFlash(CurrentLightParams(), animation_, LedColours(), stepTick_.load());
}

void CVornalixMouseDevice::EffectFlashColors() {
    platform::CriticalSectionLock lock(animationLock_);
    device::StepFlashColours(CurrentLightParams(), animation_, LedColours(), stepTick_.load());
}

void CVornalixMouseDevice::RunModeStep(uint8_t mode) {
    RunModeStep(mode, platform::TickCount());
}

void CVornalixMouseDevice::RunModeStep(uint8_t mode, uint32_t now) {
    // A step worked out after its tick still flashes by the tick it belongs to.
    stepTick_.store(now);
    switch (mode) {
        case 0:
            EffectWave();
            break;
        case 1:
            EffectSpectrum();
            break;
        case 2:
            EffectBreathing();
            break;
        case 3:
            EffectStatic();
            break;
        case 4:
            EffectFlash();
            break;
        case 5:
            EffectTrail();
            break;
        case 6:
            EffectBreathingColors();
            break;
        case 7:
            EffectFlashColors();
            break;
        case 8:
            EffectOff();
            break;
        default:
            break;  // the custom player draws these on every pass
    }
}

void CVornalixMouseDevice::PlayCustomStep() {
    device::PlayCustomEffect(customEffects_, customPlayer_, CurrentLightParams().speedIndex,
                             platform::TickCount(), LedColours());
}
