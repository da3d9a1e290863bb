#include "device/keyboard/key_reactions.h"

#include <algorithm>
#include <array>

#include "device/keyboard/spread_effects.h"
#include "device/lighting/light_tables.h"

namespace device {
namespace {

struct SplashCell {
    int dc;
    int dr;
    uint8_t gain;  // on a press
    uint8_t loss;  // on a release
};

// The cells a splash reaches around the pressed key.
constexpr std::array<SplashCell, 12> kSplashCells = {{
    {0, -1, 150, 15},
    {0, 1, 150, 15},
    {-1, 0, 150, 15},
    {1, 0, 150, 15},
    {0, -2, 90, 90},
    {0, 2, 90, 90},
    {-1, -1, 90, 90},
    {-1, 1, 90, 90},
    {1, -1, 90, 90},
    {1, 1, 90, 90},
    {-2, 0, 60, 90},
    {2, 0, 60, 90},
}};

// The key in grid cell (column, row); 126 outside the grid or where no key stands.
uint8_t GridKey(int column, int row) {
    if (column < 0 || row < 0 || column >= static_cast<int>(kKeyGridColumnCount) ||
        row >= static_cast<int>(kKeyGridRowCount)) {
        return kNoGridLed;
    }
    return KeyGridColumns[static_cast<size_t>(column)][static_cast<size_t>(row)];
}

bool HeldOtherKey(const KeyboardEffectState& state, int column, int row, size_t key) {
    const uint8_t cellKey = GridKey(column, row);
    return cellKey < kNoGridLed && cellKey != key && state.keyHeld[cellKey] == 1;
}

}  // namespace

void ReactiveEffect(const KeyboardEffectContext& context, size_t key, int action) {
    switch (context.params.mode) {
        case 29:
            ReactiveSplash(context, key, action);
            break;
        case 8:
            MarkKeyColumn(context.state, key, action);
            break;
        case 7:
            StartKeyReactive(context.animation, key, action);
            break;
        default:
            break;
    }
}

void StartKeyReactive(LightAnimationState& animation, size_t key, int /*action*/) {
    if (key < kKeyLevelCount) {
        animation.keyLevels[key] = 255;
    }
}

void ReactiveSplash(const KeyboardEffectContext& context, size_t key, int action) {
    size_t column = 0;
    size_t row = 0;
    if (!FindInKeyGrid(key, column, row)) {
        return;
    }
    KeyboardEffectState& state = context.state;
    auto& levels = context.animation.keyLevels;
    const int c = static_cast<int>(column);
    const int r = static_cast<int>(row);
    if (action == kKeyPressed) {
        state.keyHeld[key] = 1;
        levels[key] = 255;
        for (const SplashCell& cell : kSplashCells) {
            const uint8_t neighbour = GridKey(c + cell.dc, r + cell.dr);
            if (neighbour < kNoGridLed) {
                levels[neighbour] =
                    static_cast<uint8_t>(std::min(levels[neighbour] + cell.gain, 255));
            }
        }
        return;
    }
    if (action != kKeyReleased) {
        return;
    }
    for (const SplashCell& cell : kSplashCells) {
        const int nc = c + cell.dc;
        const int nr = r + cell.dr;
        const uint8_t neighbour = GridKey(nc, nr);
        if (neighbour < kNoGridLed && !KeyHeldNearby(state, nc, nr, key)) {
            levels[neighbour] = levels[neighbour] > cell.loss
                                    ? static_cast<uint8_t>(levels[neighbour] - cell.loss)
                                    : 0;
        }
    }
    state.keyHeld[key] = 0;
}

bool KeyHeldNearby(const KeyboardEffectState& state, int column, int row, size_t key) {
    if (HeldOtherKey(state, column, row, key)) {
        return true;
    }
    return std::any_of(kSplashCells.begin(), kSplashCells.end(), [&](const SplashCell& cell) {
        return HeldOtherKey(state, column + cell.dc, row + cell.dr, key);
    });
}

}  // namespace device
