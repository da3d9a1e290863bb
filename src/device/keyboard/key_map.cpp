#include "device/keyboard/key_map.h"

#include <algorithm>

namespace device {

namespace {

bool CodeAt(std::span<const uint8_t> table, size_t position, const KeyCode& code) {
    const size_t at = 3 * position;
    return at + 2 < table.size() && table[at] == code.category && table[at + 1] == code.modifier &&
           table[at + 2] == code.usage;
}

}  // namespace

void BuildKeyMaps(std::span<const uint8_t> keyCodeTable, std::span<const uint8_t> ledTable,
                  size_t keyCount, KeyboardKeyMaps& maps) {
    // The maps hold the layout's positions only; a count from the keyboard beyond them
    // must not write past the maps.
    const size_t reset = std::min(keyCount, kKeyboardLayoutKeys);
    std::fill_n(maps.keyPosition.begin(), reset, kNoKeyPosition);
    std::fill_n(maps.led.begin(), reset, kNoKeyPosition);
    const size_t searched = std::min(keyCount, keyCodeTable.size() / 3);
    for (size_t k = 0; k < kKeyboardLayoutKeys; ++k) {
        for (size_t p = 0; p < searched; ++p) {
            if (CodeAt(keyCodeTable, p, KeyboardLayoutTable[k])) {
                maps.keyPosition[k] = static_cast<uint8_t>(p);
                break;
            }
        }
    }
    for (size_t k = 0; k < reset; ++k) {
        const uint8_t p = maps.keyPosition[k];
        if (p != kNoKeyPosition && p < ledTable.size()) {
            maps.led[k] = ledTable[p];
        }
    }
}

int LayoutPositionOf(const KeyPositionMap& map, uint8_t position) {
    if (position == kNoKeyPosition) {
        return -1;
    }
    const auto it = std::find(map.begin(), map.end(), position);
    return it == map.end() ? -1 : static_cast<int>(it - map.begin());
}

}  // namespace device
