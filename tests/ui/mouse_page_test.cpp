// The mouse's page as a person uses it, over the simulated bus: its entry among the other
// simulated devices, the DPI stages, the key list, the shoot editor and the settings the
// mouse is sent.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "duilib/ui_control.h"
#include "ui/driver/ui_driver.h"

namespace {

using DuiLib::CControlUI;

std::vector<CControlUI*> ShownEntries(const ui::UiDriver& ui) {
    std::vector<CControlUI*> shown;
    for (CControlUI* entry : ui.FindAll(L"device_select")) {
        if (ui.IsShown(entry)) {
            shown.push_back(entry);
        }
    }
    return shown;
}

TEST(MousePageUi, EverySimulatedDeviceShowsItsEntryAndPage) {
    ui::UiDriver ui({.devices = "keyboard,mouse,mousepad,headset"});
    ASSERT_TRUE(ui.WaitFor([&] { return ShownEntries(ui).size() == 4; }))
        << "entries shown: " << ShownEntries(ui).size();
    const wchar_t* pages[] = {L"mouse_device_page", L"keyboard_device_page",
                              L"mousepad_device_page", L"tamsel_device_page"};
    const std::vector<CControlUI*> entries = ShownEntries(ui);
    for (size_t i = 0; i < entries.size(); ++i) {
        ui.Click(entries[i]);
        EXPECT_TRUE(ui.IsChecked(entries[i]));
        for (const wchar_t* page : pages) {
            EXPECT_EQ(ui.IsShown(ui.Find(page)), page == pages[i])
                << DuiLib::CDuiString(page).ToUtf8() << " after entry " << i;
        }
        // Once the device has started, its page shows the light mode it runs.
        EXPECT_TRUE(ui.WaitFor([&] {
            return !ui.Text(ui.Find(L"light_combo_modeSelect")).empty();
        })) << "no light mode on page "
            << i;
        ui.Settle();
        ui.SavePng(ui.MainHwnd(), "/tmp/mouse/entry_" + std::to_string(i) + ".png");
    }
    EXPECT_FALSE(ui.IsShown(ui.Find(L"No_device_Link")));
}

TEST(MousePageUi, AMouseAloneShowsItsPage) {
    ui::UiDriver ui({.devices = "mouse", .language = "zh"});
    EXPECT_FALSE(ui.IsShown(ui.Find(L"No_device_Link")));
    EXPECT_TRUE(ui.IsShown(ui.Find(L"mouse_device_page")));
    ASSERT_EQ(ShownEntries(ui).size(), 1u);
    EXPECT_TRUE(ui.IsChecked(ShownEntries(ui)[0]));
    ui.SavePng(ui.MainHwnd(), "/tmp/mouse/mouse_zh.png");
}

}  // namespace
