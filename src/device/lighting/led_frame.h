#pragma once
// The light frame of command 0x12: three bytes per LED, each colour byte already scaled
// by the LED's brightness, because the device shows frame bytes as they are.

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/lighting/led_colour_vector.h"

namespace device {

// Slot 126 of a frame is never written: it stands for "no LED" in the key grids.
inline constexpr size_t kFrameSkippedLed = 126;

struct LightFrame {
    std::array<uint8_t, kLightFrameBytes> bytes{};
    size_t length = 0;  // LED count x 3
};

// Fills `frame` from the colour vector as it is now.
void EncodeLightFrame(const LedColourVector& leds, LightFrame& frame);

// The tint colour an LED button paints with: red | blue << 8 | green << 16.
uint32_t LedTintColour(uint32_t ledColour);

}  // namespace device
