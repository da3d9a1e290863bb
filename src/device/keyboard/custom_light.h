#pragma once
// The keyboard's own lighting: per-key colours of light mode 20 (also written into the
// keyboard as its per-LED colour table), and the per-key overlay layers that run on top of
// every mode. The custom light files play through the shared custom effect player.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/keyboard/key_map.h"
#include "device/lighting/area_effects.h"
#include "device/lighting/led_colour_vector.h"
#include "device/lighting/light_tables.h"
#include "profile/light_record.h"

namespace device {

inline constexpr size_t kKeyColorTableBytes = 512;
// The keyboard's per-LED colour table (command 0x0B): 3 bytes per LED number.
using KeyColorTable = std::array<uint8_t, kKeyColorTableBytes>;

// Red, green and blue of each layout position at its keyboard LED number; positions
// without an LED (255) and LED numbers whose bytes would fall past the table are left
// out. With `scaleByLevel` each byte is multiplied by the position's level >> 8.
KeyColorTable BuildKeyColorTable(const LedColourVector& leds, const KeyPositionMap& ledMap,
                                 bool scaleByLevel);
// Bytes of the table sent for an LED map of `ledMapSize` entries: 3 per entry, never more
// than the table holds.
size_t KeyColorTableLength(size_t ledMapSize);

// Mode 20 only: position `key` takes the brush colour and keeps its level. False, nothing
// changed, in another mode or for a position outside the colour vector.
bool PaintKeyColour(uint8_t mode, size_t key, Rgb brush, LedColourVector& leds);
// A stored group (red | green << 8 | blue << 16 | alpha << 24 per position) into the
// colour vector; the alpha becomes the level.
void LoadCustomLightGroup(std::span<const uint32_t> colours, LedColourVector& leds);
// Every position takes the brush colour, or black when `fill` is false; levels stay.
void FillCustomLightGroup(Rgb brush, bool fill, LedColourVector& leds);

// The overlay layers' state starts over for a new layer list.
void ResetOverlayLayers(std::span<const LightRecord> layers, AreaEffectState& state);
// One pass of the overlay layers, after the light mode's own step.
void ApplyOverlayLayers(std::span<const LightRecord> layers, uint32_t now, AreaEffectState& state,
                        LedColourVector& leds);

}  // namespace device
