#include "sim/sim_onboard_light_device.h"

#include <algorithm>

namespace sim {
namespace {

constexpr uint16_t kVendorId = 0x320F;
constexpr uint16_t kVersion = 0x0102;
constexpr size_t kInfoSize = 34;
constexpr size_t kSettingsSize = 1024;
constexpr size_t kLightFrameSize = 512;

}  // namespace

std::vector<uint8_t> LightAccessoryDescriptor(const std::vector<uint8_t>& extraOutput) {
    std::vector<uint8_t> descriptor = {
        // col01: notifications
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,   // consumer, consumer control
        0x85, kLightAccessoryNotifyReportId,  //   report id 3
        0x09, 0x01, 0x15, 0x00,               //   usage 1, logical min 0
        0x27, 0xFF, 0xFF, 0x00, 0x00,         //   logical max 0xFFFF
        0x75, 0x10, 0x95, 0x01, 0x81, 0x02,   //   1 x 16 bits, input variable
        0xC0,
        // col02: commands
        0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01,        // vendor page 0xFF1C, usage 0x92
        0x85, 0x04,                                      //   report id 4
        0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,        //   usage 1, logical 0..255
        0x75, 0x08, 0x95, 0x3F, 0x81, 0x02,              //   63 bytes in
        0x09, 0x02, 0x75, 0x08, 0x95, 0x3F, 0x91, 0x02,  // 63 bytes out
    };
    descriptor.insert(descriptor.end(), extraOutput.begin(), extraOutput.end());
    descriptor.push_back(0xC0);
    return descriptor;
}

SimLightAccessory::SimLightAccessory(uint16_t productId, uint8_t ledCount,
                                     const std::vector<uint8_t>& extraOutput)
    : SimCommandDevice(kVendorId, productId, kVersion,
                       {{kLightAccessoryInterface, LightAccessoryDescriptor(extraOutput)}},
                       kLightAccessoryInterface,
                       static_cast<size_t>(LightAccessoryMemory::kCount)) {
    auto memory = [this](LightAccessoryMemory which, size_t size) -> std::vector<uint8_t>& {
        return ResetMemory(static_cast<size_t>(which), size);
    };
    memory(LightAccessoryMemory::kInfo, kInfoSize)[5] = ledCount;
    // Slot 0 active; its block: wave, brightness 4, speed byte 5 (speed index 4),
    // direction 1, multi-colour, red; bytes 9..20 the firmware's own.
    const uint8_t block[21] = {0, 0, 4, 5, 1, 1, 0xFF, 0, 0, 0x11, 0x12, 0x13, 0x14, 0x15};
    std::vector<uint8_t>& settings = memory(LightAccessoryMemory::kSettings, kSettingsSize);
    std::copy(std::begin(block), std::end(block), settings.begin());
    memory(LightAccessoryMemory::kLightFrame, kLightFrameSize);
    std::vector<uint8_t>& power = memory(LightAccessoryMemory::kPower, kCommandPayloadSize);
    power[0] = 80;
    power[4] = 3;
}

std::vector<uint8_t> SimLightAccessory::Memory(LightAccessoryMemory which) const {
    return CopyMemory(static_cast<size_t>(which));
}

bool SimLightAccessory::SetMemory(LightAccessoryMemory which, size_t offset,
                                  std::span<const uint8_t> bytes) {
    return PutMemory(static_cast<size_t>(which), offset, bytes);
}

bool SimLightAccessory::SendNotification(uint16_t value, uint32_t delayMs) {
    return SendNotifyValue(kLightAccessoryNotifyReportId, value, delayMs);
}

uint8_t SimLightAccessory::HandleCommand(const CommandRequest& request, CommandReport& reply) {
    switch (request.command) {
        case 0x03:
            return ReadRegion(MemoryLocked(LightAccessoryMemory::kInfo), request, reply);
        case 0x05:
            return ReadRegion(MemoryLocked(LightAccessoryMemory::kSettings), request, reply);
        case 0x06:
            return WriteRegion(MemoryLocked(LightAccessoryMemory::kSettings), request);
        case 0x12:
            return WriteRegion(MemoryLocked(LightAccessoryMemory::kLightFrame), request);
        case 0x1A:
            return ReadRegion(MemoryLocked(LightAccessoryMemory::kPower), request, reply);
        default:
            return HandleCommonCommand(request, reply);
    }
}

}  // namespace sim
