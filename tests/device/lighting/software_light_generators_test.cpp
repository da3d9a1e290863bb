#include "device/lighting/software_light_generators.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/lighting/area_effects.h"
#include "device/lighting/custom_effect_player.h"
#include "device/mouse/light_effects.h"
#include "platform/critical_section.h"
#include "platform/fake_clock.h"

namespace device {
namespace {

constexpr uint32_t Led(uint8_t r, uint8_t g, uint8_t b, uint8_t level) {
    return r | g << 8 | b << 16 | uint32_t{level} << 24;
}

LightRecord Light(uint8_t mode, uint8_t speed, bool multi, uint8_t direction = 0) {
    LightRecord light;
    light.mode = mode;
    light.brightness = 14;
    light.speed = speed;
    light.direction = direction;
    light.multiColour = multi ? 1 : 0;
    light.red = 10;
    light.green = 20;
    light.blue = 30;
    light.valid = 1;
    return light;
}

struct Leds {
    explicit Leds(size_t count) { vector.Resize(count); }
    LedColourVector vector;
};

TEST(FrameGeneratorsTest, WaveStartsWhereTheStepSaysAndSpacesLedsByTwelve) {
    Leds leds(3);
    FrameWave(Light(4, 0, true, 0), 191, leds.vector);  // direction clear, step 191: row 0
    EXPECT_EQ(
        leds.vector.Snapshot(),
        (std::vector<uint32_t>{Led(255, 1, 0, 255), Led(255, 50, 0, 255), Led(255, 164, 0, 255)}));
    FrameWave(Light(4, 0, true, 1), 0, leds.vector);  // direction set, step 0: row 191
    EXPECT_EQ(leds.vector.Get(0), Led(255, 0, 0, 255));
    EXPECT_EQ(leds.vector.Get(1), Led(255, 44, 0, 255));  // row 11
    FrameWave(Light(4, 0, false, 0), 0, leds.vector);     // rows 13, 25 of the wave curve
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 64));
    EXPECT_EQ(leds.vector.Get(1), Led(10, 20, 30, 118));
}

TEST(FrameGeneratorsTest, BreathingStaticAndSpectrumFillEveryLed) {
    Leds leds(4);
    FrameBreathing(Light(0, 0, true), 64, leds.vector);
    EXPECT_EQ(leds.vector.Snapshot(), std::vector<uint32_t>(4, Led(255, 1, 0, 254)));
    FrameBreathing(Light(0, 0, false), 200, leds.vector);  // read modulo the curve: entry 72
    EXPECT_EQ(leds.vector.Get(3), Led(10, 20, 30, 199));
    FrameStatic(Light(1, 0, true), leds.vector);
    EXPECT_EQ(leds.vector.Get(2), Led(10, 20, 30, 255));
    FrameSpectrum(Light(5, 0, false), 32, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), Led(248, 255, 0, 255));
}

TEST(FrameGeneratorsTest, FlashTogglesOncePerPeriodOfTheDeviceSpeed) {
    platform::FakeClock clock;
    Leds leds(2);
    FlashState flash;
    const LightRecord light = Light(2, 0, true);
    FrameFlash(light, 0, 4, platform::TickCount(), flash, leds.vector);  // period 1400 ms
    EXPECT_EQ(leds.vector.Get(0), 0u);
    clock.Advance(1399);
    FrameFlash(light, 0, 4, platform::TickCount(), flash, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), 0u);
    clock.Advance(1);
    FrameFlash(light, 10, 4, platform::TickCount(), flash, leds.vector);
    EXPECT_EQ(leds.vector.Get(1), Led(255, 164, 0, 255));                  // hue 10 + 14
    FrameFlash(light, 180, 9, platform::TickCount(), flash, leds.vector);  // period 0
    EXPECT_EQ(leds.vector.Get(1), 0u);
    FrameFlash(light, 180, 9, platform::TickCount(), flash, leds.vector);
    EXPECT_EQ(leds.vector.Get(1), Led(255, 1, 0, 255));  // 194 is past the wheel: hue 0
}

struct Player {
    platform::CriticalSection lock;
    CustomEffectList list{lock};
    CustomPlayerState state;
    Leds leds{3};

    void Play() { PlayCustomEffect(list, state, 0, platform::TickCount(), leds.vector); }
};

LedEffectRecord Effect(LightRecord light, int32_t time) {
    LedEffectRecord record;
    record.light = light;
    record.time = time;
    return record;
}

