#include "app/light_sync.h"

#include <algorithm>
#include <type_traits>

#include "device/lighting/base_light_effects.h"

namespace light_sync {

namespace {

// Every mode steps alike: slower speeds wait more counted ticks, speeds 5 and above step
// on every tick.
constexpr std::array<uint8_t, kSpeedCount> kTicksOfSpeed = {28, 23, 18, 13, 7};
constexpr uint32_t kFlashPeriodUnitMs = 200;
constexpr uint8_t kFlashHueStep = 14;
constexpr uint8_t kBreathingHueStep = 16;

device::Rgb WheelColour(uint8_t hue) {
    return device::ColourWheel[std::min<size_t>(hue, device::kColourWheelLength - 1)];
}

}  // namespace

// The light-sync thread reads these until it is stopped: nothing of them is destroyed under
// it when exit() runs first.
static_assert(std::is_trivially_destructible_v<Settings> &&
              std::is_trivially_destructible_v<StepState>);

Settings& SharedSettings() {
    static Settings settings;
    return settings;
}

StepState& SharedStepState() {
    static StepState state;
    return state;
}

Snapshot Read(const Settings& settings) {
    Snapshot s;
    s.mode = settings.mode.load();
    s.brightness = settings.brightness.load();
    s.speed = settings.speed.load();
    s.direction = settings.direction.load();
    s.multiColour = settings.multiColour.load();
    s.colour = {settings.red.load(), settings.green.load(), settings.blue.load()};
    return s;
}

uint8_t SpeedTicks(uint8_t, uint8_t speed) {
    return kTicksOfSpeed[std::min<size_t>(speed, kSpeedCount - 1)];
}

Frame StepBreathing(const Snapshot& settings, StepState& state) {
    state.breathingPhase = device::StepWrap(settings.direction != 0, device::kBreathingCurveLength,
                                            state.breathingPhase, 1);
    device::Rgb colour = settings.colour;
    if (settings.multiColour != 0) {
        if (state.breathingPhase < 2) {
            state.breathingHue = device::StepWrap(true, device::kColourWheelLength,
                                                  state.breathingHue, kBreathingHueStep);
        }
        colour = WheelColour(state.breathingHue);
    }
    const uint32_t level = static_cast<uint32_t>(device::BrightnessForIndex(settings.brightness)) *
                               device::BreathingCurve128[state.breathingPhase] >>
                           8;
    return {colour, static_cast<uint8_t>(level)};
}

Frame StepStatic(const Snapshot& settings) {
    return {settings.colour, device::BrightnessForIndex(settings.brightness)};
}

Frame StepFlash(const Snapshot& settings, StepState& state, uint32_t now) {
    const uint32_t period =
        static_cast<uint32_t>(SpeedTicks(kBreathing, settings.speed)) * kFlashPeriodUnitMs;
    if (now - state.lastFlashToggle >= period) {
        state.flashOn = !state.flashOn;
        state.lastFlashToggle = now;
        state.flashHue = static_cast<uint8_t>(state.flashHue + kFlashHueStep);
        if (state.flashHue >= device::kColourWheelLength) {
            state.flashHue = 0;
        }
    }
    if (!state.flashOn) {
        return {};
    }
    const device::Rgb colour =
        settings.multiColour != 0 ? WheelColour(state.flashHue) : settings.colour;
    return {colour, device::BrightnessForIndex(settings.brightness)};
}

Frame StepSpectrum(const Snapshot& settings, StepState& state) {
    state.spectrumHue = device::StepWrap(true, device::kColourWheelLength, state.spectrumHue, 1);
    return {WheelColour(state.spectrumHue), device::BrightnessForIndex(settings.brightness)};
}

Frame StepOff() {
    return {};
}

uint32_t ColourWord(const Frame& frame) {
    return device::MakeLedColour(frame.colour, frame.level);
}

}  // namespace light_sync
