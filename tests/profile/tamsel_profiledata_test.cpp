#include "profile/tamsel_profiledata.h"

#include <gtest/gtest.h>

#include "profile_files.h"

namespace {

using P = ProfileFiles;
using Bands = std::vector<int32_t>;

Bands Ramp(int first) {
    Bands bands(10);
    for (int b = 0; b < 10; ++b)
        bands[b] = first + b;
    return bands;
}

TEST(HeadsetProfileTest, PresetNumbersMapToTheirRows) {
    ProfileFiles files;
    CTamselProfiledata record;
    LoadSection(files, record, P::Parse("{}"), 3);
    record.SetEqPresetBands(1, Ramp(10));
    record.SetEqPresetBands(12, Ramp(-5));
    EXPECT_EQ(record.GetEqPresetBands(0), Ramp(10));
    EXPECT_EQ(record.GetEqPresetBands(14), Ramp(10));
    EXPECT_EQ(record.GetEqPresetBands(-3), Ramp(10));
    EXPECT_EQ(record.GetEqPresetBands(12), Ramp(-5));
    record.SetEqPresetBands(13, Ramp(99));
    EXPECT_TRUE(record.GetEqPresetBands(13).empty());
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(SavedSection(files, 3)["EQHzValueInfo"].size(), 13u);
}

TEST(HeadsetProfileTest, MissingRowIsCreatedWithZeroBands) {
    ProfileFiles files;
    CTamselProfiledata record;
    LoadSection(files, record, P::Parse(R"({"EQHzValueInfo": [null, [{"value": 4}]]})"));
    EXPECT_EQ(record.GetEqPresetBands(1), (Bands{4, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(record.GetEqPresetBands(5), Bands(10, 0));
    ASSERT_TRUE(record.Save());
    const Json::Value rows = SavedSection(files)["EQHzValueInfo"];
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].size(), 1u);
    EXPECT_TRUE(rows[4].isNull());
    ASSERT_EQ(rows[5].size(), 10u);
    EXPECT_EQ(rows[5][9], P::Parse(R"({"value": 0})"));
}

TEST(HeadsetProfileTest, CustomSettingsNamesAndBands) {
    ProfileFiles files;
    CTamselProfiledata record;
    LoadSection(files, record,
                P::Parse(R"({"CustomEQNameInfo": [{"Name": "a"}, {"Name": "b"}, {"Name": "c"}],
                             "CustomEQHzValueInfo": [[], [], []]})"));
    record.SetCustomEqNames({L"低音 Bass", L"Vocal"});
    ASSERT_TRUE(record.SetCustomEqBands(4, Ramp(1)));
    EXPECT_TRUE(record.SetCustomEqBands(0, {7, 8}));
    EXPECT_FALSE(record.SetCustomEqBands(-1, Ramp(1)));
    EXPECT_FALSE(record.SetCustomEqBands(1 << 30, Ramp(1)));
    EXPECT_EQ(record.GetCustomEqBands(1 << 30), Bands(10, 0));
    ASSERT_TRUE(record.Save());

    CTamselProfiledata reread;
    reread.Load(files.Path("p.Json"));
    EXPECT_EQ(reread.GetCustomEqNames(), (std::vector<DuiLib::CDuiString>{L"低音 Bass", L"Vocal"}));
    EXPECT_EQ(reread.GetCustomEqBands(4), Ramp(1));
    EXPECT_EQ(reread.GetCustomEqBands(0), (Bands{7, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
    const Json::Value saved = SavedSection(files);
    EXPECT_EQ(saved["CustomEQHzValueInfo"].size(), 5u);
    EXPECT_EQ(saved["CustomEQNameInfo"][0]["Name"].asString(), "低音 Bass");
}

TEST(HeadsetProfileTest, SystemSetStagesKeysAreSpeltAsTheFilesSpellThem) {
    ProfileFiles files;
    CTamselProfiledata record;
    LoadSection(files, record, P::Parse(R"({"SystemSetStages": {"EqType": 13,
        "CustomEqSelectIndex": 2, "MicMonitorValue": 40, "MicInValue": "9"}})"));
    EXPECT_EQ(record.GetSystemSetStages(), (TamselSystemSetStages{0, 0, 13, 0, 0, 0, 0, 0}));
    record.SetSystemSetStages(1, 2, 13, 4, 1, 60, 1, 70);
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(SavedSection(files)["SystemSetStages"],
              P::Parse(R"({"MagicEnable": 1, "MagicType": 2, "EqType": 13,
                  "CustomEqSeletIndex": 4, "MicInSelect": 1, "MicInValue": 60,
                  "MicMoniterSelect": 1, "MicMoniterValue": 70, "CustomEqSelectIndex": 2,
                  "MicMonitorValue": 40})"));
}

}  // namespace
