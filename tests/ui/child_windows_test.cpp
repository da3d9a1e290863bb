// The main window's child windows as a person meets them: the skin picker under its
// button, the settings and about windows, the file chooser and the lists of combos, each
// opened fully on the screen that holds the main window, and gone when closed.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "duilib/resource_manager.h"
#include "duilib/ui_container.h"
#include "duilib/ui_control.h"
#include "platform/paths.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "ui/driver/modal_answers.h"
#include "ui/driver/ui_driver.h"

namespace {

using DuiLib::CControlUI;

constexpr wchar_t kSkinFrame[] = L"UISkinFrame";

// A point of the caption where only the window's background shows.
POINT BareCaption(ui::UiDriver& ui) {
    const RECT title = ui.Find(L"app_title")->GetPos();
    return POINT{title.right + 40, title.top + 4};
}

CControlUI* NthIn(ui::UiDriver& ui, HWND hwnd, const wchar_t* name, size_t n) {
    std::vector<CControlUI*> found;
    for (CControlUI* control : ui.FindAll(name)) {
        if (ui.WindowOf(control) == hwnd) {
            found.push_back(control);
        }
    }
    return n < found.size() ? found[n] : nullptr;
}

HWND OpenSkinPicker(ui::UiDriver& ui) {
    ui.Click(L"skinbtn");
    return ui.WaitForWindow(kSkinFrame, 5000);
}

TEST(ChildWindowsUi, TheSkinPickerOpensUnderItsButtonAndGoesWhenAPersonClicksElsewhere) {
    ui::UiDriver ui;
    for (int round = 0; round < 2; ++round) {
        const HWND picker = OpenSkinPicker(ui);
        ASSERT_NE(picker, nullptr) << "round " << round;
        EXPECT_TRUE(ui.InsideScreen(picker));
        const RECT button = ui.Find(L"skinbtn")->GetPos();
        const RECT main = ui.ScreenRectOf(ui.MainHwnd());
        EXPECT_EQ(ui.ScreenRectOf(picker).top, main.top + button.bottom);
        EXPECT_TRUE(ui.IsShown(ui.FindIn(picker, L"skin_reset")));
        ui.ClickAt(ui.MainHwnd(), BareCaption(ui));
        // Gone, not hidden: no window is left behind by a click.
        EXPECT_TRUE(
            ui.WaitFor([] { return platform::FindWindow(kSkinFrame, nullptr) == nullptr; }));
    }
}

TEST(ChildWindowsUi, TheSkinPickersChoicesRepaintTheWindow) {
    ui::UiDriver ui;
    const std::filesystem::path own = ui.HomeFolder() + "own.png";
    std::filesystem::copy_file(platform::InstancePath() + "skin/skin/skin_2.png", own);
    HWND picker = OpenSkinPicker(ui);
    ASSERT_NE(picker, nullptr);
    const uint32_t before = ui.PixelAt(ui.MainHwnd(), BareCaption(ui));

    ui.Click(ui.FindIn(picker, L"skin_color"));
    CControlUI* colour = ui.FindIn(picker, L"skin_color_btn");
    ASSERT_TRUE(ui.IsShown(colour));
    ui.Click(colour);
    EXPECT_EQ(ui.PixelAt(ui.MainHwnd(), BareCaption(ui)), colour->GetBkColor());
    EXPECT_EQ(ui.ReadDataFile("main.ini"), "") << "a colour is not remembered";

    ui.Click(ui.FindIn(picker, L"skin_image"));
    ui.Click(NthIn(ui, picker, L"skin_image_btn", 1));  // the first is as dark as the default
    const uint32_t image = ui.PixelAt(ui.MainHwnd(), BareCaption(ui));
    EXPECT_NE(image, before);
    EXPECT_NE(ui.ReadDataFile("main.ini").find("FLAGS=1"), std::string::npos);

    ui.Click(ui.FindIn(picker, L"skin_reset"));
    EXPECT_EQ(ui.PixelAt(ui.MainHwnd(), BareCaption(ui)), before);
    EXPECT_NE(ui.ReadDataFile("main.ini").find("FLAGS=0"), std::string::npos);

    // An image of the person's own, chosen in the file chooser.
    ui::ModalAnswers modal(ui);
    modal.When(L"FileChooserWnd", [&](HWND chooser) {
        EXPECT_TRUE(ui.InsideScreen(chooser));
        ui.Click(ui.FindIn(chooser, L"file_chooser_name"));
        ui.Type("own.png");
        ui.Click(ui.FindIn(chooser, L"confirm_btn"));
    });
    ui.Click(ui.FindIn(picker, L"skin_Custom"));
    EXPECT_TRUE(modal.AllGiven());
    EXPECT_TRUE(ui.WaitFor([&] { return ui.PixelAt(ui.MainHwnd(), BareCaption(ui)) != before; }));
}

TEST(ChildWindowsUi, TheSettingsWindowOpensWhollyOnTheScreenWithItsCloseButtonInReach) {
    ui::UiDriver ui;
    ui::ModalAnswers modal(ui);
    modal.When(L"SetWnd", [&](HWND settings) {
        EXPECT_TRUE(ui.InsideScreen(settings));
        CControlUI* close = ui.FindIn(settings, L"closebtn");
        EXPECT_TRUE(ui.IsShown(close));
        ui.Click(close);
    });
    ui.Click(L"setbtn");
    EXPECT_TRUE(modal.AllGiven());
    EXPECT_TRUE(ui.WaitFor([] { return platform::FindWindow(L"SetWnd", nullptr) == nullptr; }));
}

}  // namespace

