#include "device/lighting/base_light_effects.h"

#include <algorithm>
#include <cstring>

namespace device {
namespace {

uint8_t ScaledBrightness(uint8_t curve, uint8_t brightness) {
    return static_cast<uint8_t>(curve * brightness / 256);
}

// The colour step is shared by all effects (breathing leaves it at a multiple of 16), so
// an effect that indexes the four colours starts over when it finds it out of range.
uint8_t FourColourStep(uint8_t step) {
    return step < kFourColourCount ? step : 0;
}

void SetGridLed(LedColourVector& leds, uint8_t led, uint32_t colour) {
    // Grid tables are laid out for 126 LEDs; a smaller device keeps only its own.
    if (led < kNoGridLed) {
        leds.Set(led, colour);
    }
}

// Advances the flash timer; true when the flash toggled on this step.
bool AdvanceFlash(const LightParams& params, LightAnimationState& state, uint32_t now) {
    const uint32_t period = SpeedTicksForIndex(params.speedIndex) * 200u;
    if (now - state.lastToggleTime < period) {
        return false;
    }
    state.flashOn = state.flashOn ? 0 : 1;
    state.lastToggleTime = now;
    return true;
}

}  // namespace

LightParams LightParams::FromWords(uint32_t first, uint32_t second, uint32_t third) {
    std::array<uint8_t, 12> bytes{};
    const uint32_t words[3] = {first, second, third};
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(words[i / 4] >> (8 * (i % 4)));
    }
    LightParams params;
    params.mode = bytes[0];
    params.brightnessIndex = bytes[1];
    params.speedIndex = bytes[2];
    params.direction = bytes[3];
    params.multiColour = bytes[4];
    params.red = bytes[5];
    params.green = bytes[6];
    params.blue = bytes[7];
    std::memcpy(params.extra.data(), bytes.data() + 8, params.extra.size());
    return params;
}

uint8_t StepWrap(bool up, uint8_t limit, uint8_t value, uint8_t step) {
    if (limit == 0) {
        return 0;
    }
    if (up) {
        const int sum = value + step;
        return sum >= limit ? 0 : static_cast<uint8_t>(sum);
    }
    const uint8_t difference = static_cast<uint8_t>(value - step);
    if (difference < limit) {
        return difference;
    }
    return step < limit ? static_cast<uint8_t>(limit - step) : 0;
}

uint32_t MakeLedColour(Rgb colour, uint8_t brightness) {
    return uint32_t{colour.r} | uint32_t{colour.g} << 8 | uint32_t{colour.b} << 16 |
           uint32_t{brightness} << 24;
}

void StepBreathing(const LightParams& params, LightAnimationState& state, LedColourVector& leds) {
    state.phase = StepWrap(params.Forward(), kBreathingCurveLength, state.phase, 1);
    if (state.phase == 0) {
        state.colourStep = state.colourStep + 16 > 192 ? 0 : state.colourStep + 16;
    }
    const uint8_t level = ScaledBrightness(BreathingCurve128[state.phase],
                                           BrightnessForIndex(params.brightnessIndex));
    if (!params.multiColour) {
        leds.Fill(MakeLedColour(params.Colour(), level));
        return;
    }
    for (size_t column = 0; column < kKeyGridColumnCount; ++column) {
        const uint32_t colour = MakeLedColour(ColourWheel[1 + 7 * column], level);
        for (uint8_t led : KeyGridColumns[column]) {
            SetGridLed(leds, led, colour);
        }
    }
}

void StepBreathingColours(const LightParams& params, LightAnimationState& state,
                          LedColourVector& leds) {
    state.phase = StepWrap(params.Forward(), kBreathingCurveLength, state.phase, 1);
    state.colourStep = FourColourStep(state.colourStep);
    if (state.phase == 0) {
        state.colourStep = FourColourStep(state.colourStep + 1);
    }
    const uint8_t level = ScaledBrightness(BreathingCurve128[state.phase],
                                           BrightnessForIndex(params.brightnessIndex));
    leds.Fill(MakeLedColour(FourColours[state.colourStep], level));
}

void ApplyStatic(const LightParams& params, LedColourVector& leds) {
    const uint8_t brightness = BrightnessForIndex(params.brightnessIndex);
    if (!params.multiColour) {
        leds.Fill(MakeLedColour(params.Colour(), brightness));
        return;
    }
    for (size_t row = 0; row < kKeyRingRowCount; ++row) {
        const size_t wheelIndex = static_cast<uint8_t>(130 - 13 * (row + 1));
        if (wheelIndex >= kColourWheelLength) {
            continue;  // only the empty rows fall outside the wheel
        }
        const uint32_t colour = MakeLedColour(ColourWheel[wheelIndex], brightness);
        for (uint8_t led : KeyRingGrid[row]) {
            SetGridLed(leds, led, colour);
        }
    }
}

void StepSpectrum(const LightParams& params, LightAnimationState& state, LedColourVector& leds) {
    state.phase = StepWrap(params.Forward(), kColourWheelLength, state.phase, 1);
    leds.Fill(MakeLedColour(ColourWheel[state.phase], BrightnessForIndex(params.brightnessIndex)));
}

void StepFlash(const LightParams& params, LightAnimationState& state, LedColourVector& leds,
               uint32_t now) {
    if (AdvanceFlash(params, state, now)) {
        state.phase = state.phase + 16 >= 192 ? 0 : state.phase + 16;
    }
    if (!state.flashOn) {
        leds.Fill(0);
        return;
    }
    // A phase left by another effect may lie anywhere in the byte.
    const Rgb colour =
        params.multiColour ? ColourWheel[state.phase % kColourWheelLength] : params.Colour();
    leds.Fill(MakeLedColour(colour, BrightnessForIndex(params.brightnessIndex)));
}

void StepFlashColours(const LightParams& params, LightAnimationState& state, LedColourVector& leds,
                      uint32_t now) {
    state.colourStep = FourColourStep(state.colourStep);
    if (AdvanceFlash(params, state, now)) {
        state.colourStep = FourColourStep(state.colourStep + 1);
    }
    if (!state.flashOn) {
        leds.Fill(0);
        return;
    }
    leds.Fill(
        MakeLedColour(FourColours[state.colourStep], BrightnessForIndex(params.brightnessIndex)));
}

void ClearLeds(LedColourVector& leds) {
    leds.Fill(0);
}

void DecayKeyLevel(LightAnimationState& state, size_t key, int mode) {
    if (key >= kKeyLevelCount) {
        return;
    }
    uint8_t& level = state.keyLevels[key];
    if (level & 0x80) {
        level -= 40;
    } else if (level & 0x40) {
        level -= 30;
    } else if (level & 0x20) {
        level -= 10;
    } else if (level > 16) {
        level -= 8;
    } else if (level != 0) {
        const uint8_t decrement = mode != 0 ? 1 : 4;
        level = level > decrement ? level - decrement : 0;
    }
}

void MarkRingKeys(LightAnimationState& state) {
    for (size_t i = 0; i < kRingMarkedKeys; ++i) {
        if (state.ring[i] != 0) {
            state.keyLevels[i] = 255;
        }
    }
}

void RotateRing(LightAnimationState& state, bool towardsEnd) {
    if (towardsEnd) {
        std::rotate(state.ring.rbegin(), state.ring.rbegin() + 1, state.ring.rend());
    } else {
        std::rotate(state.ring.begin(), state.ring.begin() + 1, state.ring.end());
    }
}

void ClearKeyLevels(LightAnimationState& state) {
    state.keyLevels.fill(0);
    state.ring.fill(0);
}

}  // namespace device
