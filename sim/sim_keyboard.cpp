#include "sim/sim_keyboard.h"

#include <algorithm>
#include <array>

#include "device/keyboard/layout_table.h"
#include "sim/keyboard_descriptors.h"

namespace sim {
namespace {

constexpr size_t Index(KeyboardMemory which) {
    return static_cast<size_t>(which);
}

static_assert(device::kKeyboardLayoutKeys == kKeyboardLedCount,
              "the keyboard ships one key code per layout position");

std::vector<platform::hid::SimHidInterface> KeyboardInterfaces() {
    return {{0, KeyboardBootDescriptor()}, {1, KeyboardVendorDescriptor()}};
}

}  // namespace

SimKeyboard::SimKeyboard()
    : SimCommandDevice(kKeyboardVendorId, kKeyboardProductId, kKeyboardVersion,
                       KeyboardInterfaces(), kKeyboardCommandInterface,
                       static_cast<size_t>(KeyboardMemory::kCount)) {
    std::vector<uint8_t>& info = ResetMemory(Index(KeyboardMemory::kInfo), 34);
    info[5] = kKeyboardLedCount;
    info[6] = kKeyboardMacroUnits;
    // The key codes the keyboard ships with are those of the program's layout.
    std::vector<uint8_t>& codes = ResetMemory(Index(KeyboardMemory::kKeyCodes), 512);
    std::vector<uint8_t>& leds = ResetMemory(Index(KeyboardMemory::kKeyLeds), 512);
    for (size_t p = 0; p < device::KeyboardLayoutTable.size(); ++p) {
        const device::KeyCode& code = device::KeyboardLayoutTable[p];
        codes[3 * p] = code.category;
        codes[3 * p + 1] = code.modifier;
        codes[3 * p + 2] = code.usage;
        leds[p] = static_cast<uint8_t>(p);
    }
    // Slot 0 active; its light block: mode 1, brightness 4, speed byte 4, multi-colour,
    // red; 6-key flag byte 1, polling rate 1.
    const uint8_t block[26] = {0, 1, 4, 4, 0, 1, 0xFF, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0,    1, 0, 1, 0, 0, 0};
    std::vector<uint8_t>& settings = ResetMemory(Index(KeyboardMemory::kSettings), 1024);
    std::copy(std::begin(block), std::end(block), settings.begin());
    ResetMemory(Index(KeyboardMemory::kKeyColors), 8 * 512);
    ResetMemory(Index(KeyboardMemory::kLightFrame), 512);
    ResetMemory(Index(KeyboardMemory::kMacro), size_t{kKeyboardMacroUnits} * 128);
    ResetMemory(Index(KeyboardMemory::kShoot), 1024);
    ResetMemory(Index(KeyboardMemory::kPower), kCommandPayloadSize)[0] = 100;
}

std::vector<uint8_t> SimKeyboard::Memory(KeyboardMemory which) const {
    return CopyMemory(Index(which));
}

bool SimKeyboard::SetMemory(KeyboardMemory which, size_t offset, std::span<const uint8_t> bytes) {
    return PutMemory(Index(which), offset, bytes);
}

void SimKeyboard::SetLedCount(uint8_t count) {
    const uint8_t bytes[1] = {count};
    SetMemory(KeyboardMemory::kInfo, 5, bytes);
}

bool SimKeyboard::LightControlTaken() const {
    std::lock_guard<std::mutex> lock(modelMutex_);
    return lightControl_;
}

bool SimKeyboard::SendNotification(uint16_t value, uint32_t delayMs) {
    return SendNotifyValue(kKeyboardNotifyReportId, value, delayMs);
}

uint8_t SimKeyboard::HandleCommand(const CommandRequest& request, CommandReport& reply) {
    switch (request.command) {
        case 0x03:
            return ReadRegion(MemoryLocked(KeyboardMemory::kInfo), request, reply);
        case 0x05:
            return ReadRegion(MemoryLocked(KeyboardMemory::kSettings), request, reply);
        case 0x06:
            return WriteRegion(MemoryLocked(KeyboardMemory::kSettings), request);
        case 0x07:
            return ReadRegion(MemoryLocked(KeyboardMemory::kKeyCodes), request, reply);
        case 0x09:
            return WriteRegion(MemoryLocked(KeyboardMemory::kKeyCodes), request);
        case 0x0B:
            return WriteRegion(MemoryLocked(KeyboardMemory::kKeyColors), request);
        case 0x12:
            return WriteRegion(MemoryLocked(KeyboardMemory::kLightFrame), request);
        case 0x15:
            return WriteRegion(MemoryLocked(KeyboardMemory::kMacro), request);
        case 0x17:
            return WriteRegion(MemoryLocked(KeyboardMemory::kShoot), request);
        case 0x1A:
            return ReadRegion(MemoryLocked(KeyboardMemory::kPower), request, reply);
        case 0x1B:
            return ReadRegion(MemoryLocked(KeyboardMemory::kKeyLeds), request, reply);
        case 0x1C:
            lightControl_ = true;
            return kStatusOk;
        default:
            return HandleCommonCommand(request, reply);
    }
}

}  // namespace sim
