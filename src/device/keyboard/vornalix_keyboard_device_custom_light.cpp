// The keyboard's own lighting: the custom light player, the per-key overlay layers, the
// per-key colours of light mode 20 and the custom colour groups of the profile.

#include <algorithm>
#include <cstring>
#include <span>

#include "device/keyboard/custom_light.h"
#include "device/keyboard/light_effects.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/lighting/custom_effect_player.h"
#include "pages/light_control_ui.h"
#include "platform/clock.h"

namespace {

constexpr int kNoShownGroup = -1;
constexpr int kKeyColorTableStride = 512;
constexpr uint32_t kFailedWritePauseMs = 200;

}  // namespace

size_t CVornalixKeyboardDevice::CopyOverlayLayers(
    std::array<LightRecord, device::kAreaLedCount>& layers) {
    const size_t count = std::min(ledLightRecords_.size(), layers.size());
    for (size_t i = 0; i < count; ++i) {
        std::memcpy(&layers[i], ledLightRecords_[i].data(), sizeof(LightRecord));
    }
    return count;
}

void CVornalixKeyboardDevice::CustomLightStep() {
    device::PlayCustomEffect(customEffects_, customPlayer_, GetLightState().light.speed,
                             platform::TickCount(), LedColours());
}

void CVornalixKeyboardDevice::ApplyOverlayLayers(uint32_t now) {
    platform::CriticalSectionLock lock(overlayLock_);
    std::array<LightRecord, device::kAreaLedCount> layers;
    const size_t count = CopyOverlayLayers(layers);
    device::ApplyOverlayLayers(std::span(layers.data(), count), now, overlayState_, LedColours());
}

void CVornalixKeyboardDevice::ReloadCustomLighting() {
    CatchUpLight();
    const std::vector<LightRecord> list = profile_.GetLightList();
    {
        platform::CriticalSectionLock lock(overlayLock_);
        for (size_t i = 0; i < ledLightRecords_.size(); ++i) {
            const LightRecord layer = i < list.size() ? list[i] : LightRecord{};
            std::memcpy(ledLightRecords_[i].data(), &layer, sizeof(LightRecord));
        }
        std::array<LightRecord, device::kAreaLedCount> layers;
        const size_t count = CopyOverlayLayers(layers);
        device::ResetOverlayLayers(std::span(layers.data(), count), overlayState_);
    }
    device::ReloadCustomEffects(profile_, GetDeviceType(), GetDeviceIndex(),
                                CurrentLightParams().mode, customEffects_);
    // Layers that count passes need the thread's pace.
    WakeLightLoop();
}

void CVornalixKeyboardDevice::PaintKeyColor(int key) {
    CatchUpLight();
    if (key < 0 || !device::PaintKeyColour(GetLightState().light.mode, static_cast<size_t>(key),
                                           CurrentLightParams().Colour(), LedColours())) {
        return;
    }
    if (shownCustomGroup_ != kNoShownGroup) {
        profile_.SetCustomLightGroup(LedColours().Snapshot(), shownCustomGroup_);
        SaveProfile();
    }
    if (!commandChannel_.IsSlow()) {
        WriteKeyColors(device::BuildKeyColorTable(LedColours(), KeyMaps().led, false));
    }
}

void CVornalixKeyboardDevice::ShowCustomLightGroup(int group) {
    shownCustomGroup_ = group;
    if (CLightControlUI* panel = GetLightPage()) {
        panel->SetCustomLightMode(group);
    }
}

void CVornalixKeyboardDevice::SetCustomLightGroup(int group) {
    ShowCustomLightGroup(group);
    profile_.SetCustomLightGroupIndex(group);
}

void CVornalixKeyboardDevice::ApplyCustomLightGroup() {
    CatchUpLight();
    const int group = profile_.GetCustomLightGroupIndex();
    device::LoadCustomLightGroup(profile_.GetCustomLightGroup(group, GetLedCount()), LedColours());
    ShowCustomLightGroup(group);
    WriteKeyColorFrame();
}

void CVornalixKeyboardDevice::SaveCustomLightGroup(int fill) {
    CatchUpLight();
    device::FillCustomLightGroup(CurrentLightParams().Colour(), fill != 0, LedColours());
    WriteKeyColorFrame();
    if (shownCustomGroup_ != kNoShownGroup) {
        profile_.SetCustomLightGroup(LedColours().Snapshot(), shownCustomGroup_);
        SaveProfile();
    }
}

int CVornalixKeyboardDevice::WriteKeyColorFrame() {
    CatchUpLight();
    if (GetLightState().light.mode != device::kKeyboardCustomBrightnessMode) {
        return 0;
    }
    if (WriteKeyColors(device::BuildKeyColorTable(LedColours(), KeyMaps().led, true)) != 1) {
        platform::Sleep(kFailedWritePauseMs);
    }
    return 0;
}

int CVornalixKeyboardDevice::WriteKeyColors(const device::KeyColorTable& table) {
    const size_t length = device::KeyColorTableLength(KeyMaps().led.size());
    return commandChannel_.WriteKeyColorTable(std::span(table.data(), length), ActiveSlot(),
                                              kKeyColorTableStride);
}
