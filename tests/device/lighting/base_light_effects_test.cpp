#include "device/lighting/base_light_effects.h"

#include <gtest/gtest.h>

#include <vector>

namespace device {
namespace {

constexpr uint32_t Led(uint8_t r, uint8_t g, uint8_t b, uint8_t brightness) {
    return r | g << 8 | b << 16 | uint32_t{brightness} << 24;
}

LightParams Params(uint8_t brightnessIndex, uint8_t speedIndex, bool forward, bool multi) {
    LightParams params;
    params.brightnessIndex = brightnessIndex;
    params.speedIndex = speedIndex;
    params.direction = forward ? 1 : 0;
    params.multiColour = multi ? 1 : 0;
    params.red = 10;
    params.green = 20;
    params.blue = 30;
    return params;
}

struct Leds {
    explicit Leds(size_t count) { vector.Resize(count); }
    LedColourVector vector;
};

TEST(StepWrapTest, WrapsAtBothEnds) {
    EXPECT_EQ(StepWrap(true, 128, 127, 1), 0);
    EXPECT_EQ(StepWrap(false, 128, 0, 1), 127);
    EXPECT_EQ(StepWrap(false, 192, 0, 1), 191);
    EXPECT_EQ(StepWrap(true, 192, 100, 16), 116);
    // A value left by a longer table comes back inside the shorter one.
    EXPECT_EQ(StepWrap(true, 128, 191, 1), 0);
    EXPECT_EQ(StepWrap(false, 128, 191, 1), 127);
    EXPECT_EQ(StepWrap(true, 0, 5, 1), 0);
}

TEST(LightParamsTest, WordsAreLittleEndianBytesInOrder) {
    const LightParams params = LightParams::FromWords(0x01020304, 0x05060708, 0x090A0B0C);
    EXPECT_EQ(params.mode, 0x04);
    EXPECT_EQ(params.brightnessIndex, 0x03);
    EXPECT_EQ(params.speedIndex, 0x02);
    EXPECT_EQ(params.direction, 0x01);
    EXPECT_EQ(params.multiColour, 0x08);
    EXPECT_EQ(params.blue, 0x05);
    EXPECT_EQ(params.extra[3], 0x09);
}

TEST(BreathingTest, FirstFramesSingleColour) {
    Leds leds(6);
    LightAnimationState state;
    state.phase = 62;
    const LightParams params = Params(14, 0, true, false);
    StepBreathing(params, state, leds.vector);
    EXPECT_EQ(leds.vector.Snapshot(), std::vector<uint32_t>(6, Led(10, 20, 30, 254)));
    StepBreathing(params, state, leds.vector);
    EXPECT_EQ(leds.vector.Get(5), Led(10, 20, 30, 254));
    StepBreathing(params, state, leds.vector);  // curve 248 x 255 / 256
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 247));
    EXPECT_EQ(state.phase, 65);
    EXPECT_EQ(state.colourStep, 0);
}

TEST(BreathingTest, BackwardWrapAdvancesColourStep) {
    Leds leds(6);
    LightAnimationState state;
    StepBreathing(Params(14, 0, false, false), state, leds.vector);
    EXPECT_EQ(state.phase, 127);
    EXPECT_EQ(state.colourStep, 0);
    StepBreathing(Params(14, 0, true, false), state, leds.vector);
    EXPECT_EQ(state.phase, 0);
    EXPECT_EQ(state.colourStep, 16);
    state.colourStep = 192;
    state.phase = 127;
    StepBreathing(Params(14, 0, true, false), state, leds.vector);
    EXPECT_EQ(state.colourStep, 0);
}

TEST(BreathingTest, MultiColourFollowsGridColumnsOn126Leds) {
    Leds leds(126);
    LightAnimationState state;
    state.phase = 62;
    StepBreathing(Params(14, 0, true, true), state, leds.vector);
    EXPECT_EQ(leds.vector.Get(70), Led(16, 255, 0, 254));    // column 8, wheel 57
    EXPECT_EQ(leds.vector.Get(120), Led(255, 3, 0, 254));    // column 0, wheel 1
    EXPECT_EQ(leds.vector.Get(119), Led(200, 0, 255, 254));  // column 22, wheel 155
    EXPECT_EQ(leds.vector.Get(125), Led(0, 255, 65, 254));   // column 11, wheel 78
    EXPECT_EQ(leds.vector.Get(35), 0u);                      // in no column
}

TEST(BreathingTest, MultiColourStaysInsideSixLeds) {
    Leds leds(6);
    LightAnimationState state;
    state.phase = 62;
    StepBreathing(Params(14, 0, true, true), state, leds.vector);
    const std::vector<uint32_t> expected = {Led(255, 26, 0, 254),  Led(255, 140, 0, 254),
                                            Led(255, 227, 0, 254), Led(194, 255, 0, 254),
                                            Led(114, 255, 0, 254), Led(16, 255, 0, 254)};
    EXPECT_EQ(leds.vector.Snapshot(), expected);
}

TEST(BreathingColoursTest, AdvancesThroughFourColoursAndRecoversFromForeignStep) {
    Leds leds(6);
    LightAnimationState state;
    state.phase = 127;
    state.colourStep = 16;  // left behind by breathing
    StepBreathingColours(Params(14, 0, true, false), state, leds.vector);
    EXPECT_EQ(state.colourStep, 1);
    EXPECT_EQ(leds.vector.Get(0), Led(0, 255, 0, 0));
    state.phase = 62;
    StepBreathingColours(Params(14, 0, true, false), state, leds.vector);
    EXPECT_EQ(leds.vector.Get(3), Led(0, 255, 0, 254));
    state.phase = 127;
    state.colourStep = 3;
    StepBreathingColours(Params(14, 0, true, false), state, leds.vector);
    EXPECT_EQ(state.colourStep, 0);
}

