#pragma once
// The fixed blocks that devices return: the capability block (command 0x03) and the
// power state (command 0x1A). Bytes not named here are kept as received.

#include <array>
#include <cstddef>
#include <cstdint>

struct DeviceInfoBlock {
    static constexpr size_t kSize = 34;
    std::array<uint8_t, kSize> bytes{};

    // Number of LEDs, which is also the number of key positions.
    uint8_t LedCount() const { return bytes[5]; }
    // Macro memory in units of 128 bytes.
    uint8_t MacroMemoryUnits() const { return bytes[6]; }
    uint8_t DpiStepMultiplier() const { return bytes[11]; }
    uint16_t MaxDpiSliderValue() const { return ReadU16(12); }
    uint16_t MinDpiValue() const { return ReadU16(14); }

  private:
    uint16_t ReadU16(size_t at) const {
        return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
    }
};

// Charge states of PowerStatusBlock::chargeState.
inline constexpr uint8_t kPowerCharged = 0;
inline constexpr uint8_t kPowerCharging = 1;
inline constexpr uint8_t kPowerOnBattery = 2;

struct PowerStatusBlock {
    uint8_t batteryPercent = 0;
    uint8_t chargeState = 0;
    uint8_t reserved = 0;
    // Replaced by the program with the channel's slow flag (1: wireless) before display.
    uint8_t wireless = 0;
    // Passed on as wParam of the device message 0xD01.
    uint8_t messageParam = 0;
    uint8_t phoneType = 0;
};
static_assert(sizeof(PowerStatusBlock) == 6, "the device sends exactly six bytes");
