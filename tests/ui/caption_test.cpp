// The caption of the main window as a person uses it: the device list, minimise and
// close to the tray.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "duilib/paint_manager.h"
#include "duilib/ui_container.h"
#include "platform/window_handles.h"
#include "ui/driver/ui_driver.h"

namespace {

using DuiLib::CControlUI;

// The names of the buttons a person sees in the caption, left to right.
std::vector<std::wstring> ShownCaptionButtons(ui::UiDriver& ui, HWND hwnd) {
    std::vector<std::wstring> names;
    CControlUI* caption = ui.FindIn(hwnd, L"caption_layout");
    if (caption == nullptr) {
        caption = ui.ManagerOf(hwnd)->GetRoot();
    }
    std::vector<CControlUI*> pending{caption};
    while (!pending.empty()) {
        CControlUI* control = pending.front();
        pending.erase(pending.begin());
        if (control->GetInterface(L"Button") != nullptr && ui.IsShown(control)) {
            names.push_back(control->GetName().str());
        }
        if (auto* box = static_cast<DuiLib::CContainerUI*>(control->GetInterface(L"Container"))) {
            for (int i = 0; i < box->GetCount(); ++i) {
                pending.push_back(box->GetItemAt(i));
            }
        }
    }
    return names;
}

TEST(CaptionUi, TheKeyboardPageShowsAndTheCloseButtonHidesTheWindow) {
    ui::UiDriver ui;
    EXPECT_TRUE(ui.IsShown(ui.Find(L"closebtn")));
    EXPECT_TRUE(ui.InsideScreen(ui.MainHwnd()));
    ui.Click(L"closebtn");
    EXPECT_TRUE(ui.WaitFor([&] { return !platform::IsWindowVisible(ui.MainHwnd()); }));
}

// Each button of the caption does something a person asked for; none that does nothing is
// there to be pressed.
TEST(CaptionUi, EveryButtonShownActsAndMinimiseGoesToTheTaskBar) {
    ui::UiDriver ui;
    EXPECT_EQ(ShownCaptionButtons(ui, ui.MainHwnd()),
              (std::vector<std::wstring>{L"skinbtn", L"setbtn", L"minbtn", L"closebtn"}));
    // Kept for the peer program's word on the lights, never shown to a person.
    EXPECT_FALSE(ui.IsShown(ui.Find(L"control_light_status")));
    ui.Click(L"minbtn");
    EXPECT_TRUE(platform::IsIconic(ui.MainHwnd()));
    ui.RestoreFromTaskBar(ui.MainHwnd());
    EXPECT_FALSE(platform::IsIconic(ui.MainHwnd()));
    EXPECT_TRUE(ui.IsShown(ui.Find(L"minbtn")));
}

TEST(CaptionUi, TheDeviceListsEntriesAndArrowsPickThePage) {
    ui::UiDriver ui({.devices = "keyboard,mouse,mousepad,headset"});
    std::vector<CControlUI*> entries;
    ASSERT_TRUE(ui.WaitFor([&] {
        entries = ui.FindAll(L"device_select");
        return entries.size() == 4 && std::all_of(entries.begin(), entries.end(),
                                                  [&](CControlUI* e) { return ui.IsShown(e); });
    }));
    const auto selected = [&] {
        int index = -1;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (ui.IsChecked(entries[i])) {
                index = static_cast<int>(i);
            }
        }
        return index;
    };
    // The list: mouse, keyboard, mouse pad, headset; each entry shows its own page.
    const std::vector<const wchar_t*> pages = {L"mouse_device_page", L"keyboard_device_page",
                                               L"mousepad_device_page", L"tamsel_device_page"};
    for (size_t i = 0; i < entries.size(); ++i) {
        ui.Click(entries[i]);
        EXPECT_EQ(selected(), static_cast<int>(i));
        EXPECT_TRUE(ui.IsShown(ui.Find(pages[i]))) << "entry " << i;
    }
    ui.Click(L"device_select_next");  // at the last: stays
    EXPECT_EQ(selected(), 3);
    for (int i = 2; i >= 0; --i) {
        ui.Click(L"device_select_prev");
        EXPECT_EQ(selected(), i);
        EXPECT_TRUE(ui.IsShown(ui.Find(pages[static_cast<size_t>(i)])));
    }
    ui.Click(L"device_select_prev");  // at the first: stays
    EXPECT_EQ(selected(), 0);
    ui.Click(L"device_select_next");
    EXPECT_EQ(selected(), 1);
    EXPECT_TRUE(ui.IsShown(ui.Find(pages[1])));
}

TEST(CaptionUi, WithoutADeviceTheNoticesButtonPutsTheWindowAway) {
    ui::UiDriver ui({.devices = "none"});
    ASSERT_TRUE(ui.WaitFor([&] { return ui.IsShown(ui.Find(L"No_device_Link")); }));
    ui.Click(L"nodevice_ok_btn");
    EXPECT_TRUE(ui.WaitFor([&] { return !platform::IsWindowVisible(ui.MainHwnd()); }));
}

}  // namespace
