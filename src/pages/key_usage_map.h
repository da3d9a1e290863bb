#pragma once
// Key numbers of the input sources turned into the HID usages the devices and the
// key-code tables speak: the Linux input event codes of /dev/input keyboards and the
// Windows-style virtual-key codes of the program's own windows. 0 for a key without one.

#include <cstdint>

uint8_t HidUsageFromEvdevCode(uint16_t code);
uint8_t HidUsageFromVirtualKey(uint32_t vk);
// The same for a key message of a window: `keyData` (its lParam) tells the right-hand Shift,
// Ctrl and Alt and the keypad's Enter from the keys that share their virtual-key code.
uint8_t HidUsageFromKeyMessage(uint32_t vk, uint32_t keyData);

// The modifier bit of a modifier key's usage (0xE0 .. 0xE7), 0 for any other usage.
inline uint8_t ModifierBitOfUsage(uint8_t usage) {
    return usage >= 0xE0 && usage <= 0xE7 ? static_cast<uint8_t>(1u << (usage - 0xE0)) : 0;
}
