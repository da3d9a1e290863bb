// The profile row of a device page as a person uses it: the profile menu, opened by its
// button as a window of its own over the page, and each of its items; the name edit with
// its rename button and the profile combo. Files go out and come in through the program's
// own file chooser.

#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <string>
#include <vector>

#include "duilib/ui_container.h"
#include "platform/json_text.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "support/temp_dir.h"
#include "ui/driver/combo_choice.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/ui_driver.h"

namespace {

struct ListedProfile {
    std::string name;
    std::string uuid;
};

Json::Value ParsedOrNull(const std::string& text) {
    Json::Value value;
    return platform::ParseJsonText(text, &value) ? value : Json::Value();
}

class ProfileUi : public ::testing::Test {
  protected:
    std::vector<ListedProfile> Listed() {
        const Json::Value list = ParsedOrNull(ui_.ReadDataFile("keyboard/ProfileList.ini"));
        std::vector<ListedProfile> listed;
        for (const Json::Value& entry : list["ProfileList"]) {
            listed.push_back({entry["profilename"].asString(), entry["profileUUID"].asString()});
        }
        return listed;
    }
    int SelectedIndex() {
        return ParsedOrNull(ui_.ReadDataFile("keyboard/ProfileList.ini"))["SelectIndex"].asInt();
    }
    Json::Value ProfileFile(const std::string& uuid) {
        return ParsedOrNull(ui_.ReadDataFile("keyboard/" + uuid + ".Json"));
    }
    bool ProfileFileExists(const std::string& uuid) {
        return std::filesystem::exists(ui_.DataFolder() + "keyboard/" + uuid + ".Json");
    }

    HWND OpenMenu() {
        ui_.Click(L"profile_fun_spread_btn");
        return ui_.WaitForWindow(L"MenuWnd");
    }
    void ChooseMenuItem(const wchar_t* name) {
        const HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr) << "the profile menu opens";
        ui_.Click(ui_.FindIn(menu, name));
    }
    std::wstring ComboText() { return ui_.Text(ui_.Find(L"device_profile_combo")); }

    // In the file chooser: the path typed into its name field, then OK.
    void TypePathAndConfirm(HWND chooser, const std::string& path) {
        ui_.Click(ui_.FindIn(chooser, L"file_chooser_name"));
        ui_.Type(path);
        ui_.Click(ui_.FindIn(chooser, L"confirm_btn"));
    }

    DuiLib::CControlUI* RowOf(HWND chooser, const std::wstring& text) {
        auto* list = static_cast<DuiLib::CContainerUI*>(
            ui_.FindIn(chooser, L"file_chooser_list")->GetInterface(L"Container"));
        for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
            if (ui_.Text(list->GetItemAt(i)) == text) {
                return list->GetItemAt(i);
            }
        }
        return nullptr;
    }

    ui::UiDriver ui_;
    ui::ModalAnswers answers_{ui_};
};

TEST_F(ProfileUi, TheMenuOpensOverThePageWithEveryItemInReachAndItsButtonClosesIt) {
    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr) << "the menu is a window of its own, not a part of the page";
    EXPECT_TRUE(ui_.InsideScreen(menu));
    EXPECT_EQ(ui_.MenuItems(menu), (std::vector<std::wstring>{L"New", L"Delete", L"Copy", L"Import",
                                                              L"Export", L"Reset"}));
    for (const wchar_t* item : {L"device_add_btn", L"device_sub_btn", L"device_copy_btn",
                                L"device_import_btn", L"device_export_btn", L"device_reset_btn"}) {
        EXPECT_TRUE(ui_.InsideItsWindow(ui_.FindIn(menu, item))) << platform::Utf8Encode(item);
    }
    // Under its button, over the page.
    const RECT button = ui_.VisibleRect(ui_.Find(L"profile_fun_spread_btn"));
    const RECT main = ui_.ScreenRectOf(ui_.MainHwnd());
    const RECT placed = ui_.ScreenRectOf(menu);
    EXPECT_EQ(placed.left, main.left + button.left);
    EXPECT_EQ(placed.top, main.top + button.bottom);

    ui_.Click(L"profile_fun_spread_btn");
    EXPECT_TRUE(ui_.WaitFor([&] { return ui_.ShownWindowOfClass(L"MenuWnd") == nullptr; }));
    ui_.Settle();
    EXPECT_EQ(ui_.ShownWindowOfClass(L"MenuWnd"), nullptr) << "a second click closes it";
    EXPECT_NE(OpenMenu(), nullptr) << "and a third opens it again";
}

