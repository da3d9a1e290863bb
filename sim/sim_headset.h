#pragma once
// The simulated headset (vendor 0x320F, product 0x1006, 13 LEDs): the shared light
// accessory firmware, plus 17-byte LED output reports (id 0xFF) on its command collection:
// [1] group 0x22 or 0x44, [2] register 0xAA..0xAF (red, green, blue of LEDs 0..6, then of
// LEDs 7..12), [4..] the channel values. It keeps what each group last showed.
//
//   auto headset = std::make_shared<sim::SimHeadset>();
//   bus.Plug(headset);
//   headset->LedReports();            // every LED report received, oldest first
//   headset->GroupColours(0x22);      // {r, g, b} per LED as group 0x22 shows them

#include <array>
#include <cstdint>
#include <vector>

#include "sim/sim_onboard_light_device.h"

namespace sim {

inline constexpr uint16_t kHeadsetProductId = 0x1006;
inline constexpr uint8_t kHeadsetLedCount = 13;
inline constexpr uint8_t kHeadsetLedReportId = 0xFF;
inline constexpr size_t kHeadsetLedReportSize = 17;

class SimHeadset final : public SimLightAccessory {
  public:
    using LedColours = std::array<std::array<uint8_t, 3>, kHeadsetLedCount>;

    SimHeadset();

    std::vector<std::vector<uint8_t>> LedReports() const;
    void ClearLedReports();
    // 0x22 or 0x44; all zero for another group.
    LedColours GroupColours(uint8_t group) const;

  protected:
    bool TakeOtherReport(int interfaceNumber, std::span<const uint8_t> report,
                         bool viaControl) override;

  private:
    mutable std::mutex ledMutex_;
    std::vector<std::vector<uint8_t>> ledReports_;
    std::array<LedColours, 2> groups_{};
};

}  // namespace sim
