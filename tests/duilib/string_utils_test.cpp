#include "duilib/string_utils.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using DuiLib::CDuiString;

TEST(SplitIndexedNameTest, SplitsAtTheLastUnderscore) {
    struct Case {
        const wchar_t* name;
        const wchar_t* prefix;
        int number;
    };
    const Case cases[] = {
        {L"DPI_slider_12", L"DPI_slider_", 12},
        {L"key_", L"key_", 0},
        {L"a_b_-3", L"a_b_", -3},
        {L"x_7abc", L"x_", 7},
        {L"x_ 42", L"x_", 42},
        {L"x_99999999999", L"x_", 2147483647},
    };
    for (const auto& c : cases) {
        CDuiString prefix;
        int number = -99;
        EXPECT_TRUE(SplitIndexedName(c.name, &prefix, &number)) << c.name;
        EXPECT_EQ(prefix, c.prefix) << c.name;
        EXPECT_EQ(number, c.number) << c.name;
    }
}

TEST(SplitIndexedNameTest, NameWithoutUnderscoreLeavesOutputsAlone) {
    CDuiString prefix = L"unchanged";
    int number = 5;
    EXPECT_FALSE(SplitIndexedName(L"closebtn", &prefix, &number));
    EXPECT_FALSE(SplitIndexedName(L"", &prefix, &number));
    EXPECT_EQ(prefix, L"unchanged");
    EXPECT_EQ(number, 5);
}

TEST(TextConversionTest, Utf8RoundTripsAndStopsAtTheTerminator) {
    const std::string utf8 = "Профиль 配置 ✓";
    EXPECT_EQ(DuiStringToUtf8(Utf8ToDuiString(utf8)), utf8);
    EXPECT_EQ(DuiStringToUtf8(L"ab\0cd"), "ab");
    EXPECT_EQ(DuiStringToUtf8(nullptr), "");
    EXPECT_EQ(Utf8ToDuiString(""), L"");
    EXPECT_EQ(Utf8ToWide(nullptr), L"");
    EXPECT_EQ(Utf8ToDuiString("bad\xc3"), L"bad\xFFFD");
}

TEST(TextConversionTest, EightBitBuffersAreZeroTerminatedAndWholeText) {
    EXPECT_EQ(WideToAnsiAlloc(nullptr), nullptr);
    auto ansi = WideToAnsiAlloc(L"1.2.10");
    ASSERT_NE(ansi, nullptr);
    EXPECT_STREQ(ansi.get(), "1.2.10");
    EXPECT_EQ(ansi[7], '\0');  // the two spare bytes
    RemoveChar(ansi.get(), '.');
    EXPECT_STREQ(ansi.get(), "1210");

    auto url = WstringToOemAlloc(L"https://example.invalid/api/updates?ü");
    EXPECT_STREQ(url.get(), "https://example.invalid/api/updates?\xc3\xbc");
}

TEST(IsBlankTextTest, OnlyWhiteSpaceIsBlank) {
    EXPECT_TRUE(IsBlankText(L""));
    EXPECT_TRUE(IsBlankText(L"   "));
    EXPECT_TRUE(IsBlankText(L"\t\r\n\v\f"));
    EXPECT_TRUE(IsBlankText(L"\x3000"));  // ideographic space
    EXPECT_FALSE(IsBlankText(L" a "));
}

TEST(DuiStringTest, FormatKeepsTheWindowsWideConventions) {
    CDuiString text;
    text.Format(L"%s_%d_%x_%02x_%S", L"键", -7, 255, 10, "narrow");
    EXPECT_EQ(text, L"键_-7_ff_0a_narrow");
    EXPECT_EQ(CDuiString::FormatText(L"%c%%", L'Z'), L"Z%");
    EXPECT_EQ(CDuiString(L"Key_A").CompareNoCase(L"KEY_a"), 0);
    EXPECT_NE(CDuiString(L"Key_A").CompareNoCase(L"KEY_b"), 0);
    // A long format result is not cut.
    EXPECT_EQ(CDuiString::FormatText(L"%s", std::wstring(5000, L'x').c_str()).GetLength(), 5000);
}

}  // namespace
