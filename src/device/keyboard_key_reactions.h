#pragma once
// How the reactive light modes answer the keys the keyboard reports pressed and released.

#include <cstddef>
#include <cstdint>

#include "device/keyboard_effect_state.h"
#include "device/keyboard_key_map.h"

namespace device {

// `keyCodePosition` as the keyboard reports it; a position no layout key maps to does
// nothing. `action` is kKeyPressed or kKeyReleased.
void OnKeyEvent(const KeyboardEffectContext& context, const KeyPositionMap& keyPositions,
                uint8_t keyCodePosition, int action);
void ReactiveEffect(const KeyboardEffectContext& context, size_t key, int action);
void StartKeyReactive(LightAnimationState& animation, size_t key, int action);
void ReactiveSplash(const KeyboardEffectContext& context, size_t key, int action);
// True when a key other than `key` is held in cell (column, row) or in one of the twelve
// cells around it that a splash reaches.
bool KeyHeldNearby(const KeyboardEffectState& state, int column, int row, size_t key);

}  // namespace device
