#pragma once
// The light effects of the mouse pad and the headset that differ from the shared ones:
// their colour waves (each with its own spacing), the trails over LED pairs or single
// LEDs, and the per-LED static and off layers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/lighting/base_light_effects.h"
#include "device/lighting/led_colour_vector.h"
#include "profile/light_record.h"

namespace device {

// How a wave spreads over the LEDs.
struct WaveShape {
    uint8_t multiColourSpacing = 7;  // wheel rows between two LEDs
    uint8_t singlePhaseStep = 1;     // curve positions per step
    bool singleStartsAfterPhase = true;
    uint8_t singleSpacing = 7;  // curve positions between two LEDs
};
inline constexpr WaveShape kMousePadWave{7, 1, true, 7};
inline constexpr WaveShape kHeadsetWave{16, 3, false, 10};

void OnboardWave(const LightParams& params, const WaveShape& shape, uint8_t& phase,
                 LedColourVector& leds);

// The LED pairs the headset's and the pad's trail light together.
inline constexpr std::array<std::array<uint8_t, 2>, 7> TrailPairTable = {
    {{1, 14}, {2, 13}, {3, 12}, {4, 11}, {5, 10}, {6, 9}, {7, 8}}};

// The first min(n, 23) ring places rotated by one: right moves them up (the last of them
// to place 0), left down (place 0 to the last of them).
void RotateRingPrefix(std::array<uint8_t, kRingLength>& ring, int n, bool right);

// One trail pass over its positions (LED pairs for the trail, every LED for the second
// trail). The caller has stepped the phase, rotated the ring and holds the animation.
void TrailPass(const LightParams& params, bool pairs, uint8_t& phase, LightAnimationState& state,
               LedColourVector& leds);

// Record i drives LED i: mode 1 shows its colour, mode 4 turns the LED off.
void AreaStaticStep(std::span<const LightRecord> list, LedColourVector& leds);
void AreaOffStep(std::span<const LightRecord> list, LedColourVector& leds);

}  // namespace device
