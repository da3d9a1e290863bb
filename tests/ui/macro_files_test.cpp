// Macros leave and enter the keyboard's macro page as files, through the program's own
// file chooser: what an export writes, what an import adds to the list and sends to the
// keyboard, and what a file that holds no macro leaves as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "duilib/ui_container.h"
#include "duilib/ui_list.h"
#include "keyboard_steps.h"
#include "platform/text_convert.h"
#include "ui/driver/modal_answers.h"

namespace {

using keyboard_steps::Keyboard;
using keyboard_steps::ReadJson;

class MacroFileUi : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(keyboard_steps::WaitForKeyboard(ui_));
        ui_.Click(L"macro_Op_tab");
        ui_.Click(L"macro_btn_name_add");
        // A macro recorded from the keys typed.
        ui_.Click(L"macro_btn_starredio");
        ui_.Type("qw");
        ui_.Click(L"macro_btn_stopredio");
        ASSERT_TRUE(Listed()[0]["Guid"].isString());
        ASSERT_EQ(MacroOf(0)["Events"].size(), 4u);
    }

    std::string MacroFolder() { return ui_.DataFolder() + "keyboard/"; }
    Json::Value Listed() { return ReadJson(MacroFolder() + "macro.config")["MacroInfo"]; }
    Json::Value MacroOf(int index) {
        return ReadJson(MacroFolder() + Listed()[index]["Guid"].asString() + ".mac");
    }
    DuiLib::CListUI* NameList() {
        return static_cast<DuiLib::CListUI*>(ui_.Find(L"macro_name_list")->GetInterface(L"List"));
    }

    // Every file of the keyboard's folder with what it holds.
    std::map<std::string, std::string> FolderFiles() {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(MacroFolder())) {
            files[entry.path().filename().string()] =
                testing_support::ReadTextFile(entry.path().string());
        }
        return files;
    }

    // The names of the files added, removed or changed since `before`.
    std::vector<std::string> ChangedFiles(const std::map<std::string, std::string>& before) {
        const std::map<std::string, std::string> now = FolderFiles();
        std::vector<std::string> changed;
        for (const auto& [name, text] : now) {
            if (auto it = before.find(name); it == before.end() || it->second != text) {
                changed.push_back(name);
            }
        }
        for (const auto& [name, text] : before) {
            if (now.count(name) == 0) {
                changed.push_back(name);
            }
        }
        return changed;
    }

    // In the chooser: the name typed into its field, then OK.
    void TypeNameAndConfirm(HWND chooser, const std::string& name) {
        ui_.Click(ui_.FindIn(chooser, L"file_chooser_name"));
        ui_.Type(name);
        ui_.Click(ui_.FindIn(chooser, L"confirm_btn"));
    }

    // In the chooser: a double click on the file's row of the folder it opens in.
    void ChooseRow(HWND chooser, const std::string& fileName) {
        auto* list = static_cast<DuiLib::CContainerUI*>(
            ui_.FindIn(chooser, L"file_chooser_list")->GetInterface(L"Container"));
        ASSERT_NE(list, nullptr);
        const std::wstring text = platform::Utf8Decode(fileName);
        for (int i = 0; i < list->GetCount(); ++i) {
            if (ui_.Text(list->GetItemAt(i)) == text) {
                ui_.DoubleClick(list->GetItemAt(i));
                return;
            }
        }
        ADD_FAILURE() << fileName << " is not listed by the chooser";
        ui_.Click(ui_.FindIn(chooser, L"cancel_btn"));
    }

    // Imports the file of the home folder chosen in the chooser's list.
    void ImportFromList(const std::string& fileName) {
        answers_.When(L"FileChooserWnd",
                      [this, fileName](HWND chooser) { ChooseRow(chooser, fileName); });
        ui_.Click(L"macro_btn_import");
    }

    // The same for a file that is refused: the text of the message that says so.
    std::wstring RefusedImport(const std::string& fileName) {
        std::wstring said;
        answers_.When(L"FileChooserWnd",
                      [this, fileName](HWND chooser) { ChooseRow(chooser, fileName); });
        answers_.When(L"MsgWnd", [&](HWND box) {
            said = ui_.Text(ui_.FindIn(box, L"MessageText"));
            ui_.Click(ui_.FindIn(box, L"confirm_btn"));
        });
        ui_.Click(L"macro_btn_import");
        EXPECT_TRUE(answers_.AllGiven()) << fileName << ": no message";
        return said;
    }

    ui::UiDriver ui_;
    ui::ModalAnswers answers_{ui_};
};

