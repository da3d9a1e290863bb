#pragma once
// The mouse's own light effects: a colour wave along its LEDs and a trail that runs one
// lit head over its nine LED groups. Both step the mouse's hue position.

#include <cstdint>

#include "device/lighting/base_light_effects.h"
#include "device/lighting/led_colour_vector.h"

namespace device {

void EffectWave(const LightParams& params, uint8_t& huePosition, LedColourVector& leds);
// Uses the key levels and the ring of `animation` (the ring starts with position 0 set).
void EffectTrail(const LightParams& params, uint8_t& huePosition, LightAnimationState& animation,
                 LedColourVector& leds);

}  // namespace device
