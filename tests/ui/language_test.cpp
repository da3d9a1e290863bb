// The language of the program as a person meets it: the first start in the language of
// the locale (English for every locale but a Chinese one), and the language chosen in the
// settings window, which every window follows at once and the next start keeps.

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>

#include "platform/registry.h"
#include "ui/driver/combo_choice.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/ui_driver.h"
#include "update/installed_version.h"

namespace {

std::optional<uint32_t> StoredLanguage() {
    return platform::Registry::GetDword(L"SOFTWARE\\Velkaro", L"LANGUAGE");
}

struct FirstStart {
    const char* locale;
    const wchar_t* lightingTab;
    uint32_t storedId;
};

void PrintTo(const FirstStart& start, std::ostream* out) {
    *out << start.locale;
}

class FirstStartUi : public ::testing::TestWithParam<FirstStart> {};

TEST_P(FirstStartUi, TheLocaleChoosesTheLanguageAndTheChoiceIsKept) {
    ui::UiDriver ui({.locale = GetParam().locale});
    EXPECT_EQ(ui.Text(ui.Find(L"deng_Op_tab")), GetParam().lightingTab);
    EXPECT_EQ(StoredLanguage(), GetParam().storedId);
}

INSTANTIATE_TEST_SUITE_P(Locales, FirstStartUi,
                         ::testing::Values(FirstStart{"C.UTF-8", L"Lighting", 1033},
                                           FirstStart{"POSIX", L"Lighting", 1033},
                                           FirstStart{"de_DE.UTF-8", L"Lighting", 1033},
                                           FirstStart{"zh_CN.UTF-8", L"灯光设置", 2052}),
                         [](const auto& info) {
                             std::string name = info.param.locale;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(LanguageUi, TheSettingsWindowsLanguageComboSwitchesEveryWindowAtOnce) {
    ui::UiDriver ui;
    ui::ModalAnswers answers(ui);
    const std::wstring version = ProgramVersionText();
    answers.When(L"SetWnd", [&](HWND settings) {
        DuiLib::CControlUI* combo = ui.FindIn(settings, L"Language_combox_info");
        ui.Click(ui.FindIn(settings, L"update_check_btn"));
        ASSERT_TRUE(ui::ChooseComboRow(ui, combo, 0));
        EXPECT_EQ(ui.Text(combo), L"简体中文");
        EXPECT_EQ(ui.Text(ui.FindIn(settings, L"update_check_btn")), L"检查更新");
        EXPECT_EQ(ui.Text(ui.FindIn(settings, L"software_ver_label")), L"软件版本：" + version);
        EXPECT_EQ(ui.Text(ui.FindIn(settings, L"update_state_label")),
                  L"此版本的程序不在线检查更新。");
        EXPECT_EQ(ui.Text(ui.Find(L"deng_Op_tab")), L"灯光设置") << "the main window too";
        EXPECT_EQ(StoredLanguage(), 2052u);

        ASSERT_TRUE(ui::ChooseComboRow(ui, combo, 1));
        EXPECT_EQ(ui.Text(ui.FindIn(settings, L"update_check_btn")), L"Check now");
        EXPECT_EQ(ui.Text(ui.FindIn(settings, L"software_ver_label")),
                  L"Software version: " + version);
        EXPECT_EQ(ui.Text(ui.Find(L"deng_Op_tab")), L"Lighting");
        EXPECT_EQ(StoredLanguage(), 1033u);
        ui.Click(ui.FindIn(settings, L"closebtn"));
    });
    ui.Click(L"setbtn");
    EXPECT_TRUE(answers.AllGiven());
}

}  // namespace
