#include "profile/mouse_profiledata.h"

#include <gtest/gtest.h>

#include "profile_files.h"

namespace {

using P = ProfileFiles;

Json::Value Stages(int count, int firstDpi) {
    Json::Value section;
    section["DPIStages"]["StageActive"] = 2;
    for (int i = 0; i < count; ++i)
        section["DPIStages"]["StageDPIs"][i]["StageDPIX"] = firstDpi + i;
    return section;
}

TEST(MouseProfileTest, DpiValuesAreLittleEndianAndWrittenBackWhole) {
    ProfileFiles files;
    CMouseProfiledata record;
    LoadSection(files, record,
                P::Parse(R"({"DPIStages": {"StageActive": 1, "StageDPIs": [{"StageActive": 1,
                    "StageXY": 1, "StageDPIX": 3200, "StageDPIY": 70000, "StageColorR": 300,
                    "StageColorG": 2, "StageColorB": 3}]}})"));
    const auto stages = record.GetDpiStages();
    ASSERT_EQ(stages.size(), 1u);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&stages[0]);
    EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + 9),
              (std::vector<uint8_t>{1, 1, 0x80, 0x0C, 0x70, 0x11, 44, 2, 3}));
    EXPECT_EQ(record.GetCurrentDpiStage(), 1);

    record.SetDpiStages(stages);
    record.SetCurrentDpiStage(3);
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(SavedSection(files)["DPIStages"],
              P::Parse(R"({"StageActive": 3, "StageDPIs": [{"StageActive": 1, "StageXY": 1,
                  "StageDPIX": 3200, "StageDPIY": 4464, "StageColorR": 44, "StageColorG": 2,
                  "StageColorB": 3}]})"));
}

TEST(MouseProfileTest, AProfileHasTheStagesItsFileLists) {
    ProfileFiles files;
    CMouseProfiledata record;
    LoadSection(files, record, Stages(5, 100));
    ASSERT_EQ(record.GetDpiStages().size(), 5u);
    // A three-stage profile after a five-stage one keeps none of the old stages...
    LoadSection(files, record, Stages(3, 200));
    const auto stages = record.GetDpiStages();
    ASSERT_EQ(stages.size(), 3u);
    EXPECT_EQ(stages[2].DpiX(), 202);
    // ...and a change stores three stages, not five.
    record.SetDpiStages(stages);
    ASSERT_TRUE(record.Save());
    EXPECT_EQ(SavedSection(files)["DPIStages"]["StageDPIs"].size(), 3u);

    // Without "DPIStages", or without its list, the kept stages stay.
    record.SetCurrentDpiStage(4);
    LoadSection(files, record, P::Parse(R"({"DPIStages": 7})"));
    EXPECT_EQ(record.GetDpiStages().size(), 3u);
    EXPECT_EQ(record.GetCurrentDpiStage(), 4);
    LoadSection(files, record, P::Parse(R"({"DPIStages": {"StageActive": 1}})"));
    EXPECT_EQ(record.GetDpiStages().size(), 3u);
}

TEST(MouseProfileTest, SystemStagesUseTheFilesSpellings) {
    ProfileFiles files;
    CMouseProfiledata record;
    LoadSection(files, record, P::Parse(R"({"SystemStages": {"DoubleClickTime": 500,
        "MouseSpeed": 10, "PointerPrecision": 1, "ScrollPage": 1, "WheelScorlllinse": 3}})"));
    EXPECT_EQ(record.GetSystemStages(), (MouseSystemStages{500, 10, 1, 0, 3, 0}));
    record.SetSystemStages({400, 6, 0, 1, 5, 2});
    ASSERT_TRUE(record.Save());
    const Json::Value saved = SavedSection(files);
    EXPECT_EQ(saved["SystemStages"]["ScorllPage"], 1);
    EXPECT_EQ(saved["SystemStages"]["WheelScorlllinse"], 5);
    EXPECT_EQ(saved["ReportStages"], P::Parse(R"({"StageActive": 2})"));

    LoadSection(files, record, P::Parse(R"({"ReportStages": {"StageActive": 2}})"));
    EXPECT_EQ(record.GetSystemStages(), MouseSystemStages{});
}

TEST(MouseProfileTest, CorrectionEntriesKeepOrderAndNames) {
    ProfileFiles files;
    CMouseProfiledata record;
    LoadSection(files, record,
                P::Parse(R"({"CorrectInfo": [{"CorrectName": 5}, {"CorrectPixThresh": 3,
                    "CorrectMinSq": 260, "CorrectSelect": 1, "CorrectName": "平滑"}, "junk"]})"));
    EXPECT_EQ(record.GetCorrectInfo(), (std::vector<CorrectionEntry>{{}, {3, 4, 1, L"平滑"}, {}}));
}

}  // namespace
