#include "profile/basic_profiledata.h"

#include <gtest/gtest.h>

#include "platform/user_notice.h"
#include "profile_files.h"

namespace {

using P = ProfileFiles;

Json::Value DefaultProfile() {
    return P::Parse(R"({"Device": [{"a": 0}, {"a": 1}, {"LightInfo": {"SelectItem": 4}}],
                        "profilename": "Default"})");
}

TEST(ProfileLoadTest, MissingFileIsCreatedFromTheDefaultElementOfItsIndex) {
    ProfileFiles files;
    files.Write("default.Json", DefaultProfile());
    CBasicProfiledata record;
    record.SetDefaultProfilePath(files.Path("default.Json"));
    ASSERT_TRUE(record.SetDeviceIndex(2));
    const Json::Value section = record.Load(files.Path("new.Json"));
    EXPECT_EQ(section, DefaultProfile()["Device"][2]);
    EXPECT_EQ(files.Read("new.Json"), P::Parse(R"({"Device": [null, null, {"LightInfo":
                                                    {"SelectItem": 4}}]})"));
}

TEST(ProfileLoadTest, ShortDeviceArrayIsFilledAndNameAndIdStay) {
    ProfileFiles files;
    files.Write("default.Json", DefaultProfile());
    files.Write("p.Json", P::Parse(R"({"Device": [{"x": 1}], "profilename": "游戏",
                                      "profileUUID": "2026_01_01"})"));
    CBasicProfiledata record;
    record.SetDefaultProfilePath(files.Path("default.Json"));
    record.SetDeviceIndex(1);
    EXPECT_EQ(record.Load(files.Path("p.Json")), P::Parse(R"({"a": 1})"));
    EXPECT_EQ(files.Read("p.Json"), P::Parse(R"({"Device": [{"x": 1}, {"a": 1}],
                                  "profilename": "游戏", "profileUUID": "2026_01_01"})"));
}

TEST(ProfileLoadTest, ADeeplyNestedProfileGivesDefaultsAndIsKeptBeside) {
    ProfileFiles files;
    platform::UserNoticeCapture notices;
    files.Write("default.Json", P::Parse(R"({"Device": [{"a": 0}]})"));
    const std::string deep =
        "{\"Device\": " + std::string(1500, '[') + std::string(1500, ']') + "}";
    files.WriteText("p.Json", deep);
    CBasicProfiledata record;
    record.SetDefaultProfilePath(files.Path("default.Json"));
    EXPECT_EQ(record.Load(files.Path("p.Json")), P::Parse(R"({"a": 0})"));
    EXPECT_EQ(files.ReadText("p.Json.corrupt"), deep);
    EXPECT_EQ(files.Read("p.Json")["Device"][0], P::Parse(R"({"a": 0})"));
    EXPECT_TRUE(notices.Contains(L"p.Json.corrupt"));
}

TEST(ProfileLoadTest, NoDefaultLeavesSectionNullReadersEmptyAndFileUntouched) {
    ProfileFiles files;
    files.WriteText("p.Json", "{\"Device\": []}");
    CBasicProfiledata record;
    record.SetDefaultProfilePath(files.Path("missing.Json"));
    EXPECT_TRUE(record.Load(files.Path("p.Json")).isNull());
    EXPECT_EQ(record.GetLightInfo(), LightRecord{});
    EXPECT_TRUE(record.GetLightList().empty());
    EXPECT_TRUE(record.GetKeyList().empty());
    EXPECT_EQ(files.ReadText("p.Json"), "{\"Device\": []}");
}

