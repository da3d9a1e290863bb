#pragma once
// What the simulated mouse pad and headset share: one vendor interface with a
// notification collection (col01, input id 3: one 16-bit value such as 0x0401) and the
// command collection (col02, id 4, 63 bytes each way). The firmware keeps a capability
// block, the settings memory with a 21-byte light block per slot, the last light frame
// and a power state.
//
// Commands: 0x01/0x02 open and close a write session, 0x03 reads kInfo, 0x05/0x06 read
// and write kSettings, 0x12 writes kLightFrame, 0x1A reads kPower, 0xAA answers byte 8 =
// 0xFF. Every access is at the request's offset and length; one that leaves the memory,
// and an unknown command, get status 0xFF.

#include <cstdint>
#include <span>
#include <vector>

#include "sim/command_device.h"

namespace sim {

inline constexpr int kLightAccessoryInterface = 1;
inline constexpr uint8_t kLightAccessoryNotifyReportId = 3;

enum class LightAccessoryMemory {
    kInfo,        // 34-byte capability block: [5] LED count
    kSettings,    // [0] active slot; the light block of slot n read at n x 25
    kLightFrame,  // the last light frame, 3 bytes per LED
    kPower,       // [0] battery, [1] charge state, [3] wireless, [4] level (a reply's worth)
    kCount,
};

class SimLightAccessory : public SimCommandDevice {
  public:
    std::vector<uint8_t> Memory(LightAccessoryMemory which) const;
    // Overwrites bytes of a memory; false (nothing changed) when they do not fit.
    bool SetMemory(LightAccessoryMemory which, size_t offset, std::span<const uint8_t> bytes);

    // Input reports on the notification collection.
    bool SendNotification(uint16_t value, uint32_t delayMs = 0);
    bool RequestResync(uint32_t delayMs = 0) { return SendNotification(0x0401, delayMs); }

  protected:
    // `extraOutput`: descriptor items of further output reports in the command collection.
    SimLightAccessory(uint16_t productId, uint8_t ledCount,
                      const std::vector<uint8_t>& extraOutput = {});
    uint8_t HandleCommand(const CommandRequest& request, CommandReport& reply) override;

  private:
    std::vector<uint8_t>& MemoryLocked(LightAccessoryMemory which) {
        return MemoryAt(static_cast<size_t>(which));
    }
};

// The vendor interface's descriptor with `extraOutput` added to the command collection.
std::vector<uint8_t> LightAccessoryDescriptor(const std::vector<uint8_t>& extraOutput);

}  // namespace sim
