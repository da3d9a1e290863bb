#include "device/lighting/custom_effect_player.h"

#include <utility>

#include "device/lighting/custom_light_modes.h"
#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"
#include "profile/basic_profiledata.h"

namespace device {
namespace {

enum RecordMode : uint8_t {
    kBreathingRecord = 0,
    kStaticRecord = 1,
    kFlashRecord = 2,
    kWaveRecord = 4,
    kSpectrumRecord = 5,
};

// The step runs 0..last and starts over; a step left above `last` by a mode with a longer
// cycle starts over too, so no table is read past its end.
uint8_t NextStep(uint8_t step, uint8_t last) {
    return step >= last ? 0 : static_cast<uint8_t>(step + 1);
}

void DrawRecord(const LightRecord& light, CustomPlayerState& state, uint8_t deviceSpeedIndex,
                uint32_t now, LedColourVector& leds) {
    const uint8_t ticks = SpeedTicksForIndex(light.speed);
    switch (light.mode) {
        case kBreathingRecord:
            if (state.tickCounter >= ticks) {
                state.step = NextStep(state.step, 127);
                state.tickCounter = 0;
                FrameBreathing(light, state.step, leds);
            }
            break;
        case kStaticRecord:
            if (state.tickCounter >= ticks) {
                state.step = NextStep(state.step, 8);
                state.tickCounter = 0;
                FrameStatic(light, leds);
            }
            break;
        case kFlashRecord:
            state.step = NextStep(state.step, 127);
            if (state.tickCounter >= ticks) {
                state.tickCounter = 0;
            }
            FrameFlash(light, state.step, deviceSpeedIndex, now, state.flash, leds);
            break;
        case kWaveRecord:
            if (state.tickCounter >= ticks) {
                state.step = NextStep(state.step, 191);
                state.tickCounter = 0;
                FrameWave(light, state.step, leds);
            }
            break;
        case kSpectrumRecord:
            if (state.tickCounter >= SpectrumTicksForIndex(light.speed)) {
                state.step = NextStep(state.step, 191);
                state.tickCounter = 0;
                FrameSpectrum(light, state.step, leds);
            }
            break;
        default:
            break;  // mode 3 and unknown modes leave the colours as they are
    }
}

}  // namespace

void CustomEffectList::Replace(std::vector<LedEffectRecord> records) {
    platform::CriticalSectionLock lock(lock_);
    records_ = std::move(records);
    position_ = 0;
}

size_t CustomEffectList::Size() const {
    platform::CriticalSectionLock lock(lock_);
    return records_.size();
}

size_t CustomEffectList::Position() const {
    platform::CriticalSectionLock lock(lock_);
    return position_;
}

bool CustomEffectList::TakeCurrent(LedEffectRecord& record) {
    platform::CriticalSectionLock lock(lock_);
    if (position_ >= records_.size()) {
        position_ = 0;
    }
    if (records_.empty()) {
        return false;
    }
    record = records_[position_];
    return true;
}

void CustomEffectList::Advance() {
    platform::CriticalSectionLock lock(lock_);
    ++position_;
    if (position_ >= records_.size()) {
        position_ = 0;
    }
}

void PlayCustomEffect(CustomEffectList& list, CustomPlayerState& state, uint8_t deviceSpeedIndex,
                      uint32_t now, LedColourVector& leds) {
    if (!state.started) {
        state.started = true;
        state.startTime = now;
    }
    LedEffectRecord record;
    if (!list.TakeCurrent(record)) {
        leds.Fill(0);
        return;
    }
    ++state.tickCounter;
    DrawRecord(record.light, state, deviceSpeedIndex, now, leds);
    if (state.tickCounter == 255) {
        state.tickCounter = 0;
    }
    // A record of 0 ms (or a negative time from a file) shows for one pass: the coarse
    // tick would otherwise hold it until the tick moves.
    const int64_t elapsed = static_cast<uint32_t>(now - state.startTime);
    if (record.time <= 0 || elapsed > record.time) {
        list.Advance();
        state.startTime = now;
    }
}

void ReloadCustomEffects(CBasicProfiledata& profile, int deviceKind, int deviceIndex, int mode,
                         CustomEffectList& list) {
    profile.LoadLightConfig(profile.GetLightConfigPath());
    list.Replace(profile.LoadCustomLightEffects(deviceIndex, CustomLightOfMode(deviceKind, mode)));
}

}  // namespace device
