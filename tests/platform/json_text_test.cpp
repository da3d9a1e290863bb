#include "platform/json_text.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_io.h"
#include "platform/paths.h"

namespace {

using platform::ParseJsonText;
using platform::StyledJsonText;

std::string Nested(int depth) {
    return "{\"Device\": " + std::string(depth, '[') + std::string(depth, ']') + "}";
}

TEST(JsonTextTest, NestingPastTheParsersLimitIsUnparseableNotFatal) {
    Json::Value root(5);
    std::string reason;
    EXPECT_FALSE(ParseJsonText(Nested(1500), &root, &reason));
    EXPECT_TRUE(root.isNull());
    EXPECT_EQ(reason, "nested too deeply");
    EXPECT_TRUE(ParseJsonText(Nested(100), &root));

    EXPECT_FALSE(ParseJsonText("{\n  \"a\": 1,\n  \"b\" 2\n}", &root, &reason));
    EXPECT_EQ(reason.rfind("line 3, column ", 0), 0u) << reason;
}

TEST(JsonTextTest, TextIsStoredAsUtf8InTheStyledLayoutAndEscapedFilesStillRead) {
    Json::Value value;
    value["profilename"] = "游戏 é 😀";
    constexpr char kOdd[] = "tab\t quote\" back\\u00e9 \x01 nul\0end";
    value["odd"] = std::string(kOdd, sizeof kOdd - 1);
    value["list"].append(1);
    value["list"].append("二");
    const std::string text = StyledJsonText(value);
    EXPECT_NE(text.find("\"profilename\" : \"游戏 é 😀\""), std::string::npos) << text;
    EXPECT_NE(text.find("\\\\u00e9"), std::string::npos) << "a backslash stays escaped";
    EXPECT_NE(text.find("\\u0001"), std::string::npos) << "control characters stay escaped";
    EXPECT_NE(text.find("\"list\" : [ 1, \"二\" ]"), std::string::npos) << text;
    Json::Value back;
    ASSERT_TRUE(ParseJsonText(text, &back));
    EXPECT_EQ(back, value);

    // Keys are written whole (found by fuzzing the registry store: a key cut at its NUL
    // came back as a second "language" that hid the value just set).
    Json::Value keys;
    keys[std::string("language\0x", 10)] = 1;
    keys["language"] = 2;
    ASSERT_TRUE(ParseJsonText(StyledJsonText(keys), &back));
    EXPECT_EQ(back, keys);
    // Surrogates standing alone are not UTF-8. A low one from an escape stays that
    // escape; a high one (raw bytes in a file: the reader takes no lone "\ud8e1") is
    // replaced, so that what is written always reads back.
    ASSERT_TRUE(ParseJsonText(R"(["\udc00"])", &back));
    EXPECT_NE(StyledJsonText(back).find("\\udc00"), std::string::npos);
    ASSERT_TRUE(ParseJsonText("{\"\xED\xA3\xA1\": 1}", &back));
    EXPECT_TRUE(ParseJsonText(StyledJsonText(back), &back));
    EXPECT_EQ(back.size(), 1u);

    // As earlier builds wrote it.
    ASSERT_TRUE(ParseJsonText(R"({"profilename" : "\u6e38\u620f \ud83d\ude00"})", &back));
    EXPECT_EQ(back["profilename"].asString(), "游戏 😀");
}

TEST(JsonTextTest, ShippedDocumentsKeepTheirStyledLayoutByteForByte) {
    // ASCII documents come out exactly as JsonCpp's styled writer always wrote them.
    const std::string folder = platform::InstancePath() + "DefaultData/";
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const auto bytes = platform::ReadWholeFile(entry.path().string());
        Json::Value document;
        if (!bytes || !ParseJsonText(*bytes, &document))
            continue;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        const std::string styled = Json::StyledWriter().write(document);
#pragma GCC diagnostic pop
        if (styled.find("\\u") == std::string::npos) {
            EXPECT_EQ(StyledJsonText(document), styled) << entry.path();
            ++compared;
        }
    }
    EXPECT_GE(compared, 2);
}

}  // namespace
