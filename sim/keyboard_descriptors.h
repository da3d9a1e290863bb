#pragma once
// Report descriptors of the simulated keyboard's two USB interfaces.
//
// Interface 0: a boot keyboard (no report ids; input 8 bytes, LED output 1 byte).
// Interface 1, four top-level collections:
//   col01  system control, page 0x0001 usage 0x0080, input id 1 (3 bits + padding)
//   col02  keyboard bitmap, page 0x0001 usage 0x0006, input id 2 (8 modifiers, 120 keys)
//   col03  notifications, page 0x000C usage 0x0001, input id 3: one 16-bit value
//          (0x0401, 0x0402, 0x0404, 0x05xx key down, 0x06xx key up)
//   col04  commands, page 0xFF1C usage 0x0092, id 4: 63 bytes in and out (64 with id)

#include <cstdint>
#include <vector>

namespace sim {

const std::vector<uint8_t>& KeyboardBootDescriptor();
const std::vector<uint8_t>& KeyboardVendorDescriptor();

inline constexpr uint8_t kKeyboardNotifyReportId = 3;

}  // namespace sim
