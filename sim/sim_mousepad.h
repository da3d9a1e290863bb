#pragma once
// The simulated lit mouse pad (vendor 0x320F, product 0x1004, 15 LEDs): the shared light
// accessory firmware; its light frames arrive as command 0x12.
//
//   auto pad = std::make_shared<sim::SimMousePad>();
//   bus.Plug(pad);
//   std::wstring command = bus.PathOf(*pad, 1, 2);  // col02: commands
//   std::wstring notify = bus.PathOf(*pad, 1, 1);   // col01: notifications

#include "sim/sim_onboard_light_device.h"

namespace sim {

inline constexpr uint16_t kMousePadProductId = 0x1004;
inline constexpr uint8_t kMousePadLedCount = 15;

class SimMousePad final : public SimLightAccessory {
  public:
    SimMousePad() : SimLightAccessory(kMousePadProductId, kMousePadLedCount) {}
};

}  // namespace sim
