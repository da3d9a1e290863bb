#include "device/keyboard/light_effects.h"

#include <algorithm>

#include "device/keyboard/spread_effects.h"
#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"

namespace device {
namespace {

constexpr uint8_t kLastKeyboardMode = 30;
constexpr int kNoTickRow = -1;
constexpr uint8_t kTrailLevel = 254;
constexpr size_t kRainDropsPerStep = 6;
constexpr unsigned kDefaultHueSpacing = 33;

// Light mode -> ModeTicks row; -1 where the custom light plays.
constexpr std::array<int8_t, kLastKeyboardMode + 1> kModeRows = {
    -1, 1,  2,  3,  4,  5,  6,  29, 8,  9,  10, 11, 1,  13, 14, 15,
    16, 17, 18, -1, 20, -1, 22, -1, 24, 25, 5,  24, 28, 29, 30};

unsigned WrapAt(unsigned value, unsigned limit) {
    return value >= limit ? value - limit : value;
}

uint8_t RandomHue(KeyboardEffectState& state) {
    return static_cast<uint8_t>(KeyboardRandom(state) % kColourWheelLength);
}

void SetLed(const KeyboardEffectContext& context, size_t key, Rgb colour, uint8_t level) {
    if (key < kKeyboardPositions) {
        context.leds.Set(key, MakeLedColour(colour, level));
    }
}

void PaintGridColumn(const KeyboardEffectContext& context, size_t column, Rgb colour,
                     uint8_t level) {
    for (uint8_t key : KeyGridColumns[column]) {
        SetLed(context, key, colour, level);
    }
}

// The column waves: `first` is the offset of the first column from the step counter,
// `spacing` the offset between columns.
void MultiColourColumns(const KeyboardEffectContext& context, unsigned first, unsigned spacing) {
    uint8_t& counter = context.animation.phase;
    counter = StepWrap(context.params.Forward(), kColourWheelLength, counter, 1);
    unsigned hue = WrapAt(counter + first, kColourWheelLength);
    const uint8_t level = BrightnessForIndex(context.params.brightnessIndex);
    for (size_t c = 0; c < kKeyGridColumnCount; ++c) {
        PaintGridColumn(context, c, ColourWheel[hue], level);
        hue = WrapAt(hue + spacing, kColourWheelLength);
    }
}

template <size_t N>
void SingleColourColumns(const KeyboardEffectContext& context, const std::array<uint8_t, N>& curve,
                         unsigned first, unsigned spacing) {
    uint8_t& counter = context.animation.phase;
    counter = StepWrap(context.params.Forward(), kWaveCurveLength, counter, 1);
    unsigned index = WrapAt(counter + first, kWaveCurveLength);
    for (size_t c = 0; c < kKeyGridColumnCount; ++c) {
        const uint8_t level = ScaledLevel(context.params.brightnessIndex, curve[index]);
        PaintGridColumn(context, c, context.params.Colour(), level);
        index = WrapAt(index + spacing, kWaveCurveLength);
    }
}

void SnakeTrailHead(const KeyboardEffectContext& context) {
    uint8_t& counter = context.animation.phase;
    auto mark = [&](uint8_t index) {
        // The backward run starts from 126, one past the table: nothing is lit there.
        if (index < kKeyboardPositions && KeySnakeOrder[index] < kKeyboardPositions) {
            context.animation.keyLevels[KeySnakeOrder[index]] = kTrailLevel;
        }
    };
    if (context.params.Forward()) {
        if (counter < kKeyboardPositions) {
            mark(counter);
            ++counter;
        }
        if (counter >= kKeyboardPositions) {
            counter = 0;
        }
        return;
    }
    if (counter > 0) {
        mark(counter);
        --counter;
    } else {
        counter = kKeyboardPositions;
    }
}

// Each key of KeyWaveOrder moves `step` along the pulse curve from its own position; at
// the curve's end it starts over with a random hue. A position at or past the end (an
// init phase of exactly 192) starts over too rather than running on past the curve.
void AdvancePulses(const KeyboardEffectContext& context,
                   std::array<uint8_t, kKeyboardPositions>& positions, unsigned step) {
    for (uint8_t key : KeyWaveOrder) {
        if (key >= kKeyboardPositions) {
            continue;
        }
        uint8_t& position = positions[key];
        const unsigned next = position + step;
        position = next >= kPulseCurveLength ? 0 : static_cast<uint8_t>(next);
        if (position == 0) {
            context.state.keyHue[key] = RandomHue(context.state);
        }
        PaintKeyByRule(context, key, PulseCurve192[position]);
    }
}

uint8_t PresetHue(uint8_t qrvmMode) {
    switch (qrvmMode) {
        case 1:
            return 25;
        case 2:
            return 70;
        case 3:
            return 95;
        default:
            return 174;
    }
}

bool RunBaseModeStep(const KeyboardEffectContext& context, uint32_t now) {
    const LightParams& params = context.params;
    switch (params.mode) {
        case 4:
            StepSpectrum(params, context.animation, context.leds);
            return true;
        case 5:
            StepBreathing(params, context.animation, context.leds);
            return true;
        case 6:
            ApplyStatic(params, context.leds);
            return true;
        case 24:
            StepFlash(params, context.animation, context.leds, now);
            return true;
        case 26:
            StepBreathingColours(params, context.animation, context.leds);
            return true;
        case 27:
            StepFlashColours(params, context.animation, context.leds, now);
            return true;
        case 28:
            ClearLeds(context.leds);
            return true;
        default:
            return false;
    }
}

bool RunWaveModeStep(const KeyboardEffectContext& context, uint8_t qrvmMode) {
    switch (context.params.mode) {
        case 1:
            EffectColumnWave(context);
            return true;
        case 2:
            EffectColumnWaveFine(context);
            return true;
        case 3:
            EffectSnakeWave(context);
            return true;
        case 10:
            EffectRain(context);
            return true;
        case 11:
            EffectHueDrift(context);
            return true;
        case 12:
            EffectRowWave(context);
            return true;
        case 15:
            EffectPhasePulse(context);
            return true;
        case 17:
            EffectPresetColour(context, qrvmMode);
            return true;
        case 18:
            EffectRings(context);
            return true;
        case 20:
            EffectCustomBrightness(context);
            return true;
        case 22:
            EffectRipplePulse(context);
            return true;
        case 25:
            EffectSweep(context);
            return true;
        case 30:
            EffectSnakeTrail(context);
            return true;
        default:
            return false;
    }
}

bool RunSpreadModeStep(const KeyboardEffectContext& context) {
    switch (context.params.mode) {
        case 7:
        case 8:
        case 9:
        case 29:
            EffectSpread(context);
            return true;
        case 13:
            EffectCrossFlow(context);
            return true;
        case 14:
            EffectConverge(context);
            return true;
        case 16:
            EffectEdgeFlow(context);
            return true;
        default:
            return false;
    }
}

}  // namespace

bool IsKeyboardCustomLightMode(uint8_t mode) {
    return KeyboardModeTickRow(mode) == kNoTickRow;
}

int KeyboardModeTickRow(uint8_t mode) {
    return mode <= kLastKeyboardMode ? kModeRows[mode] : kNoTickRow;
}

uint8_t KeyboardModeThreshold(uint8_t mode, uint8_t speedIndex) {
    const int row = KeyboardModeTickRow(mode);
    if (row == kNoTickRow) {
        return 0;
    }
    return ModeTicks[row][std::min<size_t>(speedIndex, kKeyboardSpeedColumns - 1)];
}

void ResetLightAnimation(KeyboardEffectState& state, LightAnimationState& animation) {
    animation.phase = 0;
    // The colour step indexes the four colours in some base modes; it starts over too.
    animation.colourStep = 0;
    animation.keyLevels.fill(0);
    state.sequencePhase = 0;
    state.keyHue.fill(0);
    for (auto& masks : state.spreadMasks) {
        masks.fill(0);
    }
}

void StartKeyboardMode(const KeyboardEffectContext& context) {
    ResetLightAnimation(context.state, context.animation);
    switch (context.params.mode) {
        case 13:
            SeedCrossFlow(context.state);
            break;
        case 15:
            InitPhasePulse(context);
            break;
        case 16:
            SeedEdgeFlow(context.state);
            break;
        case 22:
            InitRipplePulse(context.state);
            break;
        default:
            EffectInitDefault(context.state);
            break;
    }
}

bool RunKeyboardModeStep(const KeyboardEffectContext& context, uint8_t qrvmMode, uint32_t now) {
    return RunBaseModeStep(context, now) || RunWaveModeStep(context, qrvmMode) ||
           RunSpreadModeStep(context);
}

void EffectInitDefault(KeyboardEffectState& state) {
    unsigned hue = 0;
    for (size_t k = 0; k < kKeyboardPositions; ++k) {
        state.keyHue[k] = static_cast<uint8_t>(hue);
        hue = WrapAt(hue + kDefaultHueSpacing, kColourWheelLength);
    }
}

void InitPhasePulse(const KeyboardEffectContext& context) {
    for (size_t c = 0; c < KeyGridColumns7.size(); ++c) {
        for (size_t r = 0; r < kGrid7Rows; ++r) {
            const uint8_t key = KeyGridColumns7[c][r];
            if (key < kKeyboardPositions) {
                context.animation.keyLevels[key] = WavePhaseStartByte(6 * c + r);
                context.state.keyHue[key] = static_cast<uint8_t>(7 * c);
            }
        }
    }
}

void InitRipplePulse(KeyboardEffectState& state) {
    for (size_t c = 0; c < KeyGridColumns7.size(); ++c) {
        uint8_t phase = static_cast<uint8_t>(192 - 8 * c);
        for (size_t r = 0; r < kGrid7Rows; ++r) {
            phase = static_cast<uint8_t>(phase - 35);
            if (phase >= kPulseCurveLength) {
                phase = static_cast<uint8_t>(phase - 63);
            }
            const uint8_t key = KeyGridColumns7[c][r];
            if (key < kKeyboardPositions) {
                state.keyPhase[key] = phase;
                state.keyHue[key] = static_cast<uint8_t>(7 * c);
            }
        }
    }
}

void EffectColumnWave(const KeyboardEffectContext& context) {
    if (context.params.multiColour) {
        MultiColourColumns(context, 1, 7);
    } else {
        SingleColourColumns(context, WaveCurve96, 1, 3);
    }
}

void EffectColumnWaveFine(const KeyboardEffectContext& context) {
    if (context.params.multiColour) {
        MultiColourColumns(context, 0, 2);
    } else {
        SingleColourColumns(context, PulseCurve192, 0, 5);
    }
}

void EffectRowWave(const KeyboardEffectContext& context) {
    uint8_t& counter = context.animation.phase;
    counter = StepWrap(context.params.Forward(), kColourWheelLength, counter, 1);
    unsigned hue = WrapAt(counter + 1u, kColourWheelLength);
    const uint8_t level = BrightnessForIndex(context.params.brightnessIndex);
    for (size_t r = 0; r < kKeyGridRowCount; ++r) {
        for (const auto& column : KeyGridColumns) {
            SetLed(context, column[r], ColourWheel[hue], level);
        }
        hue = WrapAt(hue + 24, kColourWheelLength);
    }
}

void EffectSnakeWave(const KeyboardEffectContext& context) {
    const bool multi = context.params.multiColour != 0;
    const unsigned limit = multi ? kColourWheelLength : kWaveCurveLength;
    uint8_t& counter = context.animation.phase;
    counter = StepWrap(context.params.Forward(), static_cast<uint8_t>(limit), counter, 1);
    unsigned v = counter;
    for (uint8_t key : KeyWaveOrder) {
        if (key >= kKeyboardPositions) {
            continue;
        }
        if (multi) {
            SetLed(context, key, ColourWheel[v],
                   BrightnessForIndex(context.params.brightnessIndex));
        } else {
            SetLed(context, key, context.params.Colour(),
                   ScaledLevel(context.params.brightnessIndex, WaveCurve96[v]));
        }
        v = WrapAt(v + 5, limit);
    }
}

void EffectSnakeTrail(const KeyboardEffectContext& context) {
    SnakeTrailHead(context);
    DecayAndPaintWaveOrder(context, 30);
}

void EffectRain(const KeyboardEffectContext& context) {
    KeyboardEffectState& state = context.state;
    for (size_t drop = 0; drop < kRainDropsPerStep; ++drop) {
        const uint8_t key = KeyWaveOrder[RainShuffle[KeyboardRandom(state) % kRainShuffleLength]];
        const uint8_t hue = RandomHue(state);
        if (key < kKeyboardPositions) {
            state.keyHue[key] = hue;
            context.animation.keyLevels[key] = 255;
        }
    }
    DecayAndPaintAll(context, 10);
}

void EffectHueDrift(const KeyboardEffectContext& context) {
    const uint8_t level = BrightnessForIndex(context.params.brightnessIndex);
    for (size_t k = 0; k < kKeyboardPositions; ++k) {
        uint8_t& hue = context.state.keyHue[k];
        hue = hue + 1u >= kColourWheelLength ? 0 : static_cast<uint8_t>(hue + 1);
        SetLed(context, k, ColourWheel[hue], level);
    }
}

void EffectPhasePulse(const KeyboardEffectContext& context) {
    AdvancePulses(context, context.animation.keyLevels, 2);
}

void EffectRipplePulse(const KeyboardEffectContext& context) {
    AdvancePulses(context, context.state.keyPhase, 1);
}

void EffectRings(const KeyboardEffectContext& context) {
    uint8_t& counter = context.animation.phase;
    counter = StepWrap(context.params.Forward(), kColourWheelLength, counter, 1);
    unsigned hue = counter;
    const uint8_t level = BrightnessForIndex(context.params.brightnessIndex);
    for (const auto& ring : KeyRingGrid) {
        hue = WrapAt(hue + 10, kColourWheelLength);
        for (uint8_t position : ring) {
            SetLed(context, LookupKeyIndex(position), ColourWheel[hue], level);
        }
    }
}

void EffectPresetColour(const KeyboardEffectContext& context, uint8_t qrvmMode) {
    context.animation.phase = PresetHue(qrvmMode);
    context.leds.Fill(MakeLedColour(ColourWheel[context.animation.phase],
                                    BrightnessForIndex(context.params.brightnessIndex)));
}

void EffectCustomBrightness(const KeyboardEffectContext& context) {
    const uint32_t level = uint32_t{BrightnessForIndex(context.params.brightnessIndex)} << 24;
    for (size_t k = 0; k < kKeyboardPositions; ++k) {
        context.leds.Set(k, (context.leds.Get(k) & 0x00FFFFFFu) | level);
    }
}

void EffectSweep(const KeyboardEffectContext& context) {
    uint8_t& counter = context.animation.phase;
    counter = StepWrap(context.params.Forward(), kSweepFrameCount, counter, 1);
    auto& levels = context.animation.keyLevels;
    for (uint8_t key : SweepFrames[counter]) {
        if (key < kKeyboardPositions) {
            levels[key] = 255;
            context.state.keyHue[key] = 0;
        }
    }
    for (size_t k = 0; k < kKeyboardPositions; ++k) {
        // A level left by another mode need not be a multiple of 5: it stops at 0.
        levels[k] = levels[k] > 5 ? static_cast<uint8_t>(levels[k] - 5) : 0;
        uint8_t& hue = context.state.keyHue[k];
        hue = static_cast<uint8_t>(std::min(hue + 3, 255));
        PaintKeyByRule(context, k, context.params.multiColour ? 256u : levels[k]);
    }
}

}  // namespace device
