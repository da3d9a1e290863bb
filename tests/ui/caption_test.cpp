// The caption of the main window as a person uses it: the device list, minimise and
// close to the tray.

#include <gtest/gtest.h>

#include "platform/window_handles.h"
#include "ui/driver/ui_driver.h"

namespace {

TEST(CaptionUi, TheKeyboardPageShowsAndTheCloseButtonHidesTheWindow) {
    ui::UiDriver ui;
    EXPECT_TRUE(ui.IsShown(ui.Find(L"closebtn")));
    EXPECT_TRUE(ui.InsideScreen(ui.MainHwnd()));
    ui.Click(L"closebtn");
    EXPECT_TRUE(ui.WaitFor([&] { return !platform::IsWindowVisible(ui.MainHwnd()); }));
}

}  // namespace
