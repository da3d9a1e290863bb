#include "profile/keyboard_profiledata.h"

#include <gtest/gtest.h>

#include "profile_files.h"

namespace {

using P = ProfileFiles;

TEST(KeyboardProfileTest, SystemStagesAreCutTo16BitsAndWrittenBack) {
    ProfileFiles files;
    CKeyboardProfiledata record;
    LoadSection(files, record, P::Parse(R"({"LightInfo": {}})"));
    EXPECT_EQ(record.GetSystemStages(), KeyboardSystemStages{});

    LoadSection(files, record, P::Parse(R"({"SystemStages": {"Repeat": 70000, "RepeatDelay": 2,
                                           "Key6Flag": "1", "PollingRate": 3, "WinFlag": 1}})"));
    EXPECT_EQ(record.GetSystemStages(), (KeyboardSystemStages{4464, 2, 0, 3, 0, 1}));
    record.SetSystemStages({31, 1, 1, 4, 1, 0});
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(SavedSection(files)["SystemStages"],
              P::Parse(R"({"Repeat": 31, "RepeatDelay": 1, "Key6Flag": 1, "PollingRate": 4,
                           "WFlag": 1, "WinFlag": 0})"));
}

TEST(KeyboardProfileTest, MissingGroupIsCreatedBlackAndWrittenOnTheNextSave) {
    ProfileFiles files;
    CKeyboardProfiledata record;
    LoadSection(files, record, P::Parse("{}"));
    EXPECT_EQ(record.GetCustomLightGroupIndex(), 0);
    EXPECT_EQ(record.GetCustomLightGroup(3, 104), std::vector<uint32_t>(104, 0));
    ASSERT_TRUE(record.Save());
    const Json::Value groups = SavedSection(files)["CustomLightMode"]["LightColorInfo"];
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_TRUE(groups[0].isNull() && groups[1].isNull() && groups[2].isNull());
    ASSERT_EQ(groups[3].size(), 104u);
    EXPECT_EQ(groups[3][103], P::Parse(R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0})"));
}

TEST(KeyboardProfileTest, ShortGroupIsPaddedAndColoursRoundTrip) {
    ProfileFiles files;
    CKeyboardProfiledata record;
    LoadSection(files, record, P::Parse("{}"));
    std::vector<uint32_t> stored(50);
    for (uint32_t i = 0; i < stored.size(); ++i)
        stored[i] = 0xFF000000u | i << 16 | 0x80u << 8 | (255 - i);
    ASSERT_TRUE(record.SetCustomLightGroup(stored, 1));
    record.SetCustomLightGroupIndex(1);
    ASSERT_TRUE(record.Save());

    CKeyboardProfiledata reread;
    reread.Load(files.Path("p.Json"));
    EXPECT_EQ(reread.GetCustomLightGroupIndex(), 1);
    const auto colours = reread.GetCustomLightGroup(1, 104);
    stored.resize(104, 0);
    EXPECT_EQ(colours, stored);
}

TEST(KeyboardProfileTest, StoredGroupIndexOutOfRangeCannotGrowTheRecord) {
    ProfileFiles files;
    CKeyboardProfiledata record;
    LoadSection(files, record,
                P::Parse(R"({"CustomLightMode": {"CustomLightModeGroupIndex": 2000000000,
                             "LightColorInfo": [[{"Red": "x", "Green": 1}, 7]]}})"));
    const int group = record.GetCustomLightGroupIndex();
    EXPECT_EQ(record.GetCustomLightGroup(group, 126), std::vector<uint32_t>(126, 0));
    EXPECT_TRUE(record.GetCustomLightGroup(0, -1).empty());
    EXPECT_FALSE(record.SetCustomLightGroup({1}, -1));
    EXPECT_EQ(record.GetCustomLightGroup(0, 2), (std::vector<uint32_t>{0x100, 0}));
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(SavedSection(files)["CustomLightMode"]["LightColorInfo"].size(), 1u);
}

}  // namespace
