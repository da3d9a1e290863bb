#include "device/keyboard/effect_state.h"

#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"

namespace device {

unsigned KeyboardRandom(KeyboardEffectState& state) {
    state.randomSeed = state.randomSeed * 214013u + 2531011u;
    return (state.randomSeed >> 16) & 0x7FFF;
}

void PaintKeyByRule(const KeyboardEffectContext& context, size_t key, unsigned factor) {
    if (key >= kKeyboardPositions) {
        return;
    }
    const LightParams& params = context.params;
    Rgb colour = params.Colour();
    if (params.multiColour) {
        const uint8_t hue = context.state.keyHue[key];
        if (hue >= kColourWheelLength) {
            context.leds.Set(key, 0);
            return;
        }
        colour = ColourWheel[hue];
    }
    context.leds.Set(key, MakeLedColour(colour, ScaledLevel(params.brightnessIndex, factor)));
}

void DecayAndPaintAll(const KeyboardEffectContext& context, int mode) {
    for (size_t key = 0; key < kKeyboardPositions; ++key) {
        DecayKeyLevel(context.animation, key, mode);
        PaintKeyByRule(context, key, context.animation.keyLevels[key]);
    }
}

void DecayAndPaintWaveOrder(const KeyboardEffectContext& context, int mode) {
    for (uint8_t key : KeyWaveOrder) {
        if (key < kKeyboardPositions) {
            DecayKeyLevel(context.animation, key, mode);
            PaintKeyByRule(context, key, context.animation.keyLevels[key]);
        }
    }
}

}  // namespace device
