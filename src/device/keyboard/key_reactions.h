#pragma once
// How the reactive light modes answer the keys the keyboard reports pressed and released.

#include <cstddef>
#include <cstdint>

#include "device/keyboard/effect_state.h"

namespace device {

// `key` is a layout position; `action` is kKeyPressed or kKeyReleased.
void ReactiveEffect(const KeyboardEffectContext& context, size_t key, int action);
void StartKeyReactive(LightAnimationState& animation, size_t key, int action);
void ReactiveSplash(const KeyboardEffectContext& context, size_t key, int action);
// True when a key other than `key` is held in cell (column, row) or in one of the twelve
// cells around it that a splash reaches.
bool KeyHeldNearby(const KeyboardEffectState& state, int column, int row, size_t key);

}  // namespace device
