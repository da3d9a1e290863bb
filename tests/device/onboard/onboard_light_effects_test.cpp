// The mouse pad's and the headset's own effect steps.

#include "device/onboard/light_effects.h"

#include <gtest/gtest.h>

#include "device/lighting/light_tables.h"
#include "device/lighting/software_light_tables.h"
#include "device/onboard/light_block.h"

namespace {

using device::LedColourVector;
using device::LightParams;

LightParams Params(uint8_t mode, bool multi, uint8_t direction) {
    LightParams params;
    params.mode = mode;
    params.brightnessIndex = 4;
    params.multiColour = multi ? 1 : 0;
    params.direction = direction;
    params.red = 10;
    params.green = 20;
    params.blue = 30;
    return params;
}

device::Rgb RgbOf(uint32_t colour) {
    return {device::LedRed(colour), device::LedGreen(colour), device::LedBlue(colour)};
}

TEST(OnboardWave, PhasesWrapAndEachDeviceSpreadsItsOwnWay) {
    LedColourVector leds;
    leds.Resize(15);
    uint8_t phase = 190;
    device::OnboardWave(Params(0, true, 1), device::kMousePadWave, phase, leds);
    EXPECT_EQ(phase, 191);
    EXPECT_EQ(RgbOf(leds.Get(0)), device::ColourWheel[0]) << "phase 191 starts at row 0";
    EXPECT_EQ(RgbOf(leds.Get(1)), device::ColourWheel[7]);

    phase = 0;
    device::OnboardWave(Params(0, true, 1), device::kHeadsetWave, phase, leds);
    EXPECT_EQ(RgbOf(leds.Get(1)), device::ColourWheel[18]);

    // The headset's single-colour wave steps by 3 and starts at the phase itself.
    phase = 93;
    device::OnboardWave(Params(0, false, 1), device::kHeadsetWave, phase, leds);
    EXPECT_EQ(phase, 0);
    EXPECT_EQ(device::LedBrightness(leds.Get(0)), device::ScaledLevel(4, device::WaveCurve96[0]));
    EXPECT_EQ(device::LedBrightness(leds.Get(1)), device::ScaledLevel(4, device::WaveCurve96[10]));
}

TEST(OnboardTrail, RingPrefixRotatesEitherWayAndPairsSkipMissingLeds) {
    std::array<uint8_t, device::kRingLength> ring{};
    ring[0] = 1;
    device::RotateRingPrefix(ring, 8, true);
    EXPECT_EQ(ring[1], 1);
    device::RotateRingPrefix(ring, 2, false);
    EXPECT_EQ(ring[0], 1);
    device::RotateRingPrefix(ring, 8, false);
    EXPECT_EQ(ring[7], 1) << "place 0 goes to the last place of the prefix";
    device::RotateRingPrefix(ring, 99, true);  // at most the whole ring
    EXPECT_EQ(ring[8], 1);

    LedColourVector leds;
    leds.Resize(13);
    device::LightAnimationState state;
    state.keyLevels.fill(255);
    uint8_t phase = 0;
    device::TrailPass(Params(7, false, 1), true, phase, state, leds);
    EXPECT_EQ(RgbOf(leds.Get(1)), (device::Rgb{10, 20, 30}));
    EXPECT_EQ(leds.Get(0), 0u) << "LED 0 belongs to no pair";
    EXPECT_EQ(leds.Size(), 13u);
}

TEST(OnboardLightBlock, SpeedIsTurnedBothWaysAndSoftwareModesAreHidden) {
    const uint8_t read[26] = {1, 12, 3, 7, 1, 0, 9, 8, 7, 0xAB};
    const device::OnboardLightBlock held = device::DecodeOnboardLightBlock(read);
    EXPECT_EQ(held[device::kBlockSpeed], 2);
    const device::OnboardLightBlock written = device::EncodeOnboardLightBlock(held);
    EXPECT_EQ(written[device::kBlockMode], 0);
    EXPECT_EQ(written[device::kBlockSpeed], 7);
    EXPECT_EQ(written[9], 0xAB);

    // A speed outside 0..9 from either side is held in range instead of wrapping.
    const uint8_t wild[26] = {1, 3, 3, 200};
    EXPECT_EQ(device::DecodeOnboardLightBlock(wild)[device::kBlockSpeed], 0);
    device::OnboardLightBlock fast = held;
    fast[device::kBlockSpeed] = 12;
    EXPECT_EQ(device::EncodeOnboardLightBlock(fast)[device::kBlockSpeed], 0);

    // A stored brightness past the last level goes as the last; a direction as 0 or 1.
    device::OnboardLightBlock wide = held;
    wide[device::kBlockBrightness] = 200;
    wide[device::kBlockDirection] = 5;
    EXPECT_EQ(device::EncodeOnboardLightBlock(wide)[device::kBlockBrightness], 14);
    EXPECT_EQ(device::EncodeOnboardLightBlock(wide)[device::kBlockDirection], 1);
}

}  // namespace
