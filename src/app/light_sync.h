#pragma once
// The lighting every synchronised device shows together: the shared choice the lighting
// panel's "same on all devices" button stores, and the colour of each step of the five
// shared modes. The main window's light synchronisation thread runs the steps and writes
// their colour into every synchronised device's LED colours.

#include <array>
#include <atomic>
#include <cstdint>

#include "device/lighting/light_tables.h"

namespace light_sync {

inline constexpr uint8_t kBreathing = 0;
inline constexpr uint8_t kStatic = 1;
inline constexpr uint8_t kFlash = 2;
inline constexpr uint8_t kSpectrum = 3;
inline constexpr uint8_t kOff = 4;
inline constexpr int kModeCount = 5;
inline constexpr int kSpeedCount = 15;

// The shared choice; written on the window's thread, read byte by byte by the thread.
struct Settings {
    std::atomic<uint8_t> mode{0};
    std::atomic<uint8_t> brightness{0};
    std::atomic<uint8_t> speed{0};
    std::atomic<uint8_t> direction{0};
    std::atomic<uint8_t> multiColour{0};
    std::atomic<uint8_t> red{0};
    std::atomic<uint8_t> green{0};
    std::atomic<uint8_t> blue{0};
};

// One copy of the settings, as the step functions read it.
struct Snapshot {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t multiColour = 0;
    device::Rgb colour;
};

// What the steps remember from one to the next.
struct StepState {
    uint8_t spectrumHue = 0;
    uint8_t breathingPhase = 0;
    uint8_t breathingHue = 0;
    bool flashOn = false;
    uint8_t flashHue = 0;
    uint32_t lastFlashToggle = 0;
};

// One colour for every LED: its red, green, blue and brightness level.
struct Frame {
    device::Rgb colour;
    uint8_t level = 0;
    friend bool operator==(const Frame&, const Frame&) = default;
};

// The process-wide shared choice and step state.
Settings& SharedSettings();
StepState& SharedStepState();

Snapshot Read(const Settings& settings);

// Counted ticks between two steps of `mode` at `speed`; modes and speeds past the table
// take its last row and column.
uint8_t SpeedTicks(uint8_t mode, uint8_t speed);

Frame StepBreathing(const Snapshot& settings, StepState& state);
Frame StepStatic(const Snapshot& settings);
// `now` is the coarse tick count in milliseconds.
Frame StepFlash(const Snapshot& settings, StepState& state, uint32_t now);
Frame StepSpectrum(const Snapshot& settings, StepState& state);
Frame StepOff();

// red | green << 8 | blue << 16 | level << 24.
uint32_t ColourWord(const Frame& frame);

}  // namespace light_sync
