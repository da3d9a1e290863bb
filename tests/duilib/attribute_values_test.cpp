#include "duilib/attribute_values.h"

#include "duilib/ui_defs.h"

#include <gtest/gtest.h>

#include <map>
#include <string_view>

namespace {

using namespace DuiLib;

TEST(AttributeValues, NumbersAreParsedAndClamped) {
    EXPECT_EQ(42, ParseInt(L" 42px"));
    EXPECT_EQ(-7, ParseInt(L"-7"));
    EXPECT_EQ(255, ParseInt(L"0xFF"));
    EXPECT_EQ(9, ParseInt(L"abc", 9));
    EXPECT_EQ(9, ParseInt(L"", 9));
    EXPECT_EQ(9, ParseInt(L"-", 9));
    EXPECT_EQ(INT32_MAX, ParseInt(L"99999999999999999999"));
    EXPECT_EQ(kMaxCoordinate, ParseCoordinate(L"99999999999"));
    EXPECT_EQ(-kMaxCoordinate, ParseCoordinate(L"-99999999999"));
    EXPECT_TRUE(ParseBool(L"TRUE"));
    EXPECT_TRUE(ParseBool(L"1"));
    EXPECT_FALSE(ParseBool(L"yes"));
    EXPECT_FALSE(ParseBool(L""));
}

TEST(AttributeValues, ColoursTakeTheSkinForms) {
    EXPECT_EQ(0xFF112233u, ParseColor(L"#FF112233"));
    EXPECT_EQ(0xFF112233u, ParseColor(L"#112233"));  // no alpha: opaque
    EXPECT_EQ(0x80ABCDEFu, ParseColor(L"0x80abcdef"));
    EXPECT_EQ(0u, ParseColor(L"red"));
    EXPECT_EQ(0u, ParseColor(L"#"));
    EXPECT_EQ(0x12345678u, ParseColor(L"#123456789ABC"));  // extra digits ignored
}

TEST(AttributeValues, RectanglesAndSizesToleratePartsMissing) {
    EXPECT_EQ((RECT{1, 2, 3, 4}), ParseRect(L"1,2,3,4"));
    EXPECT_EQ((RECT{1, -2, 0, 0}), ParseRect(L" 1 , -2"));
    EXPECT_EQ((RECT{0, 0, 0, 0}), ParseRect(L"a,b,c,d"));
    EXPECT_EQ((RECT{kMaxCoordinate, 0, 0, 0}), ParseRect(L"4294967296"));
    EXPECT_EQ((SIZE{800, 572}), ParseSize(L"800,572"));
    EXPECT_EQ((SIZE{800, 0}), ParseSize(L"800"));
}

TEST(AttributeValues, AttributeListsSplitIntoPairsAndStopAtBrokenText) {
    std::map<std::wstring, std::wstring> seen;
    ForEachAttribute(
        L"textcolor=\"#FF000000\" align='center' font = \"2\"",
        [&](const CDuiString& name, const CDuiString& value) { seen[name.str()] = value.str(); });
    EXPECT_EQ(3u, seen.size());
    EXPECT_EQ(L"#FF000000", seen[L"textcolor"]);
    EXPECT_EQ(L"center", seen[L"align"]);
    EXPECT_EQ(L"2", seen[L"font"]);

    seen.clear();
    ForEachAttribute(
        L"a=\"1\" b=\"unterminated",
        [&](const CDuiString& name, const CDuiString& value) { seen[name.str()] = value.str(); });
    EXPECT_EQ(1u, seen.size());
    ForEachAttribute(L"=", [&](const CDuiString&, const CDuiString&) { ADD_FAILURE(); });
    ForEachAttribute(L"x=1", [&](const CDuiString&, const CDuiString&) { ADD_FAILURE(); });
}

TEST(AttributeValues, AlignWordsSetOnlyTheirOwnAxis) {
    // A vertical word leaves the horizontal alignment as it was.
    EXPECT_EQ(DT_VCENTER, ParseAlign(L"vcenter", DT_LEFT));
    EXPECT_EQ(DT_RIGHT | DT_VCENTER, ParseAlign(L"vcenter", DT_RIGHT));
    EXPECT_EQ(DT_CENTER | DT_BOTTOM, ParseAlign(L"center,bottom", DT_VCENTER));
    EXPECT_EQ(DT_RIGHT, ParseAlign(L"right top", DT_CENTER | DT_BOTTOM));
    EXPECT_EQ(DT_SINGLELINE | DT_CENTER, ParseAlign(L"centered", DT_SINGLELINE | DT_CENTER));
}

TEST(AttributeValues, NamesCompareWithoutCase) {
    EXPECT_TRUE(EqualsNoCase(L"HorizontalLayout", L"horizontallayout"));
    EXPECT_FALSE(EqualsNoCase(L"Label", L"Labels"));
    // Views and terminated names alike.
    EXPECT_TRUE(EqualsNoCase(std::wstring_view(L"ScrollBar"), std::wstring_view(L"SCROLLBAR")));
    EXPECT_FALSE(EqualsNoCase(std::wstring_view(L"Labels"), std::wstring_view(L"Label")));
    EXPECT_FALSE(EqualsNoCase(L"a@", L"a`"));  // only letters have another case
    EXPECT_TRUE(EqualsNoCase(static_cast<const wchar_t*>(nullptr), L""));
    EXPECT_FALSE(EqualsNoCase(L"Button", static_cast<const wchar_t*>(nullptr)));
}

}  // namespace
