#include "device/lighting/software_light_generators.h"

#include "device/lighting/base_light_effects.h"
#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"

namespace device {
namespace {

constexpr uint8_t kWaveLedSpacing = 12;
constexpr uint8_t kFlashHueStep = 14;

Rgb RecordColour(const LightRecord& light) {
    return {light.red, light.green, light.blue};
}

// The wheel row the band starts at: the step counts down the wheel when the direction is
// set, up otherwise.
uint8_t WaveStartRow(const LightRecord& light, uint8_t step) {
    if (light.direction) {
        return step >= 1 && step <= 192 ? static_cast<uint8_t>(192 - step) : 191;
    }
    return step < 191 ? static_cast<uint8_t>(step + 1) : 0;
}

}  // namespace

void FrameWave(const LightRecord& light, uint8_t step, LedColourVector& leds) {
    unsigned row = WaveStartRow(light, step);
    const size_t count = leds.Size();
    if (light.multiColour) {
        const uint8_t level = BrightnessForIndex(light.brightness);
        for (size_t i = 0; i < count; ++i) {
            leds.Set(i, MakeLedColour(ColourWheel[row], level));
            row += kWaveLedSpacing;
            if (row >= kColourWheelLength) {
                row -= kColourWheelLength;
            }
        }
        return;
    }
    for (size_t i = 0; i < count; ++i) {
        row = (row + kWaveLedSpacing) % kWaveCurveLength;
        leds.Set(
            i, MakeLedColour(RecordColour(light), ScaledLevel(light.brightness, WaveCurve96[row])));
    }
}

void FrameBreathing(const LightRecord& light, uint8_t step, LedColourVector& leds) {
    const Rgb colour = light.multiColour ? ColourWheel[0] : RecordColour(light);
    const uint8_t curve = BreathingCurve128[step % kBreathingCurveLength];
    leds.Fill(MakeLedColour(colour, ScaledLevel(light.brightness, curve)));
}

void FrameStatic(const LightRecord& light, LedColourVector& leds) {
    leds.Fill(MakeLedColour(RecordColour(light), BrightnessForIndex(light.brightness)));
}

void FrameSpectrum(const LightRecord& light, uint8_t step, LedColourVector& leds) {
    leds.Fill(MakeLedColour(ColourWheel[step % kColourWheelLength],
                            BrightnessForIndex(light.brightness)));
}

void FrameFlash(const LightRecord& light, uint8_t step, uint8_t periodSpeedIndex, uint32_t now,
                FlashState& flash, LedColourVector& leds) {
    const uint32_t period = SpeedTicksForIndex(periodSpeedIndex) * 200u;
    if (now - flash.lastToggleTime >= period) {
        flash.on = flash.on ? 0 : 1;
        flash.lastToggleTime = now;
        const unsigned hue = step + kFlashHueStep;
        flash.hue = hue > 191 ? 0 : static_cast<uint8_t>(hue);
    }
    if (!flash.on) {
        leds.Fill(0);
        return;
    }
    const Rgb colour =
        light.multiColour ? ColourWheel[flash.hue % kColourWheelLength] : RecordColour(light);
    leds.Fill(MakeLedColour(colour, BrightnessForIndex(light.brightness)));
}

}  // namespace device
