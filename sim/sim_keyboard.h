#pragma once
// The simulated keyboard (vendor 0x320F, product 0x505B): interface 0 a boot keyboard,
// interface 1 four collections of which col03 carries its notifications and col04 the
// command protocol (see keyboard_descriptors.h). Its firmware answers every command of
// the protocol from the memories below.
//
// Test use:
//   platform::hid::SimHidBus bus;
//   auto keyboard = std::make_shared<sim::SimKeyboard>();
//   bus.Plug(keyboard);                                   // Plug(keyboard, 500): later
//   platform::hid::ScopedHidBus use(bus);
//   std::wstring command = bus.PathOf(*keyboard, 1, 4);   // the col04 path
//   ...                                                   // exchange through the bus
//   keyboard->ReceivedReports();                          // every report written to it
//   keyboard->ReceivedCommands();                         // their command codes
//   keyboard->InjectFault({sim::FaultKind::kStatusFF, 0x06});
//   keyboard->SetRefuseOpen(true);                        // opens for I/O fail
//   keyboard->PressKey(12);                               // 0x050C on col03
//   keyboard->Memory(sim::KeyboardMemory::kSettings);     // what the device now holds
//   bus.Unplug(keyboard);
//
// Commands: 0x01/0x02 open and close a write session, 0x03 reads kInfo, 0x05/0x06 read
// and write kSettings, 0x07/0x09 kKeyCodes, 0x0B writes kKeyColors, 0x12 kLightFrame,
// 0x15 kMacro, 0x17 kShoot, 0x1A reads kPower, 0x1B reads kKeyLeds, 0x1C takes light
// control, 0xAA answers byte 8 = 0xFF. Every access is at the request's offset and
// length; one that leaves the memory, and an unknown command, get status 0xFF.

#include <cstdint>
#include <span>
#include <vector>

#include "sim/command_device.h"

namespace sim {

inline constexpr uint16_t kKeyboardVendorId = 0x320F;
inline constexpr uint16_t kKeyboardProductId = 0x505B;
inline constexpr uint16_t kKeyboardVersion = 0x0105;
inline constexpr int kKeyboardCommandInterface = 1;
inline constexpr uint8_t kKeyboardLedCount = 126;
inline constexpr uint8_t kKeyboardMacroUnits = 32;  // x 128 bytes

enum class KeyboardMemory {
    kInfo,        // 34-byte capability block: [5] LED count, [6] macro memory / 128
    kSettings,    // [0] active slot, light block of slot n at n x 25 (26 bytes)
    kKeyCodes,    // 512 bytes: 3-byte key code per key-code position
    kKeyLeds,     // 512 bytes: LED number per key-code position
    kKeyColors,   // 8 slots x 512 bytes of per-key colours
    kLightFrame,  // the last light frame, 3 bytes per LED
    kMacro,       // macro memory
    kShoot,       // shoot memory
    kPower,       // [0] battery, [1] charge state, ... (a reply's worth)
    kCount,
};

class SimKeyboard : public SimCommandDevice {
  public:
    SimKeyboard();

    std::vector<uint8_t> Memory(KeyboardMemory which) const;
    // Overwrites bytes of a memory; false (nothing changed) when they do not fit.
    bool SetMemory(KeyboardMemory which, size_t offset, std::span<const uint8_t> bytes);
    // Sets the LED count in the capability block.
    void SetLedCount(uint8_t count);
    bool LightControlTaken() const;

    // Input reports on col03.
    bool SendNotification(uint16_t value, uint32_t delayMs = 0);
    bool RequestResync(uint32_t delayMs = 0) { return SendNotification(0x0401, delayMs); }
    bool PressKey(uint8_t position) { return SendNotification(0x0500 | position); }
    bool ReleaseKey(uint8_t position) { return SendNotification(0x0600 | position); }

  protected:
    uint8_t HandleCommand(const CommandRequest& request, CommandReport& reply) override;

  private:
    std::vector<uint8_t>& MemoryLocked(KeyboardMemory which) {
        return MemoryAt(static_cast<size_t>(which));
    }

    bool lightControl_ = false;
};

}  // namespace sim
