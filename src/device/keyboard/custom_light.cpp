#include "device/keyboard/custom_light.h"

#include <algorithm>

#include "device/lighting/base_light_effects.h"

namespace device {
namespace {

constexpr uint8_t kCustomColourMode = 20;
constexpr uint32_t kColourBytes = 0x00FFFFFFu;

size_t LayerCount(std::span<const LightRecord> layers) {
    return std::min(layers.size(), kAreaLedCount);
}

uint8_t ScaleByLevel(uint8_t value, uint8_t level, bool scale) {
    return scale ? static_cast<uint8_t>(value * level >> 8) : value;
}

}  // namespace

KeyColorTable BuildKeyColorTable(const LedColourVector& leds, const KeyPositionMap& ledMap,
                                 bool scaleByLevel) {
    KeyColorTable table{};
    for (size_t k = 0; k < ledMap.size(); ++k) {
        const size_t offset = 3 * size_t{ledMap[k]};
        if (ledMap[k] == kNoKeyPosition || offset + 3 > table.size()) {
            continue;
        }
        const uint32_t colour = leds.Get(k);
        const uint8_t level = LedBrightness(colour);
        table[offset] = ScaleByLevel(LedRed(colour), level, scaleByLevel);
        table[offset + 1] = ScaleByLevel(LedGreen(colour), level, scaleByLevel);
        table[offset + 2] = ScaleByLevel(LedBlue(colour), level, scaleByLevel);
    }
    return table;
}

size_t KeyColorTableLength(size_t ledMapSize) {
    return std::min(3 * ledMapSize, kKeyColorTableBytes);
}

bool PaintKeyColour(uint8_t mode, size_t key, Rgb brush, LedColourVector& leds) {
    if (mode != kCustomColourMode || key >= leds.Size()) {
        return false;
    }
    const uint32_t level = leds.Get(key) & ~kColourBytes;
    leds.Set(key, MakeLedColour(brush, 0) | level);
    return true;
}

void LoadCustomLightGroup(std::span<const uint32_t> colours, LedColourVector& leds) {
    const size_t count = std::min(colours.size(), leds.Size());
    for (size_t k = 0; k < count; ++k) {
        leds.Set(k, colours[k]);
    }
}

void FillCustomLightGroup(Rgb brush, bool fill, LedColourVector& leds) {
    const uint32_t colour = fill ? MakeLedColour(brush, 0) : 0;
    for (size_t k = 0; k < leds.Size(); ++k) {
        leds.Set(k, (leds.Get(k) & ~kColourBytes) | colour);
    }
}

void ResetOverlayLayers(std::span<const LightRecord> layers, AreaEffectState& state) {
    LedColourVector unused;
    AreaBreathingStep(layers, true, state, unused);
    AreaFlashStep(layers, true, 0, state, unused);
    AreaSpectrumStep(layers, true, state, unused);
}

void ApplyOverlayLayers(std::span<const LightRecord> layers, uint32_t now, AreaEffectState& state,
                        LedColourVector& leds) {
    const size_t count = LayerCount(layers);
    AreaBreathingStep(layers, false, state, leds);
    for (size_t k = 0; k < count; ++k) {
        if (layers[k].mode == kAreaStatic) {
            leds.Set(k, MakeLedColour({layers[k].red, layers[k].green, layers[k].blue},
                                      BrightnessForIndex(layers[k].brightness)));
        }
    }
    AreaSpectrumStep(layers, false, state, leds);
    AreaFlashStep(layers, false, now, state, leds);
    for (size_t k = 0; k < count; ++k) {
        if (layers[k].mode == kAreaOff) {
            leds.Set(k, 0);
        }
    }
}

}  // namespace device