TEST(CustomEffectPlayerTest, EmptyListTurnsLedsOff) {
    platform::FakeClock clock;
    Player player;
    player.leds.vector.Fill(Led(1, 2, 3, 4));
    player.Play();
    EXPECT_EQ(player.leds.vector.Get(2), 0u);
}

TEST(CustomEffectPlayerTest, StepsAtTheRecordSpeedAndMovesOnAfterItsTime) {
    platform::FakeClock clock;
    Player player;
    player.list.Replace({Effect(Light(5, 9, false), 100), Effect(Light(3, 0, false), 0),
                         Effect(Light(1, 0, false), 0)});
    player.Play();  // spectrum threshold 1: steps on every pass
    EXPECT_EQ(player.leds.vector.Get(0), Led(255, 3, 0, 255));
    player.Play();
    EXPECT_EQ(player.leds.vector.Get(0), Led(255, 5, 0, 255));
    clock.Advance(100);
    player.Play();
    EXPECT_EQ(player.list.Position(), 0u);  // exactly 100 ms is not more than 100
    clock.Advance(1);
    player.Play();
    EXPECT_EQ(player.list.Position(), 1u);
    player.Play();  // mode 3 draws nothing; a time of 0 moves on at once
    EXPECT_EQ(player.leds.vector.Get(0), Led(255, 10, 0, 255));
    EXPECT_EQ(player.list.Position(), 2u);
}

TEST(CustomEffectPlayerTest, SharedStepStartsOverInsideAShorterCycle) {
    platform::FakeClock clock;
    Player player;
    player.state.step = 150;  // left by a wave record
    player.list.Replace({Effect(Light(0, 9, false), 1000)});
    player.Play();
    EXPECT_EQ(player.state.step, 0);
    EXPECT_EQ(player.leds.vector.Get(0), Led(10, 20, 30, 0));
}

TEST(CustomEffectPlayerTest, RecordsFromAFileStayInsideEveryTable) {
    platform::FakeClock clock;
    Player player;
    std::vector<LedEffectRecord> records;
    for (uint8_t mode = 0; mode < 8; ++mode) {
        LightRecord light = Light(mode, 255, mode % 2 == 0, mode % 3);
        light.brightness = 255;
        records.push_back(Effect(light, mode == 3 ? -5 : 20));
    }
    player.list.Replace(records);
    for (int pass = 0; pass < 2000; ++pass) {
        PlayCustomEffect(player.list, player.state, 255, platform::TickCount(), player.leds.vector);
        clock.Advance(pass % 3 == 0 ? 16 : 0);
    }
    EXPECT_LT(player.list.Position(), records.size());
    player.list.Replace({});
    player.Play();
    EXPECT_EQ(player.leds.vector.Get(0), 0u);
}

TEST(AreaEffectsTest, BreathingRisesByTheRecordSpeedAndEndsTheBreathWithoutWrapping) {
    std::vector<LightRecord> list = {Light(0, 0, false), Light(0, 250, true), Light(1, 0, false)};
    list[2].valid = 0;
    AreaEffectState state;
    Leds leds(3);
    AreaBreathingStep(list, true, state, leds.vector);
    AreaBreathingStep(list, false, state, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 3));  // curve[4]
    EXPECT_EQ(leds.vector.Get(1), Led(255, 1, 0, 0));   // 254 ends the breath at once
    EXPECT_EQ(state.breathingHue[1], 1);
    EXPECT_EQ(leds.vector.Get(2), 0u);
    AreaBreathingStep(list, false, state, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 7));  // curve[8]
    state.breathingHue[1] = 191;
    AreaBreathingStep(list, false, state, leds.vector);
    EXPECT_EQ(state.breathingHue[1], 191);
}

TEST(AreaEffectsTest, FlashTimersRunForEveryRecordButOnlyFlashRecordsPaint) {
    platform::FakeClock clock;
    std::vector<LightRecord> list = {Light(2, 4, true), Light(0, 4, false)};
    list[1].valid = 0;
    AreaEffectState state;
    Leds leds(2);
    leds.vector.Fill(Led(9, 9, 9, 9));
    AreaFlashStep(list, true, 0, state, leds.vector);
    AreaFlashStep(list, false, platform::TickCount(), state, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), 0u);
    clock.Advance(1400);
    AreaFlashStep(list, false, platform::TickCount(), state, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), Led(255, 65, 0, 255));
    EXPECT_EQ(state.flashOn[1], 1);
    EXPECT_EQ(leds.vector.Get(1), Led(9, 9, 9, 9));
}

