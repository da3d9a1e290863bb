#include "device/lighting/light_tables.h"

#include <algorithm>

namespace device {
namespace {

constexpr std::array<uint8_t, 64> kBreathingRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, 32> kWheelRise = {
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kWheelFall = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};

constexpr std::array<uint8_t, kBreathingCurveLength> MakeBreathingCurve() {
    std::array<uint8_t, kBreathingCurveLength> curve{};
    for (size_t i = 0; i < kBreathingRise.size(); ++i) {
        curve[i] = kBreathingRise[i];
        curve[64 + i] = kBreathingRise[63 - i];
    }
    return curve;
}

constexpr Rgb WheelSegmentEntry(size_t segment, uint8_t up, uint8_t down) {
    switch (segment) {
        case 0:
            return {255, up, 0};
        case 1:
            return {down, 255, 0};
        case 2:
            return {0, 255, up};
        case 3:
            return {0, down, 255};
        case 4:
            return {up, 0, 255};
        default:
            return {255, 0, down};
    }
}

constexpr std::array<Rgb, kColourWheelLength> MakeColourWheel() {
    std::array<Rgb, kColourWheelLength> wheel{};
    for (size_t segment = 0; segment < 6; ++segment) {
        for (size_t i = 0; i < 32; ++i) {
            wheel[32 * segment + i] = WheelSegmentEntry(segment, kWheelRise[i], kWheelFall[i]);
        }
    }
    return wheel;
}

constexpr uint8_t N = kNoRingLed;

}  // namespace

const std::array<uint8_t, kBrightnessLevelCount> BrightnessLevels = {
    1, 30, 50, 66, 82, 98, 114, 130, 146, 162, 178, 194, 210, 230, 255};

const std::array<uint8_t, kBreathingCurveLength> BreathingCurve128 = MakeBreathingCurve();

const std::array<Rgb, kColourWheelLength> ColourWheel = MakeColourWheel();

const std::array<Rgb, kFourColourCount> FourColours = {Rgb{0, 255, 180}, Rgb{0, 255, 0},
                                                       Rgb{255, 255, 255}, Rgb{255, 0, 0}};

const std::array<uint8_t, kSpeedLevelCount> SpeedTicks = {28, 23, 18, 13, 7, 0, 0, 0,
                                                          0,  0,  0,  0,  0, 0, 0};

const std::array<std::array<uint8_t, kKeyGridRowCount>, kKeyGridColumnCount> KeyGridColumns = {{
    {126, 120, 121, 122, 123, 124}, {126, 0, 42, 63, 84, 105},     {21, 22, 43, 64, 85, 106},
    {1, 23, 44, 65, 86, 126},       {2, 24, 45, 66, 87, 107},      {3, 25, 46, 67, 88, 126},
    {4, 26, 47, 68, 89, 108},       {126, 27, 48, 69, 90, 126},    {5, 28, 49, 70, 91, 126},
    {6, 29, 50, 71, 92, 109},       {7, 30, 51, 72, 93, 126},      {8, 31, 52, 73, 94, 125},
    {9, 32, 53, 74, 126, 110},      {10, 33, 54, 126, 126, 111},   {11, 34, 55, 75, 95, 112},
    {12, 126, 126, 126, 126, 113},  {13, 15, 126, 126, 96, 114},   {14, 36, 56, 37, 58, 115},
    {126, 126, 126, 126, 126, 126}, {126, 38, 59, 76, 97, 116},    {126, 39, 60, 77, 98, 126},
    {126, 40, 61, 78, 99, 117},     {126, 41, 126, 119, 118, 126},
}};

const std::array<std::array<uint8_t, kKeyRingRowLength>, kKeyRingRowCount> KeyRingGrid = {{
    {70, N, N, N, N, N, N, N, N, N, N, N},
    {49, 69, 90, 91, 71, 50, N, N, N, N, N, N},
    {28, 48, 68, 89, 108, 92, 72, 51, 30, 29, N, N},
    {27, 47, 67, 88, 31, 52, 73, 93, N, N, N, N},
    {26, 46, 66, 87, 32, 53, 74, 94, 109, N, N, N},
    {25, 45, 65, 86, 33, 54, 112, 110, 95, N, N, N},
    {24, 44, 64, 85, 107, 34, 55, 75, 96, 111, N, N},
    {23, 43, 63, N, 106, 113, N, N, N, N, N, N},
    {22, 42, 84, 37, 58, 56, 114, N, N, N, N, N},
    {0, 105, 36, 115, N, N, N, N, N, N, N, N},
    {N, N, N, N, N, N, N, N, N, N, N, N},
    {N, N, N, N, N, N, N, N, N, N, N, N},
}};

uint8_t BrightnessForIndex(uint8_t index) {
    return BrightnessLevels[std::min<size_t>(index, kBrightnessLevelCount - 1)];
}

uint8_t SpeedTicksForIndex(uint8_t index) {
    return SpeedTicks[std::min<size_t>(index, kSpeedLevelCount - 1)];
}

}  // namespace device
