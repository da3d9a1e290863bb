#pragma once
// The keyboard's light modes as shown on its page: the keyboard runs each mode itself, and
// these steps compute the same animation into the LED colour vector, one step whenever
// the light thread's tick count reaches the mode's threshold.

#include <cstddef>
#include <cstdint>

#include "device/keyboard/effect_state.h"

namespace device {

inline constexpr uint8_t kKeyboardCustomBrightnessMode = 20;

// Light modes 0, 19, 21, 23 and above 30 play the custom light instead of a step, on
// every pass of the light thread.
bool IsKeyboardCustomLightMode(uint8_t mode);
// The ModeTicks row the light thread compares for `mode`; -1 for the custom light modes.
int KeyboardModeTickRow(uint8_t mode);
// Ticks between two steps of `mode` at `speedIndex` (an index past the table takes its
// last column); 0 for the custom light modes.
uint8_t KeyboardModeThreshold(uint8_t mode, uint8_t speedIndex);

// A mode change: the animation state starts over and the new mode's init step runs. In
// mode 20 the caller loads the custom light group into the LED colours first.
void ResetLightAnimation(KeyboardEffectState& state, LightAnimationState& animation);
void StartKeyboardMode(const KeyboardEffectContext& context);
// Runs the step of the context's mode; false for a mode without one (custom light
// modes). `qrvmMode` is the preset sub-mode of mode 17; `now` the coarse tick (flash).
bool RunKeyboardModeStep(const KeyboardEffectContext& context, uint8_t qrvmMode, uint32_t now);

// The init steps.
void EffectInitDefault(KeyboardEffectState& state);
void InitPhasePulse(const KeyboardEffectContext& context);
void InitRipplePulse(KeyboardEffectState& state);

// The steps of the keyboard's own modes.
void EffectColumnWave(const KeyboardEffectContext& context);
void EffectColumnWaveFine(const KeyboardEffectContext& context);
void EffectRowWave(const KeyboardEffectContext& context);
void EffectSnakeWave(const KeyboardEffectContext& context);
void EffectSnakeTrail(const KeyboardEffectContext& context);
void EffectRain(const KeyboardEffectContext& context);
void EffectHueDrift(const KeyboardEffectContext& context);
void EffectPhasePulse(const KeyboardEffectContext& context);
void EffectRipplePulse(const KeyboardEffectContext& context);
void EffectRings(const KeyboardEffectContext& context);
void EffectPresetColour(const KeyboardEffectContext& context, uint8_t qrvmMode);
void EffectCustomBrightness(const KeyboardEffectContext& context);
void EffectSweep(const KeyboardEffectContext& context);

}  // namespace device
