#pragma once
// The player of a custom light: the records of a light file shown one after another, each
// for its "Time" in milliseconds. The light thread plays; the UI thread replaces the list
// when the profile's light changes. Both go through the device's light lock.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "device/lighting/led_colour_vector.h"
#include "device/lighting/software_light_generators.h"
#include "platform/critical_section.h"
#include "profile/light_record.h"

class CBasicProfiledata;

namespace device {

class CustomEffectList {
  public:
    // `lightLock` is the device's light lock; it must outlive the list.
    explicit CustomEffectList(platform::CriticalSection& lightLock) : lock_(lightLock) {}
    CustomEffectList(const CustomEffectList&) = delete;
    CustomEffectList& operator=(const CustomEffectList&) = delete;

    // Starts the new list at its first record.
    void Replace(std::vector<LedEffectRecord> records);
    size_t Size() const;
    size_t Position() const;
    // The record at the play position (wrapped to 0 when the list shrank under it); false
    // for an empty list.
    bool TakeCurrent(LedEffectRecord& record);
    // Moves to the next record, back to the first after the last.
    void Advance();

  private:
    platform::CriticalSection& lock_;
    std::vector<LedEffectRecord> records_;
    size_t position_ = 0;
};

// The custom light that light `mode` plays on a device of `deviceKind` and `deviceIndex`
// (CustomLightOfMode), read afresh into `list`: the light configuration document first
// (it names the light's file), then the steps of that file.
void ReloadCustomEffects(CBasicProfiledata& profile, int deviceKind, int deviceIndex, int mode,
                         CustomEffectList& list);

// One player's counters. The step is shared by all record modes and survives a change of
// record, so a sequence flows on from one record into the next.
struct CustomPlayerState {
    bool started = false;
    uint32_t startTime = 0;
    uint8_t tickCounter = 0;
    uint8_t step = 0;
    FlashState flash;
};

// One pass of the player (every pass of the light thread while a custom light mode runs).
// `deviceSpeedIndex` is the speed of the device's light parameters, which sets the flash
// period; `now` is the coarse tick in milliseconds.
void PlayCustomEffect(CustomEffectList& list, CustomPlayerState& state, uint8_t deviceSpeedIndex,
                      uint32_t now, LedColourVector& leds);

}  // namespace device
