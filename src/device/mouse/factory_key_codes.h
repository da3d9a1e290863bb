#pragma once
// The mouse's ten keys' factory codes {category, modifier, usage}. Header only, so that
// the simulated firmware can ship the same codes without linking the device library.

#include <array>
#include <cstdint>

namespace device {

inline constexpr int kMouseKeyCount = 10;

using MouseKeyCode = std::array<uint8_t, 3>;
// In key order: left, right, middle, forward, back, DPI up, DPI down, DPI cycle, game
// mode, M8.
inline constexpr std::array<MouseKeyCode, kMouseKeyCount> kMouseFactoryKeyCodes = {{
    {16, 1, 0},
    {16, 2, 0},
    {16, 4, 0},
    {16, 16, 0},
    {16, 8, 0},
    {19, 1, 0},
    {19, 2, 0},
    {19, 3, 0},
    {160, 27, 0},
    {22, 144, 1},
}};

}  // namespace device