TEST_F(MacroFileUi, AnExportedMacroComesBackAsANewMacroOfTheListAndOfTheKeyboard) {
    answers_.When(L"FileChooserWnd", [&](HWND chooser) { TypeNameAndConfirm(chooser, "burst"); });
    ui_.Click(L"macro_btn_export");
    ASSERT_TRUE(answers_.AllGiven());
    const Json::Value exported = ReadJson(ui_.HomeFolder() + "burst.mac");
    EXPECT_EQ(exported["Events"], MacroOf(0)["Events"]) << "the filter's extension is added";
    EXPECT_EQ(exported["MacroName"], "Macro1");

    const std::vector<uint8_t> before = Keyboard(ui_).Memory(sim::KeyboardMemory::kMacro);
    ImportFromList("burst.mac");
    ASSERT_TRUE(answers_.AllGiven());
    ASSERT_EQ(Listed().size(), 2u);
    EXPECT_EQ(Listed()[1]["MacroName"], "Macro1");
    EXPECT_NE(Listed()[1]["Guid"], Listed()[0]["Guid"]) << "stored under an id of its own";
    EXPECT_EQ(MacroOf(1)["Events"], exported["Events"]);
    ASSERT_EQ(NameList()->GetCount(), 2);
    EXPECT_EQ(ui_.Text(NameList()->GetItemAt(1)), L"Macro1");
    EXPECT_EQ(NameList()->GetCurSel(), 1) << "the imported macro is the one shown";
    auto* events = static_cast<DuiLib::CListUI*>(ui_.Find(L"macro_action")->GetInterface(L"List"));
    EXPECT_EQ(events->GetCount(), 4);

    // The keyboard plays both: its image holds two macros of four events each.
    const std::vector<uint8_t> image = Keyboard(ui_).Memory(sim::KeyboardMemory::kMacro);
    ASSERT_GE(image.size(), 16u);
    EXPECT_EQ(image[4], 2);
    EXPECT_EQ(image[2] | image[3] << 8, 16 + 6 * 2 + 4 * 8);
    EXPECT_NE(image, before);

    // With no macro left there is nothing to export: no file is asked for.
    ui_.Click(L"macro_btn_name_sub");
    ui_.Click(L"macro_btn_name_sub");
    ASSERT_EQ(NameList()->GetCount(), 0);
    ui_.Click(L"macro_btn_export");
    EXPECT_EQ(ui_.ShownWindowOfClass(L"FileChooserWnd"), nullptr);
}

TEST_F(MacroFileUi, AFileThatHoldsNoMacroIsRefusedWithAMessageAndChangesNothing) {
    const std::string home = ui_.HomeFolder();
    const std::map<std::string, std::string> notMacros = {
        {"noise.mac", "\x01\x02 this is no JSON at all {"},
        {"profile.mac", R"({"profilename": "Profile1", "profileUUID": "20240101120000000",
                            "Device": [{"LightInfo": {"SelectItem": 2}, "KeyList": []}]})"},
        {"shoot.mac", R"({"Events": [{"Action": "down", "Button": 1, "Type": 9, "Delay": 8}]})"},
        {"list.mac", R"([{"Action": "down", "Button": 4, "Type": 10, "Delay": "5"}])"},
        {"events.mac", R"({"MacroName": "Odd", "Guid": "1", "Events": "down up"})"},
        {"badevent.mac", R"({"MacroName": "Odd", "Guid": "1", "Version": "1.0",
                             "Events": [{"Action": "down", "Button": 4, "Type": 10, "Delay": "5"},
                                        {"Action": "sideways", "Button": "x", "Type": 10}]})"},
    };
    for (const auto& [name, text] : notMacros) {
        ASSERT_TRUE(testing_support::WriteTextFile(home + name, text));
    }
    const std::map<std::string, std::string> files = FolderFiles();
    const size_t uploads = Keyboard(ui_).CommandCount(0x15);

    for (const auto& [name, text] : notMacros) {
        const std::wstring said = RefusedImport(name);
        EXPECT_NE(said.find(L"could not be imported"), std::wstring::npos)
            << name << ": " << platform::Utf8Encode(said);
        EXPECT_EQ(ChangedFiles(files), std::vector<std::string>{}) << "imported: " << name;
        EXPECT_EQ(NameList()->GetCount(), 1) << name;
        EXPECT_EQ(ReadJson(home + name).isNull(), name == "noise.mac") << "only read";
    }
    EXPECT_EQ(Keyboard(ui_).CommandCount(0x15), uploads) << "nothing new went to the keyboard";
}

}  // namespace
