#include "device/onboard/light_effects.h"

#include <algorithm>

#include "device/lighting/area_effects.h"
#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"

namespace device {
namespace {

constexpr uint8_t kTrailHueSpacing = 12;

void MultiColourWave(const LightParams& params, const WaveShape& shape, uint8_t& phase,
                     LedColourVector& leds) {
    phase = StepWrap(params.Forward(), kColourWheelLength, phase, 1);
    unsigned row = phase + 1u >= kColourWheelLength ? 0 : phase + 1u;
    const uint8_t level = BrightnessForIndex(params.brightnessIndex);
    for (size_t i = 0; i < leds.Size(); ++i) {
        leds.Set(i, MakeLedColour(ColourWheel[row], level));
        row += shape.multiColourSpacing;
        if (row >= kColourWheelLength) {
            row -= kColourWheelLength;
        }
    }
}

void SingleColourWave(const LightParams& params, const WaveShape& shape, uint8_t& phase,
                      LedColourVector& leds) {
    phase = StepWrap(params.Forward(), kWaveCurveLength, phase, shape.singlePhaseStep);
    unsigned index = phase;
    if (shape.singleStartsAfterPhase) {
        index = phase + 1u >= kWaveCurveLength ? 0 : phase + 1u;
    }
    for (size_t i = 0; i < leds.Size(); ++i) {
        leds.Set(i, MakeLedColour(params.Colour(),
                                  ScaledLevel(params.brightnessIndex, WaveCurve96[index])));
        index += shape.singleSpacing;
        if (index >= kWaveCurveLength) {
            index -= kWaveCurveLength;
        }
    }
}

// The colour of trail position `led`: its own colour while the trail's far end is lit,
// else the next wheel colour; the single colour without multi-colour.
Rgb TrailColour(const LightParams& params, size_t led, uint8_t& phase,
                const LightAnimationState& state, const LedColourVector& leds) {
    if (!params.multiColour) {
        return params.Colour();
    }
    phase = static_cast<uint8_t>(phase + kTrailHueSpacing);
    const size_t lastLed = leds.Size() > 0 ? leds.Size() - 1 : 0;
    const bool endLit = params.direction != 0
                            ? state.keyLevels[0] != 0
                            : state.keyLevels[std::min(lastLed, kKeyLevelCount - 1)] != 0;
    if (endLit) {
        const uint32_t current = leds.Get(led);
        return {LedRed(current), LedGreen(current), LedBlue(current)};
    }
    return phase >= kColourWheelLength ? ColourWheel[phase - kColourWheelLength]
                                       : ColourWheel[phase];
}

}  // namespace

void OnboardWave(const LightParams& params, const WaveShape& shape, uint8_t& phase,
                 LedColourVector& leds) {
    if (params.multiColour) {
        MultiColourWave(params, shape, phase, leds);
    } else {
        SingleColourWave(params, shape, phase, leds);
    }
}

void RotateRingPrefix(std::array<uint8_t, kRingLength>& ring, int n, bool right) {
    const size_t k = static_cast<size_t>(std::clamp(n, 0, static_cast<int>(kRingLength)));
    if (k < 2) {
        return;
    }
    if (right) {
        std::rotate(ring.begin(), ring.begin() + static_cast<long>(k - 1),
                    ring.begin() + static_cast<long>(k));
    } else {
        std::rotate(ring.begin(), ring.begin() + 1, ring.begin() + static_cast<long>(k));
    }
}

void TrailPass(const LightParams& params, bool pairs, uint8_t& phase, LightAnimationState& state,
               LedColourVector& leds) {
    const size_t positions = pairs ? TrailPairTable.size() : std::min(leds.Size(), kKeyLevelCount);
    for (size_t k = 0; k < positions; ++k) {
        DecayKeyLevel(state, k, params.mode);
        const size_t first = pairs ? TrailPairTable[k][0] : k;
        const Rgb colour = TrailColour(params, first, phase, state, leds);
        const uint32_t led =
            MakeLedColour(colour, ScaledLevel(params.brightnessIndex, state.keyLevels[k]));
        leds.Set(first, led);  // an index the device lacks is skipped by the vector
        if (pairs) {
            leds.Set(TrailPairTable[k][1], led);
        }
    }
}

void AreaStaticStep(std::span<const LightRecord> list, LedColourVector& leds) {
    const size_t count = std::min(list.size(), kAreaLedCount);
    for (size_t i = 0; i < count; ++i) {
        if (list[i].mode == kAreaStatic) {
            leds.Set(i, MakeLedColour({list[i].red, list[i].green, list[i].blue},
                                      BrightnessForIndex(list[i].brightness)));
        }
    }
}

void AreaOffStep(std::span<const LightRecord> list, LedColourVector& leds) {
    const size_t count = std::min(list.size(), kAreaLedCount);
    for (size_t i = 0; i < count; ++i) {
        if (list[i].mode == kAreaOff) {
            leds.Set(i, 0);
        }
    }
}

}  // namespace device
