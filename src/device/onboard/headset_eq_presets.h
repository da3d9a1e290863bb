#pragma once
// The headset's built-in equaliser presets 1 to 12: ten band levels each, band 1 first,
// in the audio panel's slider units.

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

inline constexpr size_t kEqBandCount = 10;
inline constexpr int kFirstEqPreset = 1;
inline constexpr int kLastEqPreset = 12;
inline constexpr int kCustomEqPreset = 13;
// The audio panel keeps at most this many custom presets.
inline constexpr int kMaxCustomEqPresets = 20;

using EqBandLevels = std::array<int32_t, kEqBandCount>;

// Preset `preset` (1..12); preset 5 (all flat) for any other number.
const EqBandLevels& EqPresetLevels(int preset);

}  // namespace device
