#pragma once
// Whole-device frame generators of the custom light sequences. Every device kind plays its
// light files through them, so a light file looks the same on each. A generator draws one
// frame from a record's light values and the player's step byte.

#include <cstdint>

#include "device/lighting/led_colour_vector.h"
#include "profile/light_record.h"

namespace device {

// The on/off timer of the whole-device flash, kept by the player that drives it.
struct FlashState {
    uint8_t on = 0;
    uint8_t hue = 0;
    uint32_t lastToggleTime = 0;
};

// A colour band moving along the LEDs; `step` is the band's position.
void FrameWave(const LightRecord& light, uint8_t step, LedColourVector& leds);
// Every LED at the breathing curve's value for `step` (read modulo the curve).
void FrameBreathing(const LightRecord& light, uint8_t step, LedColourVector& leds);
void FrameStatic(const LightRecord& light, LedColourVector& leds);
// Every LED at colour wheel entry `step` (read modulo the wheel).
void FrameSpectrum(const LightRecord& light, uint8_t step, LedColourVector& leds);
// Flips on and off once per `SpeedTicks`[periodSpeedIndex] x 200 ms; the period comes from
// the device's own light parameters, not from the record.
void FrameFlash(const LightRecord& light, uint8_t step, uint8_t periodSpeedIndex, uint32_t now,
                FlashState& flash, LedColourVector& leds);

}  // namespace device
