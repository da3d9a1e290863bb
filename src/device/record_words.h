#pragma once
// Stored records as the three 32-bit words the relays and the shared light operations pass
// them in: byte i of the record is byte i % 4 of word i / 4, low byte first.

#include <array>
#include <cstdint>
#include <vector>

#include "profile/key_function_record.h"
#include "profile/light_record.h"

namespace device {

// Bytes 0..11 of `light`; its custom group (byte 12) travels on its own.
std::array<uint32_t, 3> LightRecordWords(const LightRecord& light);
LightRecord LightRecordOfWords(uint32_t first, uint32_t second, uint32_t third,
                               uint8_t customGroup);
KeyAssignRecord KeyAssignRecordOfWords(uint32_t first, uint32_t second, uint32_t third);
// Gives key `key` of `assignments` the current function (type, p1, p2) that the words
// carry; false, and nothing changed, for a key the list does not hold.
bool SetCurrentKeyFunction(std::vector<KeyAssignRecord>& assignments, int key, uint32_t first,
                           uint32_t second, uint32_t third);

}  // namespace device
