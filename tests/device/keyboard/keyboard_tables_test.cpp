// The keyboard's key maps, light block and macro image, apart from any device.

#include <gtest/gtest.h>

#include <vector>

#include "device/keyboard/key_map.h"
#include "device/keyboard/light_block.h"
#include "device/macro_image.h"
#include "pages/macro_files.h"
#include "support/temp_dir.h"

namespace {

std::vector<uint8_t> TableOfCodes(const std::vector<device::KeyCode>& codes) {
    std::vector<uint8_t> table(device::kKeyboardTableBytes, 0xEE);
    for (size_t p = 0; p < codes.size(); ++p) {
        table[3 * p] = codes[p].category;
        table[3 * p + 1] = codes[p].modifier;
        table[3 * p + 2] = codes[p].usage;
    }
    return table;
}

device::KeyboardKeyMaps EmptyMaps() {
    device::KeyboardKeyMaps maps;
    maps.keyPosition.fill(device::kNoKeyPosition);
    maps.led.fill(device::kNoKeyPosition);
    return maps;
}

TEST(KeyboardKeyMapTest, LayoutRowsFindTheirFirstCodeAndItsLed) {
    const auto& layout = device::KeyboardLayoutTable;
    // Position 0 holds Esc twice over: the first wins. Layout row 2 has no code.
    const std::vector<uint8_t> codes =
        TableOfCodes({layout[1], layout[0], layout[0], {0x20, 0x00, 0x00}});
    std::vector<uint8_t> leds(device::kKeyboardTableBytes, 0);
    leds[0] = 40;
    leds[1] = 41;
    leds[2] = 42;
    leds[3] = 43;
    device::KeyboardKeyMaps maps = EmptyMaps();
    device::BuildKeyMaps(codes, leds, 4, maps);
    EXPECT_EQ(maps.keyPosition[0], 1);
    EXPECT_EQ(maps.keyPosition[1], 0);
    EXPECT_EQ(maps.keyPosition[2], device::kNoKeyPosition);
    // The five blank rows all match the one blank code.
    for (size_t blank : {18u, 19u, 20u, 62u, 104u}) {
        EXPECT_EQ(maps.keyPosition[blank], 3) << blank;
    }
    EXPECT_EQ(maps.led[0], 41);
    EXPECT_EQ(maps.led[1], 40);
    EXPECT_EQ(maps.led[2], device::kNoKeyPosition);
    // LEDs are given only to layout positions below the keyboard's count.
    EXPECT_EQ(maps.led[18], device::kNoKeyPosition);
    EXPECT_EQ(device::LayoutPositionOf(maps.keyPosition, 1), 0);
    EXPECT_EQ(device::LayoutPositionOf(maps.keyPosition, 200), -1);
}

TEST(KeyboardKeyMapTest, CountsBeyondTheTablesAreNeverReadOrWritten) {
    // 170 positions fill the whole table; a count of 255 from a faulty keyboard must not
    // search past it nor reset entries past the layout.
    std::vector<uint8_t> codes(device::kKeyboardTableBytes, 0);
    const std::vector<uint8_t> leds(device::kKeyboardTableBytes, 7);
    device::KeyboardKeyMaps maps = EmptyMaps();
    device::BuildKeyMaps(codes, leds, 255, maps);
    EXPECT_EQ(maps.keyPosition[0], device::kNoKeyPosition);  // 00/00/00 is no layout code
    std::vector<uint8_t> shortTable = {0x20, 0x00, 0x29};
    device::BuildKeyMaps(shortTable, std::vector<uint8_t>{9}, 170, maps);
    EXPECT_EQ(maps.keyPosition[0], 0);
    EXPECT_EQ(maps.led[0], 9);
}

TEST(KeyboardLightBlockTest, ReadBackTurnsSpeedAndSixKeyFlagBackAndKeepsTheRest) {
    const device::KeyboardLightBlock block = {3, 5, 3, 9, 1, 1, 10, 20, 30, 0, 0, 0, 0,
                                              0, 0, 0, 0, 0, 2, 1,  0,  1,  3, 0, 0, 4};
    const device::DecodedLightBlock back = device::DecodeKeyboardLightBlock(block);
    EXPECT_EQ(back.activeSlot, 3);
    EXPECT_EQ(back.light.mode, 5);
    EXPECT_EQ(back.light.speed, 0);
    EXPECT_EQ(back.light.blue, 30);
    EXPECT_EQ(back.light.qrvmMode, 2);
    EXPECT_EQ(back.light.customGroup, 4);
    EXPECT_EQ(back.key6Flag, 1) << "byte 20 is 0";
    EXPECT_EQ(back.wFlag, 1);
    EXPECT_EQ(back.winFlag, 1);
}

TEST(KeyboardLightBlockTest, OutOfRangeSpeedsStayWithinTheSpeedIndexes) {
    LightRecord light;
    light.speed = 12;  // a hand-edited profile
    EXPECT_EQ(device::EncodeKeyboardLightBlock(0, light, {})[3], 0);
    device::KeyboardLightBlock block{};
    block[3] = 200;  // a keyboard answering garbage
    EXPECT_EQ(device::DecodeKeyboardLightBlock(block).light.speed, 0);
}

Json::Value Event(const char* action, int button, int type, Json::Value delay) {
    Json::Value event;
    event["Action"] = action;
    event["Button"] = button;
    event["Type"] = type;
    event["Delay"] = delay;
    return event;
}

TEST(MacroImageTest, EventsTakeTheWaitTheMacroPageShowsAndTheirOwnTypeBits) {
    EXPECT_EQ(device::EncodeMacroEvent(Event("Down", 2, 3, "12ms")),
              (device::MacroEventRecord{12, 0, 3, 2}))
        << "only \"down\" exactly marks a press";
    // A wait the image cannot hold is its nearest bound, on the page and in the image.
    const std::pair<Json::Value, uint16_t> delays[] = {
        {"12ms", 12},
        {" +40", 40},
        {Json::Value(Json::arrayValue), 0},
        {"65537", 0xFFFF},
        {70000, 0xFFFF},
        {"99999999999999999999999", 0xFFFF},
        {"-2", 0},
        {-5, 0},
        {"-9223372036854775808", 0},
        {"-99999999999999999999999", 0},
    };
    for (const auto& [delay, expected] : delays) {
        const Json::Value event = Event("down", 2, 3, delay);
        EXPECT_EQ(device::EncodeMacroEvent(event),
                  (device::MacroEventRecord{static_cast<uint8_t>(expected),
                                            static_cast<uint8_t>(expected >> 8), 0x83, 2}))
            << delay.toStyledString();
        EXPECT_EQ(MacroEventFromJson(event).delay, expected) << delay.toStyledString();
    }
}

TEST(MacroImageTest, EmptyMacrosKeepTheirOffsetAndHead) {
    const std::vector<device::MacroEvents> macros = {{}, {device::MacroEventRecord{1, 2, 3, 4}}};
    const std::vector<uint8_t> image = device::BuildMacroImage(macros);
    ASSERT_EQ(image.size(), 16u + 2 * 6 + 4);
    EXPECT_EQ(image[16], 20);  // first head after the offset table
    EXPECT_EQ(image[18], 24);  // second head after the empty first macro
    EXPECT_EQ(image[20], 0);
    EXPECT_EQ(image[24], 1);
    EXPECT_EQ(device::MacroOverflowResult(4097, 4096), 1);
    EXPECT_EQ(device::MacroOverflowResult(4104, 4096), 3);
}

TEST(MacroImageTest, ListedMacrosAreReadInListOrderAndBadIdsReadAsEmpty) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(
        dir.File("macro.config"),
        R"({"MacroInfo":[{"MacroName":"a","Guid":"g1"},{"MacroName":"b","Guid":"../g1"},)"
        R"({"MacroName":"c","Guid":"missing"},{"MacroName":"d"}]})"));
    ASSERT_TRUE(testing_support::WriteTextFile(
        dir.File("g1.mac"), R"({"Events":[{"Action":"down","Button":4,"Type":10,"Delay":"50"}]})"));
    std::vector<device::MacroEvents> macros;
    const std::wstring folder(dir.path().begin(), dir.path().end());
    ASSERT_TRUE(device::ReadMacroList(folder, L"macro.config", &macros));
    ASSERT_EQ(macros.size(), 4u);
    EXPECT_EQ(macros[0].size(), 1u);
    EXPECT_TRUE(macros[1].empty()) << "an id that leaves the folder names no file";
    EXPECT_TRUE(macros[2].empty());
    EXPECT_TRUE(macros[3].empty());
    EXPECT_FALSE(device::ReadMacroList(folder, L"absent.config", &macros));
}

}  // namespace
