#pragma once
// The keyboard's 26-byte light block: the light mode the keyboard runs by itself, plus
// three of its system flags and its polling rate. Speeds travel inverted (9 - index).

#include <array>
#include <cstdint>

#include "profile/keyboard_profiledata.h"
#include "profile/light_record.h"

namespace device {

inline constexpr size_t kKeyboardLightBlockSize = 26;
// Blocks of consecutive slots overlap by one byte.
inline constexpr uint16_t kKeyboardSlotStride = 25;
// Modes from here on exist only in the program; the keyboard is told mode 0.
inline constexpr uint8_t kFirstSoftwareOnlyMode = 21;
inline constexpr uint8_t kMaxSpeedIndex = 9;
// Polling-rate options 0..3; the page shows any other stored option as option 0.
inline constexpr uint16_t kKeyboardPollingOptionCount = 4;

using KeyboardLightBlock = std::array<uint8_t, kKeyboardLightBlockSize>;

KeyboardLightBlock EncodeKeyboardLightBlock(uint8_t firstByte, const LightRecord& light,
                                            const KeyboardSystemStages& stages);

// What a block read back from the keyboard says.
struct DecodedLightBlock {
    uint8_t activeSlot = 0;
    // mode..blue with the speed turned back to an index; qrvmMode and customGroup set.
    LightRecord light;
    uint16_t key6Flag = 0;
    uint16_t wFlag = 0;
    uint16_t winFlag = 0;
};

DecodedLightBlock DecodeKeyboardLightBlock(const KeyboardLightBlock& block);

}  // namespace device
