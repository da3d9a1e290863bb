#pragma once
// Report descriptors of the simulated mouse's two USB interfaces.
//
// Interface 0: a boot mouse (no report ids; input 3 bytes: five buttons, X, Y).
// Interface 1, two top-level collections:
//   col01  notifications, page 0x000C usage 0x0001, input id 3: one 16-bit value
//          (0x0401 asks for a re-sync; 0x0402 and 0x0404 mean nothing to the mouse)
//   col02  commands, page 0xFF1C usage 0x0092, id 4: 63 bytes in and out (64 with id)

#include <cstdint>
#include <vector>

namespace sim {

const std::vector<uint8_t>& MouseBootDescriptor();
const std::vector<uint8_t>& MouseVendorDescriptor();

inline constexpr uint8_t kMouseNotifyReportId = 3;
inline constexpr int kMouseNotifyCollection = 1;
inline constexpr int kMouseCommandCollection = 2;

}  // namespace sim
