#pragma once
// The mouse's settings area in device memory: one 128-byte area per onboard profile, of
// which the program writes the first 66 bytes and reads back 71. Byte 0 of the memory is
// the active profile index, so profile 0's area begins with it. u16 fields are
// little-endian; the speed travels inverted (9 - speed index).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "profile/light_record.h"
#include "profile/mouse_profiledata.h"

namespace device {

inline constexpr size_t kMouseSettingsReadSize = 71;
inline constexpr size_t kMouseSettingsWriteSize = 66;
inline constexpr uint16_t kMouseProfileStride = 128;
inline constexpr size_t kMouseDpiStageCount = 5;
inline constexpr size_t kMouseDpiStagesOffset = 14;
// Light modes the mouse runs itself; the program's own modes are written as 0.
inline constexpr uint8_t kMouseDeviceModeCount = 9;
// The highest speed index; the byte on the wire is 9 - index.
inline constexpr uint8_t kMouseSpeedBase = 9;
// Polling-rate options 0..4; the page shows any other stored option as option 0.
inline constexpr uint16_t kMousePollingOptionCount = 5;

using MouseSettingsBlock = std::array<uint8_t, kMouseSettingsReadSize>;

// What the program last knew of the mouse's light: [0] active onboard profile, [1] mode,
// [2] brightness index, [3] speed index, [4] direction, [5] multi-colour, [6..8] R, G, B.
using MouseSettingsState = std::array<uint8_t, 21>;
enum MouseStateByte : size_t {
    kStateProfile = 0,
    kStateMode = 1,
    kStateBrightness = 2,
    kStateSpeed = 3,
    kStateDirection = 4,
    kStateMultiColour = 5,
    kStateRed = 6,
    kStateGreen = 7,
    kStateBlue = 8,
};

struct MouseSettingsSource {
    uint8_t firstByte = 0;     // byte 0: the active profile the mouse is told
    uint8_t constantByte = 1;  // byte 59
    uint16_t screenWidth = 0;
    uint16_t screenHeight = 0;
    LightRecord light;
    MouseSystemStages stages;
    int currentDpiStage = 0;
    std::vector<DpiStageRecord> dpiStages;
    std::vector<CorrectionEntry> corrections;
};

// Stored settings as the mouse and its page take them: a polling option it lacks as 0,
// stage flags as 0 or 1, stage DPIs at most `maxDpiSlider` (unbounded while it is 0: the
// capability block has not come yet).
void BoundStoredSettings(MouseSystemStages& stages, std::vector<DpiStageRecord>& dpiStages,
                         uint16_t maxDpiSlider);

MouseSettingsBlock EncodeMouseSettings(const MouseSettingsSource& source);
// Takes mode, brightness, speed (back from 9 - speed), multi-colour and colour of a block
// read from the mouse into `state`; the direction and the profile byte stay.
void TakeMouseSettings(const MouseSettingsBlock& block, MouseSettingsState& state);

}  // namespace device
