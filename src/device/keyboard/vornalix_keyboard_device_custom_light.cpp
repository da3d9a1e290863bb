// The keyboard's own lighting: the custom light player, the per-key overlay layers, the
// per-key colours of light mode 20 and the custom colour groups of the profile.

#include <algorithm>
#include <cstring>
#include <span>

#include "controls/device_key_button.h"
#include "controls/select_panel.h"
#include "device/keyboard/custom_light.h"
#include "device/keyboard/light_effects.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/lighting/custom_effect_player.h"
#include "device/page/function_tabs.h"
#include "device/page/led_button_tint.h"
#include "device/record_words.h"
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
    if (key >= 0) {
        PaintKeys({static_cast<size_t>(key)}, CurrentLightParams().Colour());
    }
}

void CVornalixKeyboardDevice::PaintKeys(const std::vector<size_t>& keys, device::Rgb colour) {
    CatchUpLight();
    const uint8_t mode = GetLightState().light.mode;
    bool painted = false;
    for (const size_t key : keys) {
        painted = device::PaintKeyColour(mode, key, colour, LedColours()) || painted;
    }
    if (!painted) {
        return;
    }
    if (shownCustomGroup_ != kNoShownGroup) {
        profile_.SetCustomLightGroup(LedColours().Snapshot(), shownCustomGroup_);
        SaveProfile();
    }
    if (!commandChannel_.IsSlow()) {
        WriteKeyColors(device::BuildKeyColorTable(LedColours(), KeyMaps().led, false));
    }
    ShowLedFrameNow();
}

bool CVornalixKeyboardDevice::PaintChosenKeys(bool lit) {
    std::vector<size_t> chosen;
    for (size_t k = 0; k < ledButtons_.size(); ++k) {
        auto* button = dynamic_cast<CDeviceKeyButtonUI*>(ledButtons_[k]);
        if (button != nullptr && button->IsInSelection() != 0) {
            chosen.push_back(k);
        }
    }
    if (GetPageFunction() == device::kLightingFunction) {
        PaintKeys(chosen, lit ? CurrentLightParams().Colour() : device::Rgb{});
    }
    return !chosen.empty();
}

bool CVornalixKeyboardDevice::IsKeyPicture(const DuiLib::CControlUI* control) {
    return control != nullptr && control == pageControls_.Find(kKeyPictureName);
}

void CVornalixKeyboardDevice::UpdateKeyChoice() {
    const bool painting = GetPageFunction() == device::kLightingFunction &&
                          GetLightState().light.mode == device::kKeyboardCustomBrightnessMode;
    if (auto* picture = CSelectPanelUI::FromControl(pageControls_.Find(kKeyPictureName))) {
        picture->SetBandEnabled(painting);
    }
    if (!painting) {
        if (CLightControlUI* panel = GetLightPage()) {
            panel->EnableKeyChoiceButtons(false);
        }
    }
}

void CVornalixKeyboardDevice::ShowLedFrameNow() {
    if (PushLightFrame() != 0) {
        device::ShowLedTints(GetPreviewControl());
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

void CVornalixKeyboardDevice::ChooseCustomLightGroup(int group) {
    if (group < 0 || group >= kCustomLightGroupCount) {
        return;
    }
    SetCustomLightGroup(group);
    // The keyboard plays the per-key table its light block names.
    LightRecord light = profile_.GetLightInfo();
    light.customGroup = static_cast<uint8_t>(group);
    const std::array<uint32_t, 3> words = device::LightRecordWords(light);
    SetLightParams(words[0], words[1], words[2], light.customGroup);
    SaveProfile();
    ApplyCustomLightGroup();
    ShowLedFrameNow();
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
    // Before the keyboard is there (its page is filled at start) nothing is written and
    // nothing is waited for.
    if (GetLightState().light.mode != device::kKeyboardCustomBrightnessMode ||
        !commandChannel_.IsOpen()) {
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
