// What the keyboard does where its light effects, custom lighting and page add nothing:
// the modes that the shared effects cover are animated, the others stay dark, and key
// events reach ReactiveEffect with their layout position.

#include "device/vornalix_keyboard_device.h"

namespace {

constexpr int kNoStep = -1;
constexpr size_t kSpeedColumns = 10;

// The tick row each stepped mode is paced by; kNoStep for the custom player's modes.
constexpr std::array<int, 31> kModeTickRow = {kNoStep, 1,  2,  3,  4,  5,  6,  29, 8,       9,  10,
                                              11,      1,  13, 14, 15, 16, 17, 18, kNoStep, 20, -1,
                                              22,      -1, 24, 25, 5,  24, 28, 29, 30};

int TicksOfRow(int row, size_t speed) {
    if (speed >= kSpeedColumns) {
        return 0;
    }
    const int v = static_cast<int>(speed);
    constexpr std::array<int, kSpeedColumns> kRowE = {0, 28, 23, 18, 13, 7, 0, 0, 0, 0};
    if (row >= 25) {
        return kRowE[speed];
    }
    if (row == 16) {
        return 6;
    }
    if (row == 18) {
        return 4;
    }
    const bool rowA = row <= 5 || row == 12 || row == 14 || row == 15 || row == 19;
    return rowA ? 10 - v : 13 - v;
}

}  // namespace

bool CVornalixKeyboardDevice::IsCustomPlayerMode(int mode) {
    return mode == 0 || mode == 19 || mode == 21 || mode == 23 || mode > 30;
}

int CVornalixKeyboardDevice::ModeStepTicks(int mode, int speed) {
    if (mode < 0 || mode >= static_cast<int>(kModeTickRow.size()) || speed < 0) {
        return kNoStep;
    }
    const int row = kModeTickRow[static_cast<size_t>(mode)];
    return row == kNoStep ? kNoStep : TicksOfRow(row, static_cast<size_t>(speed));
}

void CVornalixKeyboardDevice::RunModeStep(int mode) {
    switch (mode) {
        case 4:
            EffectSpectrum();
            break;
        case 5:
            EffectBreathing();
            break;
        case 6:
            EffectStatic();
            break;
        case 24:
            EffectFlash();
            break;
        case 26:
            EffectBreathingColors();
            break;
        case 27:
            EffectFlashColors();
            break;
        case 28:
            EffectOff();
            break;
        default:
            break;
    }
}

void CVornalixKeyboardDevice::ResetLightAnimation() {
    ClearKeyLevels();
}

void CVornalixKeyboardDevice::RunModeInit(int) {}
void CVornalixKeyboardDevice::CustomLightStep() {}
void CVornalixKeyboardDevice::ApplyOverlayLayers() {}
void CVornalixKeyboardDevice::ReloadCustomLighting() {}

void CVornalixKeyboardDevice::OnKeyEvent(int position, int action) {
    if (position < 0 || position >= device::kNoKeyPosition) {
        return;
    }
    const int key = device::LayoutPositionOf(KeyMaps().keyPosition, static_cast<uint8_t>(position));
    if (key >= 0) {
        ReactiveEffect(key, action);
    }
}

void CVornalixKeyboardDevice::ReactiveEffect(int, int) {}
void CVornalixKeyboardDevice::PaintKeyColor(int) {}

void CVornalixKeyboardDevice::BuildDevicePage() {
    CVornalixUSBDevice::InitPage();
}

void CVornalixKeyboardDevice::ShowKeyAssignment(int) {}