namespace {

// The rows of the file chooser's list, as shown.
std::vector<std::wstring> Rows(ui::UiDriver& ui, HWND chooser) {
    std::vector<std::wstring> rows;
    auto* list = static_cast<DuiLib::CContainerUI*>(
        ui.FindIn(chooser, L"file_chooser_list")->GetInterface(L"Container"));
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        rows.push_back(ui.Text(list->GetItemAt(i)));
    }
    return rows;
}

CControlUI* Row(ui::UiDriver& ui, HWND chooser, const std::wstring& text) {
    auto* list = static_cast<DuiLib::CContainerUI*>(
        ui.FindIn(chooser, L"file_chooser_list")->GetInterface(L"Container"));
    for (int i = 0; list != nullptr && i < list->GetCount(); ++i) {
        if (ui.Text(list->GetItemAt(i)) == text) {
            return list->GetItemAt(i);
        }
    }
    return nullptr;
}

TEST(ChildWindowsUi, TheFileChoosersRowsNameFieldAndButtons) {
    ui::UiDriver ui;
    std::filesystem::create_directory(ui.HomeFolder() + "pictures");
    std::filesystem::copy_file(platform::InstancePath() + "skin/skin/skin_3.png",
                               ui.HomeFolder() + "pictures/mine.png");
    const uint32_t before = ui.PixelAt(ui.MainHwnd(), BareCaption(ui));
    ui::ModalAnswers modal(ui);
    // Cancel, and the close button, choose nothing.
    modal.When(L"FileChooserWnd", [&](HWND chooser) {
        EXPECT_EQ(Rows(ui, chooser), (std::vector<std::wstring>{L"..", L"pictures/"}));
        ui.Click(ui.FindIn(chooser, L"cancel_btn"));
    });
    ui.Click(ui.FindIn(OpenSkinPicker(ui), L"skin_Custom"));
    modal.When(L"FileChooserWnd", [&](HWND chooser) { ui.Click(ui.FindIn(chooser, L"closebtn")); });
    ui.Click(ui.FindIn(OpenSkinPicker(ui), L"skin_Custom"));
    EXPECT_TRUE(modal.AllGiven());
    EXPECT_EQ(ui.PixelAt(ui.MainHwnd(), BareCaption(ui)), before);
    // A folder opens with a double click; a file's row puts its name in the field.
    modal.When(L"FileChooserWnd", [&](HWND chooser) {
        ui.DoubleClick(Row(ui, chooser, L"pictures/"));
        EXPECT_EQ(Rows(ui, chooser), (std::vector<std::wstring>{L"..", L"mine.png"}));
        ui.Click(Row(ui, chooser, L"mine.png"));
        EXPECT_EQ(ui.Text(ui.FindIn(chooser, L"file_chooser_name")), L"mine.png");
        ui.Click(ui.FindIn(chooser, L"confirm_btn"));
    });
    ui.Click(ui.FindIn(OpenSkinPicker(ui), L"skin_Custom"));
    EXPECT_TRUE(modal.AllGiven());
    EXPECT_TRUE(ui.WaitFor([&] { return ui.PixelAt(ui.MainHwnd(), BareCaption(ui)) != before; }));
}

