#pragma once
// The keyboard's 126 layout positions and how they are found on a given keyboard: each
// position is a key code {category, modifier, HID usage}; the keyboard reports one key
// code per key-code position and one LED number per key-code position, and the maps
// built here send a layout position to both.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/keyboard/layout_table.h"

namespace device {

// A map entry for a layout position the keyboard does not have.
inline constexpr uint8_t kNoKeyPosition = 255;
inline constexpr size_t kKeyboardTableBytes = 512;

using KeyPositionMap = std::array<uint8_t, kKeyboardLayoutKeys>;

struct KeyboardKeyMaps {
    KeyPositionMap keyPosition{};  // layout position -> key-code position
    KeyPositionMap led{};          // layout position -> LED number
};

// Updates `maps` from the tables read from a keyboard reporting `keyCount` key-code
// positions. Only the first `keyCount` entries are reset, and a layout position without
// a matching code keeps its entry, as the keyboard's firmware tools expect. Codes beyond
// the key-code table are never read.
void BuildKeyMaps(std::span<const uint8_t> keyCodeTable, std::span<const uint8_t> ledTable,
                  size_t keyCount, KeyboardKeyMaps& maps);

// The layout position whose key-code position is `position`; -1 when none.
int LayoutPositionOf(const KeyPositionMap& map, uint8_t position);

}  // namespace device
