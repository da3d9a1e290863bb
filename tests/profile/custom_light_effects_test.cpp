#include <gtest/gtest.h>

#include "profile/basic_profiledata.h"
#include "profile/stored_file_id.h"
#include "profile_files.h"

namespace {

using P = ProfileFiles;

// A record with the light configuration document `config` beside its profile.
void Prepare(ProfileFiles& files, CBasicProfiledata& record, const char* config) {
    LoadSection(files, record, Json::Value(Json::objectValue));
    files.WriteText("zentu_light.config", config);
    record.SetLightConfigPath(files.Path("zentu_light.config"));
    record.LoadLightConfig(record.GetLightConfigPath());
}

TEST(CustomLightEffectsTest, StepsOfTheEntryAreReadInFileOrder) {
    ProfileFiles files;
    CBasicProfiledata record;
    Prepare(files, record, R"({"LightInfo": [[], [{"Guid": "a"}, {"Guid": "b"}, {"Guid": "c"},
                                  {"LightName": "mine", "Guid": "2026_01_02"}]]})");
    files.WriteText("2026_01_02.light", R"({"LEDEffectList": [
        {"LEDREGMode": 1, "LEDMultiColor": 2, "red": 9, "Time": 500, "Cyle": 3},
        {"LEDSpeed": 4, "LEDDirection": 2, "Time": 1000},
        {"blue": 260, "Time": 250, "Cycle": 8}]})");
    const auto steps = record.LoadCustomLightEffects(1, 3);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0], (LedEffectRecord{{.mode = 1, .multiColour = 2, .red = 9}, 500, 3}));
    EXPECT_EQ(steps[1], (LedEffectRecord{{.speed = 4, .direction = 2}, 1000, 0}));
    EXPECT_EQ(steps[2], (LedEffectRecord{{.blue = 4}, 250, 0}));
}

TEST(CustomLightEffectsTest, MissingEntriesAndFilesGiveAnEmptyList) {
    ProfileFiles files;
    CBasicProfiledata record;
    files.WriteText("x.light", R"({"LEDEffectList": [{"Time": 1}]})");
    Prepare(files, record, R"({"LightInfo": [[{"Guid": "x"}]]})");
    ASSERT_EQ(record.LoadCustomLightEffects(0, 0).size(), 1u);

    // No list or entry there, or none asked for: the previous list is replaced by an
    // empty one.
    EXPECT_TRUE(record.LoadCustomLightEffects(3, 0).empty());
    ASSERT_EQ(record.LoadCustomLightEffects(0, 0).size(), 1u);
    EXPECT_TRUE(record.LoadCustomLightEffects(0, 1).empty());
    EXPECT_TRUE(record.LoadCustomLightEffects(0, -1).empty());
    EXPECT_TRUE(record.LoadLightConfig(files.Path("none.config")).isNull());
    EXPECT_TRUE(record.LoadCustomLightEffects(0, 0).empty());
}

TEST(CustomLightEffectsTest, IdsThatWouldLeaveTheFolderAreRefused) {
    ProfileFiles files;
    files.WriteText("outside.light", R"({"LEDEffectList": [{"Time": 1}]})");
    for (const char* id : {"../outside", "sub/x", "sub\\x", "", ".", "a\nb"}) {
        EXPECT_FALSE(IsSafeStoredFileId(id)) << id;
        CBasicProfiledata record;
        Json::Value config;
        config["LightInfo"][0][0]["Guid"] = id;
        Prepare(files, record, platform::StyledJsonText(config).c_str());
        EXPECT_TRUE(record.LoadCustomLightEffects(0, 0).empty()) << id;
    }
    EXPECT_FALSE(IsSafeStoredFileId(std::string(kMaxStoredFileIdLength + 1, 'a')));
    EXPECT_EQ(StoredFilePath(L"/u/", "2026_03_07_09_05_03_042", L".Json"),
              L"/u/2026_03_07_09_05_03_042.Json");
    EXPECT_TRUE(StoredFilePath(L"/u/", "../2026", L".Json").empty());
}

}  // namespace
