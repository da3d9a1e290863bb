#pragma once
// The fixed tables of the frame generators that every device kind shares, beside the base
// tables of the light effects.

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

inline constexpr size_t kWaveCurveLength = 96;
inline constexpr size_t kTrailGroupCount = 9;
inline constexpr size_t kTrailGroupSize = 3;
// Marks an unused slot of a trail group.
inline constexpr uint8_t kNoTrailLed = 255;

extern const std::array<uint8_t, kWaveCurveLength> WaveCurve96;
extern const std::array<uint8_t, 15> SpectrumTicks;
extern const std::array<std::array<uint8_t, kTrailGroupSize>, kTrailGroupCount> TrailLedGroups;

// Out-of-range speed indexes from profiles or files take the last entry.
uint8_t SpectrumTicksForIndex(uint8_t index);

// `BrightnessLevels`[brightnessIndex] scaled by a curve value or key level; a factor of
// 256 gives the table value itself.
uint8_t ScaledLevel(uint8_t brightnessIndex, unsigned factor);

}  // namespace device
