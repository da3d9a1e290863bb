#include "device/lighting/led_frame.h"

#include "device/lighting/base_light_effects.h"

namespace device {
namespace {

uint8_t Scale(uint8_t value, uint8_t brightness) {
    return static_cast<uint8_t>(static_cast<uint16_t>(value * brightness) / 256);
}

}  // namespace

void EncodeLightFrame(const LedColourVector& leds, LightFrame& frame) {
    frame.bytes.fill(0);
    const size_t count = leds.Size();
    for (size_t i = 0; i < count; ++i) {
        if (i == kFrameSkippedLed) {
            continue;
        }
        const uint32_t colour = leds.Get(i);
        const uint8_t brightness = LedBrightness(colour);
        frame.bytes[3 * i] = Scale(LedRed(colour), brightness);
        frame.bytes[3 * i + 1] = Scale(LedGreen(colour), brightness);
        frame.bytes[3 * i + 2] = Scale(LedBlue(colour), brightness);
    }
    frame.length = count * 3;
}

uint32_t LedTintColour(uint32_t ledColour) {
    return uint32_t{LedRed(ledColour)} | uint32_t{LedBlue(ledColour)} << 8 |
           uint32_t{LedGreen(ledColour)} << 16;
}

}  // namespace device
