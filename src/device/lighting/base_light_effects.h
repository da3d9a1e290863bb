#pragma once
// Folder device/lighting: what the lights show, computed frame by frame. Light tables,
// the base and software effects, the LED colour vector and its frame encoding, the custom
// effect player and area effects, and the light-block byte helpers. Pure computation: no
// I/O, no device kind.
//
// The effect steps shared by every device class: each step advances the animation state
// by one and writes the LED colour vector. The derived classes pick the step of each
// light mode and add effects of their own.

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/lighting/led_colour_vector.h"
#include "device/lighting/light_tables.h"

namespace device {

inline constexpr size_t kKeyLevelCount = 126;
inline constexpr size_t kRingLength = 23;
inline constexpr size_t kRingMarkedKeys = 9;

// The 12 light parameter bytes of a device, in the order of its light record.
struct LightParams {
    uint8_t mode = 0;
    uint8_t brightnessIndex = 0;
    uint8_t speedIndex = 0;
    uint8_t direction = 0;  // 1 forward
    uint8_t multiColour = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    std::array<uint8_t, 4> extra{};

    // The bytes as three little-endian words, as the setters pass them.
    static LightParams FromWords(uint32_t first, uint32_t second, uint32_t third);
    Rgb Colour() const { return {red, green, blue}; }
    bool Forward() const { return direction != 0; }
};

struct LightAnimationState {
    uint8_t phase = 0;
    uint8_t colourStep = 0;
    uint8_t flashOn = 0;
    uint32_t lastToggleTime = 0;
    std::array<uint8_t, kKeyLevelCount> keyLevels{};
    std::array<uint8_t, kRingLength> ring{};
};

// Up: value + step, or 0 once that reaches the limit. Down: value - step, or limit - step
// when the byte wrapped below 0. The result always lies below the limit, so a value left
// by an effect with a longer table never indexes past a shorter one.
uint8_t StepWrap(bool up, uint8_t limit, uint8_t value, uint8_t step);

// red | green << 8 | blue << 16 | brightness << 24.
uint32_t MakeLedColour(Rgb colour, uint8_t brightness);
inline uint8_t LedRed(uint32_t colour) {
    return colour & 0xFF;
}
inline uint8_t LedGreen(uint32_t colour) {
    return (colour >> 8) & 0xFF;
}
inline uint8_t LedBlue(uint32_t colour) {
    return (colour >> 16) & 0xFF;
}
inline uint8_t LedBrightness(uint32_t colour) {
    return colour >> 24;
}

void StepBreathing(const LightParams& params, LightAnimationState& state, LedColourVector& leds);
void StepBreathingColours(const LightParams& params, LightAnimationState& state,
                          LedColourVector& leds);
void ApplyStatic(const LightParams& params, LedColourVector& leds);
void StepSpectrum(const LightParams& params, LightAnimationState& state, LedColourVector& leds);
// `now` is the coarse tick in milliseconds.
void StepFlash(const LightParams& params, LightAnimationState& state, LedColourVector& leds,
               uint32_t now);
void StepFlashColours(const LightParams& params, LightAnimationState& state, LedColourVector& leds,
                      uint32_t now);
void ClearLeds(LedColourVector& leds);

// The per-key levels and the ring of the trail and reactive effects.
void DecayKeyLevel(LightAnimationState& state, size_t key, int mode);
void MarkRingKeys(LightAnimationState& state);
void RotateRing(LightAnimationState& state, bool towardsEnd);
void ClearKeyLevels(LightAnimationState& state);

}  // namespace device
