#pragma once
// What the keyboard's on-screen light modes keep between steps, and what every step reads
// and writes. The step counter and the key levels are the base animation state's phase
// and key levels, so the base effects and the keyboard's own share one counter that a
// mode change resets.

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/keyboard/light_tables.h"
#include "device/lighting/base_light_effects.h"
#include "device/lighting/led_colour_vector.h"

namespace device {

inline constexpr size_t kSpreadMaskCount = 4;
inline constexpr size_t kSpreadColumns = kKeyGridColumnCount;

struct KeyboardEffectState {
    uint8_t sequencePhase = 0;
    std::array<uint8_t, kKeyboardPositions> keyHue{};
    std::array<uint8_t, kKeyboardPositions> keyPhase{};
    std::array<uint8_t, kKeyboardPositions> keyHeld{};
    // Per grid column a mask of lit rows. Mask 0 moves left and up, 1 right and up,
    // 2 right and down, 3 left and down.
    std::array<std::array<uint8_t, kSpreadColumns>, kSpreadMaskCount> spreadMasks{};
    // The random sequence of the rain and pulse modes; tests seed it.
    uint32_t randomSeed = 1;
};

struct KeyboardEffectContext {
    const LightParams& params;
    LightAnimationState& animation;
    KeyboardEffectState& state;
    LedColourVector& leds;
};

// 0..32767, the classic C library sequence.
unsigned KeyboardRandom(KeyboardEffectState& state);

// Paints layout position `key` by the colour rule: its hue on the colour wheel with
// multi-colour (a hue past the wheel shows dark), else the light colour; the level is the
// brightness scaled by `factor` (256 = unscaled). Position 126 and above are no keys.
void PaintKeyByRule(const KeyboardEffectContext& context, size_t key, unsigned factor);
// Decays every position's key level and paints it with the level as factor.
void DecayAndPaintAll(const KeyboardEffectContext& context, int mode);
// The same for the keys of KeyWaveOrder.
void DecayAndPaintWaveOrder(const KeyboardEffectContext& context, int mode);

}  // namespace device