// A default of today against a section written before it shipped its sections.
TEST(ProfileLoadTest, AnOlderSectionTakesWhatItsDefaultShipsAndKeepsItsOwn) {
    ProfileFiles files;
    files.Write("default.Json", P::Parse(R"({"Device": [{
        "LightInfo": {"SelectItem": 1, "Light": 4},
        "KeyList": [{"Assignment": 10, "DefaultAssignment": 10},
                    {"Assignment": 11, "DefaultAssignment": 11},
                    {"Assignment": 12, "DefaultAssignment": 12}],
        "DPIStages": {"StageActive": 1, "StageDPIs": [{"StageDPIX": 8}, {"StageDPIX": 16},
                                                      {"StageDPIX": 32}]},
        "EQHzValueInfo": [null, [{"value": 7}, {"value": 11}], [{"value": 2}, {"value": 3}]],
        "CustomEQNameInfo": []}]})"));
    const std::string older = R"({"Device": [{
        "LightInfo": {"SelectItem": 6, "Light": "bright"},
        "KeyList": [{"Assignment": 99}],
        "DPIStages": {"StageDPIs": [{"StageDPIX": 50}]},
        "EQHzValueInfo": [null, [{"value": -4}], null],
        "CustomEQNameInfo": "not a list"}], "profilename": "mine"})";
    files.WriteText("p.Json", older);
    CBasicProfiledata record;
    record.SetDefaultProfilePath(files.Path("default.Json"));
    record.SetProfilePath(files.Path("p.Json"));
    const Json::Value section = record.Load(files.Path("p.Json"));
    EXPECT_EQ(files.ReadText("p.Json"), older) << "loading writes nothing";

    EXPECT_EQ(section["LightInfo"], P::Parse(R"({"SelectItem": 6, "Light": 4})"));
    const std::vector<KeyAssignRecord> keys = record.GetKeyList();
    ASSERT_EQ(keys.size(), 3u) << "every key position of the default";
    EXPECT_EQ(keys[0].current.p2, 99) << "the profile's own assignment stays";
    EXPECT_EQ(keys[0].defaults.p2, 10);
    EXPECT_EQ(keys[2].current.p2, 12);
    // A profile's stage count is its own: only the missing active stage is taken.
    EXPECT_EQ(section["DPIStages"],
              P::Parse(R"({"StageActive": 1, "StageDPIs": [{"StageDPIX": 50}]})"));
    EXPECT_EQ(section["EQHzValueInfo"], P::Parse(R"([null, [{"value": -4}, {"value": 11}],
                                                     [{"value": 2}, {"value": 3}]])"));
    EXPECT_EQ(section["CustomEQNameInfo"], P::Parse("[]")) << "a list no reader could use";

    ASSERT_TRUE(record.Save());
    EXPECT_EQ(files.Read("p.Json")["Device"][0], section) << "the next save keeps it";
    EXPECT_EQ(files.Read("p.Json")["profilename"], "mine");
}

TEST(ProfileSaveTest, SaveReplacesOnlyItsOwnElement) {
    ProfileFiles files;
    const Json::Value original = P::Parse(R"({"Device": [{"k": [1, 2]}, {"LightInfo": {}},
                                            {"m": "x"}], "profilename": "n", "profileUUID": "u"})");
    files.Write("p.Json", original);
    CBasicProfiledata record;
    record.SetDeviceIndex(1);
    record.SetProfilePath(files.Path("p.Json"));
    record.Load(files.Path("p.Json"));
    record.SetLightInfo({.mode = 7, .direction = 1, .multiColour = 1, .blue = 9, .customGroup = 2});
    ASSERT_TRUE(record.Save());

    Json::Value expected = original;
    expected["Device"][1]["LightInfo"] = P::Parse(R"({"SelectItem": 7, "Light": 0, "Speed": 0,
        "Fx": 1, "MultiColor": 1, "Red": 0, "Green": 0, "Blue": 9, "QRVMLedMode": 0,
        "CustomGroup": 2})");
    EXPECT_EQ(files.Read("p.Json"), expected);
}

TEST(ProfileSaveTest, FilesThatCannotHoldTheSectionAreKeptAsCorrupt) {
    ProfileFiles files;
    CBasicProfiledata record;
    record.SetProfilePath(files.Path("p.Json"));
    record.SetLightInfo({.mode = 3});

    files.WriteText("p.Json", "{\"Device\": [ {\"cut");
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(files.ReadText("p.Json.corrupt"), "{\"Device\": [ {\"cut");
    EXPECT_EQ(files.Read("p.Json")["Device"][0]["LightInfo"]["SelectItem"], 3);

    files.WriteText("p.Json", "{\"Device\": {\"0\": 5}, \"profilename\": \"mine\"}");
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(files.ReadText("p.Json.corrupt"), "{\"Device\": [ {\"cut") << "never replaced";
    EXPECT_EQ(files.Read("p.Json.corrupt.2")["profilename"], "mine");
    EXPECT_EQ(files.Read("p.Json")["profilename"], "mine");
    EXPECT_TRUE(files.Read("p.Json")["Device"].isArray());

    CBasicProfiledata noPath;
    EXPECT_FALSE(noPath.Save());
}

