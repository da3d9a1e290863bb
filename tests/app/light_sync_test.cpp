// The colours of the shared lighting steps and the configuration answer's layout.

#include <gtest/gtest.h>

#include "app/config_answer.h"
#include "app/light_sync.h"
#include "device/lighting/light_tables.h"

namespace {

using light_sync::Frame;
using light_sync::Snapshot;
using light_sync::StepState;

Snapshot Settings(uint8_t mode, uint8_t brightness, uint8_t speed, uint8_t multi = 0) {
    Snapshot s;
    s.mode = mode;
    s.brightness = brightness;
    s.speed = speed;
    s.multiColour = multi;
    s.colour = {10, 20, 30};
    return s;
}

TEST(LightSyncSteps, StaticAndOffAndOutOfRangeBrightness) {
    EXPECT_EQ(light_sync::StepStatic(Settings(1, 3, 0)),
              (Frame{{10, 20, 30}, device::BrightnessLevels[3]}));
    EXPECT_EQ(light_sync::StepOff(), Frame{});
    EXPECT_EQ(light_sync::ColourWord(light_sync::StepOff()), 0u);
    // A brightness past the table takes its last level instead of reading beyond it.
    EXPECT_EQ(light_sync::StepStatic(Settings(1, 200, 0)).level, device::BrightnessLevels[14]);
    EXPECT_EQ(light_sync::ColourWord({{1, 2, 3}, 4}), 0x04030201u);
}

TEST(LightSyncSteps, SpeedTicksSlowDownFirstFiveSpeedsOnly) {
    EXPECT_EQ(light_sync::SpeedTicks(0, 0), 28);
    EXPECT_EQ(light_sync::SpeedTicks(3, 4), 7);
    EXPECT_EQ(light_sync::SpeedTicks(2, 5), 0);
    EXPECT_EQ(light_sync::SpeedTicks(4, 255), 0);
}

TEST(LightSyncSteps, BreathingMovesTheHueOnlyAtTheBottomOfTheCurve) {
    StepState state;
    const Snapshot multi = Settings(0, 14, 0, 1);
    for (int step = 0; step < 128 * 2; ++step) {
        const uint8_t before = state.breathingHue;
        const Frame frame = light_sync::StepBreathing(multi, state);
        EXPECT_EQ(frame.colour, device::ColourWheel[state.breathingHue]);
        if (state.breathingPhase >= 2) {
            EXPECT_EQ(state.breathingHue, before);
        } else {
            EXPECT_EQ(state.breathingHue, (before + 16) % 192);
        }
        EXPECT_EQ(
            frame.level,
            device::BrightnessLevels[14] * device::BreathingCurve128[state.breathingPhase] >> 8);
    }
    // Two full breaths moved the hue four times.
    EXPECT_EQ(state.breathingHue, 64);

    StepState fixed;
    EXPECT_EQ(light_sync::StepBreathing(Settings(0, 14, 0), fixed).colour,
              (device::Rgb{10, 20, 30}));
}

TEST(LightSyncSteps, FlashTogglesAfterItsPeriodAndEveryStepAtHighSpeeds) {
    StepState state;
    const Snapshot slow = Settings(2, 14, 4);  // 7 x 200 ms
    Frame frame = light_sync::StepFlash(slow, state, 1400);
    EXPECT_TRUE(state.flashOn);
    EXPECT_EQ(frame, (Frame{{10, 20, 30}, device::BrightnessLevels[14]}));
    EXPECT_TRUE(light_sync::StepFlash(slow, state, 2799).level != 0) << "toggled early";
    EXPECT_EQ(light_sync::StepFlash(slow, state, 2800), Frame{});

    StepState fast;
    const Snapshot quick = Settings(2, 14, 9, 1);
    bool on = false;
    for (int step = 0; step < 30; ++step) {
        light_sync::StepFlash(quick, fast, 5000);
        on = !on;
        EXPECT_EQ(fast.flashOn, on);
        EXPECT_LT(fast.flashHue, 192);
    }
}

TEST(LightSyncSteps, SpectrumWalksTheWholeWheel) {
    StepState state;
    for (int step = 1; step <= 192; ++step) {
        const Frame frame = light_sync::StepSpectrum(Settings(3, 0, 0), state);
        EXPECT_EQ(state.spectrumHue, step % 192);
        EXPECT_EQ(frame.colour, device::ColourWheel[state.spectrumHue]);
    }
}

uint32_t Int32At(const std::array<uint8_t, kConfigAnswerSize>& block, size_t offset) {
    return block[offset] | block[offset + 1] << 8 | block[offset + 2] << 16 |
           static_cast<uint32_t>(block[offset + 3]) << 24;
}

TEST(ConfigAnswer, HeadRowsAndZeroTail) {
    const auto block = BuildConfigAnswer();
    EXPECT_EQ(Int32At(block, 0), 2u);
    EXPECT_EQ(Int32At(block, 4), 3u);
    EXPECT_EQ(Int32At(block, 8), 0u);
    EXPECT_EQ(Int32At(block, 12), 2u);
    EXPECT_EQ(Int32At(block, 16), 4u);
    // Row 1 is the keyboard, row 2 the mouse pad.
    EXPECT_EQ(Int32At(block, 20 + 12), 0x320Fu);
    EXPECT_EQ(Int32At(block, 24 + 12), 0x505Bu);
    EXPECT_EQ(Int32At(block, 28 + 12), 1u);
    EXPECT_EQ(Int32At(block, 24 + 24), 0x1004u);
    EXPECT_EQ(Int32At(block, 28 + 36), 7u);
    for (size_t i = 20 + 12 * 4; i < block.size(); ++i) {
        ASSERT_EQ(block[i], 0) << i;
    }
}

}  // namespace
