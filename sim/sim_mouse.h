#pragma once
// The simulated mouse: interface 0 a boot mouse, interface 1 two collections of which
// col01 carries its notifications and col02 the command protocol (see
// mouse_descriptors.h). Its firmware answers the commands a mouse takes from the memories
// below.
//
// Test use:
//   platform::hid::SimHidBus bus;
//   auto mouse = std::make_shared<sim::SimMouse>();
//   bus.Plug(mouse);
//   platform::hid::ScopedHidBus use(bus);
//   std::wstring command = bus.PathOf(*mouse, 1, sim::kMouseCommandCollection);
//   mouse->ReceivedCommands();                        // command codes, in order
//   mouse->Memory(sim::MouseMemory::kSettings);       // what the mouse now holds
//   mouse->RequestResync();                           // 0x0401 on col01
//
// Commands: 0x01/0x02 open and close a write session, 0x03 reads kInfo, 0x05/0x06 read
// and write kSettings, 0x07/0x09 kKeyCodes, 0x12 kLightFrame, 0x15 kMacro, 0x17 kShoot,
// 0x1A reads kPower, 0x1C takes light control, 0xAA answers byte 8 = 0xFF. An access
// that leaves its memory, and any other command, get status 0xFF.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "sim/command_device.h"

namespace sim {

inline constexpr uint16_t kMouseVendorId = 0x320F;
inline constexpr uint16_t kMouseProductId = 0x5064;
inline constexpr uint16_t kMouseVersion = 0x0102;
inline constexpr int kMouseCommandInterface = 1;
inline constexpr uint8_t kMouseLedCount = 12;
inline constexpr uint8_t kMouseMacroUnits = 16;  // x 128 bytes
inline constexpr uint8_t kMouseDpiMultiplier = 50;
inline constexpr uint16_t kMouseMaxDpiSlider = 520;
inline constexpr uint16_t kMouseMinDpi = 50;
inline constexpr size_t kMouseProfileCount = 4;  // settings areas of 128 bytes

enum class MouseMemory {
    kInfo,        // 34-byte capability block: [5] LEDs, [6] macro / 128, [11] DPI multiplier,
                  // [12..13] highest DPI slider value, [14..15] lowest DPI
    kSettings,    // [0] active profile; the area of profile n at n x 128
    kKeyCodes,    // 512 bytes: 3-byte key code per key position
    kLightFrame,  // the last light frame, 3 bytes per LED
    kMacro,       // macro memory
    kShoot,       // shoot memory
    kPower,       // [0] battery, [1] charge state, ... (a reply's worth)
    kCount,
};

// Key positions of the mouse's ten keys in its factory key-code table; the two last
// positions are LEDs without a key.
inline constexpr std::array<uint8_t, 10> kMouseKeyPositions = {1, 0, 2, 4, 3, 5, 6, 7, 9, 8};

class SimMouse : public SimCommandDevice {
  public:
    SimMouse();

    std::vector<uint8_t> Memory(MouseMemory which) const;
    // Overwrites bytes of a memory; false (nothing changed) when they do not fit.
    bool SetMemory(MouseMemory which, size_t offset, std::span<const uint8_t> bytes);

    // Input reports on col01.
    bool SendNotification(uint16_t value, uint32_t delayMs = 0);
    bool RequestResync(uint32_t delayMs = 0) { return SendNotification(0x0401, delayMs); }

  protected:
    uint8_t HandleCommand(const CommandRequest& request, CommandReport& reply) override;

  private:
    std::vector<uint8_t>& MemoryLocked(MouseMemory which) {
        return MemoryAt(static_cast<size_t>(which));
    }
};

}  // namespace sim