TEST_F(ProfileUi, AddCopyRenameSelectAndDeleteKeepTheComboTheListAndTheFilesInStep) {
    ASSERT_EQ(Listed().size(), 1u);
    const std::string first = Listed()[0].uuid;

    ChooseMenuItem(L"device_add_btn");
    ASSERT_EQ(Listed().size(), 2u);
    EXPECT_EQ(Listed()[1].name, "Profile2");
    EXPECT_EQ(SelectedIndex(), 1);
    EXPECT_EQ(ComboText(), L"Profile2");
    EXPECT_EQ(ProfileFile(Listed()[1].uuid)["profilename"].asString(), "Profile2");

    ChooseMenuItem(L"device_copy_btn");
    ASSERT_EQ(Listed().size(), 3u);
    const std::string copy = Listed()[2].uuid;
    EXPECT_EQ(Listed()[2].name, "Profile2_copy");
    EXPECT_EQ(ProfileFile(copy)["Device"], ProfileFile(Listed()[1].uuid)["Device"]);
    EXPECT_EQ(ComboText(), L"Profile2_copy");

    DuiLib::CControlUI* edit = ui_.Find(L"device_profile_edit");
    ui_.Click(edit);
    for (size_t i = ui_.Text(edit).size(); i > 0; --i) {
        ui_.PressKey(SDLK_BACKSPACE);
    }
    ui_.Type("Night");
    ui_.Click(L"device_profile_edit_save_btn");
    EXPECT_EQ(Listed()[2].name, "Night");
    EXPECT_EQ(ProfileFile(copy)["profilename"].asString(), "Night");
    EXPECT_EQ(ComboText(), L"Night");

    ASSERT_TRUE(ui::ChooseComboRow(ui_, ui_.Find(L"device_profile_combo"), 0));
    EXPECT_TRUE(ui_.WaitFor([&] { return SelectedIndex() == 0; })) << "taken after a moment";
    EXPECT_EQ(ComboText(), L"Profile1");

    ChooseMenuItem(L"device_sub_btn");
    ASSERT_EQ(Listed().size(), 2u);
    EXPECT_FALSE(ProfileFileExists(first));
    EXPECT_EQ(Listed()[0].name, "Profile2");
    EXPECT_EQ(ComboText(), L"Profile2");
}

TEST_F(ProfileUi, ResetAfterConfirmationTakesTheDefaultsBackIntoTheProfile) {
    const std::string uuid = Listed()[0].uuid;
    const Json::Value defaults = ParsedOrNull(testing_support::ReadTextFile(
        platform::InstancePath() + "DefaultData/keyboard.Json"))["Device"][0];
    ASSERT_TRUE(defaults.isObject());
    ui_.Click(L"system_Op_tab");
    ASSERT_FALSE(ui_.IsChecked(ui_.Find(L"6flag_option")));
    ui_.Click(L"6flag_option");
    ASSERT_EQ(ProfileFile(uuid)["Device"][0]["SystemStages"]["Key6Flag"].asInt(), 1);

    std::wstring asked;
    answers_.When(L"MsgWnd", [&](HWND box) {
        asked = ui_.Text(ui_.FindIn(box, L"MessageText"));
        ui_.Click(ui_.FindIn(box, L"confirm_btn"));
    });
    ChooseMenuItem(L"device_reset_btn");
    EXPECT_TRUE(answers_.AllGiven());
    EXPECT_EQ(asked, L"Restore the default settings?");
    const Json::Value reset = ProfileFile(uuid);
    EXPECT_EQ(reset["Device"][0]["SystemStages"], defaults["SystemStages"]);
    EXPECT_EQ(reset["Device"][0]["LightInfo"], defaults["LightInfo"]);
    EXPECT_EQ(reset["profilename"].asString(), "Profile1") << "the name stays";
    EXPECT_FALSE(ui_.IsChecked(ui_.Find(L"6flag_option"))) << "the page shows the defaults";
}

TEST_F(ProfileUi, RestoreDefaultsAfterConfirmationShowsAndKeepsTheDefaults) {
    const std::string uuid = Listed()[0].uuid;
    ui_.Click(L"system_Op_tab");
    ui_.Click(L"6flag_option");
    ASSERT_EQ(ProfileFile(uuid)["Device"][0]["SystemStages"]["Key6Flag"].asInt(), 1);

    answers_.When(L"MsgWnd", [&](HWND box) { ui_.Click(ui_.FindIn(box, L"cancel_btn")); });
    ui_.Click(L"default_btn");
    EXPECT_TRUE(ui_.IsChecked(ui_.Find(L"6flag_option"))) << "a cancel changes nothing";

    answers_.When(L"MsgWnd", [&](HWND box) { ui_.Click(ui_.FindIn(box, L"confirm_btn")); });
    ui_.Click(L"default_btn");
    EXPECT_TRUE(answers_.AllGiven());
    EXPECT_FALSE(ui_.IsChecked(ui_.Find(L"6flag_option")));
    EXPECT_EQ(ProfileFile(uuid)["Device"][0]["SystemStages"]["Key6Flag"].asInt(), 0);
}

