#include "device/keyboard/spread_effects.h"

#include "device/lighting/light_tables.h"

namespace device {
namespace {

constexpr size_t kLeftUp = 0;
constexpr size_t kRightUp = 1;
constexpr size_t kRightDown = 2;
constexpr size_t kLeftDown = 3;
constexpr uint8_t kMarkedLevel = 254;
constexpr size_t kConvergeCentre = 70;
constexpr size_t kConvergeEdge = 118;

enum ConvergePhase : uint8_t {
    kConvergeQuadsPhase = 0,
    kConvergePairsPhase = 1,
    kConvergeMarkPhase = 2,
    kConvergeSpreadPhase = 3,
    kConvergeWaitPhase = 4,
};

uint8_t ColumnMask(const KeyboardEffectState& state, size_t column) {
    uint8_t mask = 0;
    for (const auto& masks : state.spreadMasks) {
        mask |= masks[column];
    }
    return mask;
}

void SetColumnBit(KeyboardEffectState& state, size_t column, unsigned bit) {
    for (auto& masks : state.spreadMasks) {
        masks[column] |= static_cast<uint8_t>(1u << bit);
    }
}

// Each column hands its bits to the next one towards `c + towards` and moves its own.
template <typename Move>
void ShiftMask(std::array<uint8_t, kSpreadColumns>& mask, bool rightwards, Move move) {
    if (rightwards) {
        mask[kSpreadColumns - 1] = move(mask[kSpreadColumns - 1]);
        for (size_t c = kSpreadColumns - 1; c-- > 0;) {
            mask[c + 1] |= mask[c];
            mask[c] = move(mask[c]);
        }
        return;
    }
    mask[0] = move(mask[0]);
    for (size_t c = 1; c < kSpreadColumns; ++c) {
        mask[c - 1] |= mask[c];
        mask[c] = move(mask[c]);
    }
}

uint8_t MoveUp(uint8_t bits) {
    return static_cast<uint8_t>(bits >> 1);
}

uint8_t MoveDown(uint8_t bits) {
    return static_cast<uint8_t>(bits << 1);
}

void MarkKey(const KeyboardEffectContext& context, uint8_t key) {
    if (key >= kKeyboardPositions) {
        return;
    }
    context.animation.keyLevels[key] = kMarkedLevel;
    if (context.params.multiColour) {
        context.state.keyHue[key] = KeyboardRandom(context.state) % kColourWheelLength;
    }
}

// The converge mode lights one step of its sequence per call.
void ConvergeSequence(const KeyboardEffectContext& context) {
    KeyboardEffectState& state = context.state;
    uint8_t& counter = context.animation.phase;
    const auto& levels = context.animation.keyLevels;
    switch (state.sequencePhase) {
        case kConvergeQuadsPhase:
            if (counter < kConvergeQuadCount) {
                for (uint8_t key : ConvergeQuads[counter]) {
                    MarkKey(context, key);
                }
                ++counter;
            }
            if (counter >= kConvergeQuadCount) {
                counter = 0;
                state.sequencePhase = kConvergePairsPhase;
            }
            break;
        case kConvergePairsPhase:
            if (counter < kConvergePairCount) {
                for (uint8_t key : ConvergePairs[counter]) {
                    MarkKey(context, key);
                }
                ++counter;
            } else if (levels[kConvergeCentre] == 0) {
                state.sequencePhase = kConvergeMarkPhase;
                counter = 0;
            }
            break;
        case kConvergeMarkPhase:
            MarkKeyColumn(state, kConvergeCentre, kKeyPressed);
            state.sequencePhase = kConvergeSpreadPhase;
            break;
        case kConvergeSpreadPhase:
            SpreadColumns(context);
            ShiftSpreadMasks(state);
            if (levels[kConvergeEdge] != 0) {
                state.sequencePhase = kConvergeWaitPhase;
            }
            break;
        default:
            if (levels[kConvergeEdge] == 0) {
                state.sequencePhase = kConvergeQuadsPhase;
                counter = 0;
            }
            break;
    }
}

}  // namespace

bool FindInKeyGrid(size_t key, size_t& column, size_t& row) {
    if (key >= kNoGridLed) {
        return false;
    }
    for (size_t c = 0; c < kKeyGridColumnCount; ++c) {
        for (size_t r = 0; r < kKeyGridRowCount; ++r) {
            if (KeyGridColumns[c][r] == key) {
                column = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void SpreadColumns(const KeyboardEffectContext& context) {
    for (size_t c = 0; c < kSpreadColumns; ++c) {
        const uint8_t mask = ColumnMask(context.state, c);
        for (size_t r = 0; r < kKeyGridRowCount; ++r) {
            const uint8_t key = KeyGridColumns[c][r];
            if ((mask & (1u << r)) == 0 || key >= kNoGridLed) {
                continue;
            }
            context.animation.keyLevels[key] = 255;
            if (context.params.multiColour) {
                context.state.keyHue[key] = KeyboardRandom(context.state) % kColourWheelLength;
            }
        }
    }
}

void ShiftSpreadMasks(KeyboardEffectState& state) {
    ShiftMask(state.spreadMasks[kLeftUp], false, MoveUp);
    ShiftMask(state.spreadMasks[kLeftDown], false, MoveDown);
    ShiftMask(state.spreadMasks[kRightUp], true, MoveUp);
    ShiftMask(state.spreadMasks[kRightDown], true, MoveDown);
}

void MarkKeyColumn(KeyboardEffectState& state, size_t key, int action) {
    size_t column = 0;
    size_t row = 0;
    if (action == kKeyPressed && FindInKeyGrid(key, column, row)) {
        SetColumnBit(state, column, static_cast<unsigned>(row));
    }
}

void EffectSpread(const KeyboardEffectContext& context) {
    SpreadColumns(context);
    ShiftSpreadMasks(context.state);
    DecayAndPaintAll(context, context.params.mode);
}

void SeedEdgeFlow(KeyboardEffectState& state) {
    SetColumnBit(state, 1, 0);
}

void EffectEdgeFlow(const KeyboardEffectContext& context) {
    KeyboardEffectState& state = context.state;
    if (ColumnMask(state, 1) == 1) {
        SetColumnBit(state, 1, 0);
    }
    if (ColumnMask(state, kSpreadColumns - 1) == 64) {
        SetColumnBit(state, kSpreadColumns - 1, 6);
    }
    SpreadColumns(context);
    ShiftSpreadMasks(state);
    DecayAndPaintWaveOrder(context, context.params.mode);
}

void SeedCrossFlow(KeyboardEffectState& state) {
    SetColumnBit(state, 7, 6);
}

void EffectCrossFlow(const KeyboardEffectContext& context) {
    KeyboardEffectState& state = context.state;
    const uint8_t mask = ColumnMask(state, 7);
    if (mask == 1) {
        SetColumnBit(state, 7, 0);
    } else if (mask == 64) {
        SetColumnBit(state, 7, 6);
    }
    if (state.sequencePhase >= 2) {
        state.sequencePhase = 0;
        SpreadColumns(context);
        ShiftSpreadMasks(state);
    }
    ++state.sequencePhase;
    DecayAndPaintAll(context, context.params.mode);
}

void EffectConverge(const KeyboardEffectContext& context) {
    ConvergeSequence(context);
    DecayAndPaintAll(context, context.params.mode);
}

}  // namespace device
