#pragma once
// The keyboard modes built on the spread masks: lit rows that run across the key grid
// column by column, lighting each key they pass, whose level then decays.

#include <cstddef>
#include <cstdint>

#include "device/keyboard/effect_state.h"

namespace device {

inline constexpr int kKeyPressed = 1;
inline constexpr int kKeyReleased = 2;

// The cell of layout position `key` in KeyGridColumns; false when the grid lacks it.
bool FindInKeyGrid(size_t key, size_t& column, size_t& row);

// Lights every key under a set mask bit (a random hue with multi-colour).
void SpreadColumns(const KeyboardEffectContext& context);
void ShiftSpreadMasks(KeyboardEffectState& state);
// On a press, sets the key's row bit of its column in all four masks.
void MarkKeyColumn(KeyboardEffectState& state, size_t key, int action);

void EffectSpread(const KeyboardEffectContext& context);
void SeedEdgeFlow(KeyboardEffectState& state);
void EffectEdgeFlow(const KeyboardEffectContext& context);
void SeedCrossFlow(KeyboardEffectState& state);
void EffectCrossFlow(const KeyboardEffectContext& context);
void EffectConverge(const KeyboardEffectContext& context);

}  // namespace device
