#pragma once
// The answer to the peer program's configuration query: which devices this program
// drives, as a fixed 1024-byte block of little-endian 32-bit values.

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr uint32_t kConfigAnswerKind = 5;
inline constexpr std::size_t kConfigAnswerSize = 1024;

// The build's four configuration bytes, the number of device-page rows, then vendor id,
// product id and device kind of each row; zero after that. Rows that would not fit are
// left out, so the block never grows.
std::array<uint8_t, kConfigAnswerSize> BuildConfigAnswer();
