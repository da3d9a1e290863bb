#pragma once
// The headset takes its light frames as twelve 17-byte output reports (id 0xFF) rather
// than through the command protocol: for each colour channel, the LEDs 0..6 and 7..12 of
// group 0x22 and then of group 0x44.

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/lighting/led_colour_vector.h"

namespace device {

inline constexpr size_t kHeadsetLedCount = 13;
inline constexpr size_t kHeadsetReportSize = 17;
inline constexpr size_t kHeadsetReportsPerFrame = 12;
inline constexpr uint8_t kHeadsetReportId = 0xFF;
// The headset cannot show channel values above this.
inline constexpr uint8_t kHeadsetChannelCap = 0xF7;

using HeadsetLightReport = std::array<uint8_t, kHeadsetReportSize>;
using HeadsetLightFrame = std::array<HeadsetLightReport, kHeadsetReportsPerFrame>;

// Each channel scaled by the LED's level (value x level >> 8), then capped.
struct HeadsetChannels {
    std::array<uint8_t, kHeadsetLedCount> red{};
    std::array<uint8_t, kHeadsetLedCount> green{};
    std::array<uint8_t, kHeadsetLedCount> blue{};
};

HeadsetChannels ScaleHeadsetChannels(const LedColourVector& leds);
// The reports in sending order. The second report of each pair rewrites bytes 4..9 only:
// byte 10 keeps the value the report before it carried, as the headset has always seen.
HeadsetLightFrame BuildHeadsetLightFrame(const HeadsetChannels& channels);

}  // namespace device