TEST(ProfileRecordTest, EmptyPathsAndOutOfRangeDeviceIndexesAreRefused) {
    CBasicProfiledata record;
    record.SetProfilePath(L"/a/p.Json");
    record.SetProfilePath(L"");
    EXPECT_EQ(record.GetProfilePath(), L"/a/p.Json");
    EXPECT_FALSE(record.SetDeviceIndex(1 << 30));
    EXPECT_EQ(record.GetDeviceIndex(), 0);
}

TEST(ProfileSectionsTest, LightInfoIsCutToBytesAndWrongTypesReadAsZero) {
    ProfileFiles files;
    CBasicProfiledata record;
    LoadSection(files, record, P::Parse(R"({"LightInfo": {"SelectItem": 2, "MultiColor": 5,
        "Fx": 300, "Red": "255", "Green": [1], "Blue": -1, "CustomGroup": 1e12}})"));
    const LightRecord light = record.GetLightInfo();
    EXPECT_EQ(light.mode, 2);
    EXPECT_EQ(light.multiColour, 1);
    EXPECT_EQ(light.direction, 44);
    EXPECT_EQ(light.red, 0);
    EXPECT_EQ(light.green, 0);
    EXPECT_EQ(light.blue, 255);
    EXPECT_EQ(light.customGroup, 0);
}

TEST(ProfileSectionsTest, LightListZonesAndTheirValidFlag) {
    ProfileFiles files;
    CBasicProfiledata record;
    LoadSection(files, record, P::Parse(R"({"LightList": [null, {"LEDREGMode": 3,
        "LEDDirection": 2, "LEDMultiColor": 7, "red": 10, "green": 20, "blue": 300}, 5]})"));
    const auto zones = record.GetLightList();
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(zones[0], LightRecord{});
    EXPECT_EQ(zones[1], (LightRecord{.mode = 3,
                                     .direction = 1,
                                     .multiColour = 1,
                                     .red = 10,
                                     .green = 20,
                                     .blue = 44,
                                     .valid = 1}));
    EXPECT_EQ(zones[2].valid, 0);

    std::vector<LightRecord> tooShort(1);
    EXPECT_FALSE(ReadLightListRecords(P::Parse("[{}, {}]"), &tooShort, 2));
}

TEST(ProfileSectionsTest, KeyListUnpacksBothFunctionsAndSetKeyListWritesOnlyAssignments) {
    ProfileFiles files;
    CBasicProfiledata record;
    const int packed = 0x20 << 16 | 0x09 << 8 | 0x04;
    Json::Value section;
    for (int i = 0; i < 5; ++i) {
        section["KeyList"][i]["Assignment"] = packed + i;
        section["KeyList"][i]["DefaultAssignment"] = packed;
    }
    LoadSection(files, record, section);
    const auto keys = record.GetKeyList();
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0].current, (KeyFunctionRecord{0, 0x20, 0x09, 0x04, 0}));
    EXPECT_EQ(keys[4].defaults, (KeyFunctionRecord{4, 0x20, 0x09, 0x04, 0}));

    std::vector<KeyAssignRecord> changed(3);
    changed[2].current = {2, 0x70, 1, 2, 0};
    changed[2].defaults = {2, 0x10, 1, 1, 0};
    record.SetKeyList(changed);
    ASSERT_TRUE(record.Save());
    Json::Value expected = section;
    expected["KeyList"][0]["Assignment"] = 0;
    expected["KeyList"][1]["Assignment"] = 0;
    expected["KeyList"][2]["Assignment"] = 0x70 << 16 | 1 << 8 | 2;
    EXPECT_EQ(SavedSection(files), expected);
}

}  // namespace
