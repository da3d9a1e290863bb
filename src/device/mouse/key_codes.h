#pragma once
// The mouse's ten keys and where the mouse keeps their codes. The mouse reports one 3-byte
// key code {category, modifier, usage} per key position; each key is found at the first
// position that holds its factory code, and a key assignment is written there.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "device/mouse/factory_key_codes.h"
#include "profile/key_function_record.h"

namespace device {

// The map value of a key the mouse's table does not hold.
inline constexpr int kNoMouseKeyPosition = 126;
inline constexpr size_t kMouseKeyTableBytes = 512;

// Language keys of the key names, in key order.
extern const std::array<const wchar_t*, kMouseKeyCount> kMouseKeyNameKeys;

// Key index -> key position. Entries 0..ledCount-1 start at kNoMouseKeyPosition; each of
// the ten keys then gets the first position of `table` (ledCount x 3 bytes) holding its
// factory code.
std::map<int, int> BuildMouseKeyPositions(std::span<const uint8_t> table, size_t ledCount);

// Writes the current code of each mapped key into `table` (the mouse's own table, whose
// other positions keep what the mouse reported). Keys without an assignment or without a
// position inside the table are left alone.
void PutMouseKeyAssignments(const std::map<int, int>& positions,
                            const std::vector<KeyAssignRecord>& assignments,
                            std::span<uint8_t> table);

}  // namespace device
