#include "device/lighting/area_effects.h"

#include <algorithm>

#include "device/lighting/base_light_effects.h"
#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"

namespace device {
namespace {

constexpr uint8_t kFlashHueStep = 14;
constexpr uint8_t kLastWheelRow = kColourWheelLength - 1;

size_t AreaCount(std::span<const LightRecord> list) {
    return std::min(list.size(), kAreaLedCount);
}

Rgb AreaColour(const LightRecord& record, uint8_t hue) {
    if (record.multiColour) {
        return ColourWheel[std::min(hue, kLastWheelRow)];
    }
    return {record.red, record.green, record.blue};
}

}  // namespace

bool AreaEffectsArePassTimed(std::span<const LightRecord> list) {
    for (size_t i = 0; i < AreaCount(list); ++i) {
        const uint8_t mode = list[i].mode;
        if (mode == kAreaFlash ||
            (list[i].valid && (mode == kAreaBreathing || mode == kAreaSpectrum))) {
            return true;
        }
    }
    return false;
}

void AreaBreathingStep(std::span<const LightRecord> list, bool reset, AreaEffectState& state,
                       LedColourVector& leds) {
    if (reset) {
        state.breathingLevel.fill(0);
        state.breathingHue.fill(0);
        return;
    }
    for (size_t i = 0; i < AreaCount(list); ++i) {
        const LightRecord& record = list[i];
        if (!record.valid || record.mode != kAreaBreathing) {
            continue;
        }
        const Rgb colour = AreaColour(record, state.breathingHue[i]);
        // The sum is taken wide: a stored speed near 255 must not wrap the level back
        // into the curve instead of ending the breath.
        const unsigned level = state.breathingLevel[i] + record.speed + 4u;
        if (level >= kBreathingCurveLength) {
            state.breathingLevel[i] = 0;
            state.breathingHue[i] = std::min<uint8_t>(state.breathingHue[i] + 1, kLastWheelRow);
        } else {
            state.breathingLevel[i] = static_cast<uint8_t>(level);
        }
        const uint8_t curve = BreathingCurve128[state.breathingLevel[i]];
        leds.Set(i, MakeLedColour(colour, ScaledLevel(record.brightness, curve)));
    }
}

void AreaFlashStep(std::span<const LightRecord> list, bool reset, uint32_t now,
                   AreaEffectState& state, LedColourVector& leds) {
    const size_t count = AreaCount(list);
    if (reset) {
        state.flashToggleTime.fill(0);
        state.flashHue.fill(0);
        state.flashOn.fill(0);
        for (size_t i = 0; i < count; ++i) {
            state.flashPeriod[i] = SpeedTicksForIndex(list[i].speed) * 200u;
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        if (now - state.flashToggleTime[i] >= state.flashPeriod[i]) {
            state.flashOn[i] = state.flashOn[i] ? 0 : 1;
            state.flashToggleTime[i] = now;
            const unsigned hue = state.flashHue[i] + kFlashHueStep;
            state.flashHue[i] = hue >= kColourWheelLength ? 0 : static_cast<uint8_t>(hue);
        }
        const LightRecord& record = list[i];
        if (record.mode != kAreaFlash) {
            continue;
        }
        if (!state.flashOn[i]) {
            leds.Set(i, 0);
            continue;
        }
        leds.Set(i, MakeLedColour(AreaColour(record, state.flashHue[i]),
                                  BrightnessForIndex(record.brightness)));
    }
}

void AreaSpectrumStep(std::span<const LightRecord> list, bool reset, AreaEffectState& state,
                      LedColourVector& leds) {
    const size_t count = AreaCount(list);
    if (reset) {
        for (size_t i = 0; i < count; ++i) {
            if (list[i].valid) {
                state.spectrumHue[i] = 0;
                state.spectrumCounter[i] = 0;
                state.spectrumPeriod[i] = SpeedTicksForIndex(list[i].speed);
            }
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        const LightRecord& record = list[i];
        if (!record.valid || record.mode != kAreaSpectrum) {
            continue;
        }
        ++state.spectrumCounter[i];
        if (state.spectrumCounter[i] >= state.spectrumPeriod[i]) {
            state.spectrumCounter[i] = 0;
            const unsigned hue = state.spectrumHue[i] + 1u;
            state.spectrumHue[i] = hue >= kColourWheelLength ? 0 : static_cast<uint8_t>(hue);
        }
        leds.Set(i, MakeLedColour(ColourWheel[std::min(state.spectrumHue[i], kLastWheelRow)],
                                  BrightnessForIndex(record.brightness)));
    }
}

}  // namespace device
