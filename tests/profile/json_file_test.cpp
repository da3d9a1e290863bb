#include "profile/json_file.h"
#include "platform/json_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "duilib/string_utils.h"
#include "platform/debug_trace.h"
#include "platform/fake_clock.h"
#include "platform/user_notice.h"
#include "profile/json_value.h"
#include "support/temp_dir.h"

namespace {

using testing_support::ReadTextFile;
using testing_support::TempDir;
using testing_support::WriteTextFile;

DuiLib::CDuiString WidePath(const std::string& path) {
    return Utf8ToDuiString(path);
}

TEST(JsonFileTest, SavedValueReadsBackEqualWithThreeSpaceIndentAndFinalLineBreak) {
    TempDir dir;
    CJsonFile json;
    Json::Value value;
    value["profilename"] = "游戏 1";
    value["Device"][0]["ScorllPage"] = 3;
    value["list"].append(true);
    const auto path = WidePath(dir.File("p.Json"));
    ASSERT_TRUE(json.SaveJsonFile(path, value));
    EXPECT_EQ(json.LoadJsonFile(path), value);
    const std::string text = ReadTextFile(dir.File("p.Json"));
    EXPECT_NE(text.find("\n   \"Device\""), std::string::npos);
    EXPECT_NE(text.find("\"profilename\" : \"游戏 1\""), std::string::npos) << "UTF-8, not escapes";
    EXPECT_EQ(text.back(), '\n');
}

TEST(JsonFileTest, CommentsAreAcceptedAndEmptyObjectIsNotNull) {
    TempDir dir;
    CJsonFile json;
    WriteTextFile(dir.File("c.json"), "// defaults\n{ \"a\": 1 /* one */ }");
    WriteTextFile(dir.File("e.json"), "{}");
    EXPECT_EQ(json.LoadJsonFile(WidePath(dir.File("c.json")))["a"].asInt(), 1);
    const Json::Value empty = json.LoadJsonFile(WidePath(dir.File("e.json")));
    EXPECT_TRUE(empty.isObject());
    EXPECT_FALSE(empty.isNull());
}

TEST(JsonFileTest, MissingTruncatedAndBinaryFilesReadAsNull) {
    TempDir dir;
    CJsonFile json;
    platform::TraceCapture trace;
    EXPECT_TRUE(json.LoadJsonFile(WidePath(dir.File("missing.json"))).isNull());
    EXPECT_TRUE(trace.Contains(L"readjsonFile 错误吗：：2\n"));
    EXPECT_TRUE(trace.Contains(Utf8ToDuiString(dir.File("missing.json")).view()));

    WriteTextFile(dir.File("cut.json"), "{ \"a\": [1, 2");
    EXPECT_TRUE(json.LoadJsonFile(WidePath(dir.File("cut.json"))).isNull());
    WriteTextFile(dir.File("bin.json"), std::string("\x89PNG\0\0", 6));
    EXPECT_TRUE(json.LoadJsonFile(WidePath(dir.File("bin.json"))).isNull());
    // Bytes after a NUL are ignored, as the reader stops there.
    WriteTextFile(dir.File("nul.json"), std::string("{\"a\":2}\0garbage", 15));
    EXPECT_EQ(json.LoadJsonFile(WidePath(dir.File("nul.json")))["a"].asInt(), 2);
}

TEST(JsonFileTest, UnparseableFileIsKeptBesideBeforeItIsReplaced) {
    TempDir dir;
    CJsonFile json;
    WriteTextFile(dir.File("ProfileList.ini"), "{ broken");
    ASSERT_TRUE(
        json.SaveJsonFile(WidePath(dir.File("ProfileList.ini")), Json::Value(Json::arrayValue)));
    EXPECT_EQ(ReadTextFile(dir.File("ProfileList.ini.corrupt")), "{ broken");
    EXPECT_FALSE(json.SaveJsonFile(WidePath(dir.File("no/such/folder.json")), Json::Value(1)));
}

// Notices held from earlier tests of this process reach a new capture too.
int NoticesNaming(const platform::UserNoticeCapture& notices, const std::string& path) {
    const std::wstring name = Utf8ToDuiString(path).str();
    int count = 0;
    for (const platform::UserNotice& notice : notices.Notices())
        count += notice.detail.find(name) != std::wstring::npos ? 1 : 0;
    return count;
}

// A file the program only reads (a light configuration, a macro) is never saved again, so
// its damage is said when it is read; a later save of it does not say it a second time. A
// file the user chose to import is not ours: nothing is kept beside it and nothing said.
TEST(JsonFileTest, AStoredFileThatDoesNotParseIsSaidOnceWhenReadAndAChosenOneIsOnlyRead) {
    TempDir dir;
    CJsonFile json;
    platform::UserNoticeCapture notices;
    WriteTextFile(dir.File("light.config"), "{ \"Light\": [");
    EXPECT_TRUE(json.LoadJsonFile(WidePath(dir.File("light.config"))).isNull());
    EXPECT_TRUE(json.LoadJsonFile(WidePath(dir.File("light.config"))).isNull());
    EXPECT_EQ(ReadTextFile(dir.File("light.config.corrupt")), "{ \"Light\": [");
    ASSERT_TRUE(json.SaveJsonFile(WidePath(dir.File("light.config")), Json::Value(1)));
    EXPECT_EQ(NoticesNaming(notices, dir.File("light.config")), 1);
    EXPECT_TRUE(notices.Contains(Utf8ToDuiString(dir.File("light.config.corrupt")).view()));

    WriteTextFile(dir.File("chosen.txt"), "not json");
    EXPECT_TRUE(json.ParseChosenFile(WidePath(dir.File("chosen.txt"))).isNull());
    EXPECT_FALSE(std::filesystem::exists(dir.File("chosen.txt.corrupt")));
    EXPECT_EQ(NoticesNaming(notices, dir.File("chosen.txt")), 0);
}

TEST(JsonFileTest, BackslashPathsResolve) {
    TempDir dir;
    CJsonFile json;
    ASSERT_TRUE(json.SaveJsonFile(WidePath(dir.path()) + L"x.json", Json::Value(5)));
    std::wstring windowsStyle = WidePath(dir.path()).str() + L"x.json";
    windowsStyle.replace(windowsStyle.find(L'/', 1), 1, L"\\");
    EXPECT_EQ(json.LoadJsonFile(windowsStyle).asInt(), 5);
}

TEST(JsonFileTest, TimestampIdHasFixedWidthFields) {
    platform::FakeClock clock;
    CJsonFile json;
    clock.SetNow({2026, 3, 6, 7, 9, 5, 3, 42});
    EXPECT_EQ(json.MakeTimestampName(), "2026_03_07_09_05_03_042");
    clock.SetNow({2026, 12, 0, 31, 23, 59, 4, 0});
    EXPECT_EQ(json.MakeTimestampName(), "2026_12_31_23_59_04_000");
}

TEST(JsonValueTest, WrongTypesReadAsAbsentWithoutThrowing) {
    Json::Value node;
    ASSERT_TRUE(platform::ParseJsonText(
        R"({"i": 3, "s": "x", "b": true, "neg": -1, "big": 1e20, "f": 2.5})", &node));
    EXPECT_EQ(JsonInt(node, "i"), 3);
    EXPECT_FALSE(JsonInt(node, "s"));
    EXPECT_FALSE(JsonInt(node, "big"));
    EXPECT_FALSE(JsonInt(node, "f"));
    EXPECT_FALSE(JsonUInt(node, "neg"));
    EXPECT_FALSE(JsonString(node, "i"));
    EXPECT_EQ(JsonBoolOr(node, "i", false), false);
    EXPECT_EQ(JsonIntOr(Json::Value("not an object"), "i", 7), 7);
    EXPECT_EQ(JsonStringOr(node, "missing", "def"), "def");
    EXPECT_EQ(JsonMember(Json::Value(Json::arrayValue), "i"), nullptr);
}

}  // namespace
