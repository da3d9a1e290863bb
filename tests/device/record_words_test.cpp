// Stored records as the three words the relays pass: byte i of a record is byte i % 4 of
// word i / 4, low byte first.

#include "device/record_words.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordWordsTest, LightRecordsTravelLowByteFirstAndTheGroupApart) {
    LightRecord light;
    light.mode = 20;
    light.brightness = 14;
    light.speed = 3;
    light.red = 9;
    light.blue = 7;
    light.qrvmMode = 2;
    light.customGroup = 5;
    const std::array<uint32_t, 3> words = device::LightRecordWords(light);
    EXPECT_EQ(words[0], 20u | 14u << 8 | 3u << 16);
    EXPECT_EQ(words[1], 9u << 8 | 7u << 24);
    EXPECT_EQ(words[2], 2u << 24);
    EXPECT_EQ(device::LightRecordOfWords(words[0], words[1], words[2], 5), light);
}

TEST(RecordWordsTest, TheSelectedKeyTakesOnlyTheCurrentFunction) {
    std::vector<KeyAssignRecord> keys(2);
    keys[1].defaults.type = 0x20;
    keys[1].defaults.p2 = 0x29;
    // current {id 1, type 0x30, p1 0xE9, p2 0x00}, defaults {id 9, type 0x40, ...}
    const uint32_t first = 1u | 0x30u << 16 | 0xE9u << 24;
    const uint32_t second = 9u << 16;
    const uint32_t third = 0x40u;
    ASSERT_TRUE(device::SetCurrentKeyFunction(keys, 1, first, second, third));
    EXPECT_EQ(keys[1].current.type, 0x30);
    EXPECT_EQ(keys[1].current.p1, 0xE9);
    EXPECT_EQ(keys[1].current.p2, 0);
    EXPECT_EQ(keys[1].defaults.type, 0x20) << "the default function stays the key's own";
    EXPECT_EQ(keys[1].defaults.p2, 0x29);
    EXPECT_FALSE(device::SetCurrentKeyFunction(keys, 2, first, second, third));
    EXPECT_FALSE(device::SetCurrentKeyFunction(keys, -1, first, second, third));
}

}  // namespace