TEST(ChildWindowsUi, TheMessageBoxAsksOnTheScreenInTheLanguageAndEachButtonAnswers) {
    ui::UiDriver ui({.language = "zh"});
    ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(ui.Find(L"default_btn")); }));
    for (const wchar_t* button : {L"cancel_btn", L"closebtn", L"confirm_btn"}) {
        ui::ModalAnswers modal(ui);
        modal.When(L"MsgWnd", [&](HWND box) {
            EXPECT_TRUE(ui.InsideScreen(box));
            EXPECT_FALSE(platform::IsWindowEnabled(ui.MainHwnd())) << "it waits for an answer";
            EXPECT_EQ(ui.Text(ui.FindIn(box, L"MessageText")),
                      DuiLib::CResourceManager::GetInstance()->GetText(L"message_text_22").str());
            EXPECT_TRUE(ui.IsShown(ui.FindIn(box, L"confirm_btn")));
            EXPECT_TRUE(ui.IsShown(ui.FindIn(box, L"cancel_btn")));
            ui.Click(ui.FindIn(box, button));
        });
        ui.Click(L"default_btn");
        EXPECT_TRUE(modal.AllGiven()) << platform::Utf8Encode(button);
        EXPECT_TRUE(ui.WaitFor([] { return platform::FindWindow(L"MsgWnd", nullptr) == nullptr; }));
        EXPECT_TRUE(platform::IsWindowEnabled(ui.MainHwnd()));
    }
}

}  // namespace

namespace {

TEST(ChildWindowsUi, AComboListOpensAboveItsComboWhereTheScreenEndsBelowIt) {
    ui::UiDriver ui({.screen = {1280, 520}});
    CControlUI* combo = ui.Find(L"light_combo_modeSelect");
    ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(combo); }));
    ui.Click(combo);
    const HWND list = ui.WaitForWindow(L"ComboDropWnd");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(ui.InsideScreen(list));
    const RECT main = ui.ScreenRectOf(ui.MainHwnd());
    EXPECT_EQ(ui.ScreenRectOf(list).bottom, main.top + combo->GetPos().top);
    ui.PressKey(SDLK_ESCAPE);
    EXPECT_TRUE(
        ui.WaitFor([] { return platform::FindWindow(L"ComboDropWnd", nullptr) == nullptr; }));
}

}  // namespace

namespace {

// A menu opened at the pointer (the macro editor's event menu) opens where the pointer is,
// on the screen; one that would run past the screen's edge opens on the other side.
TEST(ChildWindowsUi, AMenuOpensAtThePointerInsideTheScreen) {
    for (const SIZE screen : {SIZE{1280, 800}, SIZE{1000, 640}}) {
        ui::UiDriver ui({.screen = screen});
        ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(ui.Find(L"macro_Op_tab")); }));
        ui.Click(L"macro_Op_tab");
        ui.Click(L"macro_btn_name_add");
        ui.Click(L"macro_btn_starredio");
        ui.PressKey(SDLK_a);
        CControlUI* stop = ui.Find(L"macro_btn_stopredio");
        ui.MoveTo(stop);
        ui.Press(ui.MainHwnd(), ui::UiDriver::CentreOf(stop));
        ui.Settle();
        ui.Release(ui.MainHwnd(), ui::UiDriver::CentreOf(stop));
        ui.Settle();
        auto* events = static_cast<DuiLib::CContainerUI*>(
            ui.Find(L"macro_action")->GetInterface(L"Container"));
        ASSERT_TRUE(events != nullptr && events->GetCount() > 0);
        CControlUI* row = events->GetItemAt(events->GetCount() - 1);
        ui.DoubleClick(row);
        const HWND menu = ui.WaitForWindow(L"MenuWnd");
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(ui.InsideScreen(menu));
        const RECT main = ui.ScreenRectOf(ui.MainHwnd());
        const RECT visible = ui.VisibleRect(row);
        const POINT pointer{main.left + (visible.left + visible.right) / 2,
                            main.top + (visible.top + visible.bottom) / 2};
        const RECT rc = ui.ScreenRectOf(menu);
        EXPECT_TRUE(rc.left == pointer.x || rc.right == pointer.x) << screen.cx;
        EXPECT_TRUE(rc.top == pointer.y || rc.bottom == pointer.y) << screen.cx;
        ui.PressKey(SDLK_ESCAPE);
    }
}

}  // namespace
