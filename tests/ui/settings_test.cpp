// The settings window as a person uses it, opened with the caption's settings button: the
// program's version and the devices' releases, "Check now", and what an update program
// outside this one answers while the window is open; and the about window's version.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "duilib/render/tray_stand_in.h"
#include "duilib/ui_container.h"
#include "platform/text_convert.h"
#include "platform/window_messages.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/ui_driver.h"
#include "update/installed_version.h"
#include "update/update_messages.h"

namespace {

std::vector<std::wstring> Rows(ui::UiDriver& ui, HWND settings) {
    auto* list = static_cast<DuiLib::CContainerUI*>(
        ui.FindIn(settings, L"update_list")->GetInterface(L"Container"));
    std::vector<std::wstring> rows;
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        rows.push_back(ui.Text(list->GetItemAt(i)));
    }
    return rows;
}

TEST(SettingsUi, TheProgramsVersionAndEachDevicesReleaseReadAsVersions) {
    ui::UiDriver ui({.devices = "keyboard,mouse"});
    ui::ModalAnswers answers(ui);
    std::wstring version;
    std::vector<std::wstring> rows;
    answers.When(L"SetWnd", [&](HWND settings) {
        version = ui.Text(ui.FindIn(settings, L"software_ver_label"));
        rows = Rows(ui, settings);
        ui.Click(ui.FindIn(settings, L"closebtn"));
    });
    ui.Click(L"setbtn");
    ASSERT_TRUE(answers.AllGiven());

    const std::wstring program = ProgramVersionText();
    EXPECT_TRUE(std::regex_match(platform::Utf8Encode(program), std::regex(R"(\d+\.\d+\.\d+)")));
    EXPECT_EQ(version, L"Software version: " + program);
    // The mouse's entry comes first; the simulated firmware is release 1.02 and 1.05.
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"Velkaro    1.02", L"BX3    1.05",
                                               L"T27_BX4_BX3    " + program}));
}

TEST(SettingsUi, CheckNowSaysThereIsNoOnlineCheckAndAnUpdateProgramsAnswerShows) {
    ui::UiDriver ui;
    ui::ModalAnswers answers(ui);
    std::wstring afterCheck;
    std::wstring afterAnswer;
    answers.When(L"SetWnd", [&](HWND settings) {
        DuiLib::CControlUI* state = ui.FindIn(settings, L"update_state_label");
        ui.Click(ui.FindIn(settings, L"update_check_btn"));
        afterCheck = ui.Text(state);
        // An update program announces its result to the main window, which passes it on.
        platform::PostMessage(ui.MainHwnd(),
                              platform::RegisterWindowMessage(kUpdateResultMessageName), 3, 1);
        ui.WaitFor([&] { return ui.Text(state) != afterCheck; });
        afterAnswer = ui.Text(state);
        EXPECT_TRUE(ui.IsShown(state));
        ui.Click(ui.FindIn(settings, L"closebtn"));
    });
    ui.Click(L"setbtn");
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_EQ(afterCheck, L"This version of the program does not check for updates online.");
    EXPECT_EQ(afterAnswer, L"The update program answered: 3, 1");
}

TEST(SettingsUi, TheAboutWindowShowsTheProgramsVersion) {
    ui::UiDriver ui({.tray = true});
    ui::ModalAnswers answers(ui);
    std::wstring version;
    answers.When(L"AboutWnd", [&](HWND about) {
        version = ui.Text(ui.FindIn(about, L"software_ver_label"));
        ui.Click(ui.FindIn(about, L"closebtn"));
    });
    // The tray icon's menu, as a person opens it with a right click on the icon.
    const HWND icon = ui.WaitForWindow(DuiLib::kTrayStandInClass);
    ASSERT_NE(icon, nullptr);
    ui.ClickAt(icon, POINT{20, 20}, SDL_BUTTON_RIGHT);
    const HWND menu = ui.WaitForWindow(L"MenuWnd");
    ASSERT_NE(menu, nullptr);
    ui.Click(ui.FindIn(menu, L"about_menu"));
    ASSERT_TRUE(answers.AllGiven());
    EXPECT_EQ(version, L"Software version: " + ProgramVersionText());
}

}  // namespace
