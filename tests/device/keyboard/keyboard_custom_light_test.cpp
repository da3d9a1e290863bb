#include "device/keyboard/custom_light.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/fake_clock.h"

namespace device {
namespace {

constexpr uint32_t Led(uint8_t r, uint8_t g, uint8_t b, uint8_t level) {
    return r | g << 8 | b << 16 | uint32_t{level} << 24;
}

struct Leds {
    explicit Leds(size_t count) { vector.Resize(count); }
    LedColourVector vector;
};

TEST(KeyColorTableTest, PlacesColoursAtLedNumbersAndLeavesOutWhatDoesNotFit) {
    Leds leds(126);
    KeyPositionMap map;
    map.fill(kNoKeyPosition);
    map[0] = 2;
    map[1] = 0;
    map[3] = 170;  // bytes 510..512: one past the table
    map[4] = 169;
    leds.vector.Set(0, Led(200, 100, 50, 128));
    leds.vector.Set(1, Led(7, 8, 9, 0));
    leds.vector.Set(2, Led(1, 1, 1, 255));  // no LED
    leds.vector.Set(3, Led(5, 5, 5, 255));
    leds.vector.Set(4, Led(4, 5, 6, 255));

    const KeyColorTable plain = BuildKeyColorTable(leds.vector, map, false);
    EXPECT_EQ(std::vector<uint8_t>(plain.begin() + 6, plain.begin() + 9),
              (std::vector<uint8_t>{200, 100, 50}));
    EXPECT_EQ(plain[0], 7);
    EXPECT_EQ(std::vector<uint8_t>(plain.begin() + 507, plain.end()),
              (std::vector<uint8_t>{4, 5, 6, 0, 0}));
    EXPECT_EQ(std::count(plain.begin(), plain.end(), uint8_t{1}), 0);

    const KeyColorTable scaled = BuildKeyColorTable(leds.vector, map, true);
    EXPECT_EQ(std::vector<uint8_t>(scaled.begin(), scaled.begin() + 9),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 100, 50, 25}));
    EXPECT_EQ(scaled[507], 3);

    EXPECT_EQ(KeyColorTableLength(126), 378u);
    EXPECT_EQ(KeyColorTableLength(300), 512u);
}

TEST(CustomColourTest, PaintingOnlyInModeTwentyAndLevelsStay) {
    Leds leds(4);
    leds.vector.Fill(Led(1, 2, 3, 99));
    EXPECT_FALSE(PaintKeyColour(5, 1, {200, 0, 0}, leds.vector));
    EXPECT_EQ(leds.vector.Get(1), Led(1, 2, 3, 99));
    EXPECT_FALSE(PaintKeyColour(20, 4, {200, 0, 0}, leds.vector));
    EXPECT_TRUE(PaintKeyColour(20, 1, {200, 0, 0}, leds.vector));
    EXPECT_EQ(leds.vector.Get(1), Led(200, 0, 0, 99));

    FillCustomLightGroup({9, 8, 7}, true, leds.vector);
    EXPECT_EQ(leds.vector.Get(3), Led(9, 8, 7, 99));
    FillCustomLightGroup({9, 8, 7}, false, leds.vector);
    EXPECT_EQ(leds.vector.Get(3), Led(0, 0, 0, 99));

    const std::vector<uint32_t> group(10, Led(4, 4, 4, 40));
    LoadCustomLightGroup(group, leds.vector);
    EXPECT_EQ(leds.vector.Snapshot(), std::vector<uint32_t>(4, Led(4, 4, 4, 40)));
}

LightRecord Layer(uint8_t type, uint8_t speed) {
    LightRecord layer;
    layer.mode = type;
    layer.brightness = 14;
    layer.speed = speed;
    layer.red = 10;
    layer.green = 20;
    layer.blue = 30;
    layer.valid = 1;
    return layer;
}

TEST(OverlayLayersTest, EachLayerTypeDrawsOverTheModeFrame) {
    platform::FakeClock clock;
    const std::vector<LightRecord> layers = {Layer(kAreaStatic, 0),    Layer(kAreaOff, 0),
                                             Layer(kAreaBreathing, 0), Layer(kAreaSpectrum, 9),
                                             Layer(kAreaFlash, 9),     Layer(7, 0)};
    AreaEffectState state;
    Leds leds(6);
    leds.vector.Fill(Led(1, 1, 1, 1));
    ResetOverlayLayers(layers, state);
    ApplyOverlayLayers(layers, platform::TickCount(), state, leds.vector);
    EXPECT_EQ(leds.vector.Snapshot(),
              (std::vector<uint32_t>{Led(10, 20, 30, 255), 0, Led(10, 20, 30, 3),
                                     Led(255, 3, 0, 255), Led(10, 20, 30, 255), Led(1, 1, 1, 1)}));
    ApplyOverlayLayers(layers, platform::TickCount(), state, leds.vector);
    EXPECT_EQ(leds.vector.Get(4), 0u);
    EXPECT_EQ(leds.vector.Get(2), Led(10, 20, 30, 7));
}

}  // namespace
}  // namespace device