TEST(FunctionTabsUi, EachShowsItsOwnPanelAlone) {
    struct TabPanel {
        const wchar_t* tab;
        const wchar_t* shows;
    };
    const std::vector<TabPanel> keyboard = {{L"deng_Op_tab", L"light_combo_modeSelect"},
                                            {L"macro_Op_tab", L"macro_name_list"},
                                            {L"system_Op_tab", L"polling_rate_option_0"},
                                            {L"key_Op_tab", L"keyset_function_combo"}};
    ui::UiDriver ui;
    for (const TabPanel& chosen : keyboard) {
        ui.Click(chosen.tab);
        if (chosen.tab == keyboard.back().tab) {
            ui.Click(L"key_5");  // the key panel is for the key chosen on the picture
        }
        for (const TabPanel& other : keyboard) {
            const bool same = other.tab == chosen.tab;
            EXPECT_EQ(ui.IsChecked(ui.Find(other.tab)), same) << platform::Utf8Encode(other.tab);
            EXPECT_EQ(ui.IsShown(ui.Find(other.shows)), same)
                << platform::Utf8Encode(other.shows) << " on " << platform::Utf8Encode(chosen.tab);
        }
    }
    EXPECT_FALSE(ui.IsShown(ui.Find(L"cursor_Op_tab"))) << "the keyboard has no pointer";
}

TEST(FunctionTabsUi, TheMousesPointerTabShowsItsDpiStages) {
    ui::UiDriver ui({.devices = "mouse"});
    ui.Click(L"cursor_Op_tab");
    EXPECT_TRUE(ui.IsChecked(ui.Find(L"cursor_Op_tab")));
    EXPECT_TRUE(ui.IsShown(ui.Find(L"DPI_slider_0")));
    EXPECT_FALSE(ui.IsShown(ui.Find(L"light_combo_modeSelect")));
}

TEST_F(ProfileUi, ExportAndImportGoThroughTheFileChooser) {
    const std::string saved = ui_.HomeFolder() + "mine";
    answers_.When(L"FileChooserWnd", [&](HWND chooser) { TypePathAndConfirm(chooser, saved); });
    ChooseMenuItem(L"device_export_btn");
    ASSERT_TRUE(answers_.AllGiven());
    const Json::Value exported = ParsedOrNull(testing_support::ReadTextFile(saved + ".json"));
    EXPECT_EQ(exported, ProfileFile(Listed()[0].uuid)) << "the filter's extension is added";

    answers_.When(L"FileChooserWnd", [&](HWND chooser) {
        // Chosen in the list of the folder it opens in: a double click on the file.
        ui_.DoubleClick(RowOf(chooser, L"mine.json"));
    });
    ChooseMenuItem(L"device_import_btn");
    ASSERT_TRUE(answers_.AllGiven());
    ASSERT_EQ(Listed().size(), 2u);
    EXPECT_EQ(Listed()[1].name, "Profile1");
    EXPECT_NE(Listed()[1].uuid, Listed()[0].uuid) << "stored under an id of its own";
    EXPECT_EQ(ProfileFile(Listed()[1].uuid)["Device"], exported["Device"]);
    EXPECT_EQ(SelectedIndex(), 1);
}

TEST_F(ProfileUi, AProfileOfAnotherKindOfDeviceIsRefusedWithAMessage) {
    const std::string mouse = ui_.HomeFolder() + "mouse.json";
    ASSERT_TRUE(testing_support::WriteTextFile(
        mouse, R"({"profilename": "Mouse one", "profileUUID": "20240101120000000",
                   "Device": [{"LightInfo": {"SelectItem": 2}, "KeyList": [],
                               "DPIStages": {"StageActive": 0, "StageDPIs": []},
                               "SystemStages": {"MouseSpeed": 10}}]})"));
    std::wstring said;
    answers_.When(L"FileChooserWnd", [&](HWND chooser) { TypePathAndConfirm(chooser, mouse); });
    answers_.When(L"MsgWnd", [&](HWND box) {
        said = ui_.Text(ui_.FindIn(box, L"MessageText"));
        ui_.Click(ui_.FindIn(box, L"confirm_btn"));
    });
    ChooseMenuItem(L"device_import_btn");
    EXPECT_TRUE(answers_.AllGiven());
    EXPECT_NE(said.find(L"another kind of device"), std::wstring::npos)
        << platform::Utf8Encode(said);
    EXPECT_EQ(Listed().size(), 1u);
    EXPECT_EQ(ComboText(), L"Profile1");
}

}  // namespace
