// The keyboard's light block and the light state that follows it.

#include <span>

#include "device/keyboard/light_effects.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/lighting/led_frame.h"

void CVornalixKeyboardDevice::ApplyModeChange(uint8_t previousMode, uint8_t mode) {
    if (previousMode != mode) {
        ResetLightAnimation();
        RunModeInit(mode);
        UpdateKeyChoice();
    }
}

void CVornalixKeyboardDevice::TakeProfileLight() {
    const uint8_t before = GetLightState().light.mode;
    ApplyProfileLight();
    // The mode's init step ran only if the mode changed: in the same custom-colour mode the
    // previous profile's group would stay shown, and a paint would store it into this one.
    if (before == device::kKeyboardCustomBrightnessMode && GetLightState().light.mode == before) {
        ApplyCustomLightGroup();
    }
}

int CVornalixKeyboardDevice::ApplyProfileLight() {
    const LightRecord light = profile_.GetLightInfo();
    PublishLightRecord(light, light.customGroup);
    LightState state = GetLightState();
    const uint8_t previousMode = state.light.mode;
    state.light.mode = light.mode;
    state.light.brightness = light.brightness;
    state.light.speed = light.speed;
    state.light.multiColour = light.multiColour;
    state.light.red = light.red;
    state.light.green = light.green;
    state.light.blue = light.blue;
    SetLightState(state);
    ApplyModeChange(previousMode, light.mode);
    ReloadCustomLighting();
    return 1;
}

int CVornalixKeyboardDevice::WriteDeviceSettings(int slot, int firstByte, int, int, int) {
    const int offset = slot * device::kKeyboardSlotStride;
    if (slot < 0 || offset + device::kKeyboardLightBlockSize > 0x10000) {
        return 0;  // no slot of the keyboard lies there
    }
    const device::KeyboardLightBlock block = device::EncodeKeyboardLightBlock(
        static_cast<uint8_t>(firstByte), profile_.GetLightInfo(), profile_.GetSystemStages());
    return WriteMemoryInSession(block, static_cast<uint16_t>(offset));
}

int CVornalixKeyboardDevice::ReadLightSettings(uint8_t* activeSlot, int) {
    SetLightSync(false);
    if (!commandChannel_.IsOpen()) {
        return 0;
    }
    std::array<uint8_t, 1> slot{};
    device::KeyboardLightBlock block{};
    if (commandChannel_.ReadMemory(slot, 0) != 1 ||
        commandChannel_.ReadMemory(
            block, static_cast<uint16_t>(slot[0] * device::kKeyboardSlotStride)) != 1) {
        return 0;  // a block that was not read must not reach the state or the profile
    }
    block[16] = 0;
    lightBlockRead_ = block;
    const device::DecodedLightBlock decoded = device::DecodeKeyboardLightBlock(block);

    LightState state = GetLightState();
    const uint8_t previousMode = state.light.mode;
    state.activeSlot = slot[0];
    state.light = decoded.light;
    SetLightState(state);
    if (activeSlot != nullptr) {
        *activeSlot = slot[0];
    }

    // The stored light record keeps its bytes the block does not carry.
    LightRecord stored = profile_.GetLightInfo();
    stored.mode = decoded.light.mode;
    stored.brightness = decoded.light.brightness;
    stored.speed = decoded.light.speed;
    stored.direction = decoded.light.direction;
    stored.multiColour = decoded.light.multiColour;
    stored.red = decoded.light.red;
    stored.green = decoded.light.green;
    stored.blue = decoded.light.blue;
    stored.qrvmMode = decoded.light.qrvmMode;
    PublishLightRecord(stored, stored.customGroup);
    ApplyModeChange(previousMode, decoded.light.mode);

    systemStages_.key6Flag = decoded.key6Flag;
    systemStages_.wFlag = decoded.wFlag;
    systemStages_.winFlag = decoded.winFlag;
    profile_.SetSystemStages(systemStages_);
    profile_.SetLightInfo(stored);
    profile_.Save();
    return 1;
}

void CVornalixKeyboardDevice::ReadDeviceSettings() {
    uint8_t slot = 0;
    ReadLightSettings(&slot, 0);
    RefreshPageControls();
}

int CVornalixKeyboardDevice::PushLightFrame() {
    // The keyboard runs its lighting itself: the frame only paints the page.
    if (!HasLightControl()) {
        return 0;
    }
    // Hidden, there is nothing to paint: the light thread keeps the count short and the
    // window's showing catches it up (ShowLedPreview).
    if (!PageWindowShown()) {
        return 1;
    }
    // The frame shows the colours of this tick, whoever worked them out.
    CatchUpLight();
    PaintLedButtons();
    return 1;
}
