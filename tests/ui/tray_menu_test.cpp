// The tray icon as a person uses it where the desktop has no notification area: its
// stand-in window in the screen's corner, a left click that hides and shows the window, and
// the menu of a right click with the settings, the about window and the way out.

#include <gtest/gtest.h>

#include "app/main_wnd/main_wnd.h"
#include "duilib/render/tray_stand_in.h"
#include "duilib/ui_control.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/ui_driver.h"

namespace {

constexpr POINT kOnIcon{20, 20};

HWND TrayIcon(ui::UiDriver& ui) {
    return ui.WaitForWindow(DuiLib::kTrayStandInClass);
}

HWND OpenTrayMenu(ui::UiDriver& ui) {
    const HWND icon = TrayIcon(ui);
    if (icon == nullptr) {
        ADD_FAILURE() << "no tray icon";
        return nullptr;
    }
    ui.ClickAt(icon, kOnIcon, SDL_BUTTON_RIGHT);
    return ui.WaitForWindow(L"MenuWnd");
}

TEST(TrayMenuUi, ARightClickOnTheIconOpensItsMenuBesideItOnTheScreen) {
    ui::UiDriver ui({.language = "zh", .tray = true});
    const HWND menu = OpenTrayMenu(ui);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(ui.InsideScreen(menu));
    EXPECT_EQ(ui.MenuItems(menu), (std::vector<std::wstring>{L"设置", L"关于", L"退出"}));
    // It opens where the pointer is: its nearest corner at the click.
    const RECT icon = ui.ScreenRectOf(TrayIcon(ui));
    const RECT rc = ui.ScreenRectOf(menu);
    EXPECT_EQ(rc.right, icon.left + kOnIcon.x);
    EXPECT_EQ(rc.bottom, icon.top + kOnIcon.y);
    ui.PressKey(SDLK_ESCAPE);
    EXPECT_TRUE(ui.WaitFor([] { return platform::FindWindow(L"MenuWnd", nullptr) == nullptr; }));
}

TEST(TrayMenuUi, ALeftClickOnTheIconHidesTheWindowAndTheNextShowsIt) {
    ui::UiDriver ui({.tray = true});
    ui.ClickAt(TrayIcon(ui), kOnIcon);
    EXPECT_TRUE(ui.WaitFor([&] { return !platform::IsWindowVisible(ui.MainHwnd()); }));
    ui.ClickAt(TrayIcon(ui), kOnIcon);
    EXPECT_TRUE(ui.WaitFor([&] { return platform::IsWindowVisible(ui.MainHwnd()) != 0; }));
    EXPECT_TRUE(ui.InsideScreen(ui.MainHwnd()));
}

TEST(TrayMenuUi, AboutShowsTheVersionAndItsButtonsMinimiseAndClose) {
    ui::UiDriver ui({.tray = true});
    ui::ModalAnswers modal(ui);
    modal.When(L"AboutWnd", [&](HWND about) {
        EXPECT_TRUE(ui.InsideScreen(about));
        const std::wstring version = ui.Text(ui.FindIn(about, L"software_ver_label"));
        EXPECT_EQ(version.rfind(L"Software version: ", 0), 0u) << platform::Utf8Encode(version);
        EXPECT_GT(version.size(), std::wstring(L"Software version: ").size()) << "a version";
        // A window of one size offers no maximise.
        EXPECT_FALSE(ui.IsShown(ui.FindIn(about, L"maxbtn")));
        EXPECT_FALSE(ui.IsShown(ui.FindIn(about, L"restorebtn")));
        ui.Click(ui.FindIn(about, L"minbtn"));
        EXPECT_TRUE(platform::IsIconic(about));
        ui.RestoreFromTaskBar(about);
        EXPECT_FALSE(platform::IsIconic(about));
        ui.Click(ui.FindIn(about, L"closebtn"));
    });
    ui.Click(ui.FindIn(OpenTrayMenu(ui), L"about_menu"));
    EXPECT_TRUE(modal.AllGiven());
    EXPECT_TRUE(ui.WaitFor([] { return platform::FindWindow(L"AboutWnd", nullptr) == nullptr; }));
    EXPECT_TRUE(platform::IsWindowVisible(ui.MainHwnd()));
}

TEST(TrayMenuUi, SettingsOpenOverTheWindowAndExitEndsTheProgram) {
    ui::UiDriver ui({.tray = true});
    ui::ModalAnswers modal(ui);
    modal.When(L"SetWnd", [&](HWND settings) {
        EXPECT_TRUE(ui.InsideScreen(settings));
        const RECT main = ui.ScreenRectOf(ui.MainHwnd());
        const RECT rc = ui.ScreenRectOf(settings);
        EXPECT_NEAR((rc.left + rc.right) / 2, (main.left + main.right) / 2, 1);
        ui.Click(ui.FindIn(settings, L"closebtn"));
    });
    ui.Click(ui.FindIn(OpenTrayMenu(ui), L"setwnd_menu"));
    EXPECT_TRUE(modal.AllGiven());

    ui.Click(ui.FindIn(OpenTrayMenu(ui), L"exit"));
    EXPECT_TRUE(ui.WaitFor([&] {
        return !ui.Window().IsWorkerRunning(kCaptureThreadSlot) &&
               !platform::IsWindowVisible(ui.MainHwnd());
    }));
}

}  // namespace
