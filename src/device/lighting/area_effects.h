#pragma once
// Per-LED effects of a profile's per-LED light list: each LED with its own record runs its
// own breathing, flash or spectrum, on top of what the device's light mode drew.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/lighting/led_colour_vector.h"
#include "profile/light_record.h"

namespace device {

// The per-LED state has room for this many LEDs; records beyond it take no part.
inline constexpr size_t kAreaLedCount = 126;

struct AreaEffectState {
    std::array<uint8_t, kAreaLedCount> breathingLevel{};
    std::array<uint8_t, kAreaLedCount> breathingHue{};
    std::array<uint32_t, kAreaLedCount> flashToggleTime{};
    std::array<uint32_t, kAreaLedCount> flashPeriod{};
    std::array<uint8_t, kAreaLedCount> flashHue{};
    std::array<uint8_t, kAreaLedCount> flashOn{};
    std::array<uint8_t, kAreaLedCount> spectrumHue{};
    std::array<uint8_t, kAreaLedCount> spectrumCounter{};
    std::array<uint8_t, kAreaLedCount> spectrumPeriod{};
};

// The record modes of the per-LED light list.
enum AreaMode : uint8_t {
    kAreaBreathing = 0,
    kAreaStatic = 1,
    kAreaFlash = 2,
    kAreaSpectrum = 3,
    kAreaOff = 4,
};

// Record i drives LED i. With `reset` a step only starts its state over (as a new light
// list needs) and draws nothing.
void AreaBreathingStep(std::span<const LightRecord> list, bool reset, AreaEffectState& state,
                       LedColourVector& leds);
// Whether some record counts passes or flashes by time (breathing and spectrum on a valid
// record, flash on any record in its mode): the area steps then keep the pace of the
// light thread's passes.
bool AreaEffectsArePassTimed(std::span<const LightRecord> list);
// Every record keeps its flash timer running, whatever its mode; `now` is the coarse tick.
void AreaFlashStep(std::span<const LightRecord> list, bool reset, uint32_t now,
                   AreaEffectState& state, LedColourVector& leds);
void AreaSpectrumStep(std::span<const LightRecord> list, bool reset, AreaEffectState& state,
                      LedColourVector& leds);

}  // namespace device
