#pragma once
// The 21-byte light block the mouse pad and the headset keep per onboard slot. The device
// stores 9 - speed index in byte 3; the program holds the speed index itself there and
// converts on every read and write. Bytes 9..20 are the device's own and go back as read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace device {

inline constexpr size_t kOnboardLightBlockSize = 21;
// Where the block of slot n is read (n x 25, 26 bytes) and written (n x 64).
inline constexpr uint16_t kOnboardReadStride = 25;
inline constexpr uint16_t kOnboardReadLength = 26;
inline constexpr uint16_t kOnboardWriteStride = 64;
// Modes from this one on are played by the program; the device is told mode 0.
inline constexpr uint8_t kFirstSoftwareMode = 9;

using OnboardLightBlock = std::array<uint8_t, kOnboardLightBlockSize>;

enum OnboardBlockByte : size_t {
    kBlockSlot = 0,
    kBlockMode = 1,
    kBlockBrightness = 2,
    kBlockSpeed = 3,
    kBlockDirection = 4,
    kBlockMultiColour = 5,
    kBlockRed = 6,
    kBlockGreen = 7,
    kBlockBlue = 8,
};

// The held block from the bytes read (at least 21 of them).
OnboardLightBlock DecodeOnboardLightBlock(std::span<const uint8_t> bytes);
// The bytes written for a held block.
OnboardLightBlock EncodeOnboardLightBlock(const OnboardLightBlock& held);

}  // namespace device
