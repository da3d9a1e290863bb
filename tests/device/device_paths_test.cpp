#include "device/device_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "device/page_function_tabs.h"
#include "platform/text_convert.h"
#include "support/temp_dir.h"

namespace device {
namespace {

TEST(DevicePathsTest, UserDataFolderIsCreatedUnderTheProgramFolder) {
    testing_support::ScopedUserFolders folders;
    const std::wstring folder = DeviceUserDataFolder(L"keyboard");
    EXPECT_EQ(platform::Utf8Encode(folder), folders.DataHome() + "Velkaro/keyboard/");
    EXPECT_TRUE(std::filesystem::is_directory(folders.DataHome() + "Velkaro/keyboard"));
    // A second call finds the folders in place.
    EXPECT_EQ(DeviceUserDataFolder(L"keyboard"), folder);
}

TEST(DevicePathsTest, DefaultDataLiesInTheInstanceFolder) {
    EXPECT_EQ(DefaultDataFolder(L"/opt/velkaro/"), L"/opt/velkaro/DefaultData/");
    EXPECT_EQ(DefaultDataFolder(L"/opt/velkaro"), L"/opt/velkaro/DefaultData/");
}

TEST(PageFunctionTabsTest, TableOfFunctions) {
    constexpr int kKeyboard = 1, kMouse = 2, kMousePad = 3, kHeadset = 7;
    EXPECT_EQ(TabsForPageFunction(1, kKeyboard), (PageFunctionTabs{0, 0}));
    EXPECT_EQ(TabsForPageFunction(2, kKeyboard), (PageFunctionTabs{0, 1}));
    EXPECT_EQ(TabsForPageFunction(3, kMouse), (PageFunctionTabs{1, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(4, kKeyboard), (PageFunctionTabs{3, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(4, kMouse), (PageFunctionTabs{3, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(4, kMousePad), (PageFunctionTabs{0, 2}));
    EXPECT_EQ(TabsForPageFunction(5, kMouse), (PageFunctionTabs{2, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(6, kHeadset), (PageFunctionTabs{0, 1}));
    EXPECT_EQ(TabsForPageFunction(7, kHeadset), (PageFunctionTabs{0, 2}));
    EXPECT_EQ(TabsForPageFunction(8, kHeadset), (PageFunctionTabs{1, kTabUnchanged}));
    EXPECT_EQ(TabsForPageFunction(9, kMousePad), (PageFunctionTabs{0, 0}));
    EXPECT_EQ(TabsForPageFunction(-1, kMousePad), (PageFunctionTabs{0, 0}));
}

}  // namespace
}  // namespace device
