#include "device/lighting/software_light_tables.h"

#include <algorithm>

#include "device/lighting/light_tables.h"

namespace device {
namespace {

constexpr std::array<uint8_t, kWaveCurveLength / 2> kWaveRise = {
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, kWaveCurveLength> MakeWaveCurve() {
    std::array<uint8_t, kWaveCurveLength> curve{};
    for (size_t i = 0; i < kWaveRise.size(); ++i) {
        curve[i] = kWaveRise[i];
        curve[kWaveCurveLength - 1 - i] = kWaveRise[i];
    }
    return curve;
}

constexpr uint8_t N = kNoTrailLed;

}  // namespace

const std::array<uint8_t, kWaveCurveLength> WaveCurve96 = MakeWaveCurve();

const std::array<uint8_t, 15> SpectrumTicks = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0};

const std::array<std::array<uint8_t, kTrailGroupSize>, kTrailGroupCount> TrailLedGroups = {{
    {0, 18, 18},
    {1, N, 17},
    {2, N, 16},
    {3, N, 15},
    {4, N, 14},
    {5, N, 13},
    {6, N, 12},
    {7, 9, 11},
    {8, 9, 10},
}};

uint8_t SpectrumTicksForIndex(uint8_t index) {
    return SpectrumTicks[std::min<size_t>(index, SpectrumTicks.size() - 1)];
}

uint8_t ScaledLevel(uint8_t brightnessIndex, unsigned factor) {
    const unsigned level = BrightnessForIndex(brightnessIndex);
    return factor >= 256 ? static_cast<uint8_t>(level) : static_cast<uint8_t>(level * factor >> 8);
}

}  // namespace device
