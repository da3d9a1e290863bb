#include "device/keyboard/light_effects.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/keyboard/key_reactions.h"
#include "device/keyboard/spread_effects.h"
#include "platform/fake_clock.h"

namespace device {
namespace {

constexpr uint32_t Led(uint8_t r, uint8_t g, uint8_t b, uint8_t level) {
    return r | g << 8 | b << 16 | uint32_t{level} << 24;
}

struct Keyboard {
    explicit Keyboard(uint8_t mode, bool multi = false, uint8_t direction = 1,
                      size_t ledCount = kKeyboardPositions) {
        params.mode = mode;
        params.brightnessIndex = 14;
        params.direction = direction;
        params.multiColour = multi ? 1 : 0;
        params.red = 10;
        params.green = 20;
        params.blue = 30;
        leds.Resize(ledCount);
    }
    KeyboardEffectContext Context() { return {params, animation, state, leds}; }
    void Start() { StartKeyboardMode(Context()); }
    void Step(uint8_t qrvm = 0) { RunKeyboardModeStep(Context(), qrvm, platform::TickCount()); }
    uint8_t Level(size_t key) const { return animation.keyLevels[key]; }

    LightParams params;
    LightAnimationState animation;
    KeyboardEffectState state;
    LedColourVector leds;
};

TEST(KeyboardModeTableTest, RowsAndThresholds) {
    EXPECT_EQ(KeyboardModeTickRow(12), 1);
    EXPECT_EQ(KeyboardModeTickRow(26), 5);
    EXPECT_EQ(KeyboardModeTickRow(27), 24);
    EXPECT_EQ(KeyboardModeTickRow(7), 29);
    for (uint8_t mode : {0, 19, 21, 23, 31, 255}) {
        EXPECT_TRUE(IsKeyboardCustomLightMode(mode)) << int(mode);
    }
    EXPECT_EQ(KeyboardModeThreshold(1, 0), 10);
    EXPECT_EQ(KeyboardModeThreshold(6, 0), 13);
    EXPECT_EQ(KeyboardModeThreshold(16, 3), 6);
    EXPECT_EQ(KeyboardModeThreshold(18, 9), 4);
    EXPECT_EQ(KeyboardModeThreshold(18, 10), 0);
    EXPECT_EQ(KeyboardModeThreshold(25, 0), 0);
    EXPECT_EQ(KeyboardModeThreshold(30, 1), 28);
    EXPECT_EQ(KeyboardModeThreshold(1, 200), 0);
}

TEST(KeyboardInitTest, DefaultHuesAndPulsePhases) {
    Keyboard keyboard(15, true);
    EffectInitDefault(keyboard.state);
    EXPECT_EQ(keyboard.state.keyHue[1], 33);
    EXPECT_EQ(keyboard.state.keyHue[5], 165);
    EXPECT_EQ(keyboard.state.keyHue[6], 6);
    EXPECT_EQ(keyboard.state.keyHue[125], 93);

    keyboard.Start();
    EXPECT_EQ(keyboard.Level(105), 72);  // row 6 of column 0 is row 0 of column 1
    EXPECT_EQ(keyboard.Level(21), 32);
    EXPECT_EQ(keyboard.Level(125), 92);
    EXPECT_EQ(keyboard.state.keyHue[21], 7);
    keyboard.animation.keyLevels[0] = 191;
    keyboard.Step();
    EXPECT_EQ(keyboard.leds.Get(21), Led(255, 22, 0, 187));  // curve[34], hue 7
    EXPECT_EQ(keyboard.Level(0), 0);
    EXPECT_LT(keyboard.state.keyHue[0], 192);

    Keyboard ripple(22);
    ripple.Start();
    EXPECT_EQ(ripple.state.keyPhase[21], 79);
    EXPECT_EQ(ripple.state.keyPhase[84], 167);
    EXPECT_EQ(ripple.state.keyPhase[105], 140);
    ripple.state.keyPhase[0] = 192;
    ripple.Step();
    EXPECT_EQ(ripple.state.keyPhase[0], 0);
    EXPECT_EQ(ripple.leds.Get(21), Led(10, 20, 30, 6));  // curve[80]
}

TEST(KeyboardWaveTest, ColumnWavesFirstFrame) {
    Keyboard multi(1, true);
    multi.Start();
    multi.Step();
    EXPECT_EQ(multi.leds.Get(120), Led(255, 5, 0, 255));
    EXPECT_EQ(multi.leds.Get(0), Led(255, 32, 0, 255));
    EXPECT_EQ(multi.leds.Get(21), Led(255, 81, 0, 255));

    Keyboard single(1, false);
    single.Start();
    single.Step();
    EXPECT_EQ(single.leds.Get(124), Led(10, 20, 30, 26));
    EXPECT_EQ(single.leds.Get(105), Led(10, 20, 30, 35));

    Keyboard fine(2, false);
    fine.Start();
    fine.Step();
    EXPECT_EQ(fine.leds.Get(120), Led(10, 20, 30, 3));
    EXPECT_EQ(fine.leds.Get(0), Led(10, 20, 30, 44));
}

TEST(KeyboardWaveTest, RowSnakeAndDriftFirstFrame) {
    Keyboard rows(12, false);  // always multi-colour
    rows.Start();
    rows.Step();
    EXPECT_EQ(rows.leds.Get(21), Led(255, 5, 0, 255));
    EXPECT_EQ(rows.leds.Get(120), Led(255, 188, 0, 255));
    EXPECT_EQ(rows.leds.Get(42), Led(53, 255, 0, 255));

    Keyboard snake(3, true);
    snake.Start();
    snake.Step();
    EXPECT_EQ(snake.leds.Get(15), Led(255, 3, 0, 255));
    EXPECT_EQ(snake.leds.Get(14), Led(255, 18, 0, 255));
    Keyboard plainSnake(3, false);
    plainSnake.Start();
    plainSnake.Step();
    EXPECT_EQ(plainSnake.leds.Get(15), Led(10, 20, 30, 23));
    EXPECT_EQ(plainSnake.leds.Get(14), Led(10, 20, 30, 38));

    Keyboard drift(11, false);
    drift.Start();
    drift.Step();
    EXPECT_EQ(drift.leds.Get(0), Led(255, 3, 0, 255));
    EXPECT_EQ(drift.leds.Get(6), Led(255, 22, 0, 255));
}

TEST(KeyboardWaveTest, CustomBrightnessKeepsTheColoursOfTheKeys) {
    Keyboard custom(20, false, 1, kMaxLedCount);
    custom.leds.Fill(Led(1, 2, 3, 9));
    custom.Step();
    EXPECT_EQ(custom.leds.Get(125), Led(1, 2, 3, 255));
    EXPECT_EQ(custom.leds.Get(130), Led(1, 2, 3, 9));
}

TEST(KeyboardWaveTest, RingsAndPresetColour) {
    Keyboard rings(18, false, 1, kMaxLedCount);
    rings.Start();
    rings.Step();
    EXPECT_EQ(rings.leds.Get(70), Led(255, 44, 0, 255));
    EXPECT_EQ(rings.leds.Get(49), Led(255, 129, 0, 255));
    EXPECT_EQ(rings.leds.Get(126), 0u);

    Keyboard preset(17);
    preset.Step(7);
    EXPECT_EQ(preset.leds.Get(3), Led(255, 0, 85, 255));
    preset.Step(1);
    EXPECT_EQ(preset.leds.Get(3), Led(255, 176, 0, 255));
}

TEST(KeyboardTrailTest, SnakeTrailLightsItsHeadAndRunsBackwardFromTheEnd) {
    Keyboard forward(30);
    forward.Start();
    forward.Step();
    EXPECT_EQ(forward.Level(0), 214);
    EXPECT_EQ(forward.leds.Get(0), Led(10, 20, 30, 213));
    EXPECT_EQ(forward.animation.phase, 1);

    Keyboard backward(30, false, 0);
    backward.Start();
    backward.Step();
    EXPECT_EQ(backward.animation.phase, 126);
    backward.Step();  // 126 is past the order: nothing lit
    EXPECT_EQ(backward.animation.phase, 125);
    EXPECT_TRUE(std::all_of(backward.animation.keyLevels.begin(),
                            backward.animation.keyLevels.end(), [](uint8_t l) { return l == 0; }));
}

TEST(KeyboardTrailTest, SweepLightsItsFrameAndLevelsStopAtZero) {
    Keyboard single(25);
    single.Start();
    single.animation.keyLevels[100] = 3;
    single.Step();
    EXPECT_EQ(single.Level(26), 250);
    EXPECT_EQ(single.leds.Get(0), Led(10, 20, 30, 249));
    EXPECT_EQ(single.Level(100), 0);

    Keyboard multi(25, true);
    multi.Start();
    multi.state.keyHue[5] = 250;
    multi.Step();
    EXPECT_EQ(multi.leds.Get(0), Led(255, 7, 0, 255));
    EXPECT_EQ(multi.state.keyHue[5], 253);
    EXPECT_EQ(multi.leds.Get(5), 0u);  // hues past the wheel show dark
}

TEST(KeyboardTrailTest, RainLightsAtMostSixKeys) {
    Keyboard rain(10, true);
    rain.Start();
    rain.state.randomSeed = 12345;
    rain.Step();
    const auto lit =
        std::count(rain.animation.keyLevels.begin(), rain.animation.keyLevels.end(), uint8_t{215});
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, 6);
    EXPECT_EQ(
        std::count(rain.animation.keyLevels.begin(), rain.animation.keyLevels.end(), uint8_t{0}),
        126 - lit);
}

TEST(KeyboardSpreadTest, PressedColumnSpreadsOneCellPerStep) {
    Keyboard spread(8);
    spread.Start();
    ReactiveEffect(spread.Context(), 70, kKeyPressed);
    ReactiveEffect(spread.Context(), 71, kKeyReleased);
    spread.Step();
    EXPECT_EQ(spread.Level(70), 215);
    EXPECT_EQ(spread.Level(71), 0);
    spread.Step();
    for (size_t key : {69, 71, 49, 91}) {
        EXPECT_EQ(spread.Level(key), 215) << key;
    }
    EXPECT_EQ(spread.Level(70), 175);
    EXPECT_EQ(spread.leds.Get(70), Led(10, 20, 30, 174));
}

TEST(KeyboardSpreadTest, EdgeAndCrossFlowSeedsMove) {
    Keyboard edge(16);
    edge.Start();
    edge.Step();
    edge.Step();
    EXPECT_EQ(edge.Level(0), 215);
    EXPECT_EQ(edge.Level(21), 215);

    Keyboard cross(13);
    cross.Start();
    const auto seeded = cross.state.spreadMasks;
    cross.Step();
    cross.Step();
    EXPECT_EQ(cross.state.spreadMasks, seeded);
    cross.Step();
    EXPECT_NE(cross.state.spreadMasks, seeded);
}

TEST(KeyboardSpreadTest, ConvergeRunsItsWholeSequenceAndStartsOver) {
    Keyboard converge(14);
    converge.Start();
    converge.Step();
    EXPECT_EQ(converge.Level(0), 214);
    EXPECT_EQ(converge.Level(115), 214);
    bool reachedEdge = false;
    int steps = 0;
    for (; steps < 2000; ++steps) {
        converge.Step();
        reachedEdge = reachedEdge || converge.state.sequencePhase == 4;
        if (reachedEdge && converge.state.sequencePhase == 0) {
            break;
        }
    }
    EXPECT_TRUE(reachedEdge);
    EXPECT_LT(steps, 2000);
}

TEST(KeyboardReactionTest, SplashAddsAroundThePressAndTakesBackWhatNoHeldKeyKeeps) {
    Keyboard keyboard(29);
    keyboard.Start();
    ReactiveEffect(keyboard.Context(), 70, kKeyPressed);
    EXPECT_EQ(keyboard.Level(70), 255);
    EXPECT_EQ(keyboard.Level(49), 150);
    EXPECT_EQ(keyboard.Level(28), 90);
    EXPECT_EQ(keyboard.Level(72), 60);
    ReactiveEffect(keyboard.Context(), 70, kKeyReleased);
    EXPECT_EQ(keyboard.Level(49), 135);
    EXPECT_EQ(keyboard.Level(28), 0);
    EXPECT_EQ(keyboard.Level(68), 0);
    EXPECT_EQ(keyboard.state.keyHeld[70], 0);

    Keyboard held(29);
    held.Start();
    ReactiveEffect(held.Context(), 72, kKeyPressed);
    ReactiveEffect(held.Context(), 70, kKeyPressed);
    ReactiveEffect(held.Context(), 70, kKeyReleased);
    EXPECT_EQ(held.Level(71), 255);  // next to the held key
    EXPECT_EQ(held.Level(72), 255);
    EXPECT_EQ(held.Level(69), 135);
    ReactiveEffect(held.Context(), 126, kKeyPressed);
    ReactiveEffect(held.Context(), 18, kKeyPressed);  // not in the grid
}

TEST(KeyboardReactionTest, KeyEventsReachOnlyTheReactiveModes) {
    Keyboard reactive(7);
    reactive.Start();
    ReactiveEffect(reactive.Context(), 70, kKeyReleased);
    EXPECT_EQ(reactive.Level(70), 255);

    Keyboard still(9);
    still.Start();
    ReactiveEffect(still.Context(), 70, kKeyPressed);
    still.Step();
    EXPECT_EQ(still.Level(70), 0);
}

TEST(KeyboardRobustnessTest, EveryModeStaysInsideItsTablesAndTheLedVector) {
    platform::FakeClock clock;
    for (size_t ledCount : {size_t{20}, kMaxLedCount}) {
        for (int mode = 0; mode <= 40; ++mode) {
            Keyboard keyboard(static_cast<uint8_t>(mode), mode % 2 == 0,
                              static_cast<uint8_t>(mode % 3), ledCount);
            keyboard.params.brightnessIndex = 255;
            keyboard.params.speedIndex = 255;
            keyboard.Start();
            keyboard.state.keyHue.fill(255);
            for (int step = 0; step < 300; ++step) {
                keyboard.Step(static_cast<uint8_t>(step));
                ReactiveEffect(keyboard.Context(), static_cast<size_t>(step % 130), 1 + step % 2);
                clock.Advance(16);
            }
            EXPECT_EQ(keyboard.leds.Size(), ledCount);
        }
    }
}

}  // namespace
}  // namespace device
