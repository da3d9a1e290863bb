#include "device/keyboard/light_tables.h"

#include <algorithm>

namespace device {
namespace {

constexpr std::array<uint8_t, 88> kPulseRise = {
    0,   4,   8,   14,  22,  33,  45,  61,  77,  84,  100, 110, 120, 130, 140, 150, 158, 166,
    175, 182, 191, 204, 220, 234, 255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182,
    176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,
    81,  77,  73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};

constexpr std::array<uint8_t, 105> kWaveOrderKeys = {
    15, 14, 13,  12,  11,  10,  9,   8,   7,   6,   5,   4,   3,   2,   1,   0,   21,  42,
    63, 84, 105, 106, 107, 108, 109, 125, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119,
    41, 40, 39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,  24,
    23, 22, 43,  64,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,  97,  98,
    99, 78, 61,  60,  59,  58,  57,  56,  55,  54,  53,  52,  51,  50,  49,  48,  47,  46,
    45, 44, 65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77};

constexpr std::array<uint8_t, 110> kSnakeOrderKeys = {
    0,  1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14, 15, 17, 18, 19,
    20, 41,  40,  39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28, 27, 26, 25, 24,
    23, 22,  21,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53, 54, 55, 56, 57,
    58, 59,  60,  61,  119, 78,  77,  76,  75,  126, 74,  73,  72,  71,  70, 69, 68, 67, 66,
    65, 64,  63,  84,  126, 85,  86,  87,  88,  89,  90,  91,  92,  93,  94, 95, 96, 97, 98,
    99, 118, 117, 116, 115, 114, 113, 112, 111, 110, 109, 108, 107, 106, 105};

template <size_t N>
constexpr std::array<uint8_t, kKeyboardPositions> PadWithNoKey(const std::array<uint8_t, N>& keys) {
    static_assert(N <= kKeyboardPositions);
    std::array<uint8_t, kKeyboardPositions> order{};
    order.fill(kNoKeyboardKey);
    for (size_t i = 0; i < N; ++i) {
        order[i] = keys[i];
    }
    return order;
}

constexpr std::array<uint8_t, kPulseCurveLength> MakePulseCurve() {
    std::array<uint8_t, kPulseCurveLength> curve{};
    for (size_t i = 0; i < kPulseRise.size(); ++i) {
        curve[i] = kPulseRise[i];
    }
    return curve;
}

constexpr std::array<bool, 256> MakeWaveOrderMembership() {
    std::array<bool, 256> member{};
    for (uint8_t key : kWaveOrderKeys) {
        member[key] = true;
    }
    return member;
}

constexpr std::array<bool, 256> kInWaveOrder = MakeWaveOrderMembership();

constexpr uint8_t X = kNoGridKey;
constexpr uint8_t K = kNoKeyboardKey;

// The mode rows of ModeTicks come in five kinds.
constexpr std::array<uint8_t, kKeyboardSpeedColumns> kRowA = {10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
constexpr std::array<uint8_t, kKeyboardSpeedColumns> kRowB = {13, 12, 11, 10, 9, 8, 7, 6, 5, 4};
constexpr std::array<uint8_t, kKeyboardSpeedColumns> kRowC = {6, 6, 6, 6, 6, 6, 6, 6, 6, 6};
constexpr std::array<uint8_t, kKeyboardSpeedColumns> kRowD = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
constexpr std::array<uint8_t, kKeyboardSpeedColumns> kRowE = {0, 28, 23, 18, 13, 7};

}  // namespace

const std::array<uint8_t, kPulseCurveLength> PulseCurve192 = MakePulseCurve();

const std::array<std::array<uint8_t, kGrid7Rows>, 23> KeyGridColumns7 = {{
    {X, X, X, X, X, X, 105},      {X, X, 21, 42, 63, 84, 106},  {X, 0, 22, 43, 64, 85, 107},
    {X, 1, 23, 44, 65, 86, X},    {X, 2, 24, 45, 66, 87, X},    {X, 3, 25, 46, 67, 88, X},
    {X, 4, 26, 47, 68, 89, 108},  {X, X, 27, 48, 69, 90, X},    {X, 5, 28, 49, 70, 91, X},
    {X, 6, 29, 50, 71, 92, 109},  {X, 7, 30, 51, 72, 93, 109},  {X, 8, 31, 52, 73, 94, 110},
    {X, 9, 32, 53, 74, X, 111},   {X, 10, 33, 54, 75, X, X},    {X, 11, 34, 55, X, 95, 112},
    {X, 12, 34, 55, X, 95, 112},  {X, 13, 35, 58, X, X, 113},   {X, 14, 36, 57, X, 96, 114},
    {X, 15, 37, 56, X, X, 115},   {X, 17, 38, 59, 76, 97, 116}, {125, 18, 39, 60, 77, 98, 116},
    {X, 19, 40, 61, 78, 99, 117}, {X, 20, 41, X, 119, 118, X},
}};

const std::array<uint8_t, kKeyboardPositions> KeyWaveOrder = PadWithNoKey(kWaveOrderKeys);

const std::array<uint8_t, kKeyboardPositions> KeySnakeOrder = PadWithNoKey(kSnakeOrderKeys);

const std::array<uint8_t, kRainShuffleLength> RainShuffle = {
    88, 24, 101, 57, 49, 20, 5,  14, 16, 69, 35, 34, 83, 94, 6,  61, 10,  23, 39, 3,  102,
    17, 65, 22,  36, 51, 78, 18, 38, 53, 2,  62, 64, 90, 96, 74, 91, 80,  86, 89, 43, 28,
    58, 59, 12,  66, 97, 9,  48, 95, 77, 70, 72, 56, 44, 99, 68, 98, 71,  27, 81, 1,  0,
    87, 92, 40,  25, 26, 7,  30, 50, 84, 15, 60, 54, 21, 45, 67, 19, 103, 33, 41, 55, 52,
    13, 47, 42,  93, 46, 75, 37, 73, 32, 79, 8,  29, 31, 4,  85, 76, 100, 82, 11, 63};

const std::array<uint8_t, kWavePhaseStartLength> WavePhaseStart = {
    72,  52,  32,  12,  182, 162, 72,  52,  32, 12,  182, 162, 120, 100, 80,  60,  40, 20, 92,  82,
    72,  62,  52,  42,  160, 140, 120, 100, 80, 60,  80,  70,  60,  50,  20,  10,  90, 30, 0,   160,
    130, 100, 50,  30,  10,  180, 160, 140, 32, 22,  12,  2,   182, 172, 120, 100, 80, 60, 40,  20,
    20,  5,   185, 170, 155, 140, 60,  35,  15, 180, 155, 130, 120, 110, 100, 90,  80, 70, 192, 162,
    132, 102, 72,  32,  80,  70,  60,  50,  20, 10,  100, 95,  90,  85,  80,  75,  90, 80, 70,  60,
    50,  40,  140, 110, 80,  50,  20,  180, 70, 55,  40,  25,  10,  190, 120, 100, 80, 60, 40,  20,
    92,  82,  72,  62,  52,  42,  60,  50,  40, 30,  20,  10,  192, 162, 132, 102, 72, 32};

const std::array<std::array<uint8_t, kSweepFrameSize>, kSweepFrameCount> SweepFrames = {{
    {25, 26, 50, 51, K, K, K, K, K, K, K, K},
    {0, 26, 27, 50, 51, K, K, K, K, K, K, K},
    {27, 28, 50, 51, K, K, K, K, K, K, K, K},
    {1, 27, 50, 51, K, K, K, K, K, K, K, K},
    {2, 27, 50, 51, K, K, K, K, K, K, K, K},
    {3, 28, 51, K, K, K, K, K, K, K, K, K},
    {4, 29, 51, K, K, K, K, K, K, K, K, K},
    {29, 51, K, K, K, K, K, K, K, K, K, K},
    {5, 29, 51, K, K, K, K, K, K, K, K, K},
    {6, 30, 51, K, K, K, K, K, K, K, K, K},
    {7, 30, 51, K, K, K, K, K, K, K, K, K},
    {8, 51, K, K, K, K, K, K, K, K, K, K},
    {31, 52, K, K, K, K, K, K, K, K, K, K},
    {9, 32, 52, K, K, K, K, K, K, K, K, K},
    {10, 32, 52, K, K, K, K, K, K, K, K, K},
    {11, 33, 52, K, K, K, K, K, K, K, K, K},
    {12, 34, 53, 52, K, K, K, K, K, K, K, K},
    {13, 34, 53, 52, K, K, K, K, K, K, K, K},
    {14, 34, 53, 52, K, K, K, K, K, K, K, K},
    {15, 35, 52, K, K, K, K, K, K, K, K, K},
    {36, 52, K, K, K, K, K, K, K, K, K, K},
    {37, 52, K, K, K, K, K, K, K, K, K, K},
    {38, 52, K, K, K, K, K, K, K, K, K, K},
    {39, 52, K, K, K, K, K, K, K, K, K, K},
    {41, 40, 38, 52, 54, 53, 55, 39, K, K, K, K},
    {119, 61, 60, 59, 58, 57, 56, 55, 54, 53, 52, K},
    {52, 53, 76, 78, 77, 54, 55, K, K, K, K, K},
    {73, 74, 75, 97, 98, 99, 118, K, K, K, K, K},
    {73, 74, 96, 117, 116, K, K, K, K, K, K, K},
    {73, 95, 96, 75, 116, 117, K, K, K, K, K, K},
    {73, 74, 95, 115, 116, K, K, K, K, K, K, K},
    {73, 95, 115, 114, K, K, K, K, K, K, K, K},
    {73, 95, 114, 113, K, K, K, K, K, K, K, K},
    {73, 95, 113, K, K, K, K, K, K, K, K, K},
    {73, 95, 112, K, K, K, K, K, K, K, K, K},
    {73, 94, 111, K, K, K, K, K, K, K, K, K},
    {73, 94, 125, K, K, K, K, K, K, K, K, K},
    {73, 93, 109, 110, K, K, K, K, K, K, K, K},
    {72, 92, 108, K, K, K, K, K, K, K, K, K},
    {72, 92, 108, K, K, K, K, K, K, K, K, K},
    {108, 91, 72, K, K, K, K, K, K, K, K, K},
    {108, 90, 91, 72, K, K, K, K, K, K, K, K},
    {108, 90, 71, 72, K, K, K, K, K, K, K, K},
    {108, 89, 90, 71, 72, K, K, K, K, K, K, K},
    {107, 88, 89, 71, 72, K, K, K, K, K, K, K},
    {106, 107, 87, 88, 89, 70, 71, 72, K, K, K, K},
    {105, 106, 87, 88, 70, 72, K, K, K, K, K, K},
    {124, 105, 86, 87, 88, 70, 71, 72, K, K, K, K},
    {123, 84, 85, 69, 70, 71, 72, 86, K, K, K, K},
    {122, 63, 64, 65, 68, 66, 67, 50, 51, K, K, K},
    {121, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, K},
    {51, 21, 22, 23, 24, 48, 49, 50, 120, K, K, K},
}};

const std::array<std::array<uint8_t, 4>, kConvergeQuadCount> ConvergeQuads = {{
    {0, 115, X, X},
    {22, 114, X, X},
    {23, 113, X, X},
    {24, 111, 42, 56},
    {25, 110, 43, 96},
    {26, 109, 44, 95},
    {27, X, 45, 94},
    {28, X, 46, 93},
    {29, X, 47, 92},
    {50, 91, 48, 91},
    {71, 90, 49, 90},
    {91, 69, 50, 69},
    {90, 49, 71, X},
    {69, 50, 70, X},
    {49, 71, X, X},
}};

const std::array<std::array<uint8_t, 2>, kConvergePairCount> ConvergePairs = {{
    {49, 91},
    {50, 90},
    {71, 69},
    {91, 49},
    {90, 50},
    {69, 71},
    {70, 70},
}};

const std::array<std::array<uint8_t, kKeyboardSpeedColumns>, kKeyboardModeRows> ModeTicks = {{
    kRowA, kRowA, kRowA, kRowA, kRowA, kRowA,  // 0..5
    kRowB, kRowB, kRowB, kRowB, kRowB, kRowB,  // 6..11
    kRowA, kRowB, kRowA, kRowA, kRowC, kRowB,  // 12..17
    kRowD, kRowA, kRowB, kRowB, kRowB, kRowB,  // 18..23
    kRowB, kRowE, kRowE, kRowE, kRowE, kRowE,  // 24..29
    kRowE,                                     // 30
}};

uint8_t WavePhaseStartByte(size_t index) {
    return index < WavePhaseStart.size() ? WavePhaseStart[index] : 0;
}

uint8_t LookupKeyIndex(uint8_t position) {
    return kInWaveOrder[position] ? position : kNoKeyboardKey;
}

}  // namespace device
