#pragma once
// The fixed tables of the software light effects. Their values match the device family's
// own firmware animations, so an effect computed here looks like the one the device runs.

#include <array>
#include <cstddef>
#include <cstdint>

namespace device {

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr size_t kBrightnessLevelCount = 15;
inline constexpr size_t kSpeedLevelCount = 15;
inline constexpr size_t kBreathingCurveLength = 128;
inline constexpr size_t kColourWheelLength = 192;
inline constexpr size_t kFourColourCount = 4;
inline constexpr size_t kKeyGridColumnCount = 23;
inline constexpr size_t kKeyGridRowCount = 6;
inline constexpr size_t kKeyRingRowCount = 12;
inline constexpr size_t kKeyRingRowLength = 12;
// Marks a grid cell without an LED.
inline constexpr uint8_t kNoGridLed = 126;
inline constexpr uint8_t kNoRingLed = 255;

extern const std::array<uint8_t, kBrightnessLevelCount> BrightnessLevels;
extern const std::array<uint8_t, kBreathingCurveLength> BreathingCurve128;
extern const std::array<Rgb, kColourWheelLength> ColourWheel;
extern const std::array<Rgb, kFourColourCount> FourColours;
extern const std::array<uint8_t, kSpeedLevelCount> SpeedTicks;
extern const std::array<std::array<uint8_t, kKeyGridRowCount>, kKeyGridColumnCount> KeyGridColumns;
extern const std::array<std::array<uint8_t, kKeyRingRowLength>, kKeyRingRowCount> KeyRingGrid;

// Indexes read from profiles or devices are untrusted: out-of-range ones take the last
// entry rather than reading past the table.
uint8_t BrightnessForIndex(uint8_t index);
uint8_t SpeedTicksForIndex(uint8_t index);

}  // namespace device
