#pragma once
// The fixed tables of the keyboard's on-screen light modes. They follow the keyboard's own
// firmware animations, so the page shows what the keyboard shows.

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

inline constexpr size_t kKeyboardPositions = 126;
// Marks "no key" in the tables that list layout positions.
inline constexpr uint8_t kNoKeyboardKey = 126;
inline constexpr uint8_t kNoGridKey = 255;
inline constexpr size_t kPulseCurveLength = 192;
inline constexpr size_t kGrid7Rows = 7;
inline constexpr size_t kRainShuffleLength = 104;
inline constexpr size_t kWavePhaseStartLength = 23 * 6;
inline constexpr size_t kSweepFrameCount = 52;
inline constexpr size_t kSweepFrameSize = 12;
inline constexpr size_t kConvergeQuadCount = 15;
inline constexpr size_t kConvergePairCount = 7;
inline constexpr size_t kKeyboardModeRows = 31;
inline constexpr size_t kKeyboardSpeedColumns = 15;

extern const std::array<uint8_t, kPulseCurveLength> PulseCurve192;
// 23 columns of 7 rows; 255 = no key.
extern const std::array<std::array<uint8_t, kGrid7Rows>, 23> KeyGridColumns7;
extern const std::array<uint8_t, kKeyboardPositions> KeyWaveOrder;
extern const std::array<uint8_t, kKeyboardPositions> KeySnakeOrder;
// Indexes into KeyWaveOrder.
extern const std::array<uint8_t, kRainShuffleLength> RainShuffle;
extern const std::array<uint8_t, kWavePhaseStartLength> WavePhaseStart;
// 126 = no key.
extern const std::array<std::array<uint8_t, kSweepFrameSize>, kSweepFrameCount> SweepFrames;
// 255 = no key.
extern const std::array<std::array<uint8_t, 4>, kConvergeQuadCount> ConvergeQuads;
extern const std::array<std::array<uint8_t, 2>, kConvergePairCount> ConvergePairs;
extern const std::array<std::array<uint8_t, kKeyboardSpeedColumns>, kKeyboardModeRows> ModeTicks;

// WavePhaseStart read as a run of bytes; 0 past its end.
uint8_t WavePhaseStartByte(size_t index);
// `position` itself when it stands in KeyWaveOrder, else 126.
uint8_t LookupKeyIndex(uint8_t position);

}  // namespace device