TEST(AreaEffectsTest, OnlyBreathingSpectrumAndFlashRecordsKeepThePaceOfPasses) {
    std::vector<LightRecord> list = {Light(1, 0, false), Light(4, 0, false), Light(0, 0, false),
                                     Light(3, 0, false)};
    list[2].valid = 0;
    list[3].valid = 0;
    EXPECT_FALSE(AreaEffectsArePassTimed(list));  // static, off and idle records
    list[2].valid = 1;
    EXPECT_TRUE(AreaEffectsArePassTimed(list));  // a breathing record counts passes
    list[2].valid = 0;
    list[3].valid = 1;
    EXPECT_TRUE(AreaEffectsArePassTimed(list));  // so does a spectrum record
    list[3].valid = 0;
    list.push_back(Light(2, 0, false));
    list.back().valid = 0;
    EXPECT_TRUE(AreaEffectsArePassTimed(list));  // flash paints whatever its valid flag
}

TEST(AreaEffectsTest, SpectrumStepsEachLedAtItsOwnPeriod) {
    std::vector<LightRecord> list = {Light(3, 9, false), Light(3, 3, false)};
    AreaEffectState state;
    Leds leds(2);
    AreaSpectrumStep(list, true, state, leds.vector);
    AreaSpectrumStep(list, false, state, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), Led(255, 3, 0, 255));
    EXPECT_EQ(leds.vector.Get(1), Led(255, 1, 0, 255));  // 1 of 13 ticks
}

TEST(AreaEffectsTest, LongListsNeverRunPastStateOrLeds) {
    platform::FakeClock clock;
    std::vector<LightRecord> list(300, Light(0, 255, true));
    AreaEffectState state;
    Leds leds(10);
    for (uint8_t mode : {0, 2, 3}) {
        for (auto& record : list) {
            record.mode = mode;
            record.brightness = 255;
        }
        AreaBreathingStep(list, true, state, leds.vector);
        AreaFlashStep(list, true, 0, state, leds.vector);
        AreaSpectrumStep(list, true, state, leds.vector);
        for (int i = 0; i < 300; ++i) {
            AreaBreathingStep(list, false, state, leds.vector);
            AreaFlashStep(list, false, platform::TickCount(), state, leds.vector);
            AreaSpectrumStep(list, false, state, leds.vector);
            clock.Advance(16);
        }
    }
    EXPECT_EQ(leds.vector.Size(), 10u);
}

LightParams MouseParams(bool multi, uint8_t direction) {
    LightParams params;
    params.mode = 5;
    params.brightnessIndex = 14;
    params.direction = direction;
    params.multiColour = multi ? 1 : 0;
    params.red = 10;
    params.green = 20;
    params.blue = 30;
    return params;
}

TEST(MouseEffectsTest, WaveMovesTheHuePositionAndSpacesLedsBySeven) {
    Leds leds(2);
    uint8_t hue = 0;
    EffectWave(MouseParams(true, 1), hue, leds.vector);
    EXPECT_EQ(hue, 1);
    EXPECT_EQ(leds.vector.Get(0), Led(255, 5, 0, 255));
    EXPECT_EQ(leds.vector.Get(1), Led(255, 32, 0, 255));
    hue = 0;
    EffectWave(MouseParams(false, 0), hue, leds.vector);  // down to 95; index 0
    EXPECT_EQ(hue, 95);
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 21));
    EXPECT_EQ(leds.vector.Get(1), Led(10, 20, 30, 41));  // index 7
}

TEST(MouseEffectsTest, TrailRunsOneHeadOverTheGroupsAndSkipsMissingLeds) {
    Leds leds(19);
    LightAnimationState animation;
    animation.ring[0] = 1;
    uint8_t hue = 0;
    EffectTrail(MouseParams(false, 1), hue, animation, leds.vector);
    EXPECT_EQ(leds.vector.Get(0), Led(10, 20, 30, 214));
    EXPECT_EQ(leds.vector.Get(18), Led(10, 20, 30, 214));
    EXPECT_EQ(leds.vector.Get(1), Led(10, 20, 30, 0));
    EffectTrail(MouseParams(false, 1), hue, animation, leds.vector);
    EXPECT_EQ(LedBrightness(leds.vector.Get(1)), 214);
    EXPECT_EQ(LedBrightness(leds.vector.Get(17)), 214);
    EXPECT_EQ(LedBrightness(leds.vector.Get(0)), 174);  // 215 - 40

    Leds small(5);
    EffectTrail(MouseParams(true, 1), hue, animation, small.vector);
    EXPECT_EQ(small.vector.Size(), 5u);
}

}  // namespace
}  // namespace device
