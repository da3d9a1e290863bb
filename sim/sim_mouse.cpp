#include "sim/sim_mouse.h"

#include <algorithm>

#include "device/mouse/factory_key_codes.h"
#include "sim/mouse_descriptors.h"

namespace sim {
namespace {

std::vector<platform::hid::SimHidInterface> MouseInterfaces() {
    return {{0, MouseBootDescriptor()}, {1, MouseVendorDescriptor()}};
}

void PutU16(std::vector<uint8_t>& memory, size_t at, uint16_t value) {
    memory[at] = static_cast<uint8_t>(value & 0xFF);
    memory[at + 1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

SimMouse::SimMouse()
    : SimCommandDevice(kMouseVendorId, kMouseProductId, kMouseVersion, MouseInterfaces(),
                       kMouseCommandInterface, static_cast<size_t>(MouseMemory::kCount)) {
    auto memory = [this](MouseMemory which, size_t size) -> std::vector<uint8_t>& {
        return ResetMemory(static_cast<size_t>(which), size);
    };
    std::vector<uint8_t>& info = memory(MouseMemory::kInfo, 34);
    info[5] = kMouseLedCount;
    info[6] = kMouseMacroUnits;
    info[11] = kMouseDpiMultiplier;
    PutU16(info, 12, kMouseMaxDpiSlider);
    PutU16(info, 14, kMouseMinDpi);
    std::vector<uint8_t>& codes = memory(MouseMemory::kKeyCodes, 512);
    for (size_t key = 0; key < device::kMouseFactoryKeyCodes.size(); ++key) {
        const device::MouseKeyCode& code = device::kMouseFactoryKeyCodes[key];
        std::copy(code.begin(), code.end(), codes.begin() + 3 * kMouseKeyPositions[key]);
    }
    // Profile 0 active; its area: mode 3 (static), brightness 4, speed byte 4 (index 5),
    // direction 1, one colour, green; polling option 2, DPI stage 1 of two.
    std::vector<uint8_t>& settings = memory(MouseMemory::kSettings, kMouseProfileCount * 128);
    const uint8_t area[] = {0, 3, 4,  4, 1,  0, 0,  0xFF, 0,    0, 0, 2,
                            1, 0, 1,  0, 16, 0, 16, 0,    0xFF, 0, 0,  // stage 0: 800 DPI
                            1, 0, 32, 0, 32, 0, 0,  0xFF, 0};          // stage 1: 1600 DPI
    std::copy(std::begin(area), std::end(area), settings.begin());
    memory(MouseMemory::kLightFrame, 512);
    memory(MouseMemory::kMacro, size_t{kMouseMacroUnits} * 128);
    memory(MouseMemory::kShoot, 4096);
    memory(MouseMemory::kPower, kCommandPayloadSize)[0] = 100;
}

std::vector<uint8_t> SimMouse::Memory(MouseMemory which) const {
    return CopyMemory(static_cast<size_t>(which));
}

bool SimMouse::SetMemory(MouseMemory which, size_t offset, std::span<const uint8_t> bytes) {
    return PutMemory(static_cast<size_t>(which), offset, bytes);
}

bool SimMouse::SendNotification(uint16_t value, uint32_t delayMs) {
    return SendNotifyValue(kMouseNotifyReportId, value, delayMs);
}

uint8_t SimMouse::HandleCommand(const CommandRequest& request, CommandReport& reply) {
    switch (request.command) {
        case 0x03:
            return ReadRegion(MemoryLocked(MouseMemory::kInfo), request, reply);
        case 0x05:
            return ReadRegion(MemoryLocked(MouseMemory::kSettings), request, reply);
        case 0x06:
            return WriteRegion(MemoryLocked(MouseMemory::kSettings), request);
        case 0x07:
            return ReadRegion(MemoryLocked(MouseMemory::kKeyCodes), request, reply);
        case 0x09:
            return WriteRegion(MemoryLocked(MouseMemory::kKeyCodes), request);
        case 0x12:
            return WriteRegion(MemoryLocked(MouseMemory::kLightFrame), request);
        case 0x15:
            return WriteRegion(MemoryLocked(MouseMemory::kMacro), request);
        case 0x17:
            return WriteRegion(MemoryLocked(MouseMemory::kShoot), request);
        case 0x1A:
            return ReadRegion(MemoryLocked(MouseMemory::kPower), request, reply);
        case 0x1C:
            return kStatusOk;
        default:
            return HandleCommonCommand(request, reply);
    }
}

}  // namespace sim