TEST(StaticTest, SingleColourFillsEveryLedAndOffClearsThem) {
    Leds leds(6);
    ApplyStatic(Params(2, 0, true, false), leds.vector);
    EXPECT_EQ(leds.vector.Snapshot(), std::vector<uint32_t>(6, Led(10, 20, 30, 50)));
    ClearLeds(leds.vector);  // the "off" mode
    EXPECT_EQ(leds.vector.Snapshot(), std::vector<uint32_t>(6, 0));
}

TEST(StaticTest, MultiColourPaintsRingsAndLeavesOthers) {
    Leds leds(126);
    leds.vector.Set(1, 0xDEADBEEF);
    ApplyStatic(Params(14, 0, true, true), leds.vector);
    EXPECT_EQ(leds.vector.Get(70), Led(0, 35, 255, 255));   // row 0, wheel 117
    EXPECT_EQ(leds.vector.Get(49), Led(0, 146, 255, 255));  // row 1, wheel 104
    EXPECT_EQ(leds.vector.Get(0), Led(255, 1, 0, 255));     // row 9, wheel 0
    EXPECT_EQ(leds.vector.Get(1), 0xDEADBEEFu);

    Leds small(6);
    ApplyStatic(Params(14, 0, true, true), small.vector);
    EXPECT_EQ(small.vector.Get(0), Led(255, 1, 0, 255));
    EXPECT_EQ(small.vector.Get(5), 0u);
}

TEST(SpectrumTest, StepsAlongTheWheelBothWays) {
    Leds leds(6);
    LightAnimationState state;
    StepSpectrum(Params(14, 0, true, false), state, leds.vector);
    EXPECT_EQ(leds.vector.Get(4), Led(255, 3, 0, 255));
    state.phase = 0;
    StepSpectrum(Params(14, 0, false, false), state, leds.vector);
    EXPECT_EQ(state.phase, 191);
    EXPECT_EQ(leds.vector.Get(0), Led(255, 0, 0, 255));
}

TEST(FlashTest, TogglesOnThePeriodOfTheSpeed) {
    Leds leds(126);
    LightAnimationState state;
    const LightParams params = Params(14, 0, true, true);  // 28 x 200 ms
    StepFlash(params, state, leds.vector, 10000);
    EXPECT_EQ(state.flashOn, 1);
    EXPECT_EQ(state.phase, 16);
    EXPECT_EQ(leds.vector.Get(125), Led(255, 81, 0, 255));
    StepFlash(params, state, leds.vector, 15599);
    EXPECT_EQ(state.flashOn, 1);
    StepFlash(params, state, leds.vector, 15600);
    EXPECT_EQ(state.flashOn, 0);
    EXPECT_EQ(state.phase, 32);
    EXPECT_EQ(leds.vector.Get(125), 0u);
}

TEST(FlashTest, FastSpeedsToggleEveryStep) {
    Leds leds(6);
    LightAnimationState state;
    state.phase = 191;
    // Indexes past their tables, as a damaged profile may hold, take the last entry.
    const LightParams params = Params(200, 99, true, false);
    StepFlash(params, state, leds.vector, 0);
    EXPECT_EQ(state.phase, 0);
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 255));
    StepFlash(params, state, leds.vector, 0);
    EXPECT_EQ(leds.vector.Get(0), 0u);
}

TEST(FlashTest, ColoursAdvanceOnEachToggle) {
    Leds leds(6);
    LightAnimationState state;
    state.colourStep = 176;
    const LightParams params = Params(1, 14, true, false);
    StepFlashColours(params, state, leds.vector, 0);
    EXPECT_EQ(state.colourStep, 1);
    EXPECT_EQ(leds.vector.Get(2), Led(0, 255, 0, 30));
    StepFlashColours(params, state, leds.vector, 0);
    EXPECT_EQ(leds.vector.Get(2), 0u);
    StepFlashColours(params, state, leds.vector, 0);
    EXPECT_EQ(leds.vector.Get(2), Led(255, 0, 0, 30));
}

TEST(KeyLevelsTest, DecayFollowsTheBitLadder) {
    LightAnimationState state;
    state.keyLevels[3] = 255;
    std::vector<int> seen;
    for (int i = 0; i < 13; ++i) {
        DecayKeyLevel(state, 3, 0);
        seen.push_back(state.keyLevels[3]);
    }
    EXPECT_EQ(seen, (std::vector<int>{215, 175, 135, 95, 65, 35, 25, 17, 9, 5, 1, 0, 0}));
    state.keyLevels[4] = 3;
    DecayKeyLevel(state, 4, 1);
    EXPECT_EQ(state.keyLevels[4], 2);
    DecayKeyLevel(state, 126, 0);  // outside the levels: ignored
}

TEST(KeyLevelsTest, RingRotatesAndMarksFirstNineKeys) {
    LightAnimationState state;
    state.ring[0] = 1;
    state.ring[22] = 2;
    RotateRing(state, true);
    EXPECT_EQ(state.ring[0], 2);
    EXPECT_EQ(state.ring[1], 1);
    RotateRing(state, false);
    RotateRing(state, false);
    EXPECT_EQ(state.ring[0], 0);
    EXPECT_EQ(state.ring[21], 2);
    EXPECT_EQ(state.ring[22], 1);
    state.ring[8] = 1;
    state.ring[9] = 1;
    MarkRingKeys(state);
    EXPECT_EQ(state.keyLevels[8], 255);
    EXPECT_EQ(state.keyLevels[9], 0);
    ClearKeyLevels(state);
    EXPECT_EQ(state.keyLevels[8], 0);
    EXPECT_EQ(state.ring[22], 0);
}

}  // namespace
}  // namespace device
