// What the key tips and the mouse's key list say a key does, and the name lists the
// pages read from their documents.

#include "device/page/key_function_text.h"

#include <gtest/gtest.h>

#include "device/page/name_lists.h"
#include "support/temp_dir.h"

namespace {

using device::KeyTextStyle;
using DuiLib::CDuiString;

// Shows which language key was asked for.
CDuiString Bracketed(const wchar_t* key) {
    return CDuiString(L"[") + key + L"]";
}

std::optional<CDuiString> Text(uint8_t type, uint8_t p1, uint8_t p2,
                               KeyTextStyle style = KeyTextStyle::kKeyboard,
                               const std::vector<CDuiString>& macros = {}) {
    KeyFunctionRecord f;
    f.type = type;
    f.p1 = p1;
    f.p2 = p2;
    return device::KeyFunctionText(f, macros, style, Bracketed);
}

TEST(KeyFunctionText, KeysAreNamedWholeOrByTheirModifiersAndUsage) {
    EXPECT_EQ(Text(0x20, 0x00, 0x06), CDuiString(L"[keyboard_key_C]"));
    EXPECT_EQ(Text(0x00, 0x00, 0x00), CDuiString(L"[close_text]"));
    EXPECT_EQ(Text(0x20, 0x03, 0x06),
              CDuiString(L"[keyboard_key_LeftCtrl]+[keyboard_key_LeftShift]+[keyboard_key_C]"));
    // No row names the usage and there is no modifier: nothing to show.
    EXPECT_EQ(Text(0x20, 0x00, 0xFE), std::nullopt);
}

TEST(KeyFunctionText, MouseFunctionsMacrosAndUnknownTypes) {
    EXPECT_EQ(Text(0x10, 0x04, 0), CDuiString(L"[mouse_key_middle]"));
    EXPECT_EQ(Text(0x11, 0, 0x81), CDuiString(L"[mouse_key_right_Swing]"));
    EXPECT_EQ(Text(0x12, 0, 0x01), CDuiString(L"[mouse_key_up_Swing]"));
    EXPECT_EQ(Text(0x22, 0x01, 0x06), CDuiString(L"[custem_copy]"));
    EXPECT_EQ(Text(0x70, 1, 0, KeyTextStyle::kKeyboard, {L"a", L"b"}), CDuiString(L"b"));
    // A macro the list does not hold, and types without a description.
    EXPECT_EQ(Text(0x71, 2, 0, KeyTextStyle::kKeyboard, {L"a", L"b"}), std::nullopt);
    EXPECT_EQ(Text(0x50, 0, 0), std::nullopt);
    EXPECT_EQ(Text(0x99, 0, 0), CDuiString(L"关闭"));
    EXPECT_EQ(Text(0xA0, 0x01, 0x00), CDuiString(L"[keyboard_key_Fn]"));

    // The two pages differ on shortcuts of type 0x21, gun keys and special keys.
    EXPECT_EQ(Text(0x21, 0x01, 0x06), std::nullopt);
    EXPECT_EQ(Text(0x21, 0x01, 0x06, KeyTextStyle::kMouse), CDuiString(L"[custem_copy]"));
    EXPECT_EQ(Text(0x72, 2, 0), CDuiString(L"关闭"));
    EXPECT_EQ(Text(0x72, 2, 0, KeyTextStyle::kMouse), CDuiString(L"[gun_3_txt]"));
    EXPECT_EQ(Text(0x72, 4, 0, KeyTextStyle::kMouse), std::nullopt);
}

TEST(PageNameLists, ListsComeFromTheDeviceElementAndToleratePoorDocuments) {
    testing_support::TempDir dir;
    ASSERT_TRUE(testing_support::WriteTextFile(
        dir.File("default_light.json"),
        R"({"DefaultLightName": [[{"LightName": "off", "visible": true}],
                                 [{"LightName": "wave", "visible": true},
                                  {"LightName": 7, "visible": "yes"},
                                  {"LightName": "flash", "visible": 1},
                                  {"LightName": "off", "visible": 0}]],
            "AreaLightName": [[], "not a list"]})"));
    ASSERT_TRUE(testing_support::WriteTextFile(
        dir.File("macro.config"),
        R"({"MacroInfo": [{"MacroName": "one"}, 5, {"MacroName": "three"}]})"));
    ASSERT_TRUE(testing_support::WriteTextFile(dir.File("zentu_light.config"), "{ broken"));

    device::PageNameSources sources;
    sources.userFolder = std::wstring(dir.path().begin(), dir.path().end());
    sources.defaultFolder = sources.userFolder;
    sources.deviceIndex = 1;
    device::PageNameLists lists;
    device::ReadPageNameLists(sources, lists);

    // Entries keep their places: a macro's number and a mode's row are their positions.
    EXPECT_EQ(lists.macroNames, (std::vector<CDuiString>{L"one", L"", L"three"}));
    EXPECT_EQ(lists.defaultLightNames, (std::vector<CDuiString>{L"wave", L"", L"flash", L"off"}));
    EXPECT_EQ(lists.defaultLightVisible, (std::vector<int>{1, 0, 1, 0})) << "true and 1 show";
    EXPECT_TRUE(lists.areaLightNames.empty());
    EXPECT_TRUE(lists.customLightNames.empty());

    // No list for the device index, or no document at all: the lists stay as they were.
    sources.deviceIndex = 5;
    device::ReadPageNameLists(sources, lists);
    EXPECT_EQ(lists.defaultLightNames.size(), 4u);
    sources.defaultFolder = L"/nonexistent/";
    sources.deviceIndex = 1;
    device::ReadPageNameLists(sources, lists);
    EXPECT_EQ(lists.defaultLightVisible, (std::vector<int>{1, 0, 1, 0}));
}

}  // namespace
