#pragma once
// The light bytes that the keyboard's light block, the mouse's settings block and the
// onboard light block share: bytes 1..8 hold mode, brightness, speed, direction,
// multi-colour flag, red, green and blue. Speeds travel inverted (9 - index).

#include <cstdint>
#include <span>

#include "profile/light_record.h"

namespace device {

inline constexpr uint8_t kMaxWireSpeed = 9;

// The last brightness index the devices define; a stored one past it goes as this one.
inline constexpr uint8_t kMaxWireBrightness = 14;

// A stored brightness index as the devices take it.
uint8_t WireBrightness(uint8_t value);
// A stored flag or direction as the devices take it: set or forward (1), or not (0).
uint8_t WireFlag(unsigned value);
// 9 - `value` both ways. A stored index above 9 would wrap to a huge byte, so it is sent
// as 0; a byte above 9 from a device reads as index 0.
uint8_t InvertSpeedIndex(uint8_t value);
// Bytes 1..8 of `block` from `light`, with `mode` as the device is to be told it and
// brightness and direction as the device defines them.
void PutLightBytes(std::span<uint8_t> block, uint8_t mode, const LightRecord& light);
// Bytes 1..3 and 5..8 of a block the program holds from `light`, the speed as its index;
// the direction byte stays as it was.
void PutHeldLightBytes(std::span<uint8_t> block, const LightRecord& light);
// Mode, brightness, speed index, multi-colour flag and colour of `light` from those bytes;
// its other fields stay as they were.
void TakeHeldLightBytes(std::span<const uint8_t> block, LightRecord& light);

}  // namespace device
