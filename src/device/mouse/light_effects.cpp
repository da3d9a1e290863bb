#include "device/mouse/light_effects.h"

#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"

namespace device {
namespace {

constexpr unsigned kWaveLedSpacing = 7;
constexpr uint8_t kTrailHueSpacing = 12;

void MultiColourWave(const LightParams& params, uint8_t& huePosition, LedColourVector& leds) {
    huePosition = StepWrap(params.Forward(), kColourWheelLength, huePosition, 1);
    unsigned row = huePosition + 1u >= kColourWheelLength ? 0 : huePosition + 1u;
    const uint8_t level = BrightnessForIndex(params.brightnessIndex);
    for (size_t i = 0; i < leds.Size(); ++i) {
        leds.Set(i, MakeLedColour(ColourWheel[row], level));
        row += kWaveLedSpacing;
        if (row >= kColourWheelLength) {
            row -= kColourWheelLength;
        }
    }
}

void SingleColourWave(const LightParams& params, uint8_t& huePosition, LedColourVector& leds) {
    huePosition = StepWrap(params.Forward(), kWaveCurveLength, huePosition, 1);
    unsigned index = huePosition + 1u >= kWaveCurveLength ? 0 : huePosition + 1u;
    for (size_t i = 0; i < leds.Size(); ++i) {
        leds.Set(i, MakeLedColour(params.Colour(),
                                  ScaledLevel(params.brightnessIndex, WaveCurve96[index])));
        index += kWaveLedSpacing;
        if (index >= kWaveCurveLength) {
            index -= kWaveCurveLength;
        }
    }
}

Rgb TrailColour(const LightParams& params, uint8_t& huePosition) {
    if (!params.multiColour) {
        return params.Colour();
    }
    huePosition = static_cast<uint8_t>(huePosition + kTrailHueSpacing);
    return huePosition >= kColourWheelLength ? ColourWheel[huePosition - kColourWheelLength]
                                             : ColourWheel[huePosition];
}

}  // namespace

void EffectWave(const LightParams& params, uint8_t& huePosition, LedColourVector& leds) {
    if (params.multiColour) {
        MultiColourWave(params, huePosition, leds);
    } else {
        SingleColourWave(params, huePosition, leds);
    }
}

void EffectTrail(const LightParams& params, uint8_t& huePosition, LightAnimationState& animation,
                 LedColourVector& leds) {
    huePosition = StepWrap(params.Forward(), kColourWheelLength, huePosition, 1);
    MarkRingKeys(animation);
    RotateRing(animation, params.Forward());
    for (size_t group = 0; group < kTrailGroupCount; ++group) {
        DecayKeyLevel(animation, group, params.mode);
        const Rgb colour = TrailColour(params, huePosition);
        const uint32_t led =
            MakeLedColour(colour, ScaledLevel(params.brightnessIndex, animation.keyLevels[group]));
        for (uint8_t index : TrailLedGroups[group]) {
            if (index != kNoTrailLed) {
                leds.Set(index, led);  // indexes the mouse lacks are skipped by the vector
            }
        }
    }
}

}  // namespace device
