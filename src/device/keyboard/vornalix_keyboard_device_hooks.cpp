// The keyboard's light modes on its page and its answers to key presses, run on the
// device's animation state; the custom light player, the overlay layers and the page
// itself add their own parts by overriding the remaining hooks.

#include "device/keyboard/key_reactions.h"
#include "device/keyboard/light_effects.h"
#include "device/keyboard/vornalix_keyboard_device.h"
#include "platform/clock.h"

namespace {

constexpr int kNoStep = -1;

}  // namespace

template <typename Action>
void CVornalixKeyboardDevice::WithEffectContext(Action action) {
    const device::LightParams params = CurrentLightParams();
    platform::CriticalSectionLock lock(animationLock_);
    const device::KeyboardEffectContext context{params, animation_, effectState_, LedColours()};
    action(context, params);
}

bool CVornalixKeyboardDevice::IsCustomPlayerMode(int mode) {
    return mode > 255 ||
           (mode >= 0 && device::IsKeyboardCustomLightMode(static_cast<uint8_t>(mode)));
}

int CVornalixKeyboardDevice::ModeStepTicks(int mode, int speed) {
    if (mode < 0 || mode > 255 || speed < 0 || speed > 255 ||
        device::KeyboardModeTickRow(static_cast<uint8_t>(mode)) < 0) {
        return kNoStep;
    }
    return device::KeyboardModeThreshold(static_cast<uint8_t>(mode), static_cast<uint8_t>(speed));
}

void CVornalixKeyboardDevice::RunModeStep(int, uint32_t now) {
    WithEffectContext(
        [now](const device::KeyboardEffectContext& context, const device::LightParams& params) {
            // Byte 11 of the light record is the sub-mode of the preset-colour mode.
            device::RunKeyboardModeStep(context, params.extra[3], now);
        });
}

void CVornalixKeyboardDevice::ResetLightAnimation() {
    platform::CriticalSectionLock lock(animationLock_);
    device::ResetLightAnimation(effectState_, animation_);
}

void CVornalixKeyboardDevice::RunModeInit(int mode) {
    if (mode == device::kKeyboardCustomBrightnessMode) {
        ApplyCustomLightGroup();
    }
    WithEffectContext([](const device::KeyboardEffectContext& context, const device::LightParams&) {
        device::StartKeyboardMode(context);
    });
}

void CVornalixKeyboardDevice::OnKeyEvent(int position, int action) {
    if (position < 0 || position >= device::kNoKeyPosition) {
        return;
    }
    const int key = device::LayoutPositionOf(KeyMaps().keyPosition, static_cast<uint8_t>(position));
    if (key >= 0) {
        ReactiveEffect(key, action);
    }
}

void CVornalixKeyboardDevice::ReactiveEffect(int key, int action) {
    if (key < 0) {
        return;
    }
    // The key lands between the steps of the ticks before it and those after.
    CatchUpLight();
    WithEffectContext(
        [key, action](const device::KeyboardEffectContext& context, const device::LightParams&) {
            device::ReactiveEffect(context, static_cast<size_t>(key), action);
        });
}
